#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

// One line of a Windows-style initialisation file, as the simulator reads it. The views stay
// valid until the reader's next call.
struct IniLine
{
    enum class Kind
    {
        Blank,   // nothing but blanks, or the Ctrl-Z some editors leave at the end
        Comment, // begins with ';'
        Section, // "[name]": the name runs to the line's last ']'
        Key,     // "name=value", split at the first '='
        Other    // anything else; the simulator skips it
    };

    Kind kind = Kind::Blank;
    int number = 0;       // counted from 1; CR LF, LF and a lone CR each end one line
    QByteArrayView name;  // of the section or key, blanks removed
    QByteArrayView value; // of a key, blanks removed, quotes kept
    QByteArrayView text;  // the whole line without its ending
};

// Reads a file line by line in pieces of bounded size, whatever its line endings, skipping a
// UTF-8 byte-order mark at its start.
class IniReader
{
public:
    static constexpr qsizetype pieceSize = 65536;

    explicit IniReader(QIODevice& device);
    // The next line; false at the end of the file or when reading failed (see error()).
    bool next(IniLine& line);
    // Why reading stopped early; empty when it reached the end.
    QString error() const { return m_error; }

private:
    bool fill();

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qsizetype m_nextLf = -1; // the first LF at or after m_pos, -1 when the buffer holds none
    int m_number = 0;
    bool m_atEnd = false;
    QString m_error;
};

// Whether the text is the name, ASCII letter case ignored; name is given in lower case.
inline bool sameName(QByteArrayView text, QByteArrayView lowerCaseName)
{
    if (text.size() != lowerCaseName.size())
        return false;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if ((c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c) != lowerCaseName[k])
            return false;
    }
    return true;
}

// The value with one pair of surrounding double or single quotes removed, as Windows reads it.
QByteArrayView unquoted(QByteArrayView value);

// "<path> cannot be read: <reason>".
QString unreadableFileMessage(const QString& path, const QString& reason);

// Opens the file and hands it to one of the readers that take a device; false with the file's
// name and the system's reason when opening or reading fails.
template <typename Result>
bool readFileWith(bool (*read)(QIODevice&, Result*, QString*), const QString& path, Result* result,
                  QString* error)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && read(file, result, error))
        return true;
    *error = unreadableFileMessage(path, file.isOpen() ? *error : file.errorString());
    return false;
}
