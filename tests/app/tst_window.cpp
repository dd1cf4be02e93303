#include "SystemFolders.h"
#include "WidgetDialogs.h"
#include "WindowFixture.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QSessionManager>
#include <QTimer>
#include <QTreeView>

using Files = QMap<QString, QByteArray>;
using Session = QMap<QString, QString>;

namespace {

// A session table holds a row a line; a line starting with blanks goes on with the row above
// (after a blank unless that breaks after ";" or ","). A row: what it catches, then "key: value"
// fields split by "|", each with a default:
// ini    the settings file: "-" none; "names>last" as written afresh (no ">": no LastConfig); or
//        its lines after the section line, split by ";"
// files  the folders' files: "live" the live pair, a name its snapshot pair, a name ending in
//        .cfg one file; each holds "<X> main" or "<X> scenery", X the name ("live" for one file)
//        or what follows "=" (the live pair and the pairs of the names in ini)
// do     the user's steps, split by ";" (none); close: the step that closes (the close box)
// mode, list, load, last, boxes: before closing, the mode as "edit:<save list, "*" on the
//        highlighted entry>><its text>:<Remove on|off>" (load mode), the load list after FS
//        Original ("-": none at all), Load's name (FS Original), the name last loaded ("-": none)
//        and the folder boxes (%F,%S), by default as in ini
// after, message, written: at the end, the files (unchanged), the messages split by " && " (none)
//        and the settings file ("=": unchanged; as the state shown)
// unix   why the row cannot run on Windows, which skips it
// Every value is filled as WindowFixture::fill says (%F, %S the two folders...).
void addSessions(const char* table)
{
    QTest::addColumn<Session>("session");
    QStringList rows;
    for (const QString& line : QString::fromUtf8(table).split(u'\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith(u' '))
            rows << line;
        else
            rows.last() +=
                (rows.last().back() == u';' || rows.last().back() == u',' ? u""_s : u" "_s) +
                line.trimmed();
    }
    for (const QString& row : rows) {
        Session session;
        for (const QString& field : row.split(u'|').mid(1))
            session[field.section(u':', 0, 0).trimmed()] = field.section(u':', 1).trimmed();
        QTest::newRow(qPrintable(row.section(u'|', 0, 0).trimmed())) << session;
    }
}

Files filesOf(const QString& list)
{
    Files files;
    for (const QString& item : list.split(u',', Qt::SkipEmptyParts)) {
        const QString name = item.section(u'=', 0, 0);
        const bool one = name.endsWith(u".cfg"_s, Qt::CaseInsensitive);
        const QString x = item.contains(u'=') ? item.section(u'=', 1) : one ? u"live"_s : name;
        const QStringList names = one                 ? QStringList{name}
                                  : name == u"live"_s ? QStringList{u"FS9.cfg"_s, u"Scenery.cfg"_s}
                                                      : QStringList{u"FS9.%1.cfg"_s.arg(name),
                                                                    u"Scenery.%1.cfg"_s.arg(name)};
        for (const QString& file : names)
            files[file] = x.toUtf8() +
                          (file.startsWith(u"FS9"_s, Qt::CaseInsensitive) ? " main" : " scenery");
    }
    return files;
}

void writeFiles(const WindowFixture& f, const Files& files)
{
    for (const auto& [name, bytes] : files.asKeyValueRange())
        TestFiles::write(FolderFixture::in(bytes.endsWith("main") ? f.fs9 : f.scenery, name),
                         bytes);
}

Files filesIn(const WindowFixture& f)
{
    Files files = TestFiles::under(f.fs9);
    files.insert(TestFiles::under(f.scenery));
    return files;
}

// A step of the user's: "save N", "remove N", "load N", "choose N" (with the arrow keys),
// "click C", "key C K" (K as QKeySequence names it, Ctrl+Z included), "type C T" (over C's text),
// "write F" and "delete F" (files), "history R,R" (Ctrl+H, Restore on those rows), "simulator"
// (fs9.exe runs from then on), "session-ends", "logout" or "close" (the close box).
void act(WindowFixture& f, const QString& step)
{
    const QString verb = step.section(u' ', 0, 0), rest = step.section(u' ', 1);
    QWidget* control = f.window->findChild<QWidget*>(rest.section(u' ', 0, 0));
    if (verb == u"save"_s || verb == u"remove"_s) {
        f.edit(rest, verb == u"save"_s ? "cmdSAVE" : "cmdREMOVE");
    } else if (verb == u"choose"_s || verb == u"load"_s) {
        f.choose(rest);
        if (verb == u"load"_s)
            f.click(u"cmdLOAD"_s);
    } else if (verb == u"click"_s) {
        f.click(rest);
    } else if (verb == u"key"_s) {
        const QKeyCombination key = QKeySequence(rest.section(u' ', 1))[0];
        QTest::keyClick(f.focus(control), key.key(), key.keyboardModifiers());
    } else if (verb == u"history"_s) {
        for (const QString& row : rest.split(u',', Qt::SkipEmptyParts))
            f.dialogs.historyRestores << row.toInt();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::ControlModifier);
    } else if (verb == u"simulator"_s) {
        f.processes.running = {{4242, u"wineserver"_s, {}}, {4243, u"FS9.EXE"_s, {}}};
    } else if (verb == u"type"_s) {
        QWidget* focused = f.focus(control);
        QTest::keyClick(focused, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(focused, Qt::Key_Delete);
        QTest::keyClicks(focused, rest.section(u' ', 1));
    } else if (verb == u"write"_s) {
        writeFiles(f, filesOf(rest));
    } else if (verb == u"delete"_s) {
        QFile::remove(FolderFixture::in(f.scenery, rest));
    } else if (verb == u"close"_s) {
        f.window->close();
    } else if (verb == u"session-ends"_s) {
        QMetaObject::invokeMethod(qApp, "aboutToQuit");
    } else if (verb == u"logout"_s) { // Qt lets a test make no session manager; nothing reads it
        alignas(QSessionManager) char manager[sizeof(QSessionManager)] = {};
        emit qApp->commitDataRequest(*reinterpret_cast<QSessionManager*>(manager));
    } else {
        QFAIL(qPrintable(u"unknown step "_s + step));
    }
}

// The mode as a session row writes it; "mixed" when the controls of the two modes show otherwise
// or the save list keeps entries in load mode.
QString mode(const WindowFixture& f)
{
    const bool editing = f.get<QCheckBox>(u"chkSaveActivation"_s)->isChecked();
    const auto shown = [&](const char* name) { return f.get(QLatin1String(name))->isVisible(); };
    QStringList entries = f.entries(f.saveList());
    if (shown("cmdSAVE") != editing || shown("cmdREMOVE") != editing ||
        shown("cboConfigNameTO") != editing || shown("cmdLOAD") == editing ||
        shown("lblLastConfigName") == editing || f.loadList()->isEnabled() == editing ||
        (!editing && !entries.isEmpty()))
        return u"mixed"_s;
    if (!editing)
        return {};
    if (f.saveList()->currentIndex() >= 0)
        entries[f.saveList()->currentIndex()].prepend(u'*');
    return u"edit:%1>%2:%3"_s.arg(entries.join(u','), f.saveList()->currentText(),
                                  f.button("cmdREMOVE")->isEnabled() ? u"on"_s : u"off"_s);
}

// Runs a session row. Steps before the window opens: lock-held (as another window holds it),
// lock-left-by-kill, lock-left-empty, installed, read-only (the settings file).
void runSession()
{
    QFETCH(Session, session);
#ifdef Q_OS_WIN
    if (session.contains(u"unix"_s))
        QSKIP(qPrintable(session.value(u"unix"_s)));
#endif
    WindowFixture f;
    const QString ini = f.fill(session.value(u"ini"_s));
    const bool names = !ini.contains(u'=') && ini != u"-"_s;
    const auto value = [&](const QString& key, const QString& otherwise = {}) {
        return f.fill(session.value(key, otherwise));
    };
    QFile::remove(f.liveMain());
    QFile::remove(f.liveScenery());
    const QString files =
        value(u"files"_s, u"live,"_s + (names ? ini.section(u'>', 0, 0) : QString()));
    writeFiles(f, filesOf(files));
    if (ini != u"-"_s)
        TestFiles::write(f.iniPath(), f.settingsFile(ini));
    QStringList steps;
    for (const QString& step : session.value(u"do"_s).split(u';', Qt::SkipEmptyParts))
        steps << f.fill(step.trimmed());
    const auto before = [&](const QString& step) { return steps.removeAll(step) > 0; };
    if (before(u"read-only"_s))
        TestFiles::makeReadOnly(f.iniPath());
    const bool installed = before(u"installed"_s);
#ifdef Q_OS_WIN
    // Windows names the user's folder to no variable: the test prefix's own, emptied after.
    const QString userFolder = userSettingsRoot();
    const auto emptied = qScopeGuard([&] { QDir(userFolder + u"/Hangar"_s).removeRecursively(); });
#else
    const QString userFolder = f.root.filePath(u"config"_s);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userFolder));
#endif
    const QString exe = f.appInfo.folder;
    f.lockedAppInfo =
        std::make_unique<LockedAppInfo>(exe, installed ? exe : QString(), AppVersion{1, 2, 1});
    LockedAppInfo otherWindow(exe, QString(), {});
    QVERIFY(!before(u"lock-held"_s) || otherWindow.takeInstanceLock(f.iniPath()));
    if (before(u"lock-left-by-kill"_s)) {
        QProcess hangar;
        hangar.setProgram(FolderFixture::in(exe, QFileInfo(QStringLiteral(HANGAR)).fileName()));
        QVERIFY(QFile::copy(QStringLiteral(HANGAR), hangar.program()));
#ifdef Q_OS_WIN
        // The program as shipped shows its window on the system's own platform alone.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"windows"_s);
        hangar.setProcessEnvironment(environment);
#endif
        hangar.start();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(f.iniPath() + u".lock"_s).size() > 0, 30'000);
        hangar.kill();
        QVERIFY(hangar.waitForFinished());
        QCOMPARE(hangar.exitStatus(), QProcess::CrashExit);
    }

    // Whatever a killed holder left in the lock file, the kernel holds no lock for it.
    if (before(u"lock-left-empty"_s))
        TestFiles::write(f.iniPath() + u".lock"_s, {});
    QElapsedTimer opening;
    opening.start();
    f.open();
    QVERIFY(opening.elapsed() < 5000);
    const QString where =
        installed && ini == u"-"_s ? userFolder + u"/Hangar/Hangar.ini"_s : f.iniPath();
    QVERIFY(QFile::exists(where + u".lock"_s));
    for (const QString& step : std::as_const(steps))
        act(f, step);
    const QString list = value(u"list"_s, names ? ini.section(u'>', 0, 0) : QString());
    const QStringList listed =
        list == u"-"_s ? QStringList()
                       : QStringList{u"FS Original"_s} + list.split(u',', Qt::SkipEmptyParts);
    const QString last = value(u"last"_s, ini == u"-"_s ? u"-"_s
                                          : names       ? ini.section(u'>', 1)
                                                        : QString());
    const QString boxes =
        value(u"boxes"_s, ini == u"-"_s ? u"Flight Simulator folder,Scenery folder"_s : u"%F,%S"_s);
    QCOMPARE(
        (QStringList{mode(f), f.entries(f.loadList()).join(u','),
                     f.button("cmdLOAD")->text().remove(u"&Load  "_s).remove(u"  configuration"_s),
                     f.labelText("lblLastConfigName").section(u"-> "_s, 1),
                     f.box("txtFS9Folder")->text() + u',' + f.box("txtSceFolder")->text()}),
        (QStringList{value(u"mode"_s), listed.join(u','), value(u"load"_s, u"FS Original"_s),
                     last == u"-"_s ? QString() : last, boxes}));
    QVERIFY(f.loadList()->itemText(f.loadList()->currentIndex()) == f.loadList()->currentText() ||
            listed.isEmpty());
    const QString closing = value(u"close"_s, u"close"_s);
    act(f, closing);
    QCOMPARE(f.window->isHidden(), closing != u"session-ends"_s && closing != u"logout"_s);
    QCOMPARE(f.dialogs.messages, value(u"message"_s).split(u" && "_s, Qt::SkipEmptyParts));
    const QString shown = listed.mid(1).join(u',') + (last == u"-"_s ? QString() : u'>' + last);
    const QByteArray bytes = session.value(u"written"_s) == u"="_s
                                 ? f.settingsFile(ini)
                                 : f.settingsFile(value(u"written"_s, shown), boxes);
    QCOMPARE(TestFiles::read(where), bytes);
    QCOMPARE(QFile::exists(f.iniPath()), where == f.iniPath());
    QCOMPARE(filesIn(f), filesOf(value(u"after"_s, files)));
    if (!QFileInfo(where).isWritable()) // a read-only file, for anyone but root
        return;
    // Nothing after the first way out writes again over what may have changed since.
    TestFiles::write(where, "changed");
    f.window->close();
    QMetaObject::invokeMethod(qApp, "aboutToQuit");
    QCOMPARE(TestFiles::read(where), "changed"_ba);
    // The next start reads what the first wrote, and writes it again unchanged.
    TestFiles::write(where, bytes);
    f.open().close();
    QCOMPARE(TestFiles::read(where), bytes);
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void sessions_data();
    void sessions() { runSession(); }
    void realDialogsShowWhatTheyAreGiven();
    void realHistoryDialogWorksByKeys();
    void typingIntoTheLists_data();
    void typingIntoTheLists();
    void folderPickersStartAtTheBoxesFolders();
};

void TestWindow::layout_data()
{
    QTest::addColumn<bool>("otherInstance");
    QTest::addColumn<QStringList>("texts");    // of lblVersion and cmdLOAD
    QTest::addColumn<QList<QPoint>>("places"); // of lblLastConfigName, then of Save and Remove
    QTest::newRow("start-up finishes the layout")
        << false << QStringList{u"Version 1.2.1"_s, u"&Load  FS Original  configuration"_s}
        << QList<QPoint>{{64, 104}, {64, 72}, {208, 72}};
    QTest::newRow("beside another copy, the layout as created")
        << true << QStringList{u"Version"_s, u"LOAD"_s}
        << QList<QPoint>{{56, 128}, {64, 56}, {208, 56}};
}

void TestWindow::layout()
{
    QFETCH(bool, otherInstance);
    QFETCH(QStringList, texts);
    QFETCH(QList<QPoint>, places);
    QWidget plain; // placed by the system as any new window of the same size
    plain.setFixedSize(553, 446);
    plain.show();
    WindowFixture f;
    f.appInfo.otherInstance = otherInstance;
    frmHangar& window = f.open();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    QCOMPARE(window.pos(), plain.pos());
    QCOMPARE(window.windowTitle(), u"Hangar for FS 2004"_s);
    QCOMPARE(window.size(), QSize(553, 446));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(
        !(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(window.windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
    QCOMPARE(f.get<QLabel>(u"imgCorvane0"_s)->pixmap().size(), QSize(254, 93));
    QCOMPARE(f.get<QLabel>(u"imgCorvane1"_s)->pixmap().size(), QSize(230, 73));
    QCOMPARE(window.children().indexOf(f.get(u"lblFond"_s)), 0);
    const auto* check = f.get<QCheckBox>(u"chkSaveActivation"_s);
    QVERIFY2(QFontMetrics(check->font()).horizontalAdvance(check->text()) + 20 <= check->width(),
             "the caption fits its box in the fallback face");
    QCOMPARE((QStringList{f.labelText("lblVersion"), f.button("cmdLOAD")->text()}), texts);
    // The focus starts in the load list; Tab passes over the hidden controls of editing mode.
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited.join(u' '), u"cboConfigName cmdLOAD chkSaveActivation cmdQuit txtFS9Folder "
                                 "cmdFS9folder txtSceFolder cmdSceFolder cboConfigName"_s);
    f.click(u"chkSaveActivation"_s);
    QCOMPARE((QList<QPoint>{f.get(u"lblLastConfigName"_s)->pos(), f.get(u"cmdSAVE"_s)->pos(),
                            f.get(u"cmdREMOVE"_s)->pos()}),
             places);
}

void TestWindow::sessions_data()
{
    addSessions(R"(
listed only with both snapshot files; LastConfig shown | ini: Night,Dawn>Night |
    files: live,Night,FS9.Dawn.cfg=Dawn | list: Night
hand-edited: gaps close up, blanks are trimmed (and kept around what is written), a name twice or in
    another letter case is listed once, slot 10 is not, LastConfig without files is shown |
    ini: FS9 Folder=%F;SCENERY Folder=%S;Config1=  Night  ;Config2=;Config3=   ;Config4=Night;
    Config5=NIGHT;Config6=;Config7=;Config8=;Config9=;Config10=Ten;LastConfig=  Gone |
    files: live,Night,Ten | list: Night | last: Gone | written: FS9 Folder=%F;
    SCENERY Folder=%S;Config1=  Night;Config2=;Config3=   ;Config4=;Config5=;Config6=;
    Config7=;Config8=;Config9=;Config10=Ten;LastConfig=  Gone
hand-edited: names no file can hold are skipped though such files exist |
    ini: *,?,a\b,C:x,..,a%Ab,Night | list: Night | unix: Windows makes no files of such names
a missing folder empties its box; the stored folders and names are kept | ini: FS9 Folder=%U;
    SCENERY Folder=%S;Config1=Night;Config2=;Config3=Dawn;LastConfig=Night | files: live,Night,Dawn
    | last: - | boxes: ,%S | written: FS9 Folder=%U;SCENERY Folder=%S;Config1=Night;Config2=Dawn;
    Config3=;LastConfig=Night;Config4=;Config5=;Config6=;Config7=;Config8=;Config9=
another window holds the lock: the bare window writes nothing | ini: Night>Night | do: lock-held |
    list: - | load: LOAD | last: - | boxes: Flight Simulator folder,Scenery folder | written: =
a lock left by a killed window is taken over | ini: Night>Night | do: lock-left-by-kill
an empty lock file is taken over at once | ini: Night>Night | do: lock-left-empty
an installed copy keeps its settings in the user's folder | ini: - | do: installed
a refused write is reported, and the file keeps its bytes | ini: Night | do: read-only |
    message: The settings could not be saved to %I:\rthe file is read-only | written: =
a Load the settings cannot record is told as done | ini: Night,Dawn | do: read-only; load Dawn |
    load: Dawn | last: Dawn | after: live=Dawn,Night,Dawn | written: = | message: The configuration
    "Dawn" was loaded.\r\rThe settings could not be saved to %I:\rthe file is read-only\r\rThe
    settings do not record it as the configuration loaded last.
closing: Escape in the save list | ini: Night,Dawn | do: click chkSaveActivation |
    close: key cboConfigNameTO Esc | mode: edit:*FS Original,Night,Dawn>FS Original:off
closing: Enter in the load list | ini: Night,Dawn | close: key cboConfigName Enter
closing: the session ends | ini: Night,Dawn | close: session-ends
closing: a logout asks for the settings, then goes through | ini: Night,Dawn | close: logout
closing: a logout is cancelled, then Dusk is saved and Quit pressed | ini: Night,Dawn |
    do: logout; save Dusk | close: click cmdQuit | list: Night,Dawn,Dusk | load: Dusk |
    after: Night,Dawn,Dusk=live,live
editing: FS Original typed exactly turns Remove off | ini: Night,Dawn |
    do: choose Dawn; click chkSaveActivation; type cboConfigNameTO FS Original |
    mode: edit:FS Original,Night,*Dawn>FS Original:off | load: Dawn
editing: in another letter case too | ini: Night,Dawn |
    do: choose Dawn; click chkSaveActivation; type cboConfigNameTO fs original |
    mode: edit:FS Original,Night,*Dawn>fs original:off | load: Dawn
editing: nor with a blank after it | ini: Night,Dawn |
    do: click chkSaveActivation; type cboConfigNameTO FS Original%_ |
    mode: edit:*FS Original,Night,Dawn>FS Original%_:on
editing: nor an empty text | ini: Night,Dawn | do: click chkSaveActivation; type cboConfigNameTO |
    mode: edit:*FS Original,Night,Dawn>:on
Remove: a pair gone half since start-up leaves the list | ini: Night,Dawn,Dusk>Dawn |
    do: choose Dusk; delete Scenery.Dawn.cfg; remove Dawn | list: Night,Dusk |
    after: live,Night,Dusk,FS9.Dawn.cfg=Dawn |
    message: Error during files process : \r\r\tScenery.Dawn.cfg file not found\t \r
undo: Ctrl+Z in the load list puts back the unsaved pair a Load replaced, and the label |
    ini: Night,Dawn>Night | files: live=tuned,Night,Dawn | do: load Dawn; key cboConfigName Ctrl+Z
    | load: Dawn | message: Undo: Put back the live files, a copy of no saved configuration (entry
    1, kept by LOAD at <time>);\rwhat it replaced, the live files, a copy of "Dawn", is kept as entry
    2.\r\rPressing Ctrl+Z again returns to where you were.
undo: pressed again, on a button, returns to where the first began | ini: Night,Dawn>Night |
    files: live=tuned,Night,Dawn | do: load Dawn; key cboConfigName Ctrl+Z; key cmdQuit Ctrl+Z |
    load: Dawn | last: Dawn | after: live=Dawn,Night,Dawn | message: Undo: Put back the live
    files, a copy of no saved configuration (entry 1, kept by LOAD at <time>);\rwhat it replaced, the
    live files, a copy of "Dawn", is kept as entry 2.\r\rPressing Ctrl+Z again returns to where
    you were. && Undo: Put back the live files, a copy of "Dawn" (entry 2, kept by RESTORE at
    <time>);\rwhat it replaced, the live files, a copy of no saved configuration, is kept as entry
    3.\r\rPressing Ctrl+Z again returns to where you were.
undo: in the save list and a folder box Ctrl+Z undoes the typing alone | ini: Night,Dawn>Night |
    do: load Dawn; type txtSceFolder %S/x; key txtSceFolder Ctrl+Z; click chkSaveActivation;
    type cboConfigNameTO Dusk; key cboConfigNameTO Ctrl+Z | mode: edit:FS Original,Night,*Dawn>Dawn:on
    | load: Dawn | last: Dawn | after: live=Dawn,Night,Dawn
history: Ctrl+H lists the kept pairs newest first; a removed pair restored is listed again |
    ini: Night,Dawn>Night | do: load Dawn; remove Night; history 0 | list: Dawn,Night | last: Dawn |
    after: live=Dawn,Night,Dawn | message: History: the pair of "Night" by Remove of "Night"; the
    live files, a copy of no saved configuration by Load of "Dawn" && Restore: Put back the pair of
    "Night" (entry 2, kept by REMOVE at <time>);\rwhat it replaced, no files (FS9.Night.cfg and
    Scenery.Night.cfg were not there), is kept as entry 3.\r\rCtrl+Z in the window returns to
    where you were.
the simulator runs: Load, Save and Undo refuse, naming it | ini: Night,Dawn>Night |
    do: simulator; load Dawn; save Dusk; key cboConfigName Ctrl+Z | load: Dawn | message: %R && %R
    && %R
Wine's spellings: the live files keep theirs, a snapshot spelled otherwise is replaced | ini: - |
    files: fs9.cfg,SCENERY.CFG,fs9.two.CFG=old,SCENERY.TWO.cfg=old | do: type txtFS9Folder %F;
    type txtSceFolder %S;write fs9.cfg=One,SCENERY.CFG=One;save One;write fs9.cfg=Two,
    SCENERY.CFG=Two;save Two;write fs9.cfg=Three,SCENERY.CFG=Three;save Three;load Two;remove Two
    | list: One,Three | last: Two | boxes: %F,%S | after: fs9.cfg=Two,SCENERY.CFG=Two,One,Three
)");
}

// The real adapters, closed from a timer (at the deadline, failing rather than hanging). A line
// wider than half the screen (a long path) is neither wrapped nor cut.
void TestWindow::realDialogsShowWhatTheyAreGiven()
{
    QTemporaryDir start;
    WidgetDialogs dialogs;
    QStringList shown;
    const QDeadlineTimer deadline(20'000);
    QTimer answer;
    answer.callOnTimeout([&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
            const bool whole = !label->wordWrap() && label->width() >= label->sizeHint().width();
            shown << box->windowTitle() << label->text() << (whole ? u"whole"_s : u"cut"_s)
                  << QString::number(box->icon())
                  << QString::number(box->standardButtons().toInt());
            box->accept();
        } else if (auto* picker = qobject_cast<QFileDialog*>(modal)) {
            shown << picker->directory().path();
            picker->reject();
        } else if (deadline.hasExpired()) {
            shown << u"timed out"_s;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(window))
                    dialog->reject();
        }
    });
    answer.start(20);
    const QString message =
        u"Error during files process : \r\r\t/home/pilot/.wine/drive_c/Program "
        u"Files/Microsoft Games/Flight Simulator 9/FS9.cfg could not be written\t \r"_s;
    dialogs.showMessage(message, u"Error"_s);
    QCOMPARE(dialogs.pickFolder(u"Pick"_s, QDir::toNativeSeparators(start.path())), QString());
    QCOMPARE(shown, (QStringList{u"Error"_s, QString(message).replace(u'\r', u'\n'), u"whole"_s,
                                 QString::number(QMessageBox::NoIcon),
                                 QString::number(QMessageBox::Ok), start.path()}));
}

// The real history dialog, driven by keys from a timer (failing at the deadline rather than
// hanging): it opens beside its window, the arrows choose a row and show what it would change,
// its access key restores that row and Escape closes it.
void TestWindow::realHistoryDialogWorksByKeys()
{
    struct Actions : HistoryActions
    {
        QList<HistoryRow> historyRows() override { return rows; }
        QString historyDifferences(int id) override { return u"changes of %1"_s.arg(id); }
        void restoreHistoryEntry(int id) override { rows.prepend({id + 10, {}, u"back"_s, {}}); }
        QList<HistoryRow> rows{{7, {}, u"newest"_s, {}}, {5, {}, u"older"_s, {}}};
    } actions;
    QWidget window;
    window.setGeometry(20, 40, 100, 100);
    window.show();
    WidgetDialogs dialogs;
    dialogs.setParentWindow(&window);
    QStringList shown;
    const QDeadlineTimer deadline(20'000);
    QTimer step;
    step.callOnTimeout([&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (deadline.hasExpired()) {
            shown << u"timed out"_s;
            if (dialog)
                dialog->reject();
        }
        if (!dialog || !dialog->isActiveWindow())
            return;
        const QString row =
            dialog->findChild<QTreeView*>(u"lvwHistory"_s)->model()->index(0, 2).data().toString();
        const QString changes =
            dialog->findChild<QPlainTextEdit*>(u"txtDifferences"_s)->toPlainText();
        if (shown.isEmpty()) {
            shown << dialog->windowTitle() << row << changes
                  << (dialog->x() > window.frameGeometry().right() ? u"beside"_s : u"over"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        } else if (shown.size() == 4) {
            shown << changes;
            // The button's access key presses it a moment later, as a click shows.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
        } else if (row != shown[1]) {
            shown << row << changes;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
    });
    step.start(20);
    dialogs.showHistory(actions);
    QCOMPARE(shown, (QStringList{u"History"_s, u"newest"_s, u"changes of 7"_s, u"beside"_s,
                                 u"changes of 5"_s, u"back"_s, u"changes of 15"_s}));
}

void TestWindow::typingIntoTheLists_data()
{
    QTest::addColumn<QString>("before"); // the field's text; [ ] marks a selection, | the cursor
    QTest::addColumn<int>("key");        // 0: an input method commits the text; -1: a drop
    QTest::addColumn<QString>("text");   // that the key carries, as a real keyboard sends it
    QTest::addColumn<QString>("after");  // none: as before
    const auto row = [](const char* name, const QString& before, int key, const QString& text,
                        const QString& after = {}) {
        QTest::newRow(name) << before << key << text << (after.isNull() ? before : after);
    };
    const auto n = [](int count) { return QString(count, u'n'); };
    const QString original = u"FS Original"_s, all = u'[' + n(16) + u']';
    row("load list: Ctrl+A selects nothing, the handler discards it", original, Qt::Key_A, u"\1"_s);
    row("load list: a drop changes nothing, the field is read-only", original, -1, u"Dropped"_s);
    row("save list: 15 characters take a 16th", n(15), Qt::Key_X, u"x"_s, n(15) + u'x');
    row("save list: 16 refuse a 17th, over a selection too", all, Qt::Key_X, u"x"_s);
    row("save list: 16 refuse Backspace", n(16), Qt::Key_Backspace, u"\b"_s);
    row("save list: Delete (character 127 on X11) still shortens 16", u'|' + n(16), Qt::Key_Delete,
        u"\x7f"_s, n(15));
    row("save list: input method text stops at 16 too", n(14), 0, u"xyz"_s, n(14) + u"xy"_s);
}

// The row's name says which list.
void TestWindow::typingIntoTheLists()
{
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, after);
    const bool save = QByteArray(QTest::currentDataTag()).startsWith("save list");
    WindowFixture f;
    f.open();
    if (save)
        f.click(u"chkSaveActivation"_s);
    auto* combo = save ? f.saveList() : f.loadList();
    QWidget* focused = f.focus(combo);
    QLineEdit* field = combo->lineEdit();
    combo->setEditText(QString(before).remove(u'[').remove(u']').remove(u'|'));
    if (before.contains(u'['))
        field->selectAll();
    if (before.contains(u'|'))
        field->setCursorPosition(before.indexOf(u'|'));
    QInputMethodEvent committed;
    committed.setCommitString(text);
    QMimeData dropped;
    dropped.setText(text);
    // A drop reaches the widget under the mouse, whichever has the focus.
    QWidget* underMouse = combo->childAt(combo->rect().center());
    const QPoint at = underMouse->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QKeyEvent press(QEvent::KeyPress, key, text == u"\1"_s ? Qt::ControlModifier : Qt::NoModifier,
                    text);
    if (key == -1) {
        QApplication::sendEvent(underMouse, &enter);
        QApplication::sendEvent(underMouse, &drop);
    } else {
        QApplication::sendEvent(focused, key == 0 ? static_cast<QEvent*>(&committed) : &press);
    }
    QString shown = field->text();
    if (field->hasSelectedText())
        shown.insert(field->selectionEnd(), u']').insert(field->selectionStart(), u'[');
    QCOMPARE(shown, after);
}

// A box's folder; for a box that names none, the folders that detection finds in the user's Wine
// prefix, else the nearest existing parent, else the home folder for a text naming no place. A
// cancelled picker keeps the box's text, a chosen folder goes into its own box only.
void TestWindow::folderPickersStartAtTheBoxesFolders()
{
    WindowFixture f;
    TestFiles::write(f.iniPath(), f.settingsFile(u"Night,Dawn>Night"_s));
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(f.root.filePath(u"home"_s)));
    qunsetenv("WINEPREFIX");
    const QString prefix = f.root.filePath(u"home/.wine/drive_c/"_s);
    const QString mainFolder = prefix + u"users/pilot/AppData/Roaming/Microsoft/FS9"_s;
    const QString simulator = prefix + u"Program Files/Microsoft Games/Flight Simulator 9"_s;
    f.open();
    f.dialogs.pickerAnswers = {QString(), f.fs9, QString(), QString()};
    const QString gone =
        f.scenery + QDir::separator() + u"gone"_s + QDir::separator() + u"deeper"_s;
    f.box("txtSceFolder")->setText(gone);
    f.click(u"cmdSceFolder"_s);
    f.box("txtFS9Folder")->setText(u"Flight Simulator folder"_s);
    f.click(u"cmdFS9folder"_s);
    QCOMPARE((QStringList{f.box("txtFS9Folder")->text(), f.box("txtSceFolder")->text()}),
             (QStringList{f.fs9, gone}));
    QVERIFY(QDir().mkpath(mainFolder) && QDir().mkpath(simulator));
    TestFiles::write(mainFolder + u"/FS9.cfg"_s, "[Main]\r\n");
    TestFiles::write(simulator + u"/fs9.exe"_s, "MZ");
    f.click(u"cmdSceFolder"_s);
    f.box("txtFS9Folder")->setText(u"Flight Simulator folder"_s);
    f.click(u"cmdFS9folder"_s);
    qputenv("HOME", home);
#ifdef Q_OS_WIN
    QCOMPARE(f.dialogs.pickerStarts.mid(0, 2),
             (QStringList{f.scenery, QDir::toNativeSeparators(QDir::homePath())}));
    QSKIP("Windows finds the simulator through the machine's registry, which a test may not "
          "rewrite; the Wine prefixes looked for here are Linux's");
#endif
    QCOMPARE(f.dialogs.pickerStarts,
             (QStringList{f.scenery, f.root.filePath(u"home"_s), simulator, mainFolder}));
    QCOMPARE(f.dialogs.pickerPrompts.mid(0, 2),
             (QStringList{u"Select the Flight Simulator SCENERY folder"_s,
                          u"Select the FLIGHT SIMULATOR folder"_s}));
    QCOMPARE(f.entries(f.loadList()), (QStringList{u"FS Original"_s, u"Night"_s, u"Dawn"_s}));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
