#include "ProfileFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void missingFileReadsDefault();
    void readIsCutToMaxLength();
    void writeCreatesFileAndKeepsOthers();
    void readOnlyFileIsRefusedAndKept();
    void killedWriteLeavesWholeFile();

private:
    QString section = u"FS Config"_s;
};

void TestProfileFile::missingFileReadsDefault()
{
    QTemporaryDir dir;
    QCOMPARE(
        ProfileFile::readString(section, u"Config1"_s, u"dflt"_s, 255, dir.filePath(u"none.ini"_s)),
        u"dflt"_s);
}

void TestProfileFile::readIsCutToMaxLength()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Hangar.ini"_s);
    TestFiles::write(file, "[FS Config]\r\nConfig1=" + QByteArray(300, 'x') + "\r\n");
    QCOMPARE(ProfileFile::readString(section, u"Config1"_s, QString(), 255, file),
             QString(255, u'x'));
}

void TestProfileFile::writeCreatesFileAndKeepsOthers()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Hangar.ini"_s);
    QString error;
    QVERIFY(ProfileFile::writeString(section, u"Config1"_s, u"Night"_s, file, &error));
    QVERIFY(ProfileFile::writeString(u"Other"_s, u"Key"_s, u"1"_s, file, &error));
    QVERIFY(ProfileFile::writeString(section, u"Config1"_s, u"Dawn"_s, file, &error));
    QCOMPARE(TestFiles::read(file), "[FS Config]\r\nConfig1=Dawn\r\n[Other]\r\nKey=1\r\n"_ba);
}

void TestProfileFile::readOnlyFileIsRefusedAndKept()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Hangar.ini"_s);
    TestFiles::write(file, "[FS Config]\r\nConfig1=Night\r\n");
    TestFiles::makeReadOnly(file);
    QString error;
    QVERIFY(!ProfileFile::writeString(section, u"Config1"_s, u"Dawn"_s, file, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(TestFiles::read(file), "[FS Config]\r\nConfig1=Night\r\n"_ba);
}

void TestProfileFile::killedWriteLeavesWholeFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Hangar.ini"_s);
    const QByteArray initial = "[FS Config]\r\nFS9 Folder=C:\\FS9\r\n";
    const QByteArray withA = initial + "Config1=" + QByteArray(200000, 'A') + "\r\n";
    const QByteArray withB = initial + "Config1=" + QByteArray(200000, 'B') + "\r\n";
    TestFiles::write(file, initial);

    for (int delayMs : {0, 3, 10, 25, 60}) {
        QProcess writer;
        writer.start(QStringLiteral(PROFILE_WRITER), {file});
        QVERIFY(writer.waitForStarted());
        QTest::qWait(delayMs);
        writer.kill();
        QVERIFY(writer.waitForFinished());
        const QByteArray content = TestFiles::read(file);
        QVERIFY2(content == initial || content == withA || content == withB,
                 qPrintable(u"half-written file after %1 ms: %2 bytes"_s.arg(delayMs).arg(
                     content.size())));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"Hangar.ini"_s});
    }
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
