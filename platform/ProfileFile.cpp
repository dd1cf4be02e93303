#include "ProfileFile.h"

#include "AtomicWrite.h"
#include "FileCommit.h"
#include "ProfileText.h"

#include <QFile>

namespace ProfileFile {

QString readString(const QString& section, const QString& key, const QString& defaultValue,
                   qsizetype maxLength, const QString& file)
{
    QFile in(file);
    if (isSpecialFile(file) || !in.open(QIODevice::ReadOnly))
        return defaultValue.left(maxLength);
    const auto value = ProfileText::value(in.readAll(), section.toLocal8Bit(), key.toLocal8Bit());
    return (value ? QString::fromLocal8Bit(*value) : defaultValue).left(maxLength);
}

bool Edit::open(const QString& file, QString* error)
{
    m_file = file;
    if (refusedAsSpecial(file, error))
        return false;
    QFile in(file);
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
    m_content = m_original;
    return true;
}

void Edit::setString(const QString& section, const QString& key, const QString& value)
{
    m_content = ProfileText::withValue(m_content, section.toLocal8Bit(), key.toLocal8Bit(),
                                       value.toLocal8Bit());
}

bool Edit::commit(QString* error)
{
    if (m_existed && m_content == m_original)
        return true;
    if (!writeFileAtomically(m_file, m_content, error))
        return false;
    m_original = m_content;
    m_existed = true;
    return true;
}

} // namespace ProfileFile
