#include "IniAccess.h"

#include "ProfileFile.h"

namespace {
constexpr qsizetype maxValueLength = 255;
}

QString ReadIni(const QString& file, const QString& section, const QString& key)
{
    return ProfileFile::readString(section, key, QString(), maxValueLength, file);
}

bool WriteIni(const QString& file, const QString& section, const QString& key, const QString& value,
              QString* error)
{
    return ProfileFile::writeString(section, key, value, file, error);
}
