#include "ProfileFile.h"

#include "AtomicWrite.h"
#include "FileCommit.h"
#include "LinkTarget.h"
#include "ProfileText.h"

#include <QFile>

namespace ProfileFile {

QString readString(const QString& section, const QString& key, const QString& defaultValue,
                   qsizetype maxLength, const QString& file)
{
    QFile in(file);
    if (isSpecialFile(file) || !in.open(QIODevice::ReadOnly))
        return ProfileEncoding::leftWhole(defaultValue, maxLength);
    const auto working = ProfileEncoding::fromFileBytes(in.readAll());
    const auto bytes = [&](const QString& text) {
        return ProfileEncoding::valueToBytes(text, working.encoding);
    };
    const auto value = ProfileText::value(working.text, bytes(section), bytes(key));
    return ProfileEncoding::leftWhole(
        value ? ProfileEncoding::valueFromBytes(*value, working.encoding) : defaultValue,
        maxLength);
}

bool Edit::open(const QString& file, QString* error)
{
    // A file linked into place from elsewhere (a dotfile folder) stays a link: the file it leads
    // to is the one replaced.
    m_file = followLinks(file);
    if (refusedAsSpecial(m_file, error))
        return false;
    QFile in(m_file);
    m_existed = in.exists();
    if (m_existed) {
        if (!in.open(QIODevice::ReadOnly)) {
            *error = in.errorString();
            return false;
        }
        m_original = in.readAll();
        if (in.error() != QFileDevice::NoError) {
            *error = in.errorString();
            return false;
        }
    }
    m_working = ProfileEncoding::fromFileBytes(m_original);
    return true;
}

void Edit::setString(const QString& section, const QString& key, const QString& value)
{
    const auto bytes = [&](const QString& text) {
        return ProfileEncoding::valueToBytes(text, m_working.encoding);
    };
    m_working.text =
        ProfileText::withValue(m_working.text, bytes(section), bytes(key), bytes(value));
}

bool Edit::commit(QString* error)
{
    const QByteArray content = ProfileEncoding::toFileBytes(m_working);
    if (m_existed && content == m_original)
        return true;
    if (!writeFileAtomically(m_file, content, error))
        return false;
    m_original = content;
    m_existed = true;
    return true;
}

} // namespace ProfileFile
