// libFuzzer target for the profile-file format: any bytes as the file, any section, key and value.
// Nothing may crash or hang, and a value written without line breaks must read back as written,
// blanks at its ends and a pair of surrounding quotes aside. Decoding a file or a value and
// encoding it again gives back its bytes.
#include "ProfileEncoding.h"
#include "ProfileText.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\x1a';
}

bool hasLineBreak(const QByteArray& text)
{
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

bool hasOuterBlank(const QByteArray& text)
{
    return !text.isEmpty() && (isBlank(text.front()) || isBlank(text.back()));
}

// A key that the reader can find again: not a comment, not a header, no "=" of its own.
bool isFindableKey(const QByteArray& key)
{
    return !key.isEmpty() && !hasLineBreak(key) && !hasOuterBlank(key) && !key.contains('=') &&
           !key.startsWith(';') && !key.startsWith('[');
}

QByteArray expectedReadBack(const QByteArray& value)
{
    qsizetype from = 0;
    qsizetype to = value.size();
    while (from < to && isBlank(value[from]))
        ++from;
    while (to > from && isBlank(value[to - 1]))
        --to;
    QByteArray expected = value.sliced(from, to - from);
    if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') &&
        expected.back() == expected.front())
        expected = expected.sliced(1, expected.size() - 2);
    return expected;
}

QByteArray bytes(const std::string& text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QByteArray section = bytes(input.ConsumeRandomLengthString(32));
    const QByteArray key = bytes(input.ConsumeRandomLengthString(32));
    const QByteArray value = bytes(input.ConsumeRandomLengthString(300));
    const QByteArray content = bytes(input.ConsumeRemainingBytesAsString());

    if (ProfileEncoding::toFileBytes(ProfileEncoding::fromFileBytes(content)) != content)
        std::abort();
    for (const auto encoding :
         {ProfileEncoding::FileEncoding::EightBit, ProfileEncoding::FileEncoding::Utf16Le}) {
        const QString text = ProfileEncoding::valueFromBytes(value, encoding);
        if (ProfileEncoding::valueToBytes(text, encoding) != value)
            std::abort();
    }

    (void)ProfileText::value(content, section, key);
    const QByteArray written = ProfileText::withValue(content, section, key, value);

    if (!hasLineBreak(section) && !hasOuterBlank(section) && isFindableKey(key) &&
        !hasLineBreak(value)) {
        const auto readBack = ProfileText::value(written, section, key);
        if (!readBack || *readBack != expectedReadBack(value))
            std::abort();
    }
    return 0;
}
