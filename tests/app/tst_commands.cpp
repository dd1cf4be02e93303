#include "WidgetDialogs.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>

using Step = FaultyFileSystem::Step;
Q_DECLARE_METATYPE(FaultyFileSystem::Step)

namespace {

QStringList named(const QStringList& names)
{
    return QStringList{u"FS Original"_s} + names;
}

// A key as a real keyboard sends it, with the character it carries.
void sendKey(QWidget* target, Qt::Key key, const QString& text,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void loadListTakesNoTextAndCaptionFollowsChoice();
    void saveListTypingLimit_data();
    void saveListTypingLimit();
    void removeEnabledUnlessOriginal();
    void modeSwitchRepeatedly();
    void save_data();
    void save();
    void saveRefusals_data();
    void saveRefusals();
    void remove_data();
    void remove();
    void everyFailedStepKeepsListsTrue_data();
    void everyFailedStepKeepsListsTrue();
    void folderPickers();
    void realFolderPickerOpensInStartFolder();
    void wholeRun_data();
    void wholeRun();
};

void TestCommands::loadListTakesNoTextAndCaptionFollowsChoice()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\n");
    f.addConfig(u"Night"_s);
    f.open();
    QWidget* field = f.focus(f.loadList());
    QApplication::clipboard()->setText(u"Pasted"_s);
    QTest::keyClicks(field, u"abc"_s);
    sendKey(field, Qt::Key_Backspace, u"\b"_s);
    sendKey(field, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
    QCOMPARE(f.loadList()->currentText(), u"FS Original"_s);
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load  Night  configuration"_s);
    f.loadList()->setEditText(QString());
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load    configuration"_s);
}

void TestCommands::saveListTypingLimit_data()
{
    QTest::addColumn<int>("startLength");
    QTest::addColumn<int>("key"); // 0: an input method commits "xyz"
    QTest::addColumn<int>("endLength");
    QTest::newRow("15 characters take a 16th") << 15 << int(Qt::Key_X) << 16;
    QTest::newRow("16 refuse a 17th, over a selection too") << 16 << int(Qt::Key_X) << 16;
    QTest::newRow("16 refuse Backspace") << 16 << int(Qt::Key_Backspace) << 16;
    QTest::newRow("15 take Backspace") << 15 << int(Qt::Key_Backspace) << 14;
    QTest::newRow("Delete still shortens 16") << 16 << int(Qt::Key_Delete) << 15;
    QTest::newRow("input method text stops at 16 too") << 14 << 0 << 16;
}

void TestCommands::saveListTypingLimit()
{
    QFETCH(int, startLength);
    QFETCH(int, key);
    QFETCH(int, endLength);
    WindowFixture f;
    f.open();
    f.saveActivation()->setChecked(true);
    QWidget* field = f.focus(f.saveList());
    f.saveList()->setEditText(QString(startLength, u'n'));
    if (key == Qt::Key_Delete)
        f.saveList()->lineEdit()->setCursorPosition(0);
    else if (startLength == 16)
        f.saveList()->lineEdit()->selectAll();
    const QMap<int, QString> texts{{Qt::Key_X, u"x"_s},
                                   {Qt::Key_Backspace, u"\b"_s},
                                   {Qt::Key_Delete, QString(QChar(127))}}; // as X11 sends them
    QInputMethodEvent committed;
    committed.setCommitString(u"xyz"_s);
    if (key == 0)
        QApplication::sendEvent(field, &committed);
    else
        sendKey(field, Qt::Key(key), texts[key]);
    QCOMPARE(f.saveList()->currentText().size(), endLength);
}

void TestCommands::removeEnabledUnlessOriginal()
{
    WindowFixture f;
    f.open();
    f.saveActivation()->setChecked(true);
    QVERIFY(!f.button("cmdREMOVE")->isEnabled());
    QWidget* field = f.focus(f.saveList());
    for (const QString& text : {u"fs original"_s, u"FS Original "_s, QString(), u"FS Original"_s}) {
        f.saveList()->lineEdit()->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
        QCOMPARE(f.button("cmdREMOVE")->isEnabled(), text != u"FS Original"_s);
    }
}

void TestCommands::modeSwitchRepeatedly()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\n");
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    f.open();
    f.loadList()->setCurrentIndex(2);
    const auto shown = [&](const char* name) {
        return f.get<QWidget>(name)->isVisibleTo(f.window.get());
    };
    for (int round = 0; round < 3; ++round) {
        f.saveActivation()->setChecked(true);
        QCOMPARE(f.entries(f.saveList()), named({u"Night"_s, u"Dawn"_s}));
        QCOMPARE(f.saveList()->currentText(), u"Dawn"_s);
        QVERIFY(f.highlightsText(f.saveList()));
        QVERIFY(f.button("cmdREMOVE")->isEnabled());
        QVERIFY(shown("cmdSAVE") && shown("cmdREMOVE") && !shown("cmdLOAD"));
        QVERIFY(!shown("lblLastConfigName") && !f.loadList()->isEnabled());
        f.saveActivation()->setChecked(false);
        QCOMPARE(f.saveList()->count(), 0);
        QCOMPARE(f.saveList()->currentText(), QString());
        QVERIFY(!shown("cboConfigNameTO") && shown("cmdLOAD") && shown("lblLastConfigName"));
        QVERIFY(f.loadList()->isEnabled());
        QCOMPARE(f.loadList()->currentText(), u"Dawn"_s);
    }
}

void TestCommands::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("onDisk"); // the name whose files the save wrote
    QTest::newRow("new name joins the list and is shown")
        << u"Dawn"_s << named({u"Night"_s, u"Dawn"_s}) << u"Dawn"_s << u"Dawn"_s;
    QTest::newRow("existing name is overwritten in place")
        << u"Night"_s << named({u"Night"_s}) << u"FS Original"_s << u"Night"_s;
    QTest::newRow("FS Original takes the existing path")
        << u"FS Original"_s << named({u"Night"_s}) << u"FS Original"_s << u"FS Original"_s;
    QTest::newRow("other letter case is a new entry over the same files")
        << u"night"_s << named({u"Night"_s, u"night"_s}) << u"night"_s << u"Night"_s;
}

void TestCommands::save()
{
    QFETCH(QString, name);
    QFETCH(QStringList, list);
    QFETCH(QString, shown);
    QFETCH(QString, onDisk);
    WindowFixture f;
    f.writeIni("Config1=Night\r\n");
    f.addConfig(u"Night"_s);
    f.open();
    f.edit(name, "cmdSAVE");
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(TestFiles::read(f.snapshotMain(onDisk)), "live main"_ba);
    QCOMPARE(TestFiles::read(f.snapshotScenery(onDisk)), "live scenery"_ba);
    QCOMPARE(QFile::exists(f.snapshotScenery(name)), name == onDisk);
    QCOMPARE(f.entries(f.loadList()), list);
    QVERIFY(f.highlightsText(f.loadList()));
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load  "_s + shown + u"  configuration"_s);
    QVERIFY(!f.saveActivation()->isChecked());
    QCOMPARE(f.saveList()->count(), 0);
}

void TestCommands::saveRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("configs"); // named configurations before the save
    QTest::addColumn<QString>("message");
    const auto row = [](const char* why, const QString& name, int configs, const QString& part) {
        QTest::newRow(why) << name << configs << part;
    };
    row("tenth configuration", u"Extra"_s, 9,
        u"Sorry, you cannot create more of 9 configurations."_s);
    row("empty name", QString(), 1, u"cannot be used for a configuration: the name is empty."_s);
    row("name with a separator", u"a/b"_s, 1, u"The name \"a/b\" cannot be used"_s);
    row("live main missing", u"Extra"_s, -1, u"\tFS Original FS9.cfg file not found\t \r"_s);
}

void TestCommands::saveRefusals()
{
    QFETCH(QString, name);
    QFETCH(int, configs);
    QFETCH(QString, message);
    WindowFixture f;
    QByteArray slotLines;
    for (int n = 1; n <= qMax(configs, 1); ++n) {
        f.addConfig(u"C%1"_s.arg(n));
        slotLines += "Config" + QByteArray::number(n) + "=C" + QByteArray::number(n) + "\r\n";
    }
    f.writeIni(slotLines);
    if (configs == -1)
        QFile::remove(f.liveMain());
    f.open();
    const QStringList before = f.entries(f.loadList());
    f.edit(name, "cmdSAVE");
    QCOMPARE(f.messages().size(), 1);
    QVERIFY2(f.messages().first().contains(message), qPrintable(f.messages().first()));
    QCOMPARE(f.entries(f.loadList()), before);
    QVERIFY(!QFile::exists(f.snapshotMain(u"Extra"_s)) &&
            !QFile::exists(f.snapshotMain(QString())));
    QVERIFY(!f.saveActivation()->isChecked());
}

void TestCommands::remove_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("listed"); // after "FS Original"
    QTest::addColumn<bool>("mainLeft");
    QTest::addColumn<QString>("message"); // empty when none is expected
    const auto row = [](const char* why, const QString& name, const QString& setup,
                        const QStringList& listed, bool mainLeft, const QString& message) {
        QTest::newRow(why) << name << setup << listed << mainLeft << message;
    };
    const QStringList all{u"Night"_s, u"Dawn"_s, u"Dusk"_s};
    const QStringList without{u"Night"_s, u"Dusk"_s};
    row("middle one", u"Dawn"_s, QString(), without, false, QString());
    row("FS Original cannot be pressed", u"FS Original"_s, QString(), all, true, QString());
    row("other letter case removes nothing", u"dawn"_s, QString(), all, true, QString());
    row("refused for a live file keeps the entry", u"Dawn"_s, u"no live scenery"_s, all, true,
        u"FS Original Scenery.cfg file not found"_s);
    row("half-gone pair leaves the list", u"Dawn"_s, u"no scenery snapshot"_s, without, true,
        u"Scenery.Dawn.cfg file not found"_s);
    row("a name listed twice leaves the list", u"Dawn"_s, u"Config4=Dawn"_s, without, false,
        QString());
    row("so does the same pair listed in another letter case", u"Dawn"_s, u"Config4=DAWN"_s,
        without, false, QString());
}

void TestCommands::remove()
{
    QFETCH(QString, name);
    QFETCH(QString, setup);
    QFETCH(QStringList, listed);
    QFETCH(bool, mainLeft);
    QFETCH(QString, message);
    WindowFixture f;
    const QByteArray extraSlot = setup.startsWith(u"Config"_s) ? setup.toUtf8() + "\r\n" : "";
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\nConfig3=Dusk\r\n" + extraSlot +
               "LastConfig=Dawn\r\n");
    for (const QString& config : {u"Night"_s, u"Dawn"_s, u"Dusk"_s})
        f.addConfig(config);
    f.open();
    f.loadList()->setCurrentIndex(3); // Dusk
    if (setup == u"no live scenery"_s)
        QFile::remove(f.liveScenery());
    if (setup == u"no scenery snapshot"_s)
        QFile::remove(f.snapshotScenery(u"Dawn"_s));
    f.edit(name, "cmdREMOVE");
    QCOMPARE(f.messages().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(f.messages().first().contains(message), qPrintable(f.messages().first()));
    QCOMPARE(f.entries(f.loadList()), named(listed));
    QCOMPARE(QFile::exists(f.snapshotMain(u"Dawn"_s)), mainLeft);
    QVERIFY(QFile::exists(f.snapshotMain(u"Night"_s)) && QFile::exists(f.snapshotMain(u"Dusk"_s)));
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Dawn"_s);
    // Remove is disabled for "FS Original", so that press never happens.
    QCOMPARE(f.saveActivation()->isChecked(), name == u"FS Original"_s);
    QCOMPARE(f.loadList()->currentText(), listed.size() == 3 ? u"Dusk"_s : u"FS Original"_s);
    QVERIFY(f.highlightsText(f.loadList()));
}

void TestCommands::everyFailedStepKeepsListsTrue_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("count");
    for (const auto& [button, name] :
         {std::pair{u"cmdLOAD"_s, u"Dawn"_s}, std::pair{u"cmdSAVE"_s, u"Dawn"_s},
          std::pair{u"cmdSAVE"_s, u"New"_s}}) {
        for (const auto& [step, count] : {std::pair{Step::Stage, 1}, std::pair{Step::Stage, 2},
                                          std::pair{Step::Rename, 1}, std::pair{Step::Rename, 2}})
            QTest::addRow("%s %s, step %d call %d", qPrintable(button), qPrintable(name), int(step),
                          count)
                << button << name << step << count;
    }
    QTest::newRow("remove, first rename") << u"cmdREMOVE"_s << u"Dawn"_s << Step::Rename << 1;
    QTest::newRow("remove, second rename") << u"cmdREMOVE"_s << u"Dawn"_s << Step::Rename << 2;
}

void TestCommands::everyFailedStepKeepsListsTrue()
{
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(Step, step);
    QFETCH(int, count);
    WindowFixture f;
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\nLastConfig=Night\r\n");
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    f.open();
    f.fileSystem.failAt(step, count);
    if (button == u"cmdLOAD"_s) {
        f.loadList()->setEditText(name);
        f.button("cmdLOAD")->click();
    } else {
        f.edit(name, qPrintable(button));
    }
    QCOMPARE(f.messages().size(), 1);
    QVERIFY(f.messages().first().contains(FaultyFileSystem::reason()));
    for (const QString& config : {u"Night"_s, u"Dawn"_s, u"New"_s}) {
        const bool onDisk =
            QFile::exists(f.snapshotMain(config)) && QFile::exists(f.snapshotScenery(config));
        QCOMPARE(f.entries(f.loadList()).contains(config), onDisk);
    }
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Night"_s);
}

void TestCommands::folderPickers()
{
    WindowFixture f;
    f.open();
    f.dialogs.pickerAnswers = {QString(), f.fs9, f.scenery};
    f.button("cmdFS9folder")->click(); // cancelled
    QCOMPARE(f.box("txtFS9Folder")->text(), u"Flight Simulator folder"_s);
    const QString sep = QDir::separator();
    f.box("txtFS9Folder")->setText(f.fs9 + sep + u"gone"_s + sep + u"deeper"_s);
    f.button("cmdFS9folder")->click();
    QCOMPARE(f.box("txtFS9Folder")->text(), f.fs9);
    QCOMPARE(f.box("txtSceFolder")->text(), u"Scenery folder"_s);
    f.box("txtSceFolder")->setText(f.scenery);
    f.button("cmdSceFolder")->click();
    QCOMPARE(f.box("txtSceFolder")->text(), f.scenery);
    QCOMPARE(f.dialogs.pickerPrompts,
             (QStringList{u"Select the FLIGHT SIMULATOR folder"_s,
                          u"Select the FLIGHT SIMULATOR folder"_s,
                          u"Select the Flight Simulator SCENERY folder"_s}));
    // A box's folder, else its nearest existing parent, else the home folder for a text that
    // names no place on disk.
    QCOMPARE(f.dialogs.pickerStarts,
             (QStringList{QDir::toNativeSeparators(QDir::homePath()), f.fs9, f.scenery}));
    QCOMPARE(f.entries(f.loadList()), named({}));
}

void TestCommands::realFolderPickerOpensInStartFolder()
{
    QTemporaryDir start;
    WidgetDialogs dialogs;
    QString shown;
    QTimer answer;
    answer.callOnTimeout([&] {
        if (auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            shown = picker->directory().path();
            picker->reject();
        }
    });
    answer.start(20);
    QCOMPARE(dialogs.pickFolder(u"Pick"_s, QDir::toNativeSeparators(start.path())), QString());
    QCOMPARE(shown, start.path());
}

void TestCommands::wholeRun_data()
{
    QTest::addColumn<QStringList>("spelling"); // the live pair, then a pair saved as Two before
    QTest::newRow("the naming rule's spelling")
        << QStringList{u"FS9.cfg"_s, u"Scenery.cfg"_s, u"FS9.Two.cfg"_s, u"Scenery.Two.cfg"_s};
    QTest::newRow("as Wine leaves them")
        << QStringList{u"fs9.cfg"_s, u"SCENERY.CFG"_s, u"fs9.two.CFG"_s, u"SCENERY.TWO.cfg"_s};
}

void TestCommands::wholeRun()
{
    QFETCH(QStringList, spelling);
    WindowFixture f;
    QFile::remove(f.liveMain());
    QFile::remove(f.liveScenery());
    const QString liveMain = FolderFixture::in(f.fs9, spelling[0]);
    const QString liveScenery = FolderFixture::in(f.scenery, spelling[1]);
    TestFiles::write(FolderFixture::in(f.fs9, spelling[2]), "old Two main");
    TestFiles::write(FolderFixture::in(f.scenery, spelling[3]), "old Two scenery");
    f.open();
    f.box("txtFS9Folder")->setText(f.fs9);
    f.box("txtSceFolder")->setText(f.scenery + QDir::separator());
    for (const char* name : {"One", "Two", "Three"}) {
        TestFiles::write(liveMain, QByteArray(name) + " main");
        TestFiles::write(liveScenery, QByteArray(name) + " scenery");
        f.edit(QString::fromUtf8(name), "cmdSAVE");
    }
    for (int position : {1, 2, 3}) {
        f.loadList()->setCurrentIndex(position);
        f.button("cmdLOAD")->click();
        const QByteArray name = f.loadList()->currentText().toUtf8();
        QCOMPARE(TestFiles::read(liveMain), name + " main");
        QCOMPARE(TestFiles::read(liveScenery), name + " scenery");
    }
    f.edit(u"Two"_s, "cmdREMOVE");
    QCOMPARE(f.messages(), QStringList());
    f.window->close();

    f.open();
    QCOMPARE(f.entries(f.loadList()), named({u"One"_s, u"Three"_s}));
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Three"_s);
    QCOMPARE(f.box("txtSceFolder")->text(), f.scenery + QDir::separator());
    // One live file in each folder, spelled as it was, and no trace of Two in any spelling.
    for (QStringList expected :
         {QStringList{f.fs9, spelling[0], u"FS9.One.cfg"_s, u"FS9.Three.cfg"_s},
          QStringList{f.scenery, spelling[1], u"Scenery.One.cfg"_s, u"Scenery.Three.cfg"_s}}) {
        const QDir folder(expected.takeFirst());
        expected.sort();
        QCOMPARE(folder.entryList(QDir::Files, QDir::Name), expected);
    }
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
