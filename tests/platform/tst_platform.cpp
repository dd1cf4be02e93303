#include "DirectoryLookup.h"
#include "DiskFileSystem.h"
#include "FolderFixture.h"
#include "ProcessTable.h"
#include "ProfileFile.h"
#include "ProfileText.h"
#include "TerminationSignals.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringEncoder>
#include <csignal>
#include <filesystem>

using namespace Qt::StringLiterals;

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void profileTextAsWindowsDoes_data();
    void profileTextAsWindowsDoes();
    void profileFileKeepsItsBytes_data();
    void profileFileKeepsItsBytes();
    void directoryLookup();
    void spellingAsWindowsFindsIt_data();
    void spellingAsWindowsFindsIt();
    void copyIsByteForByte_data();
    void copyIsByteForByte();
    void removeDeletesReadOnlyFile();
    void terminationSignalArrivesInEventLoop_data();
    void terminationSignalArrivesInEventLoop();
};

void TestPlatform::profileTextAsWindowsDoes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("key");      // "key=value" writes the value, a bare key is read
    QTest::addColumn<QByteArray>("expected"); // the text written, or the value read ("<none>")
    const auto row = [](const char* name, const QByteArray& content, const QByteArray& key,
                        const QByteArray& expected) {
        QTest::newRow(name) << content << key << expected;
    };
    const QByteArray none = "<none>";
    row("Config1 must not match Config10", "[FS Config]\nConfig10=Ten\n", "Config1", none);
    row("blanks around everything", "  [  FS Config  ]  \n \t Config1 \t=  Night Flight \t\n",
        "Config1", "Night Flight");
    row("first equals splits, semicolon is value", "[FS Config]\nConfig1=a=b ; c\n", "Config1",
        "a=b ; c");
    row("double quotes removed", "[FS Config]\nConfig1=\" Night \"\n", "Config1", " Night ");
    row("single quotes removed", "[FS Config]\nConfig1='Night'\n", "Config1", "Night");
    row("unmatched quotes kept", "[FS Config]\nConfig1=\"Night'\n", "Config1", "\"Night'");
    row("comment line is no key", "[FS Config]\n;Config1=Night\n", ";Config1", none);
    row("line without equals is no key", "[FS Config]\nConfig1\n", "Config1", none);
    row("first of doubled key", "[FS Config]\nConfig1=A\nConfig1=B\n", "Config1", "A");
    row("first of doubled section",
        "[FS Config]\nConfig2=A\n[Other]\nConfig1=X\n[FS Config]\nConfig1=B\n", "Config1", none);
    row("binary junk", "\x00\xff[\x01]=\n\n\r"_ba, "Config1", none);
    row("write: new file gets CRLF", "", "FS9 Folder=C:\\FS9",
        "[FS Config]\r\nFS9 Folder=C:\\FS9\r\n");
    row("write: replaced where it stands, spelling and blanks kept",
        "; mine\n[fs CONFIG]\nconfig1 = Old\nConfig2=Dawn\n[Other]\nx=1\n", "Config1=New",
        "; mine\n[fs CONFIG]\nconfig1 = New\nConfig2=Dawn\n[Other]\nx=1\n");
    row("write: missing final line ending added first", "[FS Config]\nConfig1=A", "Config2=B",
        "[FS Config]\nConfig1=A\nConfig2=B\n");
    row("write: line breaks in a value become blanks", "[FS Config]\r\nConfig1=A\r\n",
        "Config1=x\r\n[Evil]\ry", "[FS Config]\r\nConfig1=x  [Evil] y\r\n");
    row("write: byte-order mark and CR-only endings kept", "\xEF\xBB\xBF[FS Config]\rConfig1=A\r",
        "Config2=B", "\xEF\xBB\xBF[FS Config]\rConfig1=A\rConfig2=B\r");
}

void TestPlatform::profileTextAsWindowsDoes()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);
    const qsizetype split = key.indexOf('=');
    QCOMPARE(split < 0 ? ProfileText::value(content, "FS Config", key).value_or("<none>")
                       : ProfileText::withValue(content, "FS Config", key.first(split),
                                                key.sliced(split + 1)),
             expected);
}

void TestPlatform::profileFileKeepsItsBytes_data()
{
    QTest::addColumn<QByteArray>("content"); // or "<fifo>", "<zero>", "<folder>": no regular file
    QTest::addColumn<QString>("config1");
    QTest::addColumn<QByteArray>("written"); // after Config1 is written back as read, then Config2
    const auto utf16 = [](const QString& text) {
        return "\xFF\xFE"_ba + QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(text));
    };
    const auto row = [](const char* name, const QByteArray& content, const QString& config1,
                        const QByteArray& written) {
        QTest::newRow(name) << content << config1 << written;
    };
    const QByteArray config2 = "Config2=Dawn\r\n";
    // Windows reads 8-bit bytes in its ANSI code page, where every byte here is a character.
    const auto eightBit = [](const QByteArray& bytes, const QString& elsewhere) {
#ifdef Q_OS_WIN
        Q_UNUSED(elsewhere);
        return QString::fromLocal8Bit(bytes);
#else
        Q_UNUSED(bytes);
        return elsewhere;
#endif
    };
    const QByteArray utf8 = "[FS Config]\r\nConfig1=Caf\xC3\xA9 \xF0\x9F\x9B\xA9\r\n";
    row("UTF-8", utf8, eightBit(utf8.sliced(21, 10), u"Café 🛩"_s), utf8 + config2);
    const QByteArray codePage = "[FS Config]\r\nConfig1=Caf\xE9 \xC3\r\n";
    row("a code page's bytes come back as they stand", codePage,
        eightBit(codePage.sliced(21, 6), u"Caf\xDCE9 \xDCC3"_s), codePage + config2);
    const QString text = u"[FS Config]\r\nConfig1=Café 🛩\r\n"_s;
    row("UTF-16 LE with its byte-order mark stays so", utf16(text), u"Café 🛩"_s,
        utf16(text + QString::fromLatin1(config2)));
    const QByteArray blanks = "\x0c[FS Config]\x1a\r\n\v Config1\f=\x1a Night\r\n\x1a";
    row("Ctrl+Z, form feed and vertical tab are blanks", blanks, u"Night"_s,
        "\x0c[FS Config]\x1a\r\n\v Config1\f=\x1a Night\r\n" + config2 + "\x1a");
    row("a FIFO, which would hang a read, is neither read nor opened for editing", "<fifo>",
        u"none"_s, {});
    row("nor a link to /dev/zero, which would fill memory", "<zero>", u"none"_s, {});
    row("nor a folder", "<folder>", u"none"_s, {});
}

void TestPlatform::profileFileKeepsItsBytes()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, config1);
    QFETCH(QByteArray, written);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Hangar.ini"_s);
#ifdef Q_OS_WIN
    if (content == "<fifo>" || content == "<zero>")
        QSKIP("Windows has neither FIFOs nor /dev/zero, and QFile::link makes a shortcut there");
#endif
    if (content == "<fifo>")
        QCOMPARE(QProcess::execute(u"mkfifo"_s, {file}), 0);
    else if (content == "<zero>")
        QVERIFY(QFile::link(u"/dev/zero"_s, file));
    else if (content == "<folder>")
        QVERIFY(QDir(dir.path()).mkdir(u"Hangar.ini"_s));
    else
        TestFiles::write(file, content);
    const QString read =
        ProfileFile::readString(u"FS Config"_s, u"Config1"_s, u"none"_s, 255, file);
    QCOMPARE(read, config1);
    ProfileFile::Edit edit;
    QString error;
    if (written.isNull()) {
        QVERIFY(!edit.open(file, &error));
        QCOMPARE(error, u"it is not a regular file"_s);
        return;
    }
    QVERIFY(edit.open(file, &error));
    edit.setString(u"FS Config"_s, u"Config1"_s, read);
    edit.setString(u"FS Config"_s, u"Config2"_s, u"Dawn"_s);
    QVERIFY(edit.commit(&error));
    QCOMPARE(TestFiles::read(file), written);
}

void TestPlatform::directoryLookup()
{
    const QString sep = QDir::separator();
    QCOMPARE(AddBackslash(QString()), sep);
    QCOMPARE(AddBackslash(u"FS9"_s), u"FS9"_s + sep);
    QCOMPARE(AddBackslash(u"FS9"_s + sep), u"FS9"_s + sep);

    QTemporaryDir dir;
    const QString folder = AddBackslash(QDir::toNativeSeparators(dir.path()));
    QVERIFY(FolderExists(QDir::toNativeSeparators(dir.path())) && FolderExists(folder));
    TestFiles::write(folder + u"FS9.cfg"_s, "x");
    TestFiles::write(folder + u".hidden.cfg"_s, "x");
    QVERIFY(QDir(dir.path()).mkdir(u"FS9.Night.cfg"_s));
    QVERIFY(FileExists(folder + u"FS9.cfg"_s));
    QVERIFY2(!FileExists(folder + u"FS9.Night.cfg"_s), "a folder is no file");
    QVERIFY2(!FileExists(folder + u".hidden.cfg"_s), "a hidden file counts as missing");
    QVERIFY2(!FolderExists(folder + u"FS9.cfg"_s), "a file is no folder");
}

void TestPlatform::spellingAsWindowsFindsIt_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found"); // empty: the first spelling the folder lists, unsorted
    QTest::newRow("asked in another case: the folder's spelling, which a rename keeps")
        << QStringList{u"FS9.Night.cfg"_s} << u"fs9.night.CFG"_s << u"FS9.Night.cfg"_s;
    QTest::newRow("exact wins over other spellings")
        << QStringList{u"fs9.cfg"_s, u"FS9.cfg"_s, u"FS9.CFG"_s} << u"FS9.cfg"_s << u"FS9.cfg"_s;
    // Neither the first nor the last made is first in code-unit order.
    QTest::newRow("several: the first the folder lists, as Wine walks it")
        << QStringList{u"fS9.cfg"_s, u"FS9.CFG"_s, u"fs9.CFG"_s} << u"FS9.cfg"_s << QString();
    QTest::newRow("accented letters")
        << QStringList{u"Scenery.ÉTÉ.cfg"_s} << u"Scenery.été.cfg"_s << u"Scenery.ÉTÉ.cfg"_s;
    QTest::newRow("the Kelvin sign is no K to Windows, though Unicode folds it to k")
        << QStringList{u"\u212Aelvin.cfg"_s} << u"kelvin.cfg"_s << u"kelvin.cfg"_s;
}

void TestPlatform::spellingAsWindowsFindsIt()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, asked);
    QFETCH(QString, found);
    QTemporaryDir dir;
    for (const QString& entry : entries)
        TestFiles::write(dir.filePath(entry), "x");
    if (QDir(dir.path()).entryList(QDir::Files).size() < entries.size())
        QSKIP("this folder ignores letter case: it holds one spelling of a name");
    if (found.isEmpty()) {
        QProcess ls; // -f: the folder's own order, as readdir gives it
        ls.start(u"ls"_s, {u"-f"_s, dir.path()});
        QVERIFY(ls.waitForFinished());
        const QStringList listed = QString::fromUtf8(ls.readAllStandardOutput()).split(u'\n');
        found = *std::find_if(listed.begin(), listed.end(), [](const QString& name) {
            return name.compare(u"fs9.cfg"_s, Qt::CaseInsensitive) == 0;
        });
    }
    QCOMPARE(spellingOnDisk(QDir::toNativeSeparators(dir.path()), asked), found);
}

void TestPlatform::copyIsByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray every(256, '\0');
    for (int i = 0; i < 256; ++i)
        every[i] = char(i);
    QTest::newRow("every byte value, CR LF and Ctrl-Z") << every + "\r\n\n\r\x1a\0\r\r\n"_ba;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("larger than one chunk") << QByteArray(1'000'003, 'z');
}

void TestPlatform::copyIsByteForByte()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString source = dir.filePath(u"FS9.Night.cfg"_s);
    const QString destination = dir.filePath(u"FS9.cfg"_s);
    const QByteArray old = "old contents that are longer than some of the new ones";
    TestFiles::write(source, bytes);
    TestFiles::write(destination, old);
    DiskFileSystem fs;
    QString error;
    const auto staged = fs.stageCopy(source, destination, &error);
    QVERIFY2(staged, qPrintable(error));
    QVERIFY(fs.rename(*staged, destination, &error));
    QCOMPARE(TestFiles::read(destination), bytes);
}

void TestPlatform::removeDeletesReadOnlyFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"FS9.Night.cfg"_s);
    const QString link = dir.filePath(u"link"_s); // shares the mode bits, and outlives the file
    TestFiles::write(file, "x");
    TestFiles::makeReadOnly(file);
    std::filesystem::create_hard_link(QFile::encodeName(file).constData(),
                                      QFile::encodeName(link).constData());
    DiskFileSystem fs;
    QString error;
    QVERIFY(fs.removeFile(file, &error));
    QVERIFY2(QFileInfo(link).permissions() & QFileDevice::WriteOwner,
             "the read-only bit is cleared first, or Windows refuses the deletion");
    QVERIFY(!fs.removeFile(file, &error));
    QVERIFY(!error.isEmpty());
}

void TestPlatform::terminationSignalArrivesInEventLoop_data()
{
    QTest::addColumn<int>("number");
#ifdef Q_OS_WIN
    QSKIP("Windows sends a window program none of these signals");
#else
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
#endif
}

void TestPlatform::terminationSignalArrivesInEventLoop()
{
    QFETCH(int, number);
    TerminationSignals watched;
    QSignalSpy received(&watched, &TerminationSignals::received);
    QCOMPARE(std::raise(number), 0); // the test process lives on only if the signal is caught
    QCOMPARE(received.count(), 0);   // nothing runs inside the handler
    QTRY_COMPARE(received.count(), 1);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
