#include "ConfigList.h"
#include "ConfigNames.h"
#include "ConfigOperations.h"
#include "FakeServices.h"
#include "FileOperation.h"
#include "FolderFixture.h"
#include "HangarTemporaries.h"
#include "PairSwitch.h"
#include "StoredState.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    // Hangar's own hidden files (temporaries, records) in the two folders and the history's; the
    // empty lock file that a locked folder keeps on Windows is no leftover.
    QStringList leftovers() const
    {
        QStringList found;
        for (const QString& dir : {fs9, scenery, folder})
            found += QDir(dir).entryList({u".*"_s}, QDir::Files | QDir::Hidden);
        found.removeAll(u".hangar-lock"_s);
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

class TestSwitching : public QObject
{
    Q_OBJECT

private slots:
    void aNamePicksOneConfiguration_data();
    void aNamePicksOneConfiguration();
    void checksRefuseWithExactMessage_data();
    void checksRefuseWithExactMessage();
    void fileWrittenDuringTheSwitchIsNotLost_data();
    void fileWrittenDuringTheSwitchIsNotLost();
    void realFullDiskChangesNothing_data();
    void realFullDiskChangesNothing();
    void onlyTheDestinationChanges_data();
    void onlyTheDestinationChanges();
    void historyBounds_data();
    void historyBounds();
    void plantedFilesAreNeverFollowed_data();
    void plantedFilesAreNeverFollowed();
    void lostCopyIsNeverCompletedAsAMixedPair_data();
    void lostCopyIsNeverCompletedAsAMixedPair();
    void fileRewrittenDuringLoadsNeverCrashes();
    void recoveryRunsOncePerOperation();
};

void TestSwitching::aNamePicksOneConfiguration_data()
{
    // What a Save and a Remove under the typed name do to the list: "joins", "refused", or the
    // listed entry they work on.
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("remove");
    const auto row = [](const char* why, const QString& names, const QString& typed,
                        const QString& save, const QString& remove) {
        QTest::newRow(why) << names.split(u',', Qt::SkipEmptyParts) << typed << save << remove;
    };
    row("another spelling is the listed configuration", u"Night flying,Dawn"_s, u"night FLYING"_s,
        u"Night flying"_s, u"Night flying"_s);
    row("FS Original in any spelling is never removed", u"Dawn"_s, u"fs ORIGINAL"_s,
        u"FS Original"_s, u"refused"_s);
    row("accented letters in another case", u"Été"_s, u"éTÉ"_s, u"Été"_s, u"Été"_s);
    row("the Kelvin sign is no K", u"Kilo"_s, u"\u212Ailo"_s, u"joins"_s, QString());
    row("a full list takes another spelling", u"C1,C2,C3,C4,C5,C6,C7,C8,C9"_s, u"c9"_s, u"C9"_s,
        u"C9"_s);
    row("a full list refuses a new name", u"C1,C2,C3,C4,C5,C6,C7,C8,C9"_s, u"C10"_s, u"refused"_s,
        QString());
    row("usable: inner blanks, dots, accents, one quote", u"Dawn"_s, u"Nuit d'été v1.2"_s,
        u"joins"_s, QString());
    row("unusable: empty", u"Dawn"_s, QString(), u"refused"_s, QString());
    row("unusable: a blank more", u"Dawn"_s, u"Dawn "_s, u"refused"_s, QString());
    row("unusable: a leading blank", u"Dawn"_s, u" Dawn"_s, u"refused"_s, QString());
    row("unusable: slash climbing out", u"Dawn"_s, u"../x"_s, u"refused"_s, QString());
    row("unusable: double quote, angles, pipe", u"Dawn"_s, u"\"a<b>|c\""_s, u"refused"_s,
        QString());
    row("unusable: wrapped in single quotes", u"Dawn"_s, u"'Dawn'"_s, u"refused"_s, QString());
}

// The one rule that every way in shares (a Save and a Remove, hangarctl's and the window's, and
// the list read at start-up), through the operations that both call: the configuration each works
// on, on disk, and the list after it; names no file can hold are refused before any file is
// touched.
void TestSwitching::aNamePicksOneConfiguration()
{
    QFETCH(QStringList, names);
    QFETCH(QString, typed);
    QFETCH(QString, save);
    QFETCH(QString, remove);
    for (const bool saving : {true, false}) {
        HistoryFixture f;
        for (const QString& name : names)
            f.addConfig(name);
        const auto files = [&] {
            return QDir(f.fs9).entryList(QDir::Files) + QDir(f.scenery).entryList(QDir::Files);
        };
        const QStringList before = files();
        StoredState state;
        state.names = names;
        DiskFileSystem disk;
        const OperationPlace place{f.fs9, f.scenery, f.history, disk};
        const ListOperationResult result = saving
                                               ? saveLive(state, typed, originalConfigName(), place)
                                               : removeListed(state, typed, place);
        const QString picked = saving ? save : remove;
        QCOMPARE(result.performed, picked != u"refused"_s && !picked.isEmpty());
        QCOMPARE(result.nameUnknown, picked.isEmpty());
        QCOMPARE(result.message.isEmpty(), picked != u"refused"_s);
        if (!result.performed) {
            QCOMPARE(state.names, names);
            QCOMPARE(files(), before);
        } else if (saving) {
            const QString name = picked == u"joins"_s ? typed : picked;
            QCOMPARE(state.names, picked == u"joins"_s ? names + QStringList{typed} : names);
            QCOMPARE(TestFiles::read(f.snapshotMain(name)), "live main"_ba);
            QCOMPARE(TestFiles::read(f.snapshotScenery(name)), "live scenery"_ba);
        } else {
            QStringList left = names;
            left.removeOne(picked);
            QCOMPARE(state.names, left);
            QVERIFY(!QFile::exists(f.snapshotMain(picked)));
            QVERIFY(!QFile::exists(f.snapshotScenery(picked)));
        }
    }
    if (!whyNameUnusable(typed))
        return;
    QVERIFY(nameRefusal(typed)->startsWith(u"The name \""_s + typed + u"\" cannot be used"_s));
    // "../x" would reach x.cfg beside the folders.
    FolderFixture f;
    TestFiles::write(f.root.filePath(u"x.cfg"_s), "outside");
    DiskFileSystem fs;
    for (Operation operation : {Operation::Load, Operation::Save, Operation::Remove}) {
        const auto result = processFiles(operation, typed, typed, f.fs9, f.scenery, fs);
        QVERIFY(!result.performed);
        QCOMPARE(result.message, *nameRefusal(typed));
    }
    QCOMPARE(TestFiles::read(f.root.filePath(u"x.cfg"_s)), "outside"_ba);
    QCOMPARE(QDir(f.fs9).entryList(QDir::Files), QStringList{u"FS9.cfg"_s});
}

void TestSwitching::checksRefuseWithExactMessage_data()
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

void TestSwitching::checksRefuseWithExactMessage()
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

void TestSwitching::fileWrittenDuringTheSwitchIsNotLost_data()
{
    QTest::addColumn<QByteArray>("before"); // FS9.cfg when the switch starts
    QTest::addColumn<int>("renames");       // the runner is killed after this many; -1: never
    QTest::addColumn<QByteArray>("kept");   // the newest entry's FS9.cfg after the recovery
    QTest::newRow("written as the record is: refused, the new bytes stay live")
        << "live main"_ba << -1 << ""_ba;
    QTest::newRow("recreated after a kill before the set-aside file went to the history")
        << "tuned main"_ba << 0 << "tuned main"_ba;
    QTest::newRow("recreated after a kill once the set-aside file is in the history")
        << "tuned main"_ba << 1 << "tuned main"_ba;
}

void TestSwitching::fileWrittenDuringTheSwitchIsNotLost()
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
        // The simulator writes a new file in its place, as a program that saves through a
        // temporary does; the switch completes and the stranger's file stays beside.
        QVERIFY(QFile::remove(f.liveMain()));
        TestFiles::write(f.liveMain(), "by the simulator");
        QVERIFY(recoverFolders({f.fs9, f.scenery}, disk, &f.history).done);
        QCOMPARE(f.contents(u"Night"_s).first(2), f.contents(u"Night"_s).mid(2));
        QCOMPARE(f.listed().size(), 2);
        QCOMPARE(f.listed().first().first(), kept);
        const QStringList found = QDir(f.fs9).entryList({u"FS9.cfg.found-*"_s}, QDir::Files);
        QCOMPARE(found.size(), 1);
        QCOMPARE(TestFiles::read(f.fs9 + u'/' + found.first()), "by the simulator"_ba);
    }
    QVERIFY(f.leftovers().isEmpty());
}

void TestSwitching::realFullDiskChangesNothing_data()
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

void TestSwitching::realFullDiskChangesNothing()
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
        StoredState::recoverAndRead(settings, nullptr, disk, locks);
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

void TestSwitching::onlyTheDestinationChanges_data()
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

void TestSwitching::onlyTheDestinationChanges()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, unchanged);
    QFETCH(QString, refusal);
    HistoryFixture f;
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
            // The octal mode as Qt's flags; on Windows, write or not is the read-only attribute.
            const uint mode = parts[1].toUInt(nullptr, 8);
            QVERIFY(QFile::setPermissions(
                path, QFileDevice::Permissions::fromInt((mode >> 6) * 0x1100 |
                                                        (mode & 077) >> 3 << 4 | (mode & 7))));
            if (asRoot && parts.size() > 2)
                QCOMPARE(QProcess::execute(u"chown"_s, {parts[2] + u':' + parts[3], path}), 0);
            expectedMode = modeAndOwner(path);
        }
    }
    QMap<QString, QByteArray> kept;
    for (const QString& path : unchanged)
        kept[path] = TestFiles::read(root.filePath(path));

    DiskFileSystem fs;
    const auto result =
        processFiles(Operation::Load, u"Night"_s, {}, f.fs9, f.scenery, fs, &f.history);
    QVERIFY2(refusal.isEmpty() ? result.message.isEmpty()
                               : result.message.contains(QDir::toNativeSeparators(refusal)),
             qPrintable(result.message));
    for (const QString& path : unchanged)
        QCOMPARE(TestFiles::read(root.filePath(path)), kept[path]);
    if (!refusal.isEmpty())
        return;
    // What the history keeps never changes through another name of the replaced file.
    const QByteArrayList keptPair = f.listed().value(0);
    for (const QString& path : unchanged)
        TestFiles::write(root.filePath(path), "written through another name");
    QCOMPARE(f.listed().value(0), keptPair);
    QVERIFY(!QFileInfo(f.liveMain()).isSymLink());
    QCOMPARE(TestFiles::read(f.liveMain()), "Night main"_ba);
    if (!expectedMode.isEmpty())
        QCOMPARE(modeAndOwner(f.liveMain()), expectedMode);
}

void TestSwitching::historyBounds_data()
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

void TestSwitching::historyBounds()
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

void TestSwitching::plantedFilesAreNeverFollowed_data()
{
    QTest::addColumn<QString>("plant");   // what another program put in the folders
    QTest::addColumn<QString>("refusal"); // in the message of the Load (or Save "Y") that follows
    QTest::addColumn<int>("plantedId");   // an entry that restore must not act on; 0: none
    QTest::newRow("a record whose step replaces a file outside")
        << u"record-destination"_s << u"was not written by Hangar"_s << 0;
    QTest::newRow("a record whose staged copy is any file")
        << u"record-staged"_s << u"Hangar does not make"_s << 0;
    QTest::newRow("a record that is a link") << u"record-link"_s << u"not a record Hangar"_s << 0;
    QTest::newRow("an entry naming files outside: listed, never restored")
        << u"entry-path"_s << QString() << 5;
    QTest::newRow("an entry whose kept file lies outside: not listed")
        << u"entry-kept"_s << QString() << 5;
    QTest::newRow("an entry at the largest number: the next one does not wrap")
        << u"entry-largest"_s << QString() << 2147483647;
    QTest::newRow("an entry that is a link to /dev/zero is not read")
        << u"entry-zero"_s << QString() << 3;
#ifdef Q_OS_LINUX // Windows has no named pipes in a folder
    QTest::newRow("a pipe at the snapshot path: refused, no hang")
        << u"pipe"_s << u"not a regular file"_s << 0;
#endif
    QTest::newRow("a folder at the snapshot path: refused, never moved")
        << u"folder"_s << u"not a regular file"_s << 0;
}

void TestSwitching::plantedFilesAreNeverFollowed()
{
    QFETCH(QString, plant);
    QFETCH(QString, refusal);
    QFETCH(int, plantedId);
    HistoryFixture f;
    f.addConfig(u"Night"_s);
    const QDir root(f.root.path());
    root.mkpath(u"outside"_s);
    root.mkpath(u"history"_s);
    const QString victim = root.filePath(u"outside/victim.cfg"_s);
    const QString other = root.filePath(u"outside/other.cfg"_s);
    TestFiles::write(victim, "victim");
    TestFiles::write(other, "other");
    const QString record = f.fs9 + u"/.hangar-switch.json"_s;
    const auto step = [](const QString& destination, const QString& staged) {
        return QJsonObject{{u"destination"_s, destination},
                           {u"staged"_s, staged},
                           {u"aside"_s, destination + u".aside"_s}};
    };
    const auto entry = [&](int id, const QString& main, const QString& keptAs) {
        TestFiles::write(f.folder + u"/kept.cfg"_s, "kept");
        const QJsonArray files{
            QJsonObject{{u"path"_s, main}, {u"keptAs"_s, keptAs}, {u"size"_s, 4}},
            QJsonObject{{u"path"_s, other}, {u"keptAs"_s, u"kept.cfg"_s}, {u"size"_s, 4}}};
        return QJsonDocument(QJsonObject{{u"id"_s, id},
                                         {u"time"_s, u"2025-01-07T21:15:44.120Z"_s},
                                         {u"operation"_s, u"LOAD"_s},
                                         {u"files"_s, files}})
            .toJson();
    };
    if (plant == u"record-destination"_s || plant == u"record-staged"_s) {
        const bool outsideStaged = plant == u"record-staged"_s;
        const QJsonArray steps{step(outsideStaged ? f.liveMain() : victim, other),
                               step(f.liveScenery(), outsideStaged ? victim : QString())};
        TestFiles::write(record, QJsonDocument(QJsonObject{{u"steps"_s, steps}}).toJson());
    } else if (plant == u"record-link"_s) {
#ifdef Q_OS_WIN
        QSKIP("QFile::link makes a shortcut on Windows, a plain file to every other program; a "
              "symbolic link needs a privilege a user lacks");
#endif
        QVERIFY(QFile::link(victim, record));
    } else if (plant == u"entry-path"_s) {
        TestFiles::write(f.folder + u"/5.json"_s, entry(5, victim, u"kept.cfg"_s));
    } else if (plant == u"entry-kept"_s) {
        TestFiles::write(f.folder + u"/5.json"_s,
                         entry(5, f.liveMain(), u"../outside/victim.cfg"_s));
    } else if (plant == u"entry-largest"_s) {
        TestFiles::write(f.folder + u"/2147483647.json"_s,
                         entry(2147483647, victim, u"kept.cfg"_s));
    } else if (plant == u"entry-zero"_s) {
        QVERIFY(QFile::link(u"/dev/zero"_s, f.folder + u"/3.json"_s));
#ifdef Q_OS_LINUX
    } else if (plant == u"pipe"_s) {
        QCOMPARE(::mkfifo(QFile::encodeName(f.snapshotMain(u"Y"_s)).constData(), 0644), 0);
#endif
    } else {
        QVERIFY(root.mkpath(u"fs9/FS9.Y.cfg"_s));
    }
    const bool saves = plant == u"pipe"_s || plant == u"folder"_s;
    const QByteArrayList before = f.contents(u"Night"_s);
    DiskFileSystem fs;
    const OperationResult result =
        processFiles(saves ? Operation::Save : Operation::Load, u"Night"_s, u"Y"_s, f.fs9,
                     f.scenery, fs, &f.history);
    QVERIFY2(refusal.isEmpty() ? result.performed : result.message.contains(refusal),
             qPrintable(result.message));
    if (!refusal.isEmpty())
        QCOMPARE(f.contents(u"Night"_s), before);
    QCOMPARE(TestFiles::read(victim), "victim"_ba);
    QCOMPARE(TestFiles::read(other), "other"_ba);
    if (plantedId == 0)
        return;
    const QList<HistoryEntry> entries = f.history.entries();
    QVERIFY(!entries.isEmpty());
    QCOMPARE(entries.first().id, plant == u"entry-path"_s ? 6 : 1);
    QCOMPARE(f.listed().first(), before.first(2));
    // Listed only when its files are where a kept file may be; never restored.
    const auto planted = std::find_if(entries.begin(), entries.end(),
                                      [&](const HistoryEntry& e) { return e.id == plantedId; });
    QCOMPARE(planted != entries.end(), plant == u"entry-path"_s);
    if (planted != entries.end())
        QVERIFY(
            !restoreFromHistory(*planted, f.history, ConfigFolders::fromTexts(f.fs9, f.scenery), fs)
                 .performed);
    QCOMPARE(TestFiles::read(victim), "victim"_ba);
    QCOMPARE(TestFiles::read(other), "other"_ba);
}

void TestSwitching::lostCopyIsNeverCompletedAsAMixedPair_data()
{
    QTest::addColumn<Step>("step"); // the run stops dead at its first call
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("refused"); // recovery leaves the record and says so
    QTest::newRow("lost before any destination was replaced: taken back, both files old")
        << Step::Link << 1 << false;
    QTest::newRow("lost once the other copy is in place: left as it is, and told")
        << Step::Rename << 4 << true; // renames 1-2 move the set-aside files into the history
}

void TestSwitching::lostCopyIsNeverCompletedAsAMixedPair()
{
    QFETCH(Step, step);
    QFETCH(int, count);
    QFETCH(bool, refused);
    HistoryFixture f;
    f.addConfig(u"Night"_s);
    const QByteArrayList old = f.contents(u"Night"_s);
    FaultyFileSystem fs;
    fs.stopAt(step, count);
    processFiles(Operation::Load, u"Night"_s, {}, f.fs9, f.scenery, fs, &f.history);
    // The copy's name did not outlive a power cut, or another program removed it.
    const QStringList copies =
        QDir(f.scenery).entryList({u".Scenery.cfg.hangar-new-*"_s}, QDir::Files | QDir::Hidden);
    QCOMPARE(copies.size(), 1);
    QVERIFY(QFile::remove(f.scenery + u'/' + copies.first()));
    DiskFileSystem disk;
    const RecoveryOutcome recovery = recoverFolders({f.fs9, f.scenery}, disk, &f.history);
    QCOMPARE(recovery.done, !refused);
    QCOMPARE(f.contents(u"Night"_s).mid(1), old.mid(1)); // never a Scenery.cfg of another pair
    if (refused) {
        QVERIFY(recovery.reason.contains(u"is left for you to look at"_s));
        QVERIFY(QFile::exists(f.fs9 + u"/.hangar-switch.json"_s));
        return;
    }
    QCOMPARE(f.contents(u"Night"_s), old);
    QCOMPARE(f.leftovers(), QStringList());
    // What the history took while the files were live is bytes of its own now.
    TestFiles::write(f.liveMain(), "changed live");
    for (const QByteArrayList& pair : f.listed())
        QCOMPARE(pair, old.first(2));
}

// Another program (the simulator under --force, any writer in the prefix) truncates and rewrites
// Scenery.cfg while loads run: a load may be refused, but Hangar never dies of it.
void TestSwitching::fileRewrittenDuringLoadsNeverCrashes()
{
    HistoryFixture f;
    const QByteArray large(4 << 20, 's');
    for (const QString& name : {u"A"_s, u"B"_s}) {
        TestFiles::write(f.snapshotMain(name), name.toUtf8());
        TestFiles::write(f.snapshotScenery(name), large + name.toUtf8());
    }
    std::atomic_bool writing = true;
    std::thread writer([&] {
        for (int n = 0; writing; ++n) {
            QFile file(f.liveScenery());
            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
                for (int piece = 0; piece < 64 && writing; ++piece)
                    file.write(large.first(large.size() / 64));
            }
        }
    });
    const auto stop = qScopeGuard([&] {
        writing = false;
        writer.join();
    });
    int crashes = 0;
    for (int n = 0; n < 30; ++n) {
        QProcess runner;
        runner.start(QStringLiteral(OPERATION_RUNNER), {u"--history"_s, f.folder, u"LOAD"_s, f.fs9,
                                                        f.scenery, n % 2 ? u"A"_s : u"B"_s});
        QVERIFY(runner.waitForFinished(60'000));
        crashes += runner.exitStatus() == QProcess::CrashExit ? 1 : 0;
    }
    QCOMPARE(crashes, 0);
}

// A command reads the state and switches under one hold of the locks: what a crash left is put in
// order once, at its start, and again only after a switch of its own left a record.
void TestSwitching::recoveryRunsOncePerOperation()
{
    HistoryFixture f;
    f.addConfig(u"Dawn"_s);
    const ConfigFolders folders = ConfigFolders::fromTexts(f.fs9, f.scenery);
    const QString leftover = HangarTemporaries::nameBeside(f.liveMain(), u"new"_s);
    const auto load = [&](FileSystem& disk) {
        return processFiles(Operation::Load, u"Dawn"_s, {}, f.fs9, f.scenery, disk, &f.history);
    };
    DiskFileSystem disk;
    SwitchLocks command;
    QString busy;
    QVERIFY(command.take({f.fs9, f.scenery}, f.folder, disk, &busy));
    TestFiles::write(leftover, "left by a killed run");
    QVERIFY(recoverOnce(command, folders, disk, &f.history).done);
    QVERIFY(!QFile::exists(leftover));
    // Only a second recovery under the same hold would see it: no other process can write it.
    TestFiles::write(leftover, "seen by a second recovery");
    QVERIFY(load(disk).performed);
    QVERIFY(QFile::exists(leftover));

    FaultyFileSystem dying;
    dying.stopAt(Step::Rename, 2);
    QVERIFY(!load(dying).performed);
    QVERIFY(QFile::exists(f.fs9 + u"/.hangar-switch.json"_s));
    QVERIFY(load(disk).performed);
    QVERIFY(!QFile::exists(leftover));
    QCOMPARE(TestFiles::read(f.liveMain()) + TestFiles::read(f.liveScenery()),
             "Dawn mainDawn scenery"_ba);
    QVERIFY(f.leftovers().isEmpty());
}

QTEST_GUILESS_MAIN(TestSwitching)
#include "tst_switching.moc"
