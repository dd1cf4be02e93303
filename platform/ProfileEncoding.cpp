#include "ProfileEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <optional>

namespace ProfileEncoding {

namespace {

constexpr char16_t escapeBase = 0xDC00;
constexpr QByteArrayView utf16LeMark("\xFF\xFE", 2);

QStringConverter::Encoding textEncoding(FileEncoding encoding)
{
    return encoding == FileEncoding::Utf16Le ? QStringConverter::Utf8 : QStringConverter::System;
}

// The text of bytes that the encoding reads whole and writes back the same; nothing for an
// invalid or incomplete sequence.
std::optional<QString> decodedExactly(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    if (QByteArray(encoder.encode(text)) != bytes)
        return std::nullopt;
    return text;
}

bool isEscape(QStringView text, qsizetype i)
{
    const char16_t unit = text[i].unicode();
    return unit >= escapeBase + 0x80 && unit <= escapeBase + 0xFF &&
           (i == 0 || !text[i - 1].isHighSurrogate());
}

// UTF-8 extended to the lone surrogates a UTF-16 file may hold, so that they survive the trip.
void appendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

QByteArray utf16LeToUtf8(QByteArrayView utf16)
{
    const qsizetype units = utf16.size() / 2;
    const auto unitAt = [&](qsizetype i) {
        return char16_t(uchar(utf16[2 * i]) | (uchar(utf16[2 * i + 1]) << 8));
    };
    QByteArray out;
    out.reserve(utf16.size());
    for (qsizetype i = 0; i < units; ++i) {
        char32_t c = unitAt(i);
        if (QChar::isHighSurrogate(c) && i + 1 < units && QChar::isLowSurrogate(unitAt(i + 1)))
            c = QChar::surrogateToUcs4(char16_t(c), unitAt(++i));
        appendUtf8(out, c);
    }
    return out;
}

// The code point of the UTF-8 sequence at pos and its length; nothing for an invalid sequence.
std::optional<std::pair<char32_t, qsizetype>> utf8At(const QByteArray& text, qsizetype pos)
{
    const auto lead = uchar(text[pos]);
    qsizetype length = 0;
    if (lead < 0x80)
        length = 1;
    else if (lead >= 0xC2 && lead < 0xE0)
        length = 2;
    else if (lead >= 0xE0 && lead < 0xF0)
        length = 3;
    else if (lead >= 0xF0 && lead < 0xF5)
        length = 4;
    if (length == 0 || pos + length > text.size())
        return std::nullopt;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (qsizetype i = 1; i < length; ++i) {
        const auto next = uchar(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF)
        return std::nullopt;
    return std::pair{c, length};
}

QByteArray utf8ToUtf16Le(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    const auto appendUnit = [&](char16_t unit) {
        out += char(unit & 0xFF);
        out += char(unit >> 8);
    };
    for (qsizetype pos = 0; pos < text.size();) {
        // Only a byte of an escaped value can be invalid here; UTF-16 has no place for it.
        const auto found = utf8At(text, pos);
        const char32_t c = found ? found->first : char32_t(QChar::ReplacementCharacter);
        pos += found ? found->second : 1;
        if (QChar::requiresSurrogates(c)) {
            appendUnit(QChar::highSurrogate(c));
            appendUnit(QChar::lowSurrogate(c));
        } else {
            appendUnit(char16_t(c));
        }
    }
    return out;
}

} // namespace

WorkingText fromFileBytes(const QByteArray& bytes)
{
    if (bytes.startsWith(utf16LeMark) && bytes.size() % 2 == 0)
        return {utf16LeToUtf8(QByteArrayView(bytes).sliced(2)), FileEncoding::Utf16Le};
    return {bytes, FileEncoding::EightBit};
}

QByteArray toFileBytes(const WorkingText& working)
{
    if (working.encoding == FileEncoding::Utf16Le)
        return utf16LeMark.toByteArray() + utf8ToUtf16Le(working.text);
    return working.text;
}

QString valueFromBytes(const QByteArray& bytes, FileEncoding encoding)
{
    const QStringConverter::Encoding textCoding = textEncoding(encoding);
    if (auto whole = decodedExactly(bytes, textCoding))
        return *whole;
    // Character by character: ASCII stands for itself in every local encoding; from any other
    // byte the shortest sequence that decodes exactly is one character, and a byte that starts
    // none is kept as its escape.
    QString text;
    for (qsizetype pos = 0; pos < bytes.size();) {
        const auto byte = uchar(bytes[pos]);
        if (byte < 0x80) {
            text += QLatin1Char(char(byte));
            ++pos;
            continue;
        }
        std::optional<QString> piece;
        qsizetype length = 1;
        for (; length <= 4 && pos + length <= bytes.size(); ++length) {
            piece = decodedExactly(QByteArrayView(bytes).sliced(pos, length), textCoding);
            if (piece)
                break;
        }
        text += piece ? *piece : QString(QChar(escapeBase + byte));
        pos += piece ? length : 1;
    }
    return text;
}

QByteArray valueToBytes(const QString& value, FileEncoding encoding)
{
    QStringEncoder encoder(textEncoding(encoding), QStringConverter::Flag::Stateless);
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (!isEscape(value, i))
            continue;
        bytes += encoder.encode(QStringView(value).sliced(runStart, i - runStart));
        bytes += char(value[i].unicode() - escapeBase);
        runStart = i + 1;
    }
    return bytes + QByteArray(encoder.encode(QStringView(value).sliced(runStart)));
}

QString leftWhole(const QString& text, qsizetype maxLength)
{
    if (text.size() <= maxLength)
        return text;
    qsizetype cut = maxLength;
    if (cut > 0 && text[cut - 1].isHighSurrogate() && text[cut].isLowSurrogate())
        --cut;
    return text.left(cut);
}

} // namespace ProfileEncoding
