#include "ProcessTable.h"
#include "SimulatorProcess.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProcesses : public QObject
{
    Q_OBJECT

private slots:
    void seesSimulatorThroughProc_data();
    void seesSimulatorThroughProc();
};

void TestProcesses::seesSimulatorThroughProc_data()
{
    QTest::addColumn<QString>("copyAs"); // a copy of sleep under this name, run with "30"
    QTest::addColumn<QString>("script"); // else this, run by bash
    QTest::addColumn<bool>("seen");
    QTest::newRow("program FS9.EXE, letter case ignored") << u"FS9.EXE"_s << QString() << true;
    QTest::newRow("Windows path as first argument, as Wine shows it")
        << QString() << u"exec -a 'C:\\Games\\FS9\\fs9.exe' sleep 30"_s << true;
    QTest::newRow("a longer name is another program") << u"fs9.exe.bak"_s << QString() << false;
    QTest::newRow("fs9.exe as a later argument only") << QString() << u"sleep 30; true"_s << false;
}

void TestProcesses::seesSimulatorThroughProc()
{
    QFETCH(QString, copyAs);
    QFETCH(QString, script);
    QFETCH(bool, seen);
    QTemporaryDir dir;
    QProcess process;
    if (copyAs.isEmpty()) {
        process.start(u"bash"_s, {u"-c"_s, script, u"fs9.exe"_s});
    } else {
        QVERIFY(QFile::copy(QStandardPaths::findExecutable(u"sleep"_s), dir.filePath(copyAs)));
        process.start(dir.filePath(copyAs), {u"30"_s});
    }
    QVERIFY(process.waitForStarted());
    const auto table = systemProcessTable();
    // A row that is seen may first need bash's exec; one that is not has no exec to wait for.
    QTRY_COMPARE(findSimulator(*table).pids.contains(process.processId()), seen);
    QCOMPARE(findSimulator(*table).state,
             seen ? SimulatorProcesses::State::Running : SimulatorProcesses::State::NotRunning);
    process.kill();
    process.waitForFinished();
}

QTEST_GUILESS_MAIN(TestProcesses)
#include "tst_processes.moc"
