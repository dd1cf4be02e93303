#include "ProfileFile.h"

#include "AtomicWrite.h"
#include "ProfileText.h"

#include <QFile>

namespace ProfileFile {

QString readString(const QString& section, const QString& key, const QString& defaultValue,
                   qsizetype maxLength, const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return defaultValue.left(maxLength);
    const auto value = ProfileText::value(in.readAll(), section.toLocal8Bit(), key.toLocal8Bit());
    return (value ? QString::fromLocal8Bit(*value) : defaultValue).left(maxLength);
}

bool writeString(const QString& section, const QString& key, const QString& value,
                 const QString& file, QString* error)
{
    QByteArray content;
    QFile in(file);
    if (in.exists()) {
        // A file that exists but cannot be read must not be replaced by one holding a single key.
        if (!in.open(QIODevice::ReadOnly)) {
            *error = in.errorString();
            return false;
        }
        content = in.readAll();
        in.close();
    }
    return writeFileAtomically(file,
                               ProfileText::withValue(content, section.toLocal8Bit(),
                                                      key.toLocal8Bit(), value.toLocal8Bit()),
                               error);
}

} // namespace ProfileFile
