#include "IniReader.h"

#include "ProfileText.h"

#include <QCoreApplication>
#include <cstring>

namespace {

// The blanks of the settings file, Ctrl-Z among them, so that the end-of-file mark old editors
// write is no line of its own.
using ProfileText::trimmed;

void classify(IniLine& line)
{
    const QByteArrayView text = trimmed(line.text);
    line.name = {};
    line.value = {};
    if (text.isEmpty()) {
        line.kind = IniLine::Kind::Blank;
        return;
    }
    if (text.front() == ';') {
        line.kind = IniLine::Kind::Comment;
        return;
    }
    if (text.front() == '[') {
        const qsizetype close = text.lastIndexOf(']');
        if (close >= 1) {
            line.kind = IniLine::Kind::Section;
            line.name = trimmed(text.sliced(1, close - 1));
            return;
        }
    }
    const qsizetype equals = text.indexOf('=');
    if (equals > 0) {
        line.kind = IniLine::Kind::Key;
        line.name = trimmed(text.first(equals));
        line.value = trimmed(text.sliced(equals + 1));
        return;
    }
    line.kind = IniLine::Kind::Other;
}

qsizetype find(const char* data, qsizetype from, qsizetype to, char c)
{
    const void* found = std::memchr(data + from, c, std::size_t(to - from));
    return found != nullptr ? static_cast<const char*>(found) - data : to;
}

} // namespace

IniReader::IniReader(QIODevice& device) : m_device(device) {}

bool IniReader::fill()
{
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    m_nextLf = -1;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + pieceSize);
    const qint64 got = m_device.read(m_buffer.data() + kept, pieceSize);
    m_buffer.resize(kept + qMax<qint64>(got, 0));
    if (got < 0) {
        m_error = m_device.errorString();
        return false;
    }
    m_atEnd = got == 0;
    return true;
}

bool IniReader::next(IniLine& line)
{
    for (;;) {
        const char* data = m_buffer.constData();
        const qsizetype size = m_buffer.size();
        // Searching for LF and then for CR only before it keeps both searches to memchr, which
        // is what makes reading cost little more than the read itself.
        if (m_nextLf < 0)
            m_nextLf = find(data, m_pos, size, '\n');
        const qsizetype stop = find(data, m_pos, m_nextLf, '\r');
        qsizetype ending = 1;
        if (stop == size) {
            if (!m_atEnd) {
                if (!fill())
                    return false;
                continue;
            }
            if (m_pos == size)
                return false;
            ending = 0;
        } else if (data[stop] == '\r') {
            // A CR at the end of the piece may be the first half of a CR LF.
            if (stop + 1 == size && !m_atEnd) {
                if (!fill())
                    return false;
                continue;
            }
            if (stop + 1 < size && data[stop + 1] == '\n')
                ending = 2;
        }
        line.text = QByteArrayView(data + m_pos, stop - m_pos);
        line.number = ++m_number;
        if (line.number == 1 && line.text.startsWith("\xEF\xBB\xBF"))
            line.text = line.text.sliced(3);
        m_pos = stop + ending;
        if (m_pos > m_nextLf)
            m_nextLf = -1;
        classify(line);
        return true;
    }
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

QString unreadableFileMessage(const QString& path, const QString& reason)
{
    return QCoreApplication::translate("IniReader", "%1 cannot be read: %2").arg(path, reason);
}
