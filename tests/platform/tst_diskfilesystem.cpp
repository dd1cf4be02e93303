#include "DiskFileSystem.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDiskFileSystem : public QObject
{
    Q_OBJECT

private slots:
    void copyIsByteForByte_data();
    void copyIsByteForByte();
    void uncommittedCopyChangesNothing();
    void readOnlyDestinationIsRefused();
    void missingSourceIsReported();
    void removeDeletesReadOnlyFile();
};

void TestDiskFileSystem::copyIsByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray every(256, '\0');
    for (int i = 0; i < 256; ++i)
        every[i] = char(i);
    QTest::newRow("every byte value, CR LF and Ctrl-Z") << every + "\r\n\n\r\x1a\0\r\r\n"_ba;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("larger than one chunk") << QByteArray(1'000'003, 'z');
}

void TestDiskFileSystem::copyIsByteForByte()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString source = dir.filePath(u"FS9.Night.cfg"_s);
    const QString destination = dir.filePath(u"FS9.cfg"_s);
    TestFiles::write(source, bytes);
    TestFiles::write(destination, "old contents that are longer than some of the new ones");
    DiskFileSystem fs;
    QString error;
    auto staged = fs.stageCopy(source, destination, &error);
    QVERIFY2(staged, qPrintable(error));
    QVERIFY(staged->commit(&error));
    QCOMPARE(TestFiles::read(destination), bytes);
}

void TestDiskFileSystem::uncommittedCopyChangesNothing()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(u"a"_s);
    const QString destination = dir.filePath(u"b"_s);
    TestFiles::write(source, "new");
    TestFiles::write(destination, "old");
    DiskFileSystem fs;
    QString error;
    fs.stageCopy(source, destination, &error).reset();
    QCOMPARE(TestFiles::read(destination), "old"_ba);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestDiskFileSystem::readOnlyDestinationIsRefused()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(u"a"_s);
    const QString destination = dir.filePath(u"b"_s);
    TestFiles::write(source, "new");
    TestFiles::write(destination, "old");
    TestFiles::makeReadOnly(destination);
    DiskFileSystem fs;
    QString error;
    QVERIFY(!fs.stageCopy(source, destination, &error));
    QCOMPARE(error, u"the file is read-only"_s);
    QCOMPARE(TestFiles::read(destination), "old"_ba);
}

void TestDiskFileSystem::missingSourceIsReported()
{
    QTemporaryDir dir;
    DiskFileSystem fs;
    QString error;
    QVERIFY(!fs.stageCopy(dir.filePath(u"gone"_s), dir.filePath(u"b"_s), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!TestFiles::exists(dir.filePath(u"b"_s)));
}

void TestDiskFileSystem::removeDeletesReadOnlyFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"FS9.Night.cfg"_s);
    TestFiles::write(file, "x");
    TestFiles::makeReadOnly(file);
    DiskFileSystem fs;
    QString error;
    QVERIFY(fs.removeFile(file, &error));
    QVERIFY(!TestFiles::exists(file));
    QVERIFY(!fs.removeFile(file, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestDiskFileSystem)
#include "tst_diskfilesystem.moc"
