#include "FakeServices.h"
#include "FolderFixture.h"
#include "HistorySettings.h"
#include "IniAccess.h"
#include "SettingsLocation.h"
#include "SlotMerge.h"

#include <QStringEncoder>

using namespace Qt::StringLiterals;

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void longValueLeavesOutACharacterCutInTwo();
    void mergedSlots_data();
    void mergedSlots();
    void settingsLocation_data();
    void settingsLocation();
    void historyBounds();
};

void TestSettings::longValueLeavesOutACharacterCutInTwo()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Hangar.ini"_s);
    // In UTF-16, where the character is two units on every system.
    const QString text = u"[FS Config]\nConfig1="_s + QString(254, u'n') + u"🛩\n"_s;
    TestFiles::write(file,
                     "\xFF\xFE"_ba + QByteArray(QStringEncoder(QStringConverter::Utf16LE)(text)));
    QCOMPARE(ReadIni(file, u"FS Config"_s, u"Config1"_s), QString(254, u'n'));
}

void TestSettings::mergedSlots_data()
{
    QTest::addColumn<QString>("kept"); // each a list split by ","
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("expected");
    QTest::newRow("saved name already kept is not doubled")
        << u"Night"_s << u"Night"_s << u"Night,,,,,,,,"_s;
    QTest::newRow("at most nine") << u"1,2,3,4,5,6,7,8"_s << u"9,10"_s << u"1,2,3,4,5,6,7,8,9"_s;
}

void TestSettings::mergedSlots()
{
    QFETCH(QString, kept);
    QFETCH(QString, saved);
    QFETCH(QString, expected);
    QCOMPARE(::mergedSlots(kept.split(u','), saved.split(u',')), expected.split(u','));
}

void TestSettings::settingsLocation_data()
{
    QTest::addColumn<bool>("portable"); // with a Hangar.ini beside it in a folder it cannot write
    QTest::newRow("file kept even where the folder cannot be written") << true;
    QTest::newRow("installed copy") << false;
}

void TestSettings::settingsLocation()
{
    QFETCH(bool, portable);
    QTemporaryDir dir;
    FakeAppInfo appInfo(QDir::toNativeSeparators(dir.path()));
    appInfo.folderWritable = false;
    appInfo.configFolder = QDir::toNativeSeparators(dir.filePath(u"config"_s));
    if (portable)
        TestFiles::write(dir.filePath(u"Hangar.ini"_s), "");
    appInfo.dataFolder = QDir::toNativeSeparators(dir.filePath(u"data"_s));
    const QString folder = portable ? appInfo.folder : appInfo.configFolder;
    QCOMPARE(settingsFilePath(appInfo), folder + QDir::separator() + u"Hangar.ini"_s);
    // The history goes with the settings: beside a portable copy's, in the user's data folder.
    QCOMPARE(
        historySettings(appInfo, settingsFilePath(appInfo)).folder,
        QDir::toNativeSeparators(dir.filePath(portable ? u"Hangar history"_s : u"data/history"_s)));
}

void TestSettings::historyBounds()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Hangar.ini"_s);
    const FakeAppInfo appInfo(dir.path());
    TestFiles::write(file, "[FS Config]\nMaxEntries=5\n");
    QCOMPARE(historySettings(appInfo, file).maxEntries, 30);
    QCOMPARE(historySettings(appInfo, file).maxMegabytes, 200);
    TestFiles::write(file, "[History]\nMaxEntries=5\nMaxMegabytes=0\n");
    QCOMPARE(historySettings(appInfo, file).maxEntries, 5);
    QCOMPARE(historySettings(appInfo, file).maxMegabytes, 1); // raised to the least
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
