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

QByteArray expectedReadBack(QByteArray value)
{
    while (!value.isEmpty() && isBlank(value.front()))
        value.remove(0, 1);
    while (!value.isEmpty() && isBlank(value.back()))
        value.chop(1);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'');
    return quoted && value.back() == value.front() ? value.sliced(1, value.size() - 2) : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QByteArray section = QByteArray::fromStdString(input.ConsumeRandomLengthString(32));
    const QByteArray key = QByteArray::fromStdString(input.ConsumeRandomLengthString(32));
    const QByteArray value = QByteArray::fromStdString(input.ConsumeRandomLengthString(300));
    const QByteArray content = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());

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
