#include "DirectoryLookup.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDirectoryLookup : public QObject
{
    Q_OBJECT

private slots:
    void addBackslash_data();
    void addBackslash();
    void lookups();
};

void TestDirectoryLookup::addBackslash_data()
{
    const QString sep = QDir::separator();
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty is the root") << QString() << sep;
    QTest::newRow("separator appended")
        << u"games"_s + sep + u"FS9"_s << u"games"_s + sep + u"FS9"_s + sep;
    QTest::newRow("existing separator kept") << u"FS9"_s + sep << u"FS9"_s + sep;
    QTest::newRow("blank kept") << u"FS9 "_s << u"FS9 "_s + sep;
}

void TestDirectoryLookup::addBackslash()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(AddBackslash(path), expected);
}

void TestDirectoryLookup::lookups()
{
    QTemporaryDir dir;
    const QString base = TestFiles::withSeparator(dir.path());
    TestFiles::write(base + u"FS9.cfg"_s, "x");
    TestFiles::write(base + u".hidden.cfg"_s, "x");
    QVERIFY(QDir(dir.path()).mkdir(u"FS9.Night.cfg"_s));

    QVERIFY(FileExists(base + u"FS9.cfg"_s));
    QVERIFY2(!FileExists(base + u"FS9.Night.cfg"_s), "a folder is no file");
    QVERIFY2(!FileExists(base + u".hidden.cfg"_s), "a hidden file counts as missing");
    QVERIFY(!FileExists(base + u"Scenery.cfg"_s));
    QVERIFY(!FileExists(QString()));

    QString folder = QDir::toNativeSeparators(dir.path());
    QVERIFY(FolderExists(folder));
    QCOMPARE(folder, base); // the caller's path gains its separator
    QString file = base + u"FS9.cfg"_s;
    QVERIFY2(!FolderExists(file), "a file is no folder");
    QString missing = base + u"nothing"_s;
    QVERIFY(!FolderExists(missing));
}

QTEST_GUILESS_MAIN(TestDirectoryLookup)
#include "tst_directorylookup.moc"
