#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// The contents of a Windows-style initialisation file, read and edited one key at a time as the
// Windows profile functions do: section and key names match without regard to letter case, blanks
// around names and values are ignored, the first of a doubled section or key counts.
namespace ProfileText {

// The blanks around names and values, as Windows reads a profile: the space and the tab, form feed,
// vertical tab and the DOS end-of-file mark Ctrl+Z. Every reader of the simulator's files and of
// the settings file trims these.
constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\x1a';
}

// The text without the blanks around it.
inline QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.sliced(from, to - from);
}

// The value of the key in the section, blanks and a pair of surrounding quotes removed;
// nothing when the section or the key is not there.
std::optional<QByteArray> value(const QByteArray& content, const QByteArray& section,
                                const QByteArray& key);

// The contents with the key set to the value: replaced where it stands, else appended at the end of
// its section, else in a new section at the end. Every other byte is kept. Line breaks and NULs in
// any argument become blanks, so no argument can break the line structure.
QByteArray withValue(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                     const QByteArray& value);

} // namespace ProfileText
