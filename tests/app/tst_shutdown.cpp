#include "WindowFixture.h"

#include <QApplication>

namespace {

QByteArray slotsFile(const QString& fs9, const QString& scenery, const QStringList& names,
                     const std::optional<QByteArray>& lastConfig)
{
    QByteArray bytes = "[FS Config]\r\nFS9 Folder=" + fs9.toUtf8() +
                       "\r\nSCENERY Folder=" + scenery.toUtf8() + "\r\n";
    for (int n = 1; n <= 9; ++n)
        bytes += "Config" + QByteArray::number(n) + "=" + names.value(n - 1).toUtf8() + "\r\n";
    if (lastConfig)
        bytes += "LastConfig=" + *lastConfig + "\r\n";
    return bytes;
}

} // namespace

class TestShutdown : public QObject
{
    Q_OBJECT

private slots:
    void everyWayOfClosingWritesOnce_data();
    void everyWayOfClosingWritesOnce();
    void firstRunCreatesFileWithoutLastConfig();
    void nextStartReadsTheSameState();
    void missingFolderKeepsStoredSettings();
    void refusedWriteIsReported();
};

void TestShutdown::everyWayOfClosingWritesOnce_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Quit button") << 0;
    QTest::newRow("Escape in the save list") << 1;
    QTest::newRow("Enter in a folder box") << 2;
    QTest::newRow("close box") << 3;
    QTest::newRow("session ends") << 4;
}

void TestShutdown::everyWayOfClosingWritesOnce()
{
    QFETCH(int, way);
    WindowFixture f;
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\n");
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    frmHangar& window = f.open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    f.saveActivation()->setChecked(true); // editing mode does not change what is written
    switch (way) {
    case 0:
        f.button("cmdQuit")->click();
        break;
    case 1:
        QTest::keyClick(f.saveList(), Qt::Key_Escape);
        break;
    case 2:
        QTest::keyClick(f.box("txtSceFolder"), Qt::Key_Return);
        break;
    case 3:
        window.close();
        break;
    case 4:
        QMetaObject::invokeMethod(qApp, "aboutToQuit");
        break;
    }
    const QByteArray expected = slotsFile(f.fs9, f.scenery, {u"Night"_s, u"Dawn"_s}, "");
    QCOMPARE(TestFiles::read(f.iniPath()), expected);
    if (way != 4)
        QVERIFY(window.isHidden());
    // A second close must not write again over what the user may have changed since.
    TestFiles::write(f.iniPath(), "changed");
    window.close();
    QMetaObject::invokeMethod(qApp, "aboutToQuit");
    QCOMPARE(TestFiles::read(f.iniPath()), "changed"_ba);
}

void TestShutdown::firstRunCreatesFileWithoutLastConfig()
{
    WindowFixture f;
    f.open().close();
    QCOMPARE(TestFiles::read(f.iniPath()),
             slotsFile(u"Flight Simulator folder"_s, u"Scenery folder"_s, {}, std::nullopt));
}

void TestShutdown::nextStartReadsTheSameState()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\nLastConfig=Dawn\r\n");
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    f.open().close();
    const QByteArray first = TestFiles::read(f.iniPath());
    f.open();
    QCOMPARE(f.entries(f.loadList()), (QStringList{u"FS Original"_s, u"Night"_s, u"Dawn"_s}));
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Dawn"_s);
    QCOMPARE(f.box("txtSceFolder")->text(), f.scenery);
    f.window->close();
    QCOMPARE(TestFiles::read(f.iniPath()), first);
}

void TestShutdown::missingFolderKeepsStoredSettings()
{
    WindowFixture f;
    const QString unmounted = f.root.filePath(u"unmounted"_s);
    TestFiles::write(f.iniPath(), "[FS Config]\r\nFS9 Folder=" + unmounted.toUtf8() +
                                      "\r\nSCENERY Folder=" + f.scenery.toUtf8() +
                                      "\r\nConfig1=Night\r\nConfig2=\r\nConfig3=Dawn\r\n"
                                      "LastConfig=Night\r\n");
    f.open();
    QCOMPARE(f.box("txtFS9Folder")->text(), QString());
    // The user points the box at a real folder, saves a name there, and quits.
    f.box("txtFS9Folder")->setText(f.fs9);
    f.edit(u"Dusk"_s, "cmdSAVE");
    f.window->close();
    // Keys keep their places; the slots the file lacked follow its last key.
    QCOMPARE(TestFiles::read(f.iniPath()),
             "[FS Config]\r\nFS9 Folder=" + f.fs9.toUtf8() +
                 "\r\nSCENERY Folder=" + f.scenery.toUtf8() +
                 "\r\nConfig1=Night\r\nConfig2=Dawn\r\nConfig3=Dusk\r\nLastConfig=Night\r\n"
                 "Config4=\r\nConfig5=\r\nConfig6=\r\nConfig7=\r\nConfig8=\r\nConfig9=\r\n");

    // Left empty, the box keeps the stored folder.
    WindowFixture g;
    TestFiles::write(g.iniPath(), "[FS Config]\r\nFS9 Folder=" + unmounted.toUtf8() +
                                      "\r\nSCENERY Folder=" + g.scenery.toUtf8() +
                                      "\r\nConfig1=Night\r\n");
    g.open().close();
    QCOMPARE(TestFiles::read(g.iniPath()),
             slotsFile(unmounted, g.scenery, {u"Night"_s}, std::nullopt));
}

void TestShutdown::refusedWriteIsReported()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\n");
    TestFiles::makeReadOnly(f.iniPath());
    const QByteArray before = TestFiles::read(f.iniPath());
    f.open().close();
    QCOMPARE(f.messages().size(), 1);
    QVERIFY(f.messages().first().contains(f.iniPath()));
    QVERIFY(f.messages().first().contains(u"read-only"_s));
    QVERIFY(f.window->isHidden());
    QCOMPARE(TestFiles::read(f.iniPath()), before);
}

QTEST_MAIN(TestShutdown)
#include "tst_shutdown.moc"
