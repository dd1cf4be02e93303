#include "ProfileText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestProfileText : public QObject
{
    Q_OBJECT

private slots:
    void readsAsWindowsDoes_data();
    void readsAsWindowsDoes();
    void writeKeepsEveryOtherByte_data();
    void writeKeepsEveryOtherByte();
    void writtenValueReadsBack_data();
    void writtenValueReadsBack();
};

void TestProfileText::readsAsWindowsDoes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected"); // "<none>" when the key must not be found

    const QByteArray none = "<none>";
    QTest::newRow("plain") << "[FS Config]\r\nConfig1=Night\r\n"_ba
                           << "Config1"_ba
                           << "Night"_ba;
    QTest::newRow("names ignore case") << "[fs config]\r\nCONFIG1=Night\r\n"_ba
                                       << "config1"_ba
                                       << "Night"_ba;
    QTest::newRow("Config1 must not match Config10") << "[FS Config]\nConfig10=Ten\n"_ba
                                                     << "Config1"_ba << none;
    QTest::newRow("blanks around everything")
        << "  [  FS Config  ]  \n \t Config1 \t=  Night Flight \t\n"_ba
        << "Config1"_ba
        << "Night Flight"_ba;
    QTest::newRow("first equals splits, semicolon is value") << "[FS Config]\nConfig1=a=b ; c\n"_ba
                                                             << "Config1"_ba
                                                             << "a=b ; c"_ba;
    QTest::newRow("double quotes removed") << "[FS Config]\nConfig1=\" Night \"\n"_ba
                                           << "Config1"_ba
                                           << " Night "_ba;
    QTest::newRow("single quotes removed") << "[FS Config]\nConfig1='Night'\n"_ba
                                           << "Config1"_ba
                                           << "Night"_ba;
    QTest::newRow("unmatched quotes kept") << "[FS Config]\nConfig1=\"Night'\n"_ba
                                           << "Config1"_ba
                                           << "\"Night'"_ba;
    QTest::newRow("comment line is no key") << "[FS Config]\n;Config1=Night\n"_ba
                                            << ";Config1"_ba << none;
    QTest::newRow("line without equals is no key") << "[FS Config]\nConfig1\n"_ba
                                                   << "Config1"_ba << none;
    QTest::newRow("first of doubled key") << "[FS Config]\nConfig1=A\nConfig1=B\n"_ba
                                          << "Config1"_ba
                                          << "A"_ba;
    QTest::newRow("first of doubled section")
        << "[FS Config]\nConfig2=A\n[Other]\nConfig1=X\n[FS Config]\nConfig1=B\n"_ba
        << "Config1"_ba << none;
    QTest::newRow("key of another section") << "[Other]\nConfig1=X\n[FS Config]\n"_ba
                                            << "Config1"_ba << none;
    QTest::newRow("CR-only line endings") << "[FS Config]\rConfig1=Night\rConfig2=Dawn"_ba
                                          << "Config2"_ba
                                          << "Dawn"_ba;
    QTest::newRow("byte-order mark ignored") << "\xEF\xBB\xBF[FS Config]\r\nConfig1=Night\r\n"_ba
                                             << "Config1"_ba
                                             << "Night"_ba;
    QTest::newRow("empty value") << "[FS Config]\nConfig1=\n"_ba
                                 << "Config1"_ba
                                 << ""_ba;
    QTest::newRow("no section at all") << "Config1=Night\n"_ba
                                       << "Config1"_ba << none;
    QTest::newRow("binary junk") << "\x00\xff[\x01]=\n\n\r"_ba
                                 << "Config1"_ba << none;
}

void TestProfileText::readsAsWindowsDoes()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);
    const auto value = ProfileText::value(content, "FS Config", key);
    QCOMPARE(value.value_or("<none>"), expected);
}

void TestProfileText::writeKeepsEveryOtherByte_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("new file gets CRLF") << ""_ba
                                        << "FS9 Folder"_ba
                                        << "C:\\FS9"_ba
                                        << "[FS Config]\r\nFS9 Folder=C:\\FS9\r\n"_ba;
    QTest::newRow("replaced where it stands, spelling and blanks kept")
        << "; mine\n[fs CONFIG]\nconfig1 = Old\nConfig2=Dawn\n[Other]\nx=1\n"_ba
        << "Config1"_ba
        << "New"_ba
        << "; mine\n[fs CONFIG]\nconfig1 = New\nConfig2=Dawn\n[Other]\nx=1\n"_ba;
    QTest::newRow("new key at end of its section, before blank lines")
        << "[FS Config]\r\nConfig1=A\r\n\r\n[Other]\r\nx=1\r\n"_ba
        << "Config2"_ba
        << "B"_ba
        << "[FS Config]\r\nConfig1=A\r\nConfig2=B\r\n\r\n[Other]\r\nx=1\r\n"_ba;
    QTest::newRow("new section appended in the file's line style")
        << "[Other]\nx=1\n"_ba
        << "Config1"_ba
        << "A"_ba
        << "[Other]\nx=1\n[FS Config]\nConfig1=A\n"_ba;
    QTest::newRow("missing final line ending added first")
        << "[FS Config]\nConfig1=A"_ba
        << "Config2"_ba
        << "B"_ba
        << "[FS Config]\nConfig1=A\nConfig2=B\n"_ba;
    QTest::newRow("write goes to the first doubled key")
        << "[FS Config]\nConfig1=A\nConfig1=B\n"_ba
        << "Config1"_ba
        << "C"_ba
        << "[FS Config]\nConfig1=C\nConfig1=B\n"_ba;
    QTest::newRow("line breaks in a value become blanks")
        << "[FS Config]\r\nConfig1=A\r\n"_ba
        << "Config1"_ba
        << "x\r\n[Evil]\ry"_ba
        << "[FS Config]\r\nConfig1=x  [Evil] y\r\n"_ba;
    QTest::newRow("byte-order mark kept") << "\xEF\xBB\xBF[FS Config]\r\nConfig1=A\r\n"_ba
                                          << "Config1"_ba
                                          << "B"_ba
                                          << "\xEF\xBB\xBF[FS Config]\r\nConfig1=B\r\n"_ba;
    QTest::newRow("CR-only file stays CR-only") << "[FS Config]\rConfig1=A\r"_ba
                                                << "Config2"_ba
                                                << "B"_ba
                                                << "[FS Config]\rConfig1=A\rConfig2=B\r"_ba;
}

void TestProfileText::writeKeepsEveryOtherByte()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(ProfileText::withValue(content, "FS Config", key, value), expected);
}

void TestProfileText::writtenValueReadsBack_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("readBack");
    QTest::newRow("plain") << "Night"_ba
                           << "Night"_ba;
    QTest::newRow("empty") << ""_ba
                           << ""_ba;
    QTest::newRow("blanks at the ends go") << "  Night  "_ba
                                           << "Night"_ba;
    QTest::newRow("quote pair goes") << "'Night'"_ba
                                     << "Night"_ba;
    QTest::newRow("brackets and equals stay") << "[x]=y;z"_ba
                                              << "[x]=y;z"_ba;
}

void TestProfileText::writtenValueReadsBack()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, readBack);
    const QByteArray base = "[Other]\nConfig1=X\n[FS Config]\nConfig2=Y\n";
    QCOMPARE(ProfileText::value(ProfileText::withValue(base, "FS Config", "Config1", value),
                                "FS Config", "Config1"),
             std::optional<QByteArray>(readBack));
}

QTEST_GUILESS_MAIN(TestProfileText)
#include "tst_profiletext.moc"
