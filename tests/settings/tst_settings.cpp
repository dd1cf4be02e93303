#include "FakeServices.h"
#include "FolderFixture.h"
#include "HistorySettings.h"
#include "IniAccess.h"
#include "SettingsLocation.h"
#include "SlotMerge.h"

using namespace Qt::StringLiterals;

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void longValueLeavesOutACharacterCutInTwo();
    void mergedSlots_data();
    void mergedSlots();
    void settingsAndHistory_data();
    void settingsAndHistory();
};

void TestSettings::longValueLeavesOutACharacterCutInTwo()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Hangar.ini"_s);
    TestFiles::write(file, "[FS Config]\nConfig1=" + QByteArray(254, 'n') + "\xF0\x9F\x9B\xA9\n");
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

void TestSettings::settingsAndHistory_data()
{
    QTest::addColumn<bool>("portable"); // with a Hangar.ini beside it in a folder it cannot write
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QList<int>>("bounds"); // the history's entries and megabytes
    QTest::newRow("file kept where the folder cannot be written; bounds read "
                  "only from [History]")
        << true << "[FS Config]\nMaxEntries=5\n"_ba << QList<int>{30, 200};
    QTest::newRow("installed copy; bounds raised to the least")
        << false << "[History]\nMaxEntries=5\nMaxMegabytes=0\n"_ba << QList<int>{5, 1};
}

void TestSettings::settingsAndHistory()
{
    QFETCH(bool, portable);
    QFETCH(QByteArray, ini);
    QFETCH(QList<int>, bounds);
    QTemporaryDir dir;
    FakeAppInfo appInfo(QDir::toNativeSeparators(dir.path()));
    appInfo.folderWritable = false;
    appInfo.configFolder = QDir::toNativeSeparators(dir.filePath(u"config"_s));
    appInfo.dataFolder = QDir::toNativeSeparators(dir.filePath(u"data"_s));
    const QString folder = portable ? appInfo.folder : appInfo.configFolder;
    const QString file = folder + QDir::separator() + u"Hangar.ini"_s;
    QVERIFY(QDir().mkpath(folder));
    TestFiles::write(file, ini);
    QCOMPARE(settingsFilePath(appInfo), file);
    // The history goes with the settings: beside a portable copy's, in the user's
    // data folder.
    const HistorySettings history = historySettings(appInfo, file);
    QCOMPARE(history.folder, QDir::toNativeSeparators(
                                 dir.filePath(portable ? u"Hangar history"_s : u"data/history"_s)));
    QCOMPARE((QList<int>{history.maxEntries, history.maxMegabytes}), bounds);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
