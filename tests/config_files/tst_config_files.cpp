#include "ConfigNames.h"
#include "FakeServices.h"
#include "FileOperation.h"
#include "FolderFixture.h"
#include "PairSwitch.h"
#include "StoredState.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <filesystem>
#include <functional>
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using Step = FaultyFileSystem::Step;

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(FaultyFileSystem::Step)

namespace {

// The two folders with a history in a third folder beside them.
struct HistoryFixture : FolderFixture
{
    QString folder = root.filePath(u"history"_s);
    History history{folder, 30, qint64{200} << 20};

    // The pairs of the entries the history lists, newest first.
    QList<QByteArrayList> listed() const
    {
        QList<QByteArrayList> pairs;
        for (const HistoryEntry& e : history.entries()) {
            pairs.append({TestFiles::read(history.keptFilePath(e.files[0].keptAs)),
                          TestFiles::read(history.keptFilePath(e.files[1].keptAs))});
        }
        return pairs;
    }
    qsizetype keptFiles() const { return QDir(folder).entryList({u"*.cfg"_s}, QDir::Files).size(); }
    // Hangar's own hidden files (temporaries, records) in the two folders and the history's.
    QStringList leftovers() const
    {
        QStringList found;
        for (const QString& dir : {fs9, scenery, folder})
            found += QDir(dir).entryList({u".*"_s}, QDir::Files | QDir::Hidden);
        return found;
    }
};

// Runs the operation runner one file step at a time; goOn, given each step's name, says whether
// the runner takes it or is killed there.
void runStepwise(QProcess& runner, const QStringList& arguments,
                 const std::function<bool(const QByteArray&)>& goOn)
{
    runner.start(QStringLiteral(OPERATION_RUNNER), QStringList{u"--stepwise"_s} + arguments);
    while (runner.state() != QProcess::NotRunning && runner.waitForReadyRead(10'000)) {
        while (runner.canReadLine() && runner.state() != QProcess::NotRunning) {
            if (goOn(runner.readLine().trimmed()))
                runner.write("go\n");
            else
                runner.kill();
        }
    }
    QVERIFY(runner.state() == QProcess::NotRunning || runner.waitForFinished(10'000));
}

} // namespace

class TestConfigFiles : public QObject
{
    Q_OBJECT

private slots:
    void usableNames_data();
    void usableNames();
    void checksRefuseWithExactMessage_data();
    void checksRefuseWithExactMessage();
    void pairStaysWholeWhenAStepFailsOrStops_data();
    void pairStaysWholeWhenAStepFailsOrStops();
    void killedProcessLeavesWholePair();
    void fileWrittenDuringTheSwitchIsNotLost_data();
    void fileWrittenDuringTheSwitchIsNotLost();
    void realFullDiskChangesNothing_data();
    void realFullDiskChangesNothing();
    void onlyTheDestinationChanges_data();
    void onlyTheDestinationChanges();
    void historyKeepsWhatGoesAndRestoreBringsItBack_data();
    void historyKeepsWhatGoesAndRestoreBringsItBack();
    void historyBounds_data();
    void historyBounds();
};

void TestConfigFiles::usableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    const auto row = [](const char* why, const QString& name, bool usable) {
        QTest::newRow(why) << name << usable;
    };
    row("inner blanks, dots, accents, one quote", u"Nuit d'été v1.2"_s, true);
    row("empty", QString(), false);
    row("leading blank", u" Night"_s, false);
    row("trailing blank", u"Night "_s, false);
    row("slash climbing out", u"../x"_s, false);
    row("double quote, angles, pipe", u"\"a<b>|c\""_s, false);
    row("wrapped in single quotes", u"'Night'"_s, false);
}

void TestConfigFiles::usableNames()
{
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(!whyNameUnusable(name), usable);
    if (usable)
        return;
    QVERIFY(nameRefusal(name)->startsWith(u"The name \""_s + name + u"\" cannot be used"_s));
    // Refused first, whatever the operation, before any file is touched: "../x" would reach
    // x.cfg beside the folders.
    FolderFixture f;
    TestFiles::write(f.root.filePath(u"x.cfg"_s), "outside");
    DiskFileSystem fs;
    for (Operation operation : {Operation::Load, Operation::Save, Operation::Remove}) {
        const auto result = processFiles(operation, name, name, f.fs9, f.scenery, fs);
        QVERIFY(!result.performed);
        QCOMPARE(result.message, *nameRefusal(name));
    }
    QCOMPARE(TestFiles::read(f.root.filePath(u"x.cfg"_s)), "outside"_ba);
    QCOMPARE(QDir(f.fs9).entryList(QDir::Files), QStringList{u"FS9.cfg"_s});
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
        expected += u'\t' + QString(texts[line - 1]).replace(u"%1"_s, name) + u"\t \r"_s;

    DiskFileSystem fs;
    const auto result = processFiles(operation, name, u"New"_s, f.fs9, f.scenery, fs);
    QVERIFY(!result.performed);
    QCOMPARE(result.message, expected);
}

void TestConfigFiles::pairStaysWholeWhenAStepFailsOrStops_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<bool>("withHistory");
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("stops");     // killed at that step rather than refused
    QTest::addColumn<bool>("endsAsNew"); // after the next start's recovery
    const auto row = [](Operation op, bool history, Step step, int count, bool stops,
                        bool endsAsNew) {
        static const QStringList ops{u"load"_s, u"save"_s, u"remove"_s};
        static const QStringList steps{u"copy"_s,    u"record"_s,      u"rename"_s,
                                       u"removal"_s, u"folder sync"_s, u"entry write"_s};
        const QString name = u"%1%2, %3 %4 at %5 %6"_s
                                 .arg(ops[int(op)], history ? u" with the history"_s : QString(),
                                      stops ? u"killed"_s : u"refused"_s)
                                 .arg(count)
                                 .arg(steps[int(step)], endsAsNew ? u"-> new"_s : u"-> old"_s);
        QTest::newRow(qPrintable(name)) << op << history << step << count << stops << endsAsNew;
    };
    for (Operation op : {Operation::Load, Operation::Save}) {
        for (bool stops : {false, true}) {
            row(op, false, Step::Stage, 1, stops, false);
            row(op, false, Step::Stage, 2, stops, false);
            row(op, false, Step::Record, 1, stops, false); // a kill here tears the record
            // Aside, aside, in place, in place: once one copy is in place the switch goes forward.
            for (int rename = 1; rename <= 4; ++rename)
                row(op, false, Step::Rename, rename, stops, stops || rename == 4);
            row(op, false, Step::Sync, 2, stops, stops); // the copies' and the record's names
            row(op, false, Step::Sync, 4, stops, true);  // the renames
            row(op, false, Step::Remove, 1, stops, true);
        }
    }
    for (bool stops : {false, true}) {
        row(Operation::Remove, false, Step::Rename, 1, stops, stops);
        row(Operation::Remove, false, Step::Remove, 2, stops, true);
    }
    // A Load with a new history: renames 3-4 move the set-aside pair into the history, syncs 4-5
    // flush the set-aside files. Kills between steps are killedProcessLeavesWholePair's; a kill
    // here tears the entry being written.
    row(Operation::Load, true, Step::Entry, 1, false, false);
    row(Operation::Load, true, Step::Sync, 5, false, false);  // the first file goes back
    row(Operation::Load, true, Step::Rename, 3, false, true); // copied into the history instead
    row(Operation::Load, true, Step::Entry, 1, true, true);
}

void TestConfigFiles::pairStaysWholeWhenAStepFailsOrStops()
{
    QFETCH(Operation, operation);
    QFETCH(bool, withHistory);
    QFETCH(Step, step);
    QFETCH(int, count);
    QFETCH(bool, stops);
    QFETCH(bool, endsAsNew);
    HistoryFixture f;
    f.addConfig(u"Night"_s);
    const QByteArrayList old = f.contents(u"Night"_s);
    const QMap<Operation, QByteArrayList> asNew{
        {Operation::Load, {"Night main", "Night scenery", "Night main", "Night scenery"}},
        {Operation::Save, {"live main", "live scenery", "live main", "live scenery"}},
        {Operation::Remove, {"live main", "live scenery", "<missing>", "<missing>"}}};
    FaultyFileSystem fs;
    stops ? fs.stopAt(step, count) : fs.failAt(step, count);
    const auto result = processFiles(operation, u"Night"_s, u"Night"_s, f.fs9, f.scenery, fs,
                                     withHistory ? &f.history : nullptr);
    QVERIFY(fs.fired);
    if (!stops) {
        const bool completedLater = result.message.contains(u"completes the change"_s);
        QCOMPARE(result.performed || completedLater, endsAsNew);
        QCOMPARE(result.message.contains(FaultyFileSystem::reason()), !result.performed);
    }
    // Before any recovery, an entry is listed only with both of its files whole.
    const QList<QByteArrayList> oldKept{old.mid(0, 2)};
    QVERIFY(f.listed().isEmpty() || f.listed() == oldKept);

    DiskFileSystem disk;
    QVERIFY(recoverFolders({f.fs9, f.scenery}, disk).done);
    QCOMPARE(f.contents(u"Night"_s), endsAsNew ? asNew[operation] : old);
    QCOMPARE(f.listed(), withHistory && endsAsNew ? oldKept : QList<QByteArrayList>{});
    QCOMPARE(f.leftovers(), QStringList());
}

// Killed before each step in turn, a Load with a history leaves the old pair or the new one, and
// the old pair is kept exactly when the new one is in.
void TestConfigFiles::killedProcessLeavesWholePair()
{
    HistoryFixture f;
    f.addConfig(u"Night"_s);
    const QByteArrayList old = f.contents(u"Night"_s);
    const QByteArrayList asNew{"Night main", "Night scenery", "Night main", "Night scenery"};
    const QList<QByteArrayList> oldKept{old.mid(0, 2)};
    QSet<bool> endings;
    for (int killAt = 1;; ++killAt) {
        TestFiles::write(f.liveMain(), old[0]);
        TestFiles::write(f.liveScenery(), old[1]);
        QDir(f.folder).removeRecursively();
        QProcess runner;
        int step = 0;
        runStepwise(runner, {u"--history"_s, f.folder, u"LOAD"_s, f.fs9, f.scenery, u"Night"_s},
                    [&](const QByteArray&) { return ++step != killAt; });
        if (step < killAt) { // ran to its end before the step to kill it at came
            QCOMPARE(runner.exitStatus(), QProcess::NormalExit);
            QCOMPARE(runner.exitCode(), 0);
            break;
        }
        QCOMPARE(runner.exitStatus(), QProcess::CrashExit);
        QVERIFY(f.listed().isEmpty() || f.listed() == oldKept);
        DiskFileSystem disk;
        QVERIFY(recoverFolders({f.fs9, f.scenery}, disk).done);
        const QByteArrayList now = f.contents(u"Night"_s);
        QVERIFY2(now == old || now == asNew,
                 qPrintable(u"mixed pair after a kill at step %1: "_s.arg(killAt) +
                            QString::fromLatin1(now.join('|'))));
        endings.insert(now == asNew);
        QCOMPARE(f.listed(), now == asNew ? oldKept : QList<QByteArrayList>{});
    }
    QCOMPARE(endings, (QSet<bool>{false, true}));
}

void TestConfigFiles::fileWrittenDuringTheSwitchIsNotLost_data()
{
    QTest::addColumn<QByteArray>("before"); // FS9.cfg when the switch starts
    QTest::addColumn<int>("renames");       // the runner is killed after this many; -1: never
    QTest::addColumn<QByteArray>("kept");   // the newest entry's FS9.cfg after the recovery
    QTest::newRow("written as the record is: refused, the new bytes stay live")
        << "live main"_ba << -1 << ""_ba;
    QTest::newRow("written after a kill before the set-aside: kept as written, though the record "
                  "matched the older bytes to a kept file")
        << "live main"_ba << 0 << "by the simulator"_ba;
    QTest::newRow("recreated after a kill once set aside: the set-aside file is kept")
        << "tuned main"_ba << 1 << "tuned main"_ba;
}

void TestConfigFiles::fileWrittenDuringTheSwitchIsNotLost()
{
    QFETCH(QByteArray, before);
    QFETCH(int, renames);
    QFETCH(QByteArray, kept);
    HistoryFixture f;
    f.addConfig(u"Night"_s);
    // The history holds the live pair already: "live main" is matched to a kept file.
    DiskFileSystem disk;
    QVERIFY(processFiles(Operation::Load, u"Night"_s, {}, f.fs9, f.scenery, disk, &f.history)
                .performed);
    TestFiles::write(f.liveMain(), before);
    TestFiles::write(f.liveScenery(), "live scenery");
    QProcess runner;
    int done = 0;
    runStepwise(runner, {u"--history"_s, f.folder, u"LOAD"_s, f.fs9, f.scenery, u"Night"_s},
                [&](const QByteArray& step) {
                    if (renames < 0 && step == "record")
                        TestFiles::write(f.liveMain(), "by the simulator");
                    return renames < 0 || step != "rename" || done++ != renames;
                });
    if (renames < 0) {
        QCOMPARE(runner.exitCode(), 1);
        QVERIFY(runner.readAllStandardError().contains("FS9.cfg changed while it was being"));
        QCOMPARE(TestFiles::read(f.liveMain()), "by the simulator");
        QCOMPARE(f.listed().size(), 1);
    } else {
        TestFiles::write(f.liveMain(), "by the simulator");
        QVERIFY(recoverFolders({f.fs9, f.scenery}, disk).done);
        QCOMPARE(f.contents(u"Night"_s).first(2), f.contents(u"Night"_s).mid(2));
        QCOMPARE(f.listed().size(), 2);
        QCOMPARE(f.listed().first().first(), kept);
    }
    QVERIFY(f.leftovers().isEmpty());
}

void TestConfigFiles::realFullDiskChangesNothing_data()
{
    QTest::addColumn<QStringList>("arguments"); // the runner's, {names} replaced by paths
    // "limit", "signal" (the limit's signal kills the runner), or the folder of a full tmpfs
    QTest::addColumn<QString>("full");
    const QStringList load{u"LOAD"_s, u"{fs9}"_s, u"{scenery}"_s, u"Night"_s, u"Dawn"_s};
    const QStringList save{u"SAVE"_s, u"{fs9}"_s, u"{scenery}"_s, u"Night"_s, u"Dawn"_s};
    const QStringList settings{u"SETTINGS"_s, u"{settings}"_s, u"Night"_s};
    for (const QStringList& arguments : {load, save, settings}) {
        QTest::addRow("%s over the file-size limit", qPrintable(arguments[0]))
            << arguments << u"limit"_s;
        QTest::addRow("%s on a full tmpfs", qPrintable(arguments[0])) << arguments << u"{root}"_s;
    }
    QTest::newRow("SETTINGS killed half-way by the limit's signal") << settings << u"signal"_s;
    // The history alone on a full file system: it must copy what goes, and cannot. What is left
    // holds one file that goes, not both: the first copy must go too.
    const QStringList history{u"--history"_s, u"{history}"_s};
    QTest::newRow("LOAD, history on a full tmpfs") << history + load << u"{history}"_s;
    QTest::newRow("SAVE over a name, history on a full tmpfs")
        << history + QStringList{u"SAVE"_s, u"{fs9}"_s, u"{scenery}"_s, u"Night"_s, u"Night"_s}
        << u"{history}"_s;
    QTest::newRow("REMOVE, history on a full tmpfs")
        << history + QStringList{u"REMOVE"_s, u"{fs9}"_s, u"{scenery}"_s, u"Night"_s}
        << u"{history}"_s;
}

void TestConfigFiles::realFullDiskChangesNothing()
{
#ifdef Q_OS_LINUX
    QFETCH(QStringList, arguments);
    QFETCH(QString, full);
    HistoryFixture f;
    const QString settings = f.root.filePath(u"Hangar.ini"_s);
    const QMap<QString, QString> paths{{u"{root}"_s, f.root.path()},
                                       {u"{fs9}"_s, f.fs9},
                                       {u"{scenery}"_s, f.scenery},
                                       {u"{settings}"_s, settings},
                                       {u"{history}"_s, f.folder}};
    for (QString& argument : arguments)
        argument = paths.value(argument, argument);
    const QString mounted = paths.value(full);
    if (!mounted.isEmpty()) {
        if (::geteuid() != 0)
            QSKIP("mounting a small tmpfs needs root");
        QVERIFY(QDir().mkpath(mounted));
        QVERIFY(QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=1m"_s,
                                               u"tmpfs"_s, mounted}) == 0);
        QDir(f.root.path()).mkpath(u"fs9"_s);
        QDir(f.root.path()).mkpath(u"scenery"_s);
    }
    const auto unmount = qScopeGuard([&] {
        if (!mounted.isEmpty())
            QProcess::execute(u"umount"_s, {mounted});
    });
    for (const QString& path :
         {f.liveMain(), f.liveScenery(), f.snapshotMain(u"Night"_s), f.snapshotScenery(u"Night"_s)})
        TestFiles::write(path, QByteArray(200'000, 'x') + path.toUtf8());
    TestFiles::write(settings, "[Other]\r\nPad=" + QByteArray(150'000, 'p') + "\r\n");
    if (!mounted.isEmpty()) { // fill what is left, or most of it beside the history
        QFile filler(QDir(mounted).filePath(u"filler"_s));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const int limit = mounted == f.folder ? 175 : 1 << 20;
        for (int n = 0; n < limit && filler.write(QByteArray(4096, 'f')) == 4096; ++n) {
        }
    }
    const auto before = [&] {
        return f.contents(u"Night"_s)
               << TestFiles::read(f.snapshotMain(u"Dawn"_s)) << TestFiles::read(settings);
    };
    const QByteArrayList expected = before();

    QProcess runner;
    if (mounted.isEmpty()) {
        const bool killed = full == u"signal"_s;
        runner.setChildProcessModifier([killed] {
            const rlimit limit{100'000, 100'000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
        });
    }
    runner.start(QStringLiteral(OPERATION_RUNNER), arguments);
    QVERIFY(runner.waitForFinished(20'000));
    if (full == u"signal"_s) {
        QCOMPARE(runner.exitStatus(), QProcess::CrashExit);
        QCOMPARE(before(), expected);
        // The next start clears what the killed write left.
        DiskFileSystem disk;
        SwitchLocks locks;
        StoredState::recoverAndRead(settings, QString(), disk, locks);
        QCOMPARE(QDir(f.root.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"Hangar.ini"_s});
        return;
    }
    QCOMPARE(runner.exitStatus(), QProcess::NormalExit);
    QCOMPARE(runner.exitCode(), 1);
    const QString message = QString::fromLocal8Bit(runner.readAllStandardError());
    QVERIFY2(
        message.contains(mounted.isEmpty() ? u"File too large"_s : u"No space left on device"_s),
        qPrintable(message));
    QCOMPARE(message.contains(u"kept in the history"_s), mounted == f.folder);
    QCOMPARE(before(), expected);
    const QStringList left = QDir(f.fs9).entryList(QDir::Files | QDir::Hidden) +
                             QDir(f.scenery).entryList(QDir::Files | QDir::Hidden) +
                             QDir(f.root.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left.size(), full == u"{root}"_s ? 6 : 5);
    QCOMPARE(f.leftovers(), QStringList());
    if (mounted == f.folder)
        QCOMPARE(QDir(f.folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"filler"_s});
#else
    // The faults of the file system seam (FaultyFileSystem) fail the same steps everywhere.
    QSKIP("a real full disk here is a file-size limit or a small tmpfs, both Linux's: Windows has "
          "no per-process limit, and making a small volume needs an administrator");
#endif
}

void TestConfigFiles::onlyTheDestinationChanges_data()
{
    // A Load of Night. Paths are under the fixture's root; "=>" makes a symbolic link, "==" a
    // hard link, and ":" gives a file that mode and, as root, that owner.
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QStringList>("unchanged"); // files whose bytes must stay as they were
    QTest::addColumn<QString>("refusal");       // in the message; none when it is done
    QTest::newRow("live pair linked to snapshot A: loading Night keeps A")
        << QStringList{u"fs9/FS9.cfg=>FS9.A.cfg"_s, u"scenery/Scenery.cfg=>Scenery.A.cfg"_s}
        << QStringList{u"fs9/FS9.A.cfg"_s, u"scenery/Scenery.A.cfg"_s} << QString();
    QTest::newRow("hard link to a live file keeps the old bytes")
        << QStringList{u"fs9/FS9.cfg==hard.cfg"_s} << QStringList{u"hard.cfg"_s} << QString();
    QTest::newRow("the replacement keeps the replaced file's mode and owner")
        << QStringList{u"fs9/FS9.cfg:640:1234:2345"_s} << QStringList{} << QString();
    QTest::newRow("a read-only live file is refused and neither live file changes")
        << QStringList{u"scenery/Scenery.cfg:444"_s}
        << QStringList{u"fs9/FS9.cfg"_s, u"scenery/Scenery.cfg"_s}
        << u"scenery/Scenery.cfg could not be written:\rthe file is read-only"_s;
}

void TestConfigFiles::onlyTheDestinationChanges()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, unchanged);
    QFETCH(QString, refusal);
    FolderFixture f;
    f.addConfig(u"Night"_s);
    const QDir root(f.root.path());
    TestFiles::write(root.filePath(u"fs9/FS9.A.cfg"_s), "A main");
    TestFiles::write(root.filePath(u"scenery/Scenery.A.cfg"_s), "A scenery");
    const bool asRoot = QFileInfo(f.liveMain()).ownerId() == 0;
    const auto modeAndOwner = [](const QString& path) {
        const QFileInfo info(path);
        return QList<uint>{uint(info.permissions()), info.ownerId(), info.groupId()};
    };
    QList<uint> expectedMode;
    for (const QString& item : setup) {
        const QStringList parts = item.split(QRegularExpression(u"=>|==|:"_s));
        const QString path = root.filePath(parts[0]);
        if (item.contains(u"=="_s)) {
            std::filesystem::create_hard_link(
                QFile::encodeName(path).toStdString(),
                QFile::encodeName(root.filePath(parts[1])).toStdString());
        } else if (item.contains(u"=>"_s)) {
            QFile::remove(path);
            QVERIFY(QFile::link(parts[1], path));
        } else {
            QCOMPARE(QProcess::execute(u"chmod"_s, {parts[1], path}), 0);
            if (asRoot && parts.size() > 2)
                QCOMPARE(QProcess::execute(u"chown"_s, {parts[2] + u':' + parts[3], path}), 0);
            expectedMode = modeAndOwner(path);
        }
    }
    QMap<QString, QByteArray> kept;
    for (const QString& path : unchanged)
        kept[path] = TestFiles::read(root.filePath(path));

    DiskFileSystem fs;
    const auto result = processFiles(Operation::Load, u"Night"_s, {}, f.fs9, f.scenery, fs);
    QVERIFY2(refusal.isEmpty() ? result.message.isEmpty() : result.message.contains(refusal),
             qPrintable(result.message));
    for (const QString& path : unchanged)
        QCOMPARE(TestFiles::read(root.filePath(path)), kept[path]);
    if (!refusal.isEmpty())
        return;
    QVERIFY(!QFileInfo(f.liveMain()).isSymLink());
    QCOMPARE(TestFiles::read(f.liveMain()), "Night main"_ba);
    if (!expectedMode.isEmpty())
        QCOMPARE(modeAndOwner(f.liveMain()), expectedMode);
}

void TestConfigFiles::historyKeepsWhatGoesAndRestoreBringsItBack_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QByteArrayList>("gone");
    QTest::newRow("load keeps the live pair")
        << Operation::Load << QString() << QByteArrayList{"live main", "live scenery"};
    QTest::newRow("save over a name keeps its old snapshot pair")
        << Operation::Save << u"Night"_s << QByteArrayList{"Night main", "Night scenery"};
    QTest::newRow("save under a new name replaces nothing and keeps nothing")
        << Operation::Save << u"New"_s << QByteArrayList{};
}

void TestConfigFiles::historyKeepsWhatGoesAndRestoreBringsItBack()
{
    QFETCH(Operation, operation);
    QFETCH(QString, newName);
    QFETCH(QByteArrayList, gone);
    HistoryFixture f;
    f.addConfig(u"Night"_s);
    const QByteArrayList before = f.contents(u"Night"_s);
    DiskFileSystem fs;
    QVERIFY(
        processFiles(operation, u"Night"_s, newName, f.fs9, f.scenery, fs, &f.history).performed);
    using Pairs = QList<QByteArrayList>;
    QCOMPARE(f.listed(), gone.isEmpty() ? Pairs{} : Pairs{gone});
    QVERIFY(f.leftovers().isEmpty());
    if (gone.isEmpty())
        return;
    const QByteArrayList after =
        f.contents(u"Night"_s).mid(operation == Operation::Load ? 0 : 2, 2);
    QVERIFY(restoreFromHistory(f.history.entries().first().id, f.history, fs).performed);
    QCOMPARE(f.contents(u"Night"_s), before);
    QCOMPARE(f.listed(), (Pairs{after, gone})); // what the restore replaced is kept in turn
}

void TestConfigFiles::historyBounds_data()
{
    QTest::addColumn<int>("maxEntries");
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<QList<int>>("left"); // the entries' numbers, newest first
    // Five loads keep the live pair (21 bytes), then four pairs of 15 bytes, numbered 1 to 5.
    const QStringList five{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s};
    const qint64 plenty = qint64{1} << 20;
    QTest::newRow("by count: the newest three") << 3 << plenty << five << QList<int>{5, 4, 3};
    QTest::newRow("by size: the newest that fit") << 30 << qint64{30} << five << QList<int>{5, 4};
    QTest::newRow("the newest stays even alone too large")
        << 30 << qint64{10} << five << QList<int>{5};
    QTest::newRow("back and forth between two: a pair kept again replaces its older entry")
        << 30 << plenty << QStringList{u"b"_s, u"a"_s, u"b"_s, u"a"_s, u"b"_s}
        << QList<int>{5, 4, 1};
}

void TestConfigFiles::historyBounds()
{
    QFETCH(int, maxEntries);
    QFETCH(qint64, maxBytes);
    QFETCH(QStringList, loads);
    QFETCH(QList<int>, left);
    HistoryFixture f;
    History history(f.folder, maxEntries, maxBytes);
    DiskFileSystem fs;
    for (const QString& name : loads) {
        f.addConfig(name);
        QVERIFY(processFiles(Operation::Load, name, {}, f.fs9, f.scenery, fs, &history).performed);
    }
    QList<int> ids;
    for (const HistoryEntry& entry : history.entries())
        ids << entry.id;
    QCOMPARE(ids, left);
    QCOMPARE(f.keptFiles(), 2 * left.size()); // each pair once; no file of a pruned entry stays
}

QTEST_GUILESS_MAIN(TestConfigFiles)
#include "tst_config_files.moc"
