#include "IniAccess.h"

namespace {
constexpr qsizetype maxValueLength = 255;
}

QString ReadIni(const QString& file, const QString& section, const QString& key)
{
    return ProfileFile::readString(section, key, QString(), maxValueLength, file);
}

void WriteIni(ProfileFile::Edit& file, const QString& section, const QString& key,
              const QString& value)
{
    file.setString(section, key, value);
}
