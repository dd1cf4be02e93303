#include "FolderFixture.h"
#include "Fs9Detection.h"
#include "ProcessTable.h"
#include "SimulatorProcess.h"

#include <QProcess>
#include <QSettings>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void detectsFs9InFakePrefixes_data();
    void detectsFs9InFakePrefixes();
    void detectsInstalledFs9ThroughItsKey_data();
    void detectsInstalledFs9ThroughItsKey();
    void seesSimulatorThroughProc_data();
    void seesSimulatorThroughProc();
};

void TestSimulator::detectsFs9InFakePrefixes_data()
{
    // Made in the home folder: "a/" a folder, "a" an empty file, "a=text" a file holding text.
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("winePrefix");
    QTest::addColumn<QStringList>("expected"); // prefix|main folder|FS9.cfg there|simulator
    const QString key = u"[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0]"_s;
    const QString fs9 = u"/drive_c/users/me/AppData/Roaming/Microsoft/FS9"_s;
    const QString bottle = u".local/share/bottles/bottles/b"_s;
    const QString usual = u"/drive_c/Program Files/Microsoft Games/Flight Simulator 9"_s;
    QTest::newRow("$WINEPREFIX first; EXE Path ignoring letter case; a bottle's usual folder")
        << QStringList{u"p"_s + fs9 + u"/FS9.cfg"_s, u"p/drive_c/Games/FS2004/"_s,
                       bottle + usual + u"/FS9.EXE"_s,
                       u"p/system.reg=WINE REGISTRY Version 2\n\n"_s + key +
                           u" 1700000000\n#time=1d9\n\"EXE Path\"=\"C:\\\\games\\\\fs2004\\\\\"\n"_s}
        << u"p"_s
        << QStringList{u"p|p%1|yes|p/drive_c/Games/FS2004"_s.arg(fs9),
                       bottle + u"||no|"_s + bottle + usual};
    QTest::newRow("~/.wine named twice: Application Data, Wow6432Node, user with FS9.cfg; Lutris")
        << QStringList{u"Games/g/drive_c/"_s,
                       u".PlayOnLinux/wineprefix/w/drive_c/"_s,
                       u".wine/drive_c/users/me/Application Data/Microsoft/FS9/fs9.cfg"_s,
                       u".wine/drive_c/users/Public/Application Data/Microsoft/FS9/"_s,
                       u".wine/drive_c/FS9/"_s,
                       u".wine/system.reg="_s +
                           QString(key).replace(u"Software"_s, u"Software\\\\Wow6432Node"_s) +
                           u"\n\"EXE Path\"=\"C:\\\\FS9\"\n"_s}
        << u".wine/"_s
        << QStringList{u".wine|.wine/drive_c/users/me/Application Data/Microsoft/FS9|yes|"
                       ".wine/drive_c/FS9"_s,
                       u"Games/g||no|"_s, u".PlayOnLinux/wineprefix/w||no|"_s};
}

void TestSimulator::detectsFs9InFakePrefixes()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, winePrefix);
    QFETCH(QStringList, expected);
#ifdef Q_OS_WIN
    QSKIP("Windows finds the simulator through its registry, never in Wine prefixes");
#endif
    QTemporaryDir home;
    const QDir dir(home.path());
    for (const QString& path : paths) {
        const QString file = path.section(u'=', 0, 0);
        QVERIFY(dir.mkpath(QFileInfo(file).path()));
        if (!file.endsWith(u'/'))
            TestFiles::write(dir.filePath(file), path.section(u'=', 1).toUtf8());
    }
    QProcessEnvironment environment;
    if (!winePrefix.isEmpty())
        environment.insert(u"WINEPREFIX"_s, dir.filePath(winePrefix));
    QStringList found;
    for (const Fs9Install& in : detectFs9(home.path(), environment))
        found << QStringList{in.prefix, in.mainFolder, in.mainFileFound ? u"yes"_s : u"no"_s,
                             in.simulatorFolder}
                     .join(u'|')
                     .remove(home.path() + u'/');
    QCOMPARE(found, expected);
}

void TestSimulator::detectsInstalledFs9ThroughItsKey_data()
{
    QTest::addColumn<QStringList>("paths"); // made under the root: "a/" a folder, "a" a file
    QTest::addColumn<QString>("exePath");   // the key's "EXE Path" under the root; "" for none
    QTest::addColumn<QString>("expected");  // main folder|FS9.cfg there|simulator folder
    QTest::newRow("a folder ended by a separator; FS9.cfg in lower case")
        << QStringList{u"roaming/Microsoft/FS9/fs9.cfg"_s, u"Games/FS2004/"_s} << u"Games/FS2004/"_s
        << u"roaming/Microsoft/FS9|yes|Games/FS2004"_s;
    QTest::newRow("the program file itself; no FS9.cfg yet")
        << QStringList{u"roaming/Microsoft/FS9/"_s, u"FS9/FS9.EXE"_s} << u"FS9/fs9.exe"_s
        << u"roaming/Microsoft/FS9|no|FS9"_s;
    QTest::newRow("a folder that is gone; no FS9 folder")
        << QStringList{u"roaming/"_s} << u"Games/FS2004"_s << u"|no|"_s;
}

void TestSimulator::detectsInstalledFs9ThroughItsKey()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, exePath);
    QFETCH(QString, expected);
    QTemporaryDir root;
    for (const QString& path : paths) {
        QVERIFY(QDir(root.path()).mkpath(QFileInfo(path).path()));
        if (!path.endsWith(u'/'))
            TestFiles::write(root.filePath(path), "x");
    }
    // The registry's key as the installer leaves it, in a file of the same shape.
    QSettings key(root.filePath(u"key.ini"_s), QSettings::IniFormat);
    key.setValue(u"EXE Path"_s, QDir::toNativeSeparators(root.filePath(exePath)));
    const Fs9Install found = detectInstalledFs9(key, u"the key"_s, root.filePath(u"roaming"_s));
    QCOMPARE(found.prefix, u"the key"_s);
    // Shown as the system shows paths: with backslashes on Windows.
    const QString shown = QStringList{found.mainFolder, found.mainFileFound ? u"yes"_s : u"no"_s,
                                      found.simulatorFolder}
                              .join(u'|')
                              .remove(QDir::toNativeSeparators(root.path() + u'/'));
    QCOMPARE(shown, QDir::toNativeSeparators(expected));
}

void TestSimulator::seesSimulatorThroughProc_data()
{
    QTest::addColumn<QString>("program"); // a copy of a waiting program so named; a bash script
    QTest::addColumn<bool>("seen");       // when it holds a blank
    QTest::newRow("program FS9.EXE, letter case ignored") << u"FS9.EXE"_s << true;
    QTest::newRow("Windows path as first argument, as Wine shows it")
        << u"exec -a 'C:\\Games\\FS9\\fs9.exe' sleep 30"_s << true;
    QTest::newRow("a longer name is another program") << u"fs9.exe.bak"_s << false;
    QTest::newRow("fs9.exe as a later argument only") << u"sleep 30; true"_s << false;
}

void TestSimulator::seesSimulatorThroughProc()
{
    QFETCH(QString, program);
    QFETCH(bool, seen);
    const auto table = systemProcessTable();
    if (!table->processes())
        QSKIP("this system shows no processes");
    QTemporaryDir dir;
    QProcess process;
    if (program.contains(u' ')) {
#ifdef Q_OS_WIN
        QSKIP("a program's arguments as Wine shows them to Linux: Windows shows no such thing");
#endif
        process.start(u"bash"_s, {u"-c"_s, program, u"fs9.exe"_s});
        QVERIFY(process.waitForStarted());
    } else {
        TestFiles::startLookalike(process, dir.filePath(program));
    }
    // A row that is seen may first need bash's exec; one that is not has no exec to wait for.
    QTRY_COMPARE(findSimulator(*table).pids.contains(process.processId()), seen);
    process.kill();
    process.waitForFinished();
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
