#include "ProfileText.h"

#include <vector>

namespace {

struct Line
{
    qsizetype begin;      // first byte of the line
    qsizetype contentEnd; // first byte of its line ending
    qsizetype end;        // first byte after its line ending
};

using ProfileText::isBlank;

QByteArray trimmedBlanks(QByteArrayView text)
{
    return ProfileText::trimmed(text).toByteArray();
}

bool sameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::vector<Line> splitLines(const QByteArray& content)
{
    std::vector<Line> lines;
    qsizetype pos = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const qsizetype size = content.size();
    while (pos < size) {
        qsizetype stop = pos;
        while (stop < size && content[stop] != '\r' && content[stop] != '\n')
            ++stop;
        qsizetype next = stop;
        if (next < size)
            next += (content[next] == '\r' && next + 1 < size && content[next + 1] == '\n') ? 2 : 1;
        lines.push_back({pos, stop, next});
        pos = next;
    }
    return lines;
}

QByteArrayView textOf(const QByteArray& content, const Line& line)
{
    return QByteArrayView(content).sliced(line.begin, line.contentEnd - line.begin);
}

// The trimmed name of a section header line; nothing for any other line. Like Windows, the name
// runs to the last closing bracket of the line.
std::optional<QByteArray> headerName(QByteArrayView text)
{
    const QByteArray trimmed = trimmedBlanks(text);
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.lastIndexOf(']');
    if (close < 1)
        return std::nullopt;
    return trimmedBlanks(QByteArrayView(trimmed).sliced(1, close - 1));
}

struct KeyLine
{
    QByteArray name;
    qsizetype valueOffset; // offset in the line of the value's first non-blank byte
};

std::optional<KeyLine> keyLine(QByteArrayView text)
{
    qsizetype first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    if (first == text.size() || text[first] == ';')
        return std::nullopt;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    QByteArray name = trimmedBlanks(text.first(equals));
    if (name.isEmpty())
        return std::nullopt;
    qsizetype valueOffset = equals + 1;
    while (valueOffset < text.size() && isBlank(text[valueOffset]))
        ++valueOffset;
    return KeyLine{std::move(name), valueOffset};
}

// Where a section stands: the index of its header line and one past its last line.
struct SectionRange
{
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> findSection(const QByteArray& content, const std::vector<Line>& lines,
                                        const QByteArray& section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = headerName(textOf(content, lines[i]));
        if (!name || !sameName(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !headerName(textOf(content, lines[end])))
            ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

struct FoundKey
{
    std::size_t line;
    qsizetype valueOffset;
};

std::optional<FoundKey> findKey(const QByteArray& content, const std::vector<Line>& lines,
                                SectionRange range, const QByteArray& key)
{
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto found = keyLine(textOf(content, lines[i]));
        if (found && sameName(found->name, key))
            return FoundKey{i, found->valueOffset};
    }
    return std::nullopt;
}

QByteArray lineEndingOf(const QByteArray& content, const std::vector<Line>& lines)
{
    for (const Line& line : lines) {
        if (line.end > line.contentEnd)
            return content.sliced(line.contentEnd, line.end - line.contentEnd);
    }
    return QByteArrayLiteral("\r\n");
}

QByteArray singleLine(QByteArray text)
{
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    return text;
}

} // namespace

namespace ProfileText {

std::optional<QByteArray> value(const QByteArray& content, const QByteArray& section,
                                const QByteArray& key)
{
    const std::vector<Line> lines = splitLines(content);
    const auto range = findSection(content, lines, section);
    if (!range)
        return std::nullopt;
    const auto found = findKey(content, lines, *range, key);
    if (!found)
        return std::nullopt;
    QByteArray result =
        trimmedBlanks(textOf(content, lines[found->line]).sliced(found->valueOffset));
    if (result.size() >= 2 && (result.front() == '"' || result.front() == '\'') &&
        result.back() == result.front())
        result = result.sliced(1, result.size() - 2);
    return result;
}

QByteArray withValue(const QByteArray& content, const QByteArray& rawSection,
                     const QByteArray& rawKey, const QByteArray& rawValue)
{
    const QByteArray section = singleLine(rawSection);
    const QByteArray key = singleLine(rawKey);
    const QByteArray value = singleLine(rawValue);
    const std::vector<Line> lines = splitLines(content);
    const QByteArray eol = lineEndingOf(content, lines);
    const QByteArray keyText = key + '=' + value;

    const auto range = findSection(content, lines, section);
    if (!range) {
        QByteArray result = content;
        if (!lines.empty() && lines.back().end == lines.back().contentEnd)
            result += eol;
        return result + '[' + section + ']' + eol + keyText + eol;
    }

    if (const auto found = findKey(content, lines, *range, key)) {
        const Line& line = lines[found->line];
        QByteArray result = content;
        const qsizetype from = line.begin + found->valueOffset;
        return result.replace(from, line.contentEnd - from, value);
    }

    // A new key goes after the section's last line that holds anything, before trailing blanks.
    std::size_t last = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (!trimmedBlanks(textOf(content, lines[i])).isEmpty())
            last = i;
    }
    // The new line ends as the line before it does, so that it cannot join with the next one
    // (a CR-only line before a lone LF would read as one CRLF).
    const Line& after = lines[last];
    QByteArray insertion;
    if (after.end == after.contentEnd)
        insertion = eol + keyText + eol;
    else
        insertion = keyText + content.sliced(after.contentEnd, after.end - after.contentEnd);
    QByteArray result = content;
    return result.insert(after.end, insertion);
}

} // namespace ProfileText
