#include "CheckReport.h"
#include "ConfigDiff.h"
#include "ConfigPaths.h"
#include "DiffReport.h"
#include "FolderFixture.h"
#include "History.h"
#include "IniReader.h"
#include "KeptPairDiff.h"
#include "LiveMatch.h"
#include "SceneryCheck.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray area(int number, int layer, const char* title, const char* local, const char* more = "")
{
    return "[Area." + QByteArray::number(number).rightJustified(3, '0') + "]\nTitle=" + title +
           "\nLocal=" + local + "\nLayer=" + QByteArray::number(layer) + "\n" + more;
}

ConfigPair pairOf(QByteArray main, QByteArray scenery)
{
    ConfigPair pair;
    QBuffer mainFile(&main);
    QBuffer sceneryFile(&scenery);
    QString error;
    if (!mainFile.open(QIODevice::ReadOnly) || !sceneryFile.open(QIODevice::ReadOnly) ||
        !readMainConfig(mainFile, &pair.main, &error) ||
        !readSceneryList(sceneryFile, &pair.scenery, &error))
        qFatal("unreadable buffer");
    return pair;
}

// Each element of a JSON array as the values of the given fields ("a" or "a.b"), blank-separated.
QStringList fieldsOf(const QJsonValue& array, const QStringList& fields)
{
    QStringList rows;
    for (const QJsonValue& item : array.toArray()) {
        QStringList values;
        for (const QString& f : fields) {
            const QJsonValue value = item[f.section(u'.', 0, 0)];
            values << (f.contains(u'.') ? value[f.section(u'.', 1)] : value).toVariant().toString();
        }
        rows << values.join(u' ');
    }
    return rows;
}

// The coloured text is the plain one with colour codes around words, and the column starts at
// one place on every row that names an area.
void verifyText(const QString& plain, QString coloured, const QString& column)
{
    QVERIFY(!plain.contains(u'\x1b') && (coloured != plain || !plain.contains(u"Area."_s)));
    QCOMPARE(coloured.remove(QRegularExpression(u"\x1b\\[[0-9]+m"_s)), plain);
    const QStringList rows = plain.split(u'\n').filter(u"Area."_s);
    for (const QString& row : rows)
        QCOMPARE(row.indexOf(column), rows[0].indexOf(column));
}

} // namespace

class TestInspection : public QObject
{
    Q_OBJECT

private slots:
    void readsSceneryAsSimulatorDoes_data();
    void readsSceneryAsSimulatorDoes();
    void diffsKeysAndAreas_data();
    void diffsKeysAndAreas();
    void checkReportsFaults_data();
    void checkReportsFaults();
    void livePairMatchesByteIdenticalSnapshot();
    void keptPairDiffersFromLivePair_data();
    void keptPairDiffersFromLivePair();
};

void TestInspection::readsSceneryAsSimulatorDoes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected"); // number:title:local:active:layer@line of Local
    QTest::newRow("CRLF, comment, blanks around =, Ctrl-Z at the end")
        << "[General]\r\n; mine\r\n\r\n[Area.001]\r\n  Title = Two words \r\nLocal = S\\W\r\n"
           "Layer=1\r\nActive=FALSE\r\n\x1a"_ba
        << u"1:Two words:S\\W:off:1@6"_s;
    QTest::newRow("byte-order mark, lone CR, no final line ending, missing Active is on")
        << "\xEF\xBB\xBF[Area.7]\rTitle=Gen\xc3\xa8ve\rLocal=X\rLayer=3"_ba
        << u"7:Genève:X:on:3@3"_s;
    QTest::newRow("ordered by Layer, gaps in numbers, no Layer last")
        << "[Area.002]\nLocal=B\nLayer=5\n[Area.010]\nLocal=C\n[Area.005]\nLocal=A\nLayer=2\n"_ba
        << u"5::A:on:2@7 2::B:on:5@2 10::C:on:-@5"_s;
    QTest::newRow("names in any case, first of a doubled key counts, quotes off, 8-bit text kept")
        << "[AREA.001]\nTITLE=\"Z\xfcrich \xc3\xa8\"\nLOCAL=A\nlocal=B\nactive=false\nLAYER=1\n"_ba
        << u"1:Zürich \u00c3\u00a8:A:off:1@3"_s;
    QTest::newRow("CR LF split between two read pieces is one line ending")
        << "[Area.001]\r\n;" + QByteArray(IniReader::pieceSize - 14, 'x') + "\r\nLocal=A\r\n"
        << u"1::A:on:-@3"_s;
    QTest::newRow("form feed and vertical tab are blanks, as in the settings file")
        << "[Area.003]\f\nLocal\v=\fC:\\X\v\nLayer=\f4\n"_ba << u"3::C:\\X:on:4@2"_s;
}

void TestInspection::readsSceneryAsSimulatorDoes()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QStringList parts;
    for (const SceneryArea& a : pairOf({}, content).scenery.areas)
        parts << u"%1:%2:%3:%4:%5@%6"_s.arg(a.number)
                     .arg(a.title, a.local, a.active ? u"on"_s : u"off"_s,
                          a.layer ? QString::number(*a.layer) : u"-"_s)
                     .arg(a.localLine);
    QCOMPARE(parts.join(u' '), expected);
}

void TestInspection::diffsKeysAndAreas_data()
{
    QTest::addColumn<bool>("scenery"); // else the main configuration
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("expected"); // the changes split by ";"
    const auto row = [](const char* name, bool scenery, const QByteArray& before,
                        const QByteArray& after, const char* expected) {
        QTest::newRow(name) << scenery << before << after << QString::fromUtf8(expected);
    };
    row("names compared ignoring case, blanks and quotes", false,
        "[Display]\nTextureMax=1\nMode = \"a\"\n", "[DISPLAY]\ntexturemax = 2\nmode=a\n",
        "changed Display TextureMax 1 2");
    row("keys and sections added and removed", false, "[A]\nx=1\ny=2\n[B]\nz=3\n",
        "[A]\nx=1\nw=4\n[C]\nv=5\n", "removed A y 2 ;added A w  4;removed B z 3 ;added C v  5");
    row("first of a doubled key or section counts, key before sections skipped", false,
        "k=0\n[A]\nx=1\nx=9\n[a]\ny=1\n", "[A]\nx=1\n", "");
    row("renumbered, folder in other case and separators: the same; doubles pair 1:1", true,
        area(1, 1, "A", "Scenery\\A") + area(2, 2, "B", "B") + area(3, 3, "B", "B"),
        area(5, 1, "A", "scenery//a\\") + area(6, 2, "B", "B"), "removed Area.003 ");
    row("missing Active is TRUE; switched off", true, area(1, 1, "A", "A") + area(2, 2, "B", "B"),
        area(1, 1, "A", "A", "Active=TRUE\n") + area(2, 2, "B", "B", "Active=FALSE\n"),
        "switched off Area.002 Area.002");
    row("added below renumbers those above without moving them", true,
        area(1, 1, "A", "A") + area(2, 2, "B", "B"),
        area(1, 1, "A", "A") + area(2, 2, "N", "N") + area(3, 3, "B", "B"), "added  Area.002");
    row("one area taken down the order is the only move", true,
        area(1, 1, "A", "A") + area(2, 2, "B", "B") + area(3, 3, "C", "C") + area(4, 4, "D", "D"),
        area(1, 1, "A", "A") + area(2, 2, "D", "D") + area(3, 3, "B", "B") + area(4, 4, "C", "C"),
        "moved Area.004 Area.002");
    row("matched by title when the folder changed, by folder when the title changed", true,
        area(1, 1, "A", "Old") + area(2, 2, "B", "F"),
        area(1, 1, "A", "New") + area(2, 2, "B2", "F"),
        "folder changed Area.001 Area.001;title changed Area.002 Area.002");
}

void TestInspection::diffsKeysAndAreas()
{
    QFETCH(bool, scenery);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, expected);
    const auto pair = [&](const QByteArray& text) {
        return scenery ? pairOf({}, text) : pairOf(text, {});
    };
    const ConfigDiff diff = diffConfigs(pair(before), pair(after));
    verifyText(diffAsText(diff, u"A"_s, u"B"_s, false), diffAsText(diff, u"A"_s, u"B"_s, true),
               u"layer "_s);
    const auto json = diffAsJson(diff, {}, {});
    QCOMPARE(scenery ? fieldsOf(json[u"areas"_s], {u"change"_s, u"before.area"_s, u"after.area"_s})
                     : fieldsOf(json[u"main"_s],
                                {u"change"_s, u"section"_s, u"key"_s, u"before"_s, u"after"_s}),
             expected.split(u';', Qt::SkipEmptyParts));
}

void TestInspection::checkReportsFaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("folders");  // made in the simulator's folder
    QTest::addColumn<QStringList>("expected"); // severity, kind, line
    QTest::addColumn<int>("status");
    QTest::newRow("folders found whatever their case and separators; network not looked for; ^Z")
        << area(1, 1, "A", "scenery\\world") + area(2, 2, "B", "Addon Scenery/X/") +
               area(3, 3, "C", "\\\\server\\C") + "\x1a"
        << QStringList{u"Scenery/World"_s, u"addon scenery/x"_s}
        << QStringList{u"not looked for 1"_s} << 0;
    QTest::newRow("drive letter through dosdevices; a drive Wine does not have")
        << area(1, 1, "A", "c:\\FS9\\Addon\\Y") + area(2, 2, "B", "D:\\Z")
        << QStringList{u"Addon/Y"_s} << QStringList{u"error missing-folder 7"_s} << 1;
    QTest::newRow("doubled number is an error, doubled layer a warning")
        << area(1, 1, "A", "A") + area(1, 2, "B", "B") + area(3, 2, "C", "C")
        << QStringList{u"A"_s, u"B"_s, u"C"_s}
        << QStringList{u"error duplicate-area-number 5"_s, u"warning duplicate-layer 12"_s} << 1;
    QTest::newRow("only warnings: stray line, missing folder of an area off, other section")
        << "x=1\n" + area(1, 1, "A", "Gone", "Active=FALSE\n") + "junk\n[Cache]\n"
        << QStringList()
        << QStringList{u"warning stray-line 1"_s, u"warning missing-folder 4"_s,
                       u"warning stray-line 7"_s, u"warning unknown-section 8"_s}
        << 3;
    QTest::newRow("area without folder or layer; area name not a number")
        << "[Area.001]\nTitle=A\n[Area.two]\nLocal=X\n"_ba << QStringList()
        << QStringList{u"warning missing-layer 1"_s, u"error area-without-folder 1"_s,
                       u"error area-not-numbered 3"_s}
        << 1;
}

void TestInspection::checkReportsFaults()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, expected);
    QFETCH(int, status);
#ifdef Q_OS_WIN
    if (content.contains(":\\"))
        QSKIP("on Windows a drive letter names the machine's own drive, not one of a Wine prefix");
#endif
    QTemporaryDir root;
    const QString simulator = root.filePath(u"pfx/drive_c/FS9"_s);
    QVERIFY(QDir().mkpath(simulator) && QDir().mkpath(root.filePath(u"pfx/dosdevices"_s)));
    QVERIFY(QFile::link(u"../drive_c"_s, root.filePath(u"pfx/dosdevices/c:"_s)));
    for (const QString& folder : folders)
        QVERIFY(QDir(simulator).mkpath(folder));
    const SceneryCheck check =
        checkSceneryList(pairOf({}, content).scenery, {simulator, simulator});
    verifyText(checkAsText(check, false), checkAsText(check, true), u"line "_s);
    const QJsonDocument json = checkAsJson(check);
    QStringList findings = fieldsOf(json[u"findings"_s], {u"severity"_s, u"kind"_s, u"line"_s});
    if (check.foldersNotChecked > 0)
        findings << u"not looked for %1"_s.arg(json[u"foldersNotChecked"_s].toInt());
    QCOMPARE(findings, expected);
    QCOMPARE(json[u"status"_s].toInt(), status);
}

void TestInspection::livePairMatchesByteIdenticalSnapshot()
{
    FolderFixture f;
    TestFiles::write(f.snapshotMain(u"Same"_s), "live main");
    TestFiles::write(f.snapshotScenery(u"Same"_s), "live scenery");
    TestFiles::write(f.snapshotMain(u"Half"_s), "live main");
    TestFiles::write(f.snapshotScenery(u"Half"_s), "live sceneri");
    QVERIFY(QDir().mkpath(f.snapshotMain(u"Folder"_s))); // there, but no file to read
    const auto folders = ConfigFolders::fromTexts(f.fs9, f.scenery);
    const QStringList names{u"Half"_s, u"Same"_s, u"Folder"_s, u"a/b"_s};
    LiveMatch match = matchLivePair(folders, names);
    QCOMPARE(match.names, QStringList{u"Same"_s});
    QVERIFY(match.unreadable.size() == 1 && match.error.isEmpty());
    QVERIFY(QFile::remove(f.liveScenery()));
    match = matchLivePair(folders, names);
    QVERIFY(match.names.isEmpty() && match.error.contains(f.liveScenery()));
}

void TestInspection::keptPairDiffersFromLivePair_data()
{
    QTest::addColumn<QByteArray>("kept");  // FS9.cfg as kept, beside a live "[Display]\nTexture=1"
    QTest::addColumn<QStringList>("says"); // parts of the text; "!" first: a part it must not hold
    const QString note = u"differ all the same"_s;
    QTest::newRow("a changed key, as diff shows it")
        << "[Display]\nTexture=2\n"_ba << QStringList{u"live -> entry 4"_s, u"2"_s, u'!' + note};
    QTest::newRow("the same bytes: nothing differs")
        << "[Display]\nTexture=1\n"_ba << QStringList{u"no differences"_s, u'!' + note};
    QTest::newRow("blanks alone differ: said, not hidden behind no differences")
        << "[Display]\nTexture = 1\n"_ba << QStringList{u"no differences"_s, note};
    QTest::newRow("no file was kept: the one there now goes")
        << "-"_ba << QStringList{u"putting it back deletes"_s};
}

void TestInspection::keptPairDiffersFromLivePair()
{
    QFETCH(QByteArray, kept);
    QFETCH(QStringList, says);
    FolderFixture f;
    TestFiles::write(f.liveMain(), "[Display]\nTexture=1\n");
    const History history(f.root.filePath(u"history"_s), 30, 1 << 20);
    QVERIFY(QDir().mkpath(history.folder()));
    HistoryEntry entry;
    entry.id = 4;
    entry.files[0].path = f.liveMain();
    entry.files[0].keptAs = kept == "-" ? QString() : u"main"_s;
    entry.files[1].path = f.liveScenery();
    entry.files[1].keptAs = u"scenery"_s;
    TestFiles::write(history.keptFilePath(u"main"_s), kept);
    QFile::copy(f.liveScenery(), history.keptFilePath(u"scenery"_s));
    const QString text = keptPairDifferences(history, entry);
    for (const QString& part : says)
        QVERIFY2(text.contains(part.mid(part.startsWith(u'!'))) != part.startsWith(u'!'),
                 qPrintable(part + u" in: "_s + text));
}

QTEST_GUILESS_MAIN(TestInspection)
#include "tst_inspection.moc"
