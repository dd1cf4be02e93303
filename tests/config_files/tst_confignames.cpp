#include "ConfigNames.h"
#include "ConfigPaths.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestConfigNames : public QObject
{
    Q_OBJECT

private slots:
    void usableNames_data();
    void usableNames();
    void pathsIgnoreTrailingSeparator();
};

void TestConfigNames::usableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    QTest::newRow("FS Original") << u"FS Original"_s << true;
    QTest::newRow("plain with inner blank and dots") << u"Night v1.2 final"_s << true;
    QTest::newRow("accented letters") << u"Nuit d'été"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("leading blank") << u" Night"_s << false;
    QTest::newRow("trailing blank") << u"Night "_s << false;
    QTest::newRow("parent folder") << u"..\\..\\Windows\\x"_s << false;
    QTest::newRow("slash") << u"a/b"_s << false;
    QTest::newRow("colon") << u"C:x"_s << false;
    QTest::newRow("wildcard star") << u"N*"_s << false;
    QTest::newRow("wildcard question") << u"N?ght"_s << false;
    QTest::newRow("double quote") << u"\"N\""_s << false;
    QTest::newRow("angle and pipe") << u"a<b>|c"_s << false;
    QTest::newRow("control character") << u"Ni\tght"_s << false;
    QTest::newRow("ends with a dot") << u"Night."_s << false;
    QTest::newRow("only dots") << u".."_s << false;
    QTest::newRow("wrapped in single quotes") << u"'Night'"_s << false;
    QTest::newRow("one single quote inside") << u"Pilot's"_s << true;
}

void TestConfigNames::usableNames()
{
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(!whyNameUnusable(name), usable);
    QCOMPARE(!nameRefusal(name), usable);
    if (!usable)
        QVERIFY(nameRefusal(name)->contains(name));
}

void TestConfigNames::pathsIgnoreTrailingSeparator()
{
    const QString sep = QDir::separator();
    const auto bare = ConfigFolders::fromTexts(u"fs9"_s, u"sc"_s);
    const auto ended = ConfigFolders::fromTexts(u"fs9"_s + sep, u"sc"_s + sep);
    QCOMPARE(bare.snapshotMain(u"Night"_s), u"fs9"_s + sep + u"FS9.Night.cfg"_s);
    QCOMPARE(bare.snapshotScenery(u"Night"_s), u"sc"_s + sep + u"Scenery.Night.cfg"_s);
    QCOMPARE(ended.snapshotMain(u"Night"_s), bare.snapshotMain(u"Night"_s));
    QCOMPARE(ended.liveScenery(), u"sc"_s + sep + u"Scenery.cfg"_s);
    QCOMPARE(ConfigFolders::fromTexts(QString(), QString()).liveMain(), sep + u"FS9.cfg"_s);
}

QTEST_GUILESS_MAIN(TestConfigNames)
#include "tst_confignames.moc"
