#include "ConfigNames.h"
#include "FakeServices.h"
#include "FileOperation.h"
#include "FolderFixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using Step = FaultyFileSystem::Step;

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(FaultyFileSystem::Step)

class TestConfigFiles : public QObject
{
    Q_OBJECT

private slots:
    void usableNames_data();
    void usableNames();
    void checksRefuseWithExactMessage_data();
    void checksRefuseWithExactMessage();
    void failedStepIsReportedAndContained_data();
    void failedStepIsReportedAndContained();
    void readOnlyDestinationIsRefused();
    void unusableNameTouchesNothing();
    void killedLoadLeavesWholeFiles();
};

void TestConfigFiles::usableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    const auto row = [](const char* why, const QString& name, bool usable) {
        QTest::newRow(why) << name << usable;
    };
    row("FS Original", u"FS Original"_s, true);
    row("inner blanks, dots, accents, one quote", u"Nuit d'été v1.2"_s, true);
    row("empty", QString(), false);
    row("leading blank", u" Night"_s, false);
    row("trailing blank", u"Night "_s, false);
    row("backslash climbing out", u"..\\..\\Windows\\x"_s, false);
    row("slash", u"a/b"_s, false);
    row("colon", u"C:x"_s, false);
    row("wildcards", u"N*?"_s, false);
    row("double quote, angles, pipe", u"\"a<b>|c\""_s, false);
    row("control character", u"Ni\tght"_s, false);
    row("ends with a dot", u".."_s, false);
    row("wrapped in single quotes", u"'Night'"_s, false);
}

void TestConfigFiles::usableNames()
{
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(!whyNameUnusable(name), usable);
    if (!usable)
        QVERIFY(nameRefusal(name)->startsWith(u"The name \""_s + name + u"\" cannot be used"_s));
}

void TestConfigFiles::checksRefuseWithExactMessage_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("removed"); // what is taken away before the call
    QTest::addColumn<QList<int>>("lines");    // the failed checks the message lists
    const auto row = [](const char* why, Operation op, const QString& name,
                        const QStringList& removed, const QList<int>& lines) {
        QTest::newRow(why) << op << name << removed << lines;
    };
    row("load without scenery folder", Operation::Load, u"Night"_s, {u"scenery"_s}, {4, 5, 6});
    row("load with no folder at all", Operation::Load, u"Night"_s, {u"fs9"_s, u"scenery"_s},
        {1, 2, 3, 4, 5, 6});
    row("load without main snapshot", Operation::Load, u"Night"_s, {u"Night main"_s}, {2});
    row("remove without live scenery", Operation::Remove, u"Night"_s, {u"live scenery"_s}, {6});
    row("save without live main also lists the shown name's missing snapshots", Operation::Save,
        u"Night"_s, {u"live main"_s, u"Night main"_s, u"Night scenery"_s}, {2, 3, 5});
    row("load of FS Original needs its own snapshots", Operation::Load, u"FS Original"_s, {},
        {2, 5});
}

void TestConfigFiles::checksRefuseWithExactMessage()
{
    QFETCH(Operation, operation);
    QFETCH(QString, name);
    QFETCH(QStringList, removed);
    QFETCH(QList<int>, lines);
    FolderFixture f;
    f.addConfig(u"Night"_s);
    const QMap<QString, QString> paths{{u"live main"_s, f.liveMain()},
                                       {u"live scenery"_s, f.liveScenery()},
                                       {u"Night main"_s, f.snapshotMain(u"Night"_s)},
                                       {u"Night scenery"_s, f.snapshotScenery(u"Night"_s)},
                                       {u"fs9"_s, f.fs9},
                                       {u"scenery"_s, f.scenery}};
    for (const QString& what : removed)
        QVERIFY(QFile::remove(paths[what]) || QDir(paths[what]).removeRecursively());
    const QStringList texts{u"Invalid folder for %1 FS9 file configuration"_s,
                            u"FS9.%1.cfg file not found"_s,
                            u"FS Original FS9.cfg file not found"_s,
                            u"Invalid folder for %1 SCENERY file configuration"_s,
                            u"Scenery.%1.cfg file not found"_s,
                            u"FS Original Scenery.cfg file not found"_s};
    QString expected = u"Error during files process : \r\r"_s;
    for (int line : lines)
        expected += u'\t' + texts[line - 1].arg(name) + u"\t \r"_s;

    const auto before = f.contents(u"Night"_s);
    FaultyFileSystem fs;
    const auto result = processFiles(operation, name, u"New"_s, f.fs9, f.scenery, fs);
    QVERIFY(!result.performed);
    QCOMPARE(result.message, expected);
    QCOMPARE(f.contents(u"Night"_s), before);
    QVERIFY(!QFile::exists(f.snapshotMain(u"New"_s)));
}

void TestConfigFiles::failedStepIsReportedAndContained_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArrayList>("expected"); // live pair, then Night's snapshot pair
    QTest::addColumn<QString>("messagePart");
    const auto row = [](const char* why, Operation op, Step step, int count,
                        const QByteArrayList& expected, const QString& part) {
        QTest::newRow(why) << op << step << count << expected << part;
    };
    const QByteArrayList same{"live main", "live scenery", "Night main", "Night scenery"};
    const QString unchanged = u"No file was changed."_s;
    const QString half = u"was replaced, but the scenery configuration"_s;
    row("load, first copy fails", Operation::Load, Step::Stage, 1, same, unchanged);
    row("load, second copy fails", Operation::Load, Step::Stage, 2, same, unchanged);
    row("load, first rename fails", Operation::Load, Step::Commit, 1, same, unchanged);
    row("load, second rename fails", Operation::Load, Step::Commit, 2,
        {"Night main", "live scenery", "Night main", "Night scenery"}, half);
    row("load goes through", Operation::Load, Step::Stage, 0,
        {"Night main", "Night scenery", "Night main", "Night scenery"}, QString());
    row("save, first copy fails", Operation::Save, Step::Stage, 1, same, unchanged);
    row("save, second copy fails", Operation::Save, Step::Stage, 2, same, unchanged);
    row("save, first rename fails", Operation::Save, Step::Commit, 1, same, unchanged);
    row("save, second rename fails", Operation::Save, Step::Commit, 2,
        {"live main", "live scenery", "live main", "Night scenery"}, half);
    row("save over an existing name goes through", Operation::Save, Step::Stage, 0,
        {"live main", "live scenery", "live main", "live scenery"}, QString());
    row("remove, first deletion fails", Operation::Remove, Step::Remove, 1, same,
        u"No file was deleted."_s);
    row("remove, second deletion fails", Operation::Remove, Step::Remove, 2,
        {"live main", "live scenery", "<missing>", "Night scenery"}, u"was deleted, but"_s);
    row("remove goes through", Operation::Remove, Step::Remove, 0,
        {"live main", "live scenery", "<missing>", "<missing>"}, QString());
}

void TestConfigFiles::failedStepIsReportedAndContained()
{
    QFETCH(Operation, operation);
    QFETCH(Step, step);
    QFETCH(int, count);
    QFETCH(QByteArrayList, expected);
    QFETCH(QString, messagePart);
    FolderFixture f;
    f.addConfig(u"Night"_s);
    FaultyFileSystem fs;
    fs.failAt(step, count);
    const auto result = processFiles(operation, u"Night"_s, u"Night"_s, f.fs9, f.scenery, fs);
    QCOMPARE(result.performed, messagePart.isEmpty());
    QVERIFY2(result.message.contains(messagePart), qPrintable(result.message));
    if (!messagePart.isEmpty())
        QVERIFY(result.message.contains(FaultyFileSystem::reason()));
    QCOMPARE(f.contents(u"Night"_s), expected);
    QCOMPARE(QDir(f.fs9).entryList(QDir::Files | QDir::Hidden).size(),
             expected[2] == "<missing>" ? 1 : 2); // no copy left lying beside a destination
}

void TestConfigFiles::readOnlyDestinationIsRefused()
{
    FolderFixture f;
    f.addConfig(u"Night"_s);
    DiskFileSystem fs;
    TestFiles::makeReadOnly(f.liveScenery());
    const auto result = processFiles(Operation::Load, u"Night"_s, QString(), f.fs9, f.scenery, fs);
    QVERIFY(!result.performed);
    QVERIFY(result.message.contains(f.liveScenery()) && result.message.contains(u"read-only"_s));
    QCOMPARE(TestFiles::read(f.liveMain()), "live main"_ba);
}

void TestConfigFiles::unusableNameTouchesNothing()
{
    FolderFixture f;
    f.addConfig(u"Night"_s);
    FaultyFileSystem fs;
    // A name that would climb out of the scenery folder onto a file beside it.
    TestFiles::write(f.root.filePath(u"x.cfg"_s), "outside");
    const QString climbing = u".."_s + QDir::separator() + u"x"_s;
    for (Operation operation : {Operation::Load, Operation::Save, Operation::Remove}) {
        const auto result = processFiles(operation, climbing, climbing, f.fs9, f.scenery, fs);
        QVERIFY(!result.performed);
        QCOMPARE(result.message, *nameRefusal(climbing));
    }
    QCOMPARE(TestFiles::read(f.root.filePath(u"x.cfg"_s)), "outside"_ba);
    QCOMPARE(f.contents(u"Night"_s),
             (QByteArrayList{"live main", "live scenery", "Night main", "Night scenery"}));
}

void TestConfigFiles::killedLoadLeavesWholeFiles()
{
    FolderFixture f;
    const QByteArray oldMain(20'000'000, 'o');
    const QByteArray oldScenery(30'000'000, 'p');
    const QByteArray newMain(30'000'000, 'M');
    const QByteArray newScenery(30'000'000, 'S');
    TestFiles::write(f.snapshotMain(u"Big"_s), newMain);
    TestFiles::write(f.snapshotScenery(u"Big"_s), newScenery);
    // A kill between a copy's link and its rename may leave that whole copy under a temporary
    // name beside its destination; nothing reads such names.
    const QRegularExpression leftover(u"^(FS9|Scenery)\\.cfg\\.[A-Za-z0-9]{6}$"_s);
    const QStringList expected{u"FS9.Big.cfg"_s, u"FS9.cfg"_s, u"Scenery.Big.cfg"_s,
                               u"Scenery.cfg"_s};

    for (int delayMs : {0, 10, 30, 60, 100, 150, 250}) {
        TestFiles::write(f.liveMain(), oldMain);
        TestFiles::write(f.liveScenery(), oldScenery);
        QProcess loader;
        loader.start(QStringLiteral(LOAD_RUNNER), {f.fs9, f.scenery, u"Big"_s});
        QVERIFY(loader.waitForStarted());
        QTest::qWait(delayMs);
        loader.kill();
        loader.waitForFinished();
        QCOMPARE(loader.state(), QProcess::NotRunning);
        const QByteArray main = TestFiles::read(f.liveMain());
        const QByteArray scenery = TestFiles::read(f.liveScenery());
        QVERIFY2(main == oldMain || main == newMain,
                 qPrintable(u"FS9.cfg torn at %1 ms"_s.arg(delayMs)));
        QVERIFY2(scenery == oldScenery || scenery == newScenery,
                 qPrintable(u"Scenery.cfg torn at %1 ms"_s.arg(delayMs)));
        QStringList names = QDir(f.fs9).entryList(QDir::Files | QDir::Hidden) +
                            QDir(f.scenery).entryList(QDir::Files | QDir::Hidden);
        names.removeIf([&](const QString& name) { return leftover.match(name).hasMatch(); });
        names.sort();
        QCOMPARE(names, expected);
    }
    DiskFileSystem fs;
    QVERIFY(processFiles(Operation::Load, u"Big"_s, QString(), f.fs9, f.scenery, fs).performed);
    QCOMPARE(TestFiles::read(f.liveScenery()), newScenery);
}

QTEST_GUILESS_MAIN(TestConfigFiles)
#include "tst_config_files.moc"
