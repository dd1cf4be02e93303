#include "WindowFixture.h"

using Step = FaultyFileSystem::Step;

namespace {

QStringList named(std::initializer_list<const char*> names)
{
    QStringList list{u"FS Original"_s};
    for (const char* name : names)
        list << QString::fromUtf8(name);
    return list;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void save_data();
    void save();
    void saveRefusals_data();
    void saveRefusals();
    void remove_data();
    void remove();
    void folderPickers();
    void wholeRun();
};

void TestCommands::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("shown");
    QTest::newRow("new name joins the list and is shown")
        << u"Dawn"_s << named({"Night", "Dawn"}) << u"Dawn"_s;
    QTest::newRow("existing name is overwritten in place")
        << u"Night"_s << named({"Night"}) << u"FS Original"_s;
    QTest::newRow("FS Original takes the existing path")
        << u"FS Original"_s << named({"Night"}) << u"FS Original"_s;
    QTest::newRow("other letter case is a new name")
        << u"night"_s << named({"Night", "night"}) << u"night"_s;
}

void TestCommands::save()
{
    QFETCH(QString, name);
    QFETCH(QStringList, list);
    QFETCH(QString, shown);
    WindowFixture f;
    f.writeIni("Config1=Night\r\n");
    f.addConfig(u"Night"_s);
    f.open();
    f.edit(name, "cmdSAVE");
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(TestFiles::read(f.snapshotMain(name)), "live main"_ba);
    QCOMPARE(TestFiles::read(f.snapshotScenery(name)), "live scenery"_ba);
    QCOMPARE(f.entries(f.loadList()), list);
    QCOMPARE(f.loadList()->currentText(), shown);
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load  "_s + shown + u"  configuration"_s);
    QVERIFY(!f.saveActivation()->isChecked());
    QCOMPARE(f.saveList()->count(), 0);
}

void TestCommands::saveRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("configs"); // named configurations before the save
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    QTest::newRow("tenth configuration")
        << u"Extra"_s << 9 << QString() << u"Sorry, you cannot create more of 9 configurations."_s;
    QTest::newRow("empty name")
        << QString() << 1 << QString()
        << u"The name \"\" cannot be used for a configuration: the name is empty."_s;
    QTest::newRow("name with a separator")
        << u"a/b"_s << 1 << QString() << u"The name \"a/b\" cannot be used for a configuration"_s;
    QTest::newRow("live main missing")
        << u"Dawn"_s << 1 << u"no live main"_s << u"\tFS Original FS9.cfg file not found\t \r"_s;
    QTest::newRow("second copy fails")
        << u"Dawn"_s << 1 << u"fail stage 2"_s << u"No file was changed."_s;
}

void TestCommands::saveRefusals()
{
    QFETCH(QString, name);
    QFETCH(int, configs);
    QFETCH(QString, setup);
    QFETCH(QString, message);
    WindowFixture f;
    QByteArray slotLines;
    for (int n = 1; n <= configs; ++n) {
        f.addConfig(u"C%1"_s.arg(n));
        slotLines += "Config" + QByteArray::number(n) + "=C" + QByteArray::number(n) + "\r\n";
    }
    f.writeIni(slotLines);
    if (setup == u"no live main"_s)
        QFile::remove(f.liveMain());
    if (setup == u"fail stage 2"_s)
        f.fileSystem.failAt(Step::Stage, 2);
    f.open();
    const QStringList before = f.entries(f.loadList());
    f.edit(name, "cmdSAVE");
    QCOMPARE(f.messages().size(), 1);
    QVERIFY2(f.messages().first().contains(message), qPrintable(f.messages().first()));
    QCOMPARE(f.entries(f.loadList()), before);
    QVERIFY(!name.isEmpty() || !TestFiles::exists(f.snapshotMain(name)));
    QVERIFY(!TestFiles::exists(f.snapshotMain(u"Dawn"_s)));
    QVERIFY(!TestFiles::exists(f.snapshotMain(u"Extra"_s)));
    QVERIFY(!f.saveActivation()->isChecked());
}

void TestCommands::remove_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<bool>("mainLeft");
    QTest::addColumn<QString>("message"); // empty when none is expected
    QTest::newRow("middle one") << u"Dawn"_s << QString() << named({"Night", "Dusk"}) << false
                                << QString();
    QTest::newRow("FS Original cannot be pressed")
        << u"FS Original"_s << QString() << named({"Night", "Dawn", "Dusk"}) << true << QString();
    QTest::newRow("other letter case removes nothing")
        << u"dawn"_s << QString() << named({"Night", "Dawn", "Dusk"}) << true << QString();
    QTest::newRow("refused for a live file keeps the entry")
        << u"Dawn"_s << u"no live scenery"_s << named({"Night", "Dawn", "Dusk"}) << true
        << u"FS Original Scenery.cfg file not found"_s;
    QTest::newRow("half-gone pair leaves the list")
        << u"Dawn"_s << u"no scenery snapshot"_s << named({"Night", "Dusk"}) << true
        << u"Scenery.Dawn.cfg file not found"_s;
    QTest::newRow("first deletion fails, entry stays")
        << u"Dawn"_s << u"fail remove 1"_s << named({"Night", "Dawn", "Dusk"}) << true
        << u"No file was deleted."_s;
    QTest::newRow("second deletion fails, entry goes")
        << u"Dawn"_s << u"fail remove 2"_s << named({"Night", "Dusk"}) << false
        << u"was deleted, but"_s;
}

void TestCommands::remove()
{
    QFETCH(QString, name);
    QFETCH(QString, setup);
    QFETCH(QStringList, list);
    QFETCH(bool, mainLeft);
    QFETCH(QString, message);
    WindowFixture f;
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\nConfig3=Dusk\r\nLastConfig=Dawn\r\n");
    for (const QString& config : {u"Night"_s, u"Dawn"_s, u"Dusk"_s})
        f.addConfig(config);
    f.open();
    if (setup == u"no live scenery"_s)
        QFile::remove(f.liveScenery());
    if (setup == u"no scenery snapshot"_s)
        QFile::remove(f.snapshotScenery(u"Dawn"_s));
    if (setup.startsWith(u"fail remove"_s))
        f.fileSystem.failAt(Step::Remove, setup.back().digitValue());
    f.edit(name, "cmdREMOVE");
    QCOMPARE(f.messages().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(f.messages().first().contains(message), qPrintable(f.messages().first()));
    QCOMPARE(f.entries(f.loadList()), list);
    QCOMPARE(TestFiles::exists(f.snapshotMain(u"Dawn"_s)), mainLeft);
    QVERIFY(TestFiles::exists(f.snapshotMain(u"Night"_s)) &&
            TestFiles::exists(f.snapshotMain(u"Dusk"_s)));
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Dawn"_s);
    const bool pressed = f.button("cmdREMOVE")->isEnabled() || !f.saveActivation()->isChecked();
    QCOMPARE(pressed, name != u"FS Original"_s);
    if (!pressed)
        return;
    QVERIFY(!f.saveActivation()->isChecked());
    QCOMPARE(f.saveList()->currentText(), QString());
    if (list.size() == 3)
        QCOMPARE(f.loadList()->currentText(), u"FS Original"_s);
}

void TestCommands::folderPickers()
{
    WindowFixture f;
    f.open();
    f.dialogs.pickerAnswers = {QString(), f.fs9, f.scenery};
    f.button("cmdFS9folder")->click(); // cancelled
    QCOMPARE(f.box("txtFS9Folder")->text(), u"Flight Simulator folder"_s);
    f.button("cmdFS9folder")->click();
    QCOMPARE(f.box("txtFS9Folder")->text(), f.fs9);
    QCOMPARE(f.box("txtSceFolder")->text(), u"Scenery folder"_s);
    f.button("cmdSceFolder")->click();
    QCOMPARE(f.box("txtSceFolder")->text(), f.scenery);
    QCOMPARE(f.dialogs.pickerPrompts,
             (QStringList{u"Select the FLIGHT SIMULATOR folder"_s,
                          u"Select the FLIGHT SIMULATOR folder"_s,
                          u"Select the Flight Simulator SCENERY folder"_s}));
    QCOMPARE(f.entries(f.loadList()), named({}));
}

void TestCommands::wholeRun()
{
    WindowFixture f;
    f.open();
    f.box("txtFS9Folder")->setText(f.fs9);
    f.box("txtSceFolder")->setText(f.scenery + QDir::separator());
    for (const char* name : {"One", "Two", "Three"}) {
        TestFiles::write(f.liveMain(), QByteArray(name) + " main");
        TestFiles::write(f.liveScenery(), QByteArray(name) + " scenery");
        f.edit(QString::fromUtf8(name), "cmdSAVE");
    }
    for (int position : {1, 2, 3}) {
        f.loadList()->setCurrentIndex(position);
        f.button("cmdLOAD")->click();
        const QByteArray name = f.loadList()->currentText().toUtf8();
        QCOMPARE(TestFiles::read(f.liveMain()), name + " main");
        QCOMPARE(TestFiles::read(f.liveScenery()), name + " scenery");
    }
    f.edit(u"Two"_s, "cmdREMOVE");
    QCOMPARE(f.messages(), QStringList());
    f.window->close();

    f.open();
    QCOMPARE(f.entries(f.loadList()), named({"One", "Three"}));
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Three"_s);
    QCOMPARE(f.box("txtSceFolder")->text(), f.scenery + QDir::separator());
    QVERIFY(!TestFiles::exists(f.snapshotMain(u"Two"_s)));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
