#include "FakeServices.h"
#include "FileOperation.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Step = FaultyFileSystem::Step;

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(FaultyFileSystem::Step)

namespace {

// Two folders holding the live pair ("live main" / "live scenery") and the snapshot pair of
// Night ("night main" / "night scenery").
struct Folders
{
    Folders()
    {
        QDir(root.path()).mkdir(u"fs9"_s);
        QDir(root.path()).mkdir(u"scenery"_s);
        fs9 = QDir::toNativeSeparators(root.filePath(u"fs9"_s));
        scenery = QDir::toNativeSeparators(root.filePath(u"scenery"_s));
        TestFiles::write(liveMain(), "live main");
        TestFiles::write(liveScenery(), "live scenery");
        TestFiles::write(main(u"Night"_s), "night main");
        TestFiles::write(sceneryOf(u"Night"_s), "night scenery");
    }
    QString liveMain() const { return fs9 + QDir::separator() + u"FS9.cfg"_s; }
    QString liveScenery() const { return scenery + QDir::separator() + u"Scenery.cfg"_s; }
    QString main(const QString& name) const
    {
        return fs9 + QDir::separator() + u"FS9."_s + name + u".cfg"_s;
    }
    QString sceneryOf(const QString& name) const
    {
        return scenery + QDir::separator() + u"Scenery."_s + name + u".cfg"_s;
    }
    QByteArrayList contents(const QString& name) const
    {
        return {TestFiles::read(liveMain()), TestFiles::read(liveScenery()),
                TestFiles::read(main(name)), TestFiles::read(sceneryOf(name))};
    }

    QTemporaryDir root;
    QString fs9;
    QString scenery;
};

QString checksMessage(const QStringList& lines)
{
    QString message = u"Error during files process : \r\r"_s;
    for (const QString& line : lines)
        message += u'\t' + line + u"\t \r"_s;
    return message;
}

} // namespace

class TestFileOperation : public QObject
{
    Q_OBJECT

private slots:
    void operationWords();
    void checksRefuseWithExactMessage_data();
    void checksRefuseWithExactMessage();
    void operationsDoTheirTwoSteps_data();
    void operationsDoTheirTwoSteps();
    void failedStepIsReportedAndContained_data();
    void failedStepIsReportedAndContained();
    void readOnlyFiles();
    void unusableNameTouchesNothing();
};

void TestFileOperation::operationWords()
{
    QCOMPARE(operationFromWord(u"LOAD"_s), Operation::Load);
    QCOMPARE(operationFromWord(u"SAVE"_s), Operation::Save);
    QCOMPARE(operationFromWord(u"REMOVE"_s), Operation::Remove);
    QVERIFY(!operationFromWord(u"load"_s));
    QVERIFY(!operationFromWord(u"LOAD "_s));
}

void TestFileOperation::checksRefuseWithExactMessage_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("removed"); // what is taken away before the call
    QTest::addColumn<QStringList>("lines");

    const QString l1 = u"Invalid folder for Night FS9 file configuration"_s;
    const QString l2 = u"FS9.Night.cfg file not found"_s;
    const QString l3 = u"FS Original FS9.cfg file not found"_s;
    const QString l4 = u"Invalid folder for Night SCENERY file configuration"_s;
    const QString l5 = u"Scenery.Night.cfg file not found"_s;
    const QString l6 = u"FS Original Scenery.cfg file not found"_s;

    QTest::newRow("load without scenery folder")
        << Operation::Load << u"Night"_s << QStringList{u"scenery folder"_s}
        << QStringList{l4, l5, l6};
    QTest::newRow("load with no folder at all")
        << Operation::Load << u"Night"_s << QStringList{u"fs9 folder"_s, u"scenery folder"_s}
        << QStringList{l1, l2, l3, l4, l5, l6};
    QTest::newRow("load without main snapshot")
        << Operation::Load << u"Night"_s << QStringList{u"night main"_s} << QStringList{l2};
    QTest::newRow("remove without live scenery")
        << Operation::Remove << u"Night"_s << QStringList{u"live scenery"_s} << QStringList{l6};
    QTest::newRow("save without live main, lists snapshots of the shown name")
        << Operation::Save << u"Night"_s
        << QStringList{u"live main"_s, u"night main"_s, u"night scenery"_s}
        << QStringList{l2, l3, l5};
    QTest::newRow("load of FS Original needs its own snapshots")
        << Operation::Load << u"FS Original"_s << QStringList()
        << QStringList{u"FS9.FS Original.cfg file not found"_s,
                       u"Scenery.FS Original.cfg file not found"_s};
}

void TestFileOperation::checksRefuseWithExactMessage()
{
    QFETCH(Operation, operation);
    QFETCH(QString, name);
    QFETCH(QStringList, removed);
    QFETCH(QStringList, lines);
    Folders f;
    const QMap<QString, QString> paths{{u"live main"_s, f.liveMain()},
                                       {u"live scenery"_s, f.liveScenery()},
                                       {u"night main"_s, f.main(u"Night"_s)},
                                       {u"night scenery"_s, f.sceneryOf(u"Night"_s)}};
    for (const QString& what : removed) {
        if (what.endsWith(u"folder"_s))
            QVERIFY(QDir(what.startsWith(u"fs9"_s) ? f.fs9 : f.scenery).removeRecursively());
        else
            QVERIFY(QFile::remove(paths[what]));
    }
    const auto before = f.contents(u"Night"_s);
    FaultyFileSystem fs;
    const auto result = processFiles(operation, name, u"New"_s, f.fs9, f.scenery, fs);
    QVERIFY(!result.performed);
    QCOMPARE(result.message, checksMessage(lines));
    QCOMPARE(f.contents(u"Night"_s), before);
    QVERIFY(!TestFiles::exists(f.main(u"New"_s)));
}

void TestFileOperation::operationsDoTheirTwoSteps_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("checked"); // the configuration whose snapshot files are compared
    QTest::addColumn<QByteArrayList>("expected");
    QTest::newRow("load copies snapshots over live files")
        << Operation::Load << QString() << u"Night"_s
        << QByteArrayList{"night main", "night scenery", "night main", "night scenery"};
    QTest::newRow("save to a new name")
        << Operation::Save << u"Dawn"_s << u"Dawn"_s
        << QByteArrayList{"live main", "live scenery", "live main", "live scenery"};
    QTest::newRow("save over an existing name")
        << Operation::Save << u"Night"_s << u"Night"_s
        << QByteArrayList{"live main", "live scenery", "live main", "live scenery"};
    QTest::newRow("remove deletes the pair only")
        << Operation::Remove << QString() << u"Night"_s
        << QByteArrayList{"live main", "live scenery", "<missing>", "<missing>"};
}

void TestFileOperation::operationsDoTheirTwoSteps()
{
    QFETCH(Operation, operation);
    QFETCH(QString, newName);
    QFETCH(QString, checked);
    QFETCH(QByteArrayList, expected);
    Folders f;
    FaultyFileSystem fs;
    // Folder texts with a trailing separator give the same paths as without.
    const auto result =
        processFiles(operation, u"Night"_s, newName, f.fs9 + QDir::separator(), f.scenery, fs);
    QVERIFY2(result.performed, qPrintable(result.message));
    QCOMPARE(result.message, QString());
    QCOMPARE(f.contents(checked), expected);
}

void TestFileOperation::failedStepIsReportedAndContained_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArrayList>("expected"); // live pair, then Night's snapshot pair
    QTest::addColumn<QString>("messagePart");

    const QByteArrayList untouched{"live main", "live scenery", "night main", "night scenery"};
    QTest::newRow("load, first copy fails")
        << Operation::Load << Step::Stage << 1 << untouched << u"No file was changed."_s;
    QTest::newRow("load, second copy fails")
        << Operation::Load << Step::Stage << 2 << untouched << u"No file was changed."_s;
    QTest::newRow("load, first rename fails")
        << Operation::Load << Step::Commit << 1 << untouched << u"No file was changed."_s;
    QTest::newRow("load, second rename fails")
        << Operation::Load << Step::Commit << 2
        << QByteArrayList{"night main", "live scenery", "night main", "night scenery"}
        << u"was replaced, but the scenery configuration"_s;
    QTest::newRow("save, second copy fails")
        << Operation::Save << Step::Stage << 2 << untouched << u"No file was changed."_s;
    QTest::newRow("save, second rename fails")
        << Operation::Save << Step::Commit << 2
        << QByteArrayList{"live main", "live scenery", "live main", "night scenery"}
        << u"was replaced, but the scenery configuration"_s;
    QTest::newRow("remove, first deletion fails")
        << Operation::Remove << Step::Remove << 1 << untouched << u"No file was deleted."_s;
    QTest::newRow("remove, second deletion fails")
        << Operation::Remove << Step::Remove << 2
        << QByteArrayList{"live main", "live scenery", "<missing>", "night scenery"}
        << u"was deleted, but"_s;
}

void TestFileOperation::failedStepIsReportedAndContained()
{
    QFETCH(Operation, operation);
    QFETCH(Step, step);
    QFETCH(int, count);
    QFETCH(QByteArrayList, expected);
    QFETCH(QString, messagePart);
    Folders f;
    FaultyFileSystem fs;
    fs.failAt(step, count);
    const auto result = processFiles(operation, u"Night"_s, u"Night"_s, f.fs9, f.scenery, fs);
    QVERIFY(!result.performed);
    QVERIFY2(result.message.contains(messagePart), qPrintable(result.message));
    QVERIFY(result.message.contains(FaultyFileSystem::reason()));
    QCOMPARE(f.contents(u"Night"_s), expected);
    QCOMPARE(QDir(f.fs9).entryList(QDir::Files | QDir::Hidden).size(),
             int(expected.count("<missing>") == 0) + 1);
}

void TestFileOperation::readOnlyFiles()
{
    Folders f;
    DiskFileSystem fs;
    TestFiles::makeReadOnly(f.liveScenery());
    auto result = processFiles(Operation::Load, u"Night"_s, QString(), f.fs9, f.scenery, fs);
    QVERIFY(!result.performed);
    QVERIFY(result.message.contains(f.liveScenery()));
    QVERIFY(result.message.contains(u"read-only"_s));
    QCOMPARE(TestFiles::read(f.liveMain()), "live main"_ba);

    TestFiles::makeReadOnly(f.main(u"Night"_s));
    TestFiles::makeReadOnly(f.sceneryOf(u"Night"_s));
    result = processFiles(Operation::Remove, u"Night"_s, QString(), f.fs9, f.scenery, fs);
    QVERIFY2(result.performed, qPrintable(result.message));
    QVERIFY(!TestFiles::exists(f.main(u"Night"_s)));
}

void TestFileOperation::unusableNameTouchesNothing()
{
    Folders f;
    FaultyFileSystem fs;
    // A name that would climb out of the scenery folder onto a file beside it.
    TestFiles::write(f.root.filePath(u"x.cfg"_s), "outside");
    const QString climbing = u".."_s + QDir::separator() + u"x"_s;
    for (Operation operation : {Operation::Load, Operation::Save, Operation::Remove}) {
        const auto result = processFiles(operation, climbing, climbing, f.fs9, f.scenery, fs);
        QVERIFY(!result.performed);
        QVERIFY(result.message.startsWith(u"The name \""_s + climbing + u"\" cannot be used"_s));
    }
    QCOMPARE(TestFiles::read(f.root.filePath(u"x.cfg"_s)), "outside"_ba);
    QCOMPARE(f.contents(u"Night"_s),
             (QByteArrayList{"live main", "live scenery", "night main", "night scenery"}));
}

QTEST_GUILESS_MAIN(TestFileOperation)
#include "tst_fileoperation.moc"
