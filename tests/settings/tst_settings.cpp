#include "IniAccess.h"
#include "SettingsKeys.h"
#include "SlotMerge.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void shutdownWritesMakeExactFile();
    void rewriteChangesOnlyThatValue();
    void readEdgeCases_data();
    void readEdgeCases();
    void mergedSlots_data();
    void mergedSlots();
};

void TestSettings::shutdownWritesMakeExactFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(SettingsKeys::fileName());
    QString error;
    QVERIFY(
        WriteIni(file, SettingsKeys::section(), SettingsKeys::fs9Folder(), u"C:\\FS9"_s, &error));
    QVERIFY(WriteIni(file, SettingsKeys::section(), SettingsKeys::sceneryFolder(), u"D:\\Sc"_s,
                     &error));
    for (int n = 1; n <= SettingsKeys::slotCount; ++n)
        QVERIFY(WriteIni(file, SettingsKeys::section(), SettingsKeys::slot(n),
                         n == 1 ? u"Night"_s : QString(), &error));
    QVERIFY(
        WriteIni(file, SettingsKeys::section(), SettingsKeys::lastConfig(), u"Night"_s, &error));
    QCOMPARE(TestFiles::read(file),
             "[FS Config]\r\nFS9 Folder=C:\\FS9\r\nSCENERY Folder=D:\\Sc\r\nConfig1=Night\r\n"
             "Config2=\r\nConfig3=\r\nConfig4=\r\nConfig5=\r\nConfig6=\r\nConfig7=\r\nConfig8=\r\n"
             "Config9=\r\nLastConfig=Night\r\n"_ba);
}

void TestSettings::rewriteChangesOnlyThatValue()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(SettingsKeys::fileName());
    const QByteArray before = "; hand-made\r\n[Display]\r\nMode=1\r\n\r\n[FS Config]\r\n"
                              "FS9 Folder = C:\\Old\r\nConfig1=Night\r\n[Sound]\r\nOn=1\r\n";
    TestFiles::write(file, before);
    QString error;
    QVERIFY(
        WriteIni(file, SettingsKeys::section(), SettingsKeys::fs9Folder(), u"C:\\New"_s, &error));
    QByteArray expected = before;
    expected.replace("C:\\Old", "C:\\New");
    QCOMPARE(TestFiles::read(file), expected);
}

void TestSettings::readEdgeCases_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("300 characters read as 255")
        << "[FS Config]\nConfig1=" + QByteArray(300, 'n') + "\n"
        << u"Config1"_s << QString(255, u'n');
    QTest::newRow("no section reads empty")
        << "[Other]\nConfig1=Night\n"_ba << u"Config1"_s << QString();
    QTest::newRow("folder with trailing separator kept")
        << "[FS Config]\nFS9 Folder=C:\\FS9\\\n"_ba << u"FS9 Folder"_s << u"C:\\FS9\\"_s;
    QTest::newRow("8-bit name") << "[FS Config]\nConfig1=Nu\xc3\xaft\n"_ba << u"Config1"_s
                                << QString::fromLocal8Bit("Nu\xc3\xaft");
}

void TestSettings::readEdgeCases()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath(SettingsKeys::fileName());
    TestFiles::write(file, content);
    QCOMPARE(ReadIni(file, SettingsKeys::section(), key), expected);
}

void TestSettings::mergedSlots_data()
{
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<QStringList>("expected");
    const QStringList nineEmpty(9, QString());
    QTest::newRow("kept slots close up, saved follow")
        << QStringList{u"Night"_s, QString(), u"Dawn"_s} << QStringList{u"Dusk"_s}
        << QStringList{u"Night"_s, u"Dawn"_s, u"Dusk"_s} + QStringList(6, QString());
    QTest::newRow("saved name already kept is not doubled")
        << QStringList{u"Night"_s} << QStringList{u"Night"_s}
        << QStringList{u"Night"_s} + QStringList(8, QString());
    QTest::newRow("at most nine") << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s,
                                                 u"5"_s, u"6"_s, u"7"_s, u"8"_s}
                                  << QStringList{u"9"_s, u"10"_s}
                                  << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s,
                                                 u"6"_s, u"7"_s, u"8"_s, u"9"_s};
    QTest::newRow("nothing") << QStringList() << QStringList() << nineEmpty;
}

void TestSettings::mergedSlots()
{
    QFETCH(QStringList, kept);
    QFETCH(QStringList, saved);
    QFETCH(QStringList, expected);
    QCOMPARE(::mergedSlots(kept, saved), expected);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
