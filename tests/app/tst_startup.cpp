#include "WindowFixture.h"

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void listsSavedConfigurations_data();
    void listsSavedConfigurations();
    void noSettingsFile();
    void missingFolderEmptiesItsBoxOnly();
    void versionAndCaptions();
};

void TestStartup::listsSavedConfigurations_data()
{
    QTest::addColumn<QByteArray>("slotLines");
    QTest::addColumn<QStringList>("present");  // configurations with both snapshot files
    QTest::addColumn<QStringList>("expected"); // the load list after start-up
    QTest::addColumn<QString>("label");

    const QString arrow = u"Last configuration loaded -> "_s;
    QTest::newRow("listed only with both files; LastConfig shown")
        << "Config1=Night\r\nConfig2=Dawn\r\nLastConfig=Night\r\n"_ba << QStringList{u"Night"_s}
        << QStringList{u"FS Original"_s, u"Night"_s} << arrow + u"Night"_s;
    QTest::newRow("gaps close up, blanks trimmed, spaces-only slot free")
        << "Config1=  Night  \r\nConfig2=\r\nConfig3=   \r\nConfig4=Dawn\r\n"_ba
        << QStringList{u"Night"_s, u"Dawn"_s}
        << QStringList{u"FS Original"_s, u"Night"_s, u"Dawn"_s} << arrow;
    QTest::newRow("a name twice is listed twice")
        << "Config1=Night\r\nConfig5=Night\r\n"_ba << QStringList{u"Night"_s}
        << QStringList{u"FS Original"_s, u"Night"_s, u"Night"_s} << arrow;
    QTest::newRow("LastConfig whose files are gone is still shown")
        << "LastConfig= Gone \r\n"_ba << QStringList() << QStringList{u"FS Original"_s}
        << arrow + u"Gone"_s;
    QTest::newRow("hand-edited names that would reach outside the folders are skipped")
        << "Config1=../../etc/x\r\nConfig2=..\\x\r\nConfig3=*\r\nConfig4=C:x\r\nConfig5=Night\r\n"_ba
        << QStringList{u"Night"_s} << QStringList{u"FS Original"_s, u"Night"_s} << arrow;
    QTest::newRow("slot 10 is not read") << "Config10=Night\r\n"_ba << QStringList{u"Night"_s}
                                         << QStringList{u"FS Original"_s} << arrow;
}

void TestStartup::listsSavedConfigurations()
{
    QFETCH(QByteArray, slotLines);
    QFETCH(QStringList, present);
    QFETCH(QStringList, expected);
    QFETCH(QString, label);
    WindowFixture f;
    f.writeIni(slotLines);
    for (const QString& name : present)
        f.addConfig(name);
    TestFiles::write(f.snapshotMain(u"Dawn"_s), "only half of Dawn");
    // The file a climbing name would reach: it must not count as a snapshot.
    QDir(f.root.path()).mkpath(u"etc"_s);
    TestFiles::write(f.root.filePath(u"etc/x"_s), "outside");
    f.open();
    QCOMPARE(f.entries(f.loadList()), expected);
    QCOMPARE(f.loadList()->currentText(), u"FS Original"_s);
    QCOMPARE(f.labelText("lblLastConfigName"), label);
    QCOMPARE(f.box("txtFS9Folder")->text(), f.fs9);
}

void TestStartup::noSettingsFile()
{
    WindowFixture f;
    f.open();
    QCOMPARE(f.box("txtFS9Folder")->text(), u"Flight Simulator folder"_s);
    QCOMPARE(f.box("txtSceFolder")->text(), u"Scenery folder"_s);
    QCOMPARE(f.entries(f.loadList()), QStringList{u"FS Original"_s});
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> "_s);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TestStartup::missingFolderEmptiesItsBoxOnly()
{
    WindowFixture f;
    TestFiles::write(f.iniPath(), "[FS Config]\r\nFS9 Folder=" + f.fs9.toUtf8() +
                                      QDir::separator().toLatin1() +
                                      "\r\nSCENERY Folder=/no/such/folder\r\n"
                                      "Config1=Night\r\nLastConfig=Night\r\n");
    f.addConfig(u"Night"_s);
    f.open();
    QCOMPARE(f.box("txtFS9Folder")->text(), f.fs9 + QDir::separator()); // shown as stored
    QCOMPARE(f.box("txtSceFolder")->text(), QString());
    QCOMPARE(f.entries(f.loadList()), QStringList{u"FS Original"_s});
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> "_s);
}

void TestStartup::versionAndCaptions()
{
    WindowFixture f;
    f.open();
    QCOMPARE(f.labelText("lblVersion"), u"Version 1.2.1"_s);
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load  FS Original  configuration"_s);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
