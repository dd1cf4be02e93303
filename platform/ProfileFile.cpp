#include "ProfileFile.h"

#include "AtomicWrite.h"
#include "ProfileEncoding.h"
#include "ProfileText.h"

#include <QFile>

namespace ProfileFile {

QString readString(const QString& section, const QString& key, const QString& defaultValue,
                   qsizetype maxLength, const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
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
    const auto working = ProfileEncoding::fromFileBytes(content);
    const auto bytes = [&](const QString& text) {
        return ProfileEncoding::valueToBytes(text, working.encoding);
    };
    const QByteArray edited =
        ProfileText::withValue(working.text, bytes(section), bytes(key), bytes(value));
    return writeFileAtomically(file, ProfileEncoding::toFileBytes({edited, working.encoding}),
                               error);
}

} // namespace ProfileFile
