#include "DiskFileSystem.h"
#include "FakeServices.h"
#include "FileOperation.h"
#include "IniAccess.h"
#include "LockedAppInfo.h"
#include "Messages.h"
#include "WindowFixture.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <functional>

using Expected = std::function<QString(const WindowFixture&)>;
using Files = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(Expected)

namespace {

struct Run
{
    int status;
    QString out, err;
};

// A program's output as text; a Windows program ends its lines with CR LF.
QString textOf(const QByteArray& output)
{
    return QString::fromUtf8(output).replace(u"\r\n"_s, u"\n"_s);
}

// Runs hangarctl to its end, in the folder given or this process's; "|" separates the arguments,
// %R stands for the fixture's root.
Run hangarctl(const WindowFixture& f, const QString& arguments,
              const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
              const QByteArray& input = {}, const QString& folder = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(
        QStringLiteral(HANGARCTL),
        QStringList{u"--settings"_s, f.iniPath()} +
            QString(arguments).replace(u"%R"_s, f.root.path()).split(u'|', Qt::SkipEmptyParts));
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            textOf(process.readAllStandardOutput()), textOf(process.readAllStandardError())};
}

// Every file under the fixture's root by its relative path but the lock files; the history by what
// it keeps, as its files are named by the time they were kept.
const QString historyFolder = u"exe/Hangar history"_s;
Files tree(const WindowFixture& f)
{
    // A lock file stays, and tells only who held it last.
    Files files = TestFiles::under(f.root.path(), [](const QString& path) {
        return path.startsWith(historyFolder) || path.endsWith(u".lock"_s);
    });
    const History history(f.root.filePath(historyFolder), 30, 1 << 20);
    for (const HistoryEntry& e : history.entries())
        files.insert(historyFolder + u'/' + e.operation + u' ' + e.name,
                     TestFiles::read(history.keptFilePath(e.files[0].keptAs)) + '|' +
                         TestFiles::read(history.keptFilePath(e.files[1].keptAs)));
    return files;
}

void restore(const WindowFixture& f, const Files& files)
{
    QDir(f.root.filePath(historyFolder)).removeRecursively();
    for (const QString& path : tree(f).keys())
        QFile::remove(f.root.filePath(path));
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        TestFiles::write(f.root.filePath(it.key()), it.value());
}

// A message of the window as hangarctl prints it on a terminal, after its own name.
QString printed(QString message)
{
    message.remove(u'\t').replace(u'\r', u'\n');
    if (message.isEmpty())
        return message;
    return u"hangarctl: "_s + message + (message.endsWith(u'\n') ? u""_s : u"\n"_s);
}

std::unique_ptr<LockedAppInfo> openWindow;

// Night and Dawn saved (or nine names) and Night loaded last, in a file as the window writes
// it; then the setup's change.
void prepare(WindowFixture& f, const QString& setup)
{
    const QString names = setup == u"nine"_s ? u"C1,C2,C3,C4,C5,C6,C7,C8,C9"_s : u"Night,Dawn"_s;
    for (const QString& name : names.split(u','))
        f.addConfig(name);
    QDir(f.root.path()).mkpath(u"other"_s);
    if (setup == u"no settings"_s)
        return;
    QByteArray ini = f.settingsFile(names + u">Night"_s);
    if (setup == u"no live main"_s || setup == u"no live scenery"_s)
        QFile::remove(setup.endsWith(u"main"_s) ? f.liveMain() : f.liveScenery());
    if (setup == u"fs9 missing"_s)
        ini.replace(f.fs9.toUtf8(), f.root.filePath(u"unmounted"_s).toUtf8());
    TestFiles::write(f.iniPath(), ini);
    // The lock as a running window takes it; the test lets go of it before the fixture's folders
    // are removed, as Windows removes no folder with a file open in it.
    if (setup == u"window open"_s) {
        openWindow = std::make_unique<LockedAppInfo>(f.appInfo.folder, QString(), AppVersion());
        openWindow->takeInstanceLock(f.iniPath());
    }
}

// What a user does in the window for the same command.
void act(WindowFixture& f, const QStringList& arguments)
{
    const QString command = arguments.at(0);
    if (command == u"load"_s) {
        f.loadList()->setCurrentIndex(f.loadList()->findText(arguments.at(1)));
        f.button("cmdLOAD")->click();
    } else if (command == u"folders"_s) {
        // Typed as the system writes paths.
        f.box(arguments.at(1) == u"--fs9"_s ? "txtFS9Folder" : "txtSceFolder")
            ->setText(QDir::toNativeSeparators(arguments.at(2)));
    } else {
        f.edit(arguments.at(1), command == u"save"_s ? "cmdSAVE" : "cmdREMOVE");
    }
}

StoredState stored(const WindowFixture& f)
{
    return StoredState::read(f.iniPath());
}

// The stand-in for the simulator, named as it is (see stand_in.cpp). %C in the arguments stands
// for it and its first two: the live folders.
void writeStandIn(const WindowFixture& f, QString* arguments)
{
    const QString path = f.root.filePath(u"fs9.exe"_s);
    QVERIFY(QFile::copy(QStringLiteral(STAND_IN), path));
    arguments->replace(u"%C"_s, QStringList{path, f.fs9, f.scenery}.join(u'|'))
        .replace(u"%H"_s, QStringLiteral(HANGARCTL))
        .replace(u"%I"_s, f.iniPath());
}

QByteArray pairOf(const WindowFixture& f, const QString& name)
{
    return TestFiles::read(f.snapshotMain(name)) + '|' + TestFiles::read(f.snapshotScenery(name));
}

void commandColumns()
{
    QTest::addColumn<bool>("terminal");    // standard output is a terminal (through script(1))
    QTest::addColumn<QString>("variable"); // set as NAME=value for the run
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<Files>("files");
    QTest::addColumn<int>("status");
    // "colour" or "plain" text, "json:KEY" for what parses back with that key, "<nothing>" for no
    // output at all, else a text that the output holds.
    QTest::addColumn<QString>("expected");
}

// The row's files are written under the fixture's root ("fs9/...", "scenery/...") beside a Wine
// prefix in HOME; in a row whose name says "fs9.exe runs", a program so named runs meanwhile.
void runCommand()
{
    QFETCH(bool, terminal);
    QFETCH(QString, variable);
    QFETCH(QString, arguments);
    QFETCH(Files, files);
    QFETCH(int, status);
    QFETCH(QString, expected);
#ifdef Q_OS_WIN
    if (terminal)
        QSKIP("No pseudo-terminal for script(1) to give hangarctl on Windows");
    // The Wine prefix the row lays out is not where Windows looks, and this machine has no FS9.
    if (arguments.startsWith(u"detect"_s))
        QSKIP("Windows detects through the machine's registry and the user's AppData, which a "
              "test may not rewrite; tst_inspection reads a key of the same shape");
#endif
    WindowFixture f;
    prepare(f, QString());
    const QString prefix = u"home/.wine/drive_c/"_s;
    files.insert(prefix + u"users/pilot/AppData/Roaming/Microsoft/FS9/FS9.cfg"_s, "[Main]\r\n");
    files.insert(prefix + u"Program Files/Microsoft Games/Flight Simulator 9/fs9.exe"_s, "MZ");
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QDir(f.root.path()).mkpath(QFileInfo(it.key()).path());
        TestFiles::write(f.root.filePath(it.key()), it.value());
    }
    // Wine's c: drive, through which the simulator's folder is found.
    QDir(f.root.path()).mkpath(u"home/.wine/dosdevices"_s);
    QFile::link(u"../drive_c"_s, f.root.filePath(u"home/.wine/dosdevices/c:"_s));
    QProcess simulator; // a program named as the simulator is, seen in the process list
    if (QByteArray(QTest::currentDataTag()).contains("fs9.exe runs"))
        TestFiles::startLookalike(simulator, f.root.filePath(u"fs9.exe"_s));
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, f.root.filePath(u"home"_s));
    environment.insert(u"TERM"_s, u"xterm"_s);
    for (const QString& name : {u"NO_COLOR"_s, u"WINEPREFIX"_s})
        environment.remove(name);
    if (!variable.isEmpty())
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    Run run;
    if (terminal) {
        QString command = u"'%1' --settings '%2'"_s.arg(QStringLiteral(HANGARCTL), f.iniPath());
        for (const QString& argument : arguments.split(u'|'))
            command += u" '"_s + argument + u'\'';
        QProcess script;
        script.setProcessEnvironment(environment);
        script.start(u"script"_s, {u"-qec"_s, command, u"/dev/null"_s});
        QVERIFY(script.waitForFinished(30000));
        run = {script.exitCode(), textOf(script.readAllStandardOutput()), QString()};
    } else {
        run = hangarctl(f, arguments, environment);
    }
    simulator.kill();
    simulator.waitForFinished();
    QCOMPARE(run.status, status);
    if (expected == u"colour"_s || expected == u"plain"_s) {
        QCOMPARE(run.out.contains(u"\x1b["_s), expected == u"colour"_s);
    } else if (expected.startsWith(u"json:"_s)) {
        const QJsonDocument json = QJsonDocument::fromJson(run.out.toUtf8());
        const QJsonObject object = json.isArray() ? json.array().first().toObject() : json.object();
        QVERIFY2(object.contains(expected.mid(5)), qPrintable(run.out));
    } else if (expected == u"<nothing>"_s) {
        QCOMPARE(run.out + run.err, QString());
    } else {
        // Wrong usage is told on standard error, a failure on either, the rest on standard output.
        QVERIFY2(status == 2
                     ? run.err.contains(expected)
                     : run.out.contains(expected) || (status == 1 && run.err.contains(expected)),
                 qPrintable(run.out + run.err));
    }
    if (arguments.startsWith(u"detect|--apply"_s))
        QVERIFY(TestFiles::read(f.iniPath()).contains(expected.toUtf8()));
    if (arguments.startsWith(u"load"_s))
        QCOMPARE(TestFiles::read(f.liveMain()), status == 0 ? "Dawn main"_ba : "live main"_ba);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void sameOutcomeAsTheWindow_data();
    void sameOutcomeAsTheWindow();
    void listShowsWhatTheWindowShows_data();
    void listShowsWhatTheWindowShows();
    void concurrentRunsBesideTheWindow();
    void statusAndOutput_data();
    void statusAndOutput() { runCommand(); }
    void runKeepsWhatTheFlightChanged_data();
    void runKeepsWhatTheFlightChanged();
    void runPassesSignalsOn();
    void copiesOnTheSameFoldersTakeTurns();
    void waitsOnlyForALiveHolder_data();
    void waitsOnlyForALiveHolder();
    void saysWhatHappened_data();
    void saysWhatHappened();
    void terminalOptions_data();
    void terminalOptions() { runCommand(); }
    void undoIsTheLastChange_data();
    void undoIsTheLastChange();
};

void TestCli::sameOutcomeAsTheWindow_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<Expected>("ownRefusal"); // where the window has no button for it
    const auto row = [](const char* why, const QString& setup, const QString& arguments,
                        const Expected& ownRefusal = {}) {
        QTest::newRow(why) << setup << arguments << ownRefusal;
    };
    row("load a listed name", QString(), u"load|Dawn"_s);
    row("load FS Original, never saved", QString(), u"load|FS Original"_s);
    row("save, live main missing", u"no live main"_s, u"save|Dusk"_s);
    row("remove, live scenery missing", u"no live scenery"_s, u"remove|Dawn"_s);
    row("folders: another one", QString(), u"folders|--scenery|%R/other"_s);
    row("names unlisted, a folder missing", u"fs9 missing"_s, u"load|Night"_s,
        [](auto& f) { return Messages::notListed(stored(f), u"Night"_s); });
    row("a missing folder is named as stored", u"fs9 missing"_s, u"save|Dusk"_s, [](auto& f) {
        DiskFileSystem disk;
        return processFiles(Operation::Save, u"FS Original"_s, u"Dusk"_s,
                            stored(f).storedFs9Folder(), f.scenery, disk)
            .message;
    });
    row("no settings file", u"no settings"_s, u"load|Night"_s,
        [](auto& f) { return Messages::foldersNotKnown(f.iniPath()); });
    row("folders: no such folder", QString(), u"folders|--fs9|%R/nowhere"_s,
        [](auto& f) { return Messages::folderMissing(f.root.path() + u"/nowhere"_s); });
    for (const QString& change : {u"save|Dusk"_s, u"folders|--fs9|%R/other"_s}) {
        QTest::addRow("a window is open: %s", qPrintable(change))
            << u"window open"_s << change << Expected([](auto& f) {
                   return Messages::heldByWindow(f.iniPath(), QCoreApplication::applicationPid());
               });
    }
}

// The two share each operation, not what comes around it: each command leaves every file, the
// settings file included, as the window does when the same button is pressed and the window
// closed, says what the window says and fails exactly when it says something; or, where the window
// has no such button, refuses on its own and changes nothing.
void TestCli::sameOutcomeAsTheWindow()
{
    QFETCH(QString, setup);
    QFETCH(QString, arguments);
    QFETCH(Expected, ownRefusal);
    WindowFixture f;
    const auto closeWindow = qScopeGuard([] { openWindow.reset(); });
    prepare(f, setup);
    const Files before = tree(f);
    const Run run = hangarctl(f, arguments);
    const Files afterCommand = tree(f);
    QString said = ownRefusal ? ownRefusal(f) : QString();
    if (!ownRefusal) {
        restore(f, before);
        f.open();
        act(f, arguments.replace(u"%R"_s, f.root.path()).split(u'|'));
        f.window->close();
        QCOMPARE(afterCommand, tree(f));
        said = f.dialogs.messages.join(QString());
    }
    QCOMPARE(run.status, said.isEmpty() ? 0 : 1);
    QCOMPARE(run.out, QString());
    // Live files that no configuration holds are kept by a Load, and the user is told so.
    const bool keepsUnsaved = said.isEmpty() && arguments.startsWith(u"load"_s);
    QCOMPARE(run.err,
             printed(said) + (keepsUnsaved ? printed(Messages::unsavedLiveKept(1)) : QString()));
    if (run.status != 0)
        QCOMPARE(afterCommand, before);
}

void TestCli::listShowsWhatTheWindowShows_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("saved names, one loaded last, read while a window is open") << u"window open"_s;
    QTest::newRow("a missing folder lists FS Original alone") << u"fs9 missing"_s;
    QTest::newRow("no settings file") << u"no settings"_s;
}

void TestCli::listShowsWhatTheWindowShows()
{
    QFETCH(QString, setup);
    WindowFixture f;
    const auto closeWindow = qScopeGuard([] { openWindow.reset(); });
    prepare(f, setup);
    const Run lines = hangarctl(f, u"list"_s);
    const Run json = hangarctl(f, u"list|--json"_s);
    QCOMPARE(lines.status + json.status, 0);
    QCOMPARE(lines.err + json.err, QString());
    f.open();
    const QStringList entries = f.entries(f.loadList());
    const QString last = f.labelText("lblLastConfigName").section(u"-> "_s, 1);
    QString expected;
    for (const QString& entry : entries)
        expected += (entry == last ? u"* "_s : u"  "_s) + entry + u'\n';
    QCOMPARE(lines.out, expected);

    const QJsonArray configurations = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QCOMPARE(configurations.size(), entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        const QJsonObject configuration = configurations.at(i).toObject();
        QCOMPARE(configuration[u"name"_s].toString(), entries.at(i));
        QCOMPARE(configuration[u"lastLoaded"_s].toBool(), entries.at(i) == last);
        for (const QString& key : {u"FS9"_s, u"Scenery"_s}) {
            const QJsonObject file = configuration[key.toLower()].toObject();
            const QString folder =
                ReadIni(f.iniPath(), u"FS Config"_s, key.toUpper() + u" Folder"_s);
            const QFileInfo info(folder + u'/' + key + u'.' + entries.at(i) + u".cfg"_s);
            QCOMPARE(file[u"path"_s].toString(),
                     folder.isEmpty() ? QString() : QDir::toNativeSeparators(info.filePath()));
            QCOMPARE(file[u"size"_s].toInteger(-1), info.exists() ? info.size() : -1);
            QCOMPARE(QDateTime::fromString(file[u"modified"_s].toString(), Qt::ISODateWithMs),
                     info.exists() ? info.lastModified() : QDateTime());
        }
    }
}

// Runs of a portable copy beside the window, which must find the window's Hangar.ini by itself.
// Each run reads the list and writes it back: without the lock, runs at once lose names.
void TestCli::concurrentRunsBesideTheWindow()
{
    WindowFixture f;
    prepare(f, QString());
    const QString copy =
        FolderFixture::in(f.appInfo.folder, QFileInfo(QStringLiteral(HANGARCTL)).fileName());
    QVERIFY(QFile::copy(QStringLiteral(HANGARCTL), copy));
    QProcess runs[7];
    QStringList names;
    for (QProcess& run : runs) {
        names << u"Run%1"_s.arg(names.size() + 1);
        run.start(copy, {u"save"_s, names.last()});
    }
    for (QProcess& run : runs)
        QVERIFY(run.waitForFinished(30000) && run.exitCode() == 0);
    f.open();
    QStringList listed = f.entries(f.loadList()).mid(3);
    listed.sort();
    QCOMPARE(listed, names);
}

void TestCli::statusAndOutput_data()
{
    commandColumns();
    const auto row = [](const char* name, const QString& arguments, const Files& files, int status,
                        const QString& printed) {
        QTest::newRow(name) << false << QString() << arguments << files << status << printed;
    };
    row("wrong usage: no command", QString(), {}, 2, u"No command given."_s);
    row("wrong usage: unknown command", u"bogus"_s, {}, 2, u"Unknown command \"bogus\"."_s);
    row("wrong usage: name missing", u"save"_s, {}, 2, u"NAME is missing."_s);
    row("wrong usage: unknown option of a command", u"list|--bogus"_s, {}, 2, u"'bogus'"_s);
    row("wrong usage: an entry that is not a number", u"restore|last"_s, {}, 2, u"\"last\""_s);
    row("help", u"--help"_s, {}, 0, u"Usage: hangarctl [options] command [arguments]\n"_s);
    row("a command's help", u"save|-h"_s, {}, 0, u"Usage: hangarctl save [options] NAME\n"_s);
    const auto version = u"hangarctl %1.%2.%3\n"_s.arg(HANGAR_VERSION_MAJOR);
    row("version from the project", u"--version"_s, {}, 0,
        version.arg(HANGAR_VERSION_MINOR).arg(HANGAR_VERSION_PATCH));
    row("restore of an entry the history lacks", u"restore|99"_s, {}, 1,
        u"The history holds no entry 99."_s);
    const QByteArray area = "[Area.001]\r\nTitle=Base\r\nLocal=Scenery\\Base\r\nLayer=1\r\n";
    const QByteArray clean = "[General]\r\nTitle=FS9 World Scenery\r\n" + area;
    row("diff as JSON names the changed key and the added area", u"diff|Night|Dawn|--json"_s,
        {{u"fs9/FS9.Night.cfg"_s, "[DISPLAY]\r\nTEXTURE=1\r\n"},
         {u"fs9/FS9.Dawn.cfg"_s, "[display]\r\ntexture=2\r\n"},
         {u"scenery/Scenery.Night.cfg"_s, clean},
         {u"scenery/Scenery.Dawn.cfg"_s,
          clean + QByteArray(area).replace("001", "002").replace("Base", "Town")}},
        0, u"\"change\": \"changed\""_s);
    row("check: a doubled area number is an error", u"check|Dawn"_s,
        {{u"scenery/Scenery.Dawn.cfg"_s, clean + area}, {u"scenery/Scenery/Base/x"_s, ""}}, 1,
        u"Area.001"_s);
    row("check: a switched-off area's missing folder is a warning", u"check"_s,
        {{u"scenery/Scenery.cfg"_s, clean + "Active=FALSE\r\n"}}, 3, u"1 warning"_s);
    row("check: a clean live list", u"check"_s,
        {{u"scenery/Scenery.cfg"_s, clean}, {u"scenery/scenery/BASE/x"_s, ""}}, 0,
        u"nothing wrong"_s);
    row("status names the configuration the live pair copies", u"status"_s,
        {{u"fs9/FS9.cfg"_s, "Dawn main"}, {u"scenery/Scenery.cfg"_s, "Dawn scenery"}}, 0,
        u"a copy of \"Dawn\""_s);
    row("load refused while fs9.exe runs", u"load|Dawn"_s, {}, 1, u"--force"_s);
    row("load --force goes ahead while fs9.exe runs", u"load|Dawn|--force"_s, {}, 0, QString());
    row("detect --apply stores the folders of a prefix laid out as Wine does", u"detect|--apply"_s,
        {}, 0, u"drive_c/Program Files/Microsoft Games/Flight Simulator 9"_s);
}

void TestCli::terminalOptions_data()
{
    commandColumns();
    const auto row = [](const char* why, bool terminal, const QString& variable,
                        const QString& arguments, int status, const QString& expected) {
        QTest::newRow(why) << terminal << variable << arguments
                           << Files{{u"fs9/FS9.Night.cfg"_s, "[Main]\r\nA=1\r\n"},
                                    {u"fs9/FS9.Dawn.cfg"_s, "[Main]\r\nA=2\r\n"}}
                           << status << expected;
    };
    row("a terminal gets colour", true, QString(), u"diff|Night|Dawn"_s, 0, u"colour"_s);
    row("NO_COLOR on a terminal", true, u"NO_COLOR=1"_s, u"diff|Night|Dawn"_s, 0, u"plain"_s);
    row("a dumb terminal", true, u"TERM=dumb"_s, u"diff|Night|Dawn"_s, 0, u"plain"_s);
    row("--color=always into a pipe", false, QString(), u"--color=always|diff|Night|Dawn"_s, 0,
        u"colour"_s);
    row("--color=never on a terminal", true, QString(), u"diff|Night|Dawn|--color=never"_s, 0,
        u"plain"_s);
    row("diff --exit-code when the pairs differ", false, QString(),
        u"diff|Night|Dawn|--exit-code"_s, 1, u"plain"_s);
    row("diff --quiet when they do not", false, QString(), u"diff|Night|NIGHT|--quiet"_s, 0,
        u"<nothing>"_s);
    row("diff NAME compares with the live files", false, QString(), u"diff|Night|--json"_s, 0,
        u"json:areas"_s);
    row("status --json", false, QString(), u"status|--json"_s, 0, u"json:copyOf"_s);
    row("folders --json", false, QString(), u"folders|--json"_s, 0, u"json:scenery"_s);
    row("detect --json", false, QString(), u"detect|--json"_s, 0, u"json:fs9Folder"_s);
    row("an unknown name suggests the nearest", false, QString(), u"load|nigth"_s, 1,
        u"Did you mean \"Night\"?"_s);
    row("a name with blanks unquoted", false, QString(), u"load|Night|flying"_s, 2,
        u"quotes: \"Night flying\""_s);
    row("a name like an option", false, QString(), u"save|-dash"_s, 2, u"\"--\""_s);
}

void TestCli::undoIsTheLastChange_data()
{
    // Steps run one after another; after each, "!" when it is refused, then: the live main file's
    // first word, the list, and the newest entry as "history" shows it (number and time left out).
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("steps");
    const QString none = u"RESTORE no files (FS9.%1.cfg and Scenery.%1.cfg were not there)"_s;
    QTest::newRow("remove, then undo twice")
        << QString()
        << QStringList{u"remove|Night => live | Dawn | REMOVE the pair of \"Night\""_s,
                       u"undo => live | Dawn,Night | "_s + none.arg(u"Night"_s),
                       u"undo => live | Dawn | RESTORE the pair of \"Night\""_s};
    QTest::newRow("load over unsaved live files, load, restore, then undo")
        << QString()
        << QStringList{
               u"load|Dawn => Dawn | Night,Dawn | LOAD the live files, a copy of no saved configuration"_s,
               u"load|Night => Night | Night,Dawn | LOAD the live files, a copy of \"Dawn\""_s,
               u"restore|1 => live | Night,Dawn | RESTORE the live files, a copy of \"Night\""_s,
               u"undo => Night | Night,Dawn | RESTORE the live files, a copy of no saved configuration"_s};
    QTest::newRow("a full list refuses a pair that would join it")
        << u"nine"_s
        << QStringList{
               u"remove|C1 => live | C2,C3,C4,C5,C6,C7,C8,C9 | REMOVE the pair of \"C1\""_s,
               u"save|Extra => live | C2,C3,C4,C5,C6,C7,C8,C9,Extra | SAVE no files (FS9.Extra.cfg and Scenery.Extra.cfg were not there)"_s,
               u"!restore|1 => live | C2,C3,C4,C5,C6,C7,C8,C9,Extra | SAVE no files (FS9.Extra.cfg and Scenery.Extra.cfg were not there)"_s,
               u"undo => live | C2,C3,C4,C5,C6,C7,C8,C9 | RESTORE the pair of \"Extra\""_s};
}

// Every change, a restore or an undo included, is kept, so that undo always reverses the last one
// and the list follows the pairs it brings back or deletes.
void TestCli::undoIsTheLastChange()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, steps);
    WindowFixture f;
    prepare(f, setup);
    for (const QString& step : steps) {
        const QString command = step.section(u" => "_s, 0, 0);
        const Run run = hangarctl(f, QString(command).remove(u'!'));
        QCOMPARE(run.status, command.startsWith(u'!') ? 1 : 0);
        // A restore tells in one line what it put back and where what it replaced is kept.
        if (run.status == 0 && (command.startsWith(u"undo"_s) || command.startsWith(u"restore"_s)))
            QVERIFY2(run.out.count(u'\n') == 1 && run.out.contains(u"is kept as entry"_s),
                     qPrintable(run.out));
        QStringList listed = hangarctl(f, u"list"_s).out.split(u'\n', Qt::SkipEmptyParts);
        listed.removeFirst();
        const QString newest = hangarctl(f, u"history"_s).out.section(u'\n', 0, 0);
        const QString state = QString::fromUtf8(TestFiles::read(f.liveMain()).split(' ').first()) +
                              u" | "_s + listed.join(u',').remove(u"* "_s).remove(u"  "_s) +
                              u" | "_s +
                              newest.section(u' ', 3, -1, QString::SectionSkipEmpty).simplified();
        QCOMPARE(state, step.section(u" => "_s, 1));
    }
}

void TestCli::runKeepsWhatTheFlightChanged_data()
{
    // The stand-in's standard input and $SCENERY; in a row named "busy...", a simulator runs
    // from before the Load to after the command.
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("scenery");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("night"); // Night's pair afterwards
    QTest::addColumn<QString>("said");
    const QByteArray night = "Night main|Night scenery";
    const auto row = [](const char* why, const QByteArray& input, const QString& scenery,
                        const QString& arguments, int status, const QByteArray& night,
                        const QString& said) {
        QTest::newRow(why) << input << scenery << arguments << status << night << said;
    };
    row("FS9.cfg changed: kept in Night", "tuned main", QString(), u"Night|--|%C|0"_s, 0,
        "tuned main|Night scenery", u"in FS9.cfg in \"Night\""_s);
    row("Scenery.cfg changed, command failed: kept, its status passed on", "", u"tuned"_s,
        u"Night|--|%C|3"_s, 3, "Night main|tuned", u"in Scenery.cfg in"_s);
    row("killed by a signal: 128 + its number, changes kept", "tuned main", QString(),
        u"Night|--|%C|0|sh|-c|kill -KILL $PPID"_s, 128 + 9, "tuned main|Night scenery", u"Kept"_s);
    row("nothing changed: nothing kept", "", QString(), u"Night|--|%C|0"_s, 0, night,
        u"changed nothing"_s);
    row("--no-save-back", "tuned main", QString(), u"Night|--no-save-back|--|%C|0"_s, 0, night,
        u"live files only"_s);
    row("the live pair became a copy of Dawn", "Dawn main", u"Dawn scenery"_s, u"Night|--|%C|0"_s,
        0, night, u"a copy of \"Dawn\""_s);
    row("Dawn loaded during the run", "tuned main", QString(),
        u"Night|--|%C|0|%H|--settings|%I|load|--force|Dawn"_s, 0, night,
        u"\"Dawn\" was loaded during the run"_s);
    row("busy, forced: the simulator still runs after the command", "tuned main", QString(),
        u"--force|Night|--|%C|0"_s, 0, "tuned main|Night scenery", u"still runs"_s);
    row("the folders changed during the run", "tuned main", QString(),
        u"Night|--|%C|0|%H|--settings|%I|folders|--fs9|%R/other"_s, 0, night, u"folders"_s);
    for (const int status : {0, 4}) {
        QTest::addRow("live scenery deleted, command exits %d", status)
            << "tuned main"_ba << QString()
            << u"Night|--|%C|%1|remove|%R/scenery/Scenery.cfg"_s.arg(status)
            << (status == 0 ? 125 : status) << night << u"Nothing was saved back into"_s;
    }
#ifdef Q_OS_WIN
    // Wine words the system's reasons unlike Windows; both name the program.
    const QString notFound = u"fs9.exe: "_s, cannotRun = u"FS9.Dawn.cfg: "_s;
#else
    const QString notFound = u"No such file"_s, cannotRun = u"Permission denied"_s;
#endif
    row("not found: 127", "", QString(), u"Night|--|%R/nowhere/fs9.exe"_s, 127, night, notFound);
    row("cannot run: 126", "", QString(), u"Night|--|%R/fs9/FS9.Dawn.cfg"_s, 126, night, cannotRun);
    row("Load refused, nothing started: 125", "", QString(), u"Nights|--|%C|0"_s, 125, night,
        u"no configuration named"_s);
    row("busy: refused while the simulator runs", "", QString(), u"Night|--|%C|0"_s, 125, night,
        u"--force"_s);
    row("wrong usage: 125", "", QString(), u"Night|--"_s, 125, night, u"COMMAND is missing."_s);
}

// The stand-in shares hangarctl's standard input, output and environment; Night takes its changes
// exactly when it made some and nothing replaced them, and an undo takes them back.
void TestCli::runKeepsWhatTheFlightChanged()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, scenery);
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, night);
    QFETCH(QString, said);
#ifdef Q_OS_WIN
    if (arguments.contains(u"kill -KILL"_s))
        QSKIP("Windows has no signals: a program ended from outside exits with the code given by "
              "what ended it, as a failed command does");
#endif
    WindowFixture f;
    prepare(f, QString());
    writeStandIn(f, &arguments);
    // Elsewhere --force, so that a simulator another test runs meanwhile refuses no Load.
    QProcess simulator;
    if (QByteArray(QTest::currentDataTag()).startsWith("busy"))
        TestFiles::startLookalike(simulator, f.root.filePath(u"exe/fs9.exe"_s));
    else
        arguments.prepend(u"--force|"_s);
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"SCENERY"_s, scenery);
    const Files before = tree(f);
    const Run run = hangarctl(f, u"run|"_s + arguments, environment, input + '\n');
    simulator.kill();
    simulator.waitForFinished();
    QCOMPARE(run.status, status);
    // The system's reason sits whole in the sentence, its placeholders filled.
    QVERIFY2(run.err.contains(said) && !run.err.contains(u"..") && !run.err.contains(u"%1"),
             qPrintable(run.err));
    const bool started = status < 125 || status > 127 || said.startsWith(u"Nothing"_s);
    QCOMPARE(run.out, started ? u"flying\n"_s : QString());
    if (!started && status == 125)
        QCOMPARE(tree(f), before);
    QCOMPARE(pairOf(f, u"Night"_s), night);
    if (night != "Night main|Night scenery") {
        QCOMPARE(hangarctl(f, u"undo|--force"_s).status, 0);
        QCOMPARE(pairOf(f, u"Night"_s), "Night main|Night scenery"_ba);
    }
}

// A signal to hangarctl reaches the command, and hangarctl lives on to keep the changes and give
// the command's status.
void TestCli::runPassesSignalsOn()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has no signals: a console's Ctrl+C reaches hangarctl and the command at once, "
          "and a test cannot give one to a console of its own");
#endif
    WindowFixture f;
    prepare(f, QString());
    QString arguments = u"--settings|%I|run|--force|Night|--|%C|0|sleep|30"_s;
    writeStandIn(f, &arguments);
    QProcess run;
    run.start(QStringLiteral(HANGARCTL), arguments.split(u'|'));
    run.write("tuned main\n");
    run.closeWriteChannel();
    QTRY_COMPARE(TestFiles::read(f.liveMain()), "tuned main"_ba);
    run.terminate();
    QVERIFY(run.waitForFinished(10000));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 128 + 15);
    QCOMPARE(pairOf(f, u"Night"_s), "tuned main|Night scenery"_ba);
}

// Two copies with settings files of their own side by side, and so one history, loading into the
// same folders at the same moments: each round leaves one whole pair live, and each Load an entry
// numbered after all others. (--force: other tests on the machine may run an fs9.exe.)
void TestCli::copiesOnTheSameFoldersTakeTurns()
{
    WindowFixture f;
    prepare(f, QString());
    const QString other = FolderFixture::in(f.appInfo.folder, u"Other.ini"_s);
    QVERIFY(QFile::copy(f.iniPath(), other));
    const History history(f.root.filePath(historyFolder), 30, 1 << 20);
    for (int round = 1; round <= 50; ++round) {
        QProcess runs[2];
        runs[0].start(QStringLiteral(HANGARCTL),
                      {u"--settings"_s, f.iniPath(), u"load"_s, u"Night"_s, u"--force"_s});
        runs[1].start(QStringLiteral(HANGARCTL),
                      {u"--settings"_s, other, u"load"_s, u"Dawn"_s, u"--force"_s});
        for (QProcess& run : runs)
            QVERIFY2(run.waitForFinished(30000) && run.exitCode() == 0, run.readAllStandardError());
        const QByteArray live =
            TestFiles::read(f.liveMain()) + '|' + TestFiles::read(f.liveScenery());
        QVERIFY2(live == "Night main|Night scenery" || live == "Dawn main|Dawn scenery", live);
        QCOMPARE(history.entries().value(0).id, 2 * round);
    }
}

void TestCli::waitsOnlyForALiveHolder_data()
{
    // What holds a lock when the command starts: "<folder under the root> <seconds>" another
    // process that holds the folder's lock that long, or "killed" when it is killed first; or
    // the settings lock file's bytes, left by a holder that is gone.
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("printed"); // on standard error, %R the root
    QTest::addColumn<int>("fromMs");
    QTest::addColumn<int>("toMs");
    QTest::newRow("a copy that holds the FS9 folder is waited for, then named")
        << u"fs9 30"_s << u"load|Dawn|--force"_s << 1 << u"changing the files in %R/fs9 for more"_s
        << 9500 << 20000;
    QTest::newRow("a copy that holds the history for a moment is waited for")
        << u"exe/Hangar history 2"_s << u"load|Dawn|--force"_s << 0 << QString() << 500 << 9000;
    QTest::newRow("a copy killed while it holds the scenery folder holds nothing")
        << u"scenery killed"_s << u"list"_s << 0 << QString() << 0 << 1000;
    QTest::newRow("an empty settings lock file is taken over at once")
        << QString() << u"load|Dawn|--force"_s << 0 << QString() << 0 << 1000;
    QTest::newRow("a settings lock file naming a dead hangarctl is taken over at once")
        << u"2147483647\nhangarctl\nhost\n"_s << u"save|Dusk|--force"_s << 0 << QString() << 0
        << 1000;
}

void TestCli::waitsOnlyForALiveHolder()
{
    QFETCH(QString, holder);
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QString, printed);
    WindowFixture f;
    prepare(f, QString());
    QProcess other;
    const QString held = f.root.filePath(holder.section(u' ', 0, -2));
    if (holder.contains(u' ')) {
        QVERIFY(QDir().mkpath(held));
        const bool killed = holder.endsWith(u"killed"_s);
        other.start(QStringLiteral(LOCK_HOLDER),
                    {held, killed ? u"60"_s : holder.section(u' ', -1)});
        QVERIFY(other.waitForReadyRead(10000) && other.readAll().startsWith("held"));
        if (killed) {
            other.kill();
            QVERIFY(other.waitForFinished());
        }
    } else {
        TestFiles::write(f.iniPath() + u".lock"_s, holder.toUtf8());
    }
    QElapsedTimer timer;
    timer.start();
    const Run run = hangarctl(f, arguments);
    const qint64 elapsed = timer.elapsed();
    other.kill();
    other.waitForFinished();
    QFETCH(int, fromMs);
    QFETCH(int, toMs);
    QVERIFY2(elapsed >= fromMs && elapsed <= toMs, qPrintable(QString::number(elapsed)));
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(
                 QDir::toNativeSeparators(QString(printed).replace(u"%R"_s, f.root.path()))),
             qPrintable(run.err));
    const bool loaded = status == 0 && arguments == u"load|Dawn|--force"_s;
    QCOMPARE(TestFiles::read(f.liveMain()), loaded ? "Dawn main"_ba : "live main"_ba);
}

void TestCli::saysWhatHappened_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("printed");     // on either output
    QTest::addColumn<QByteArray>("settings"); // a line the settings file holds at the end
    QTest::addColumn<QByteArray>("liveMain");
    QTest::newRow("a Load the settings cannot record is done, and says what they lack")
        << u"read-only"_s << u"load|Dawn|--force"_s << 0
        << u"\"Dawn\" was loaded.\n\nThe settings could not be saved"_s << "LastConfig=Night"_ba
        << "Dawn main"_ba;
    QTest::newRow("a linked settings file stays a link, and what it leads to is written")
        << u"linked"_s << u"load|Dawn|--force"_s << 0 << QString() << "LastConfig=Dawn"_ba
        << "Dawn main"_ba;
    QTest::newRow("relative folders lie beside the settings file, wherever the command runs")
        << u"relative"_s << u"load|Dawn|--force"_s << 0 << QString() << "FS9 Folder=../fs9"_ba
        << "Dawn main"_ba;
    QTest::newRow("list completes a Remove cut short first")
        << u"crashed remove"_s << u"list"_s << 0 << u"  FS Original\n  Dawn\n"_s << QByteArray()
        << "live main"_ba;
    QTest::newRow("status completes a Load cut short first")
        << u"crashed load"_s << u"status"_s << 0 << u"a copy of \"Dawn\""_s << QByteArray()
        << "Dawn main"_ba;
}

void TestCli::saysWhatHappened()
{
    QFETCH(QString, setup);
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QString, printed);
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, liveMain);
#ifdef Q_OS_WIN
    if (setup == u"linked"_s)
        QSKIP("QFile::link makes a shortcut on Windows, which no program follows, and Wine makes "
              "no symbolic links");
#endif
    WindowFixture f;
    prepare(f, QString());
    if (setup == u"read-only"_s)
        TestFiles::makeReadOnly(f.iniPath());
    const QString dotfile = f.root.filePath(u"dotfiles/Hangar.ini"_s);
    if (setup == u"linked"_s) {
        QDir(f.root.path()).mkpath(u"dotfiles"_s);
        QVERIFY(QFile::rename(f.iniPath(), dotfile) && QFile::link(dotfile, f.iniPath()));
    }
    const QString folder = f.root.filePath(u"other/deeper"_s);
    if (setup == u"relative"_s) {
        QByteArray ini = TestFiles::read(f.iniPath());
        TestFiles::write(
            f.iniPath(),
            ini.replace(f.fs9.toUtf8(), "../fs9").replace(f.scenery.toUtf8(), "../scenery"));
        QVERIFY(QDir().mkpath(folder));
    }
    if (setup.startsWith(u"crashed"_s)) {
        FaultyFileSystem cut;
        cut.stopAt(FaultyFileSystem::Step::Rename, setup.endsWith(u"load"_s) ? 2 : 1);
        const bool load = setup.endsWith(u"load"_s);
        QVERIFY(!processFiles(load ? Operation::Load : Operation::Remove,
                              load ? u"Dawn"_s : u"Night"_s, QString(), f.fs9, f.scenery, cut)
                     .performed);
    }
    const Run run = hangarctl(f, arguments, QProcessEnvironment::systemEnvironment(), {},
                              setup == u"relative"_s ? folder : QString());
    QVERIFY2(run.status == status && (run.out + run.err).contains(printed),
             qPrintable(run.out + run.err));
    QVERIFY(TestFiles::read(f.iniPath()).contains(settings));
    QCOMPARE(QFileInfo(f.iniPath()).isSymLink(), setup == u"linked"_s);
    QCOMPARE(TestFiles::read(f.liveMain()), liveMain);
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
