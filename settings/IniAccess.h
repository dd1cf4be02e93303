#pragma once

#include "ProfileFile.h"

#include <QString>

// The value of one key of the settings file, at most 255 characters; the empty text when the
// file, the section or the key is missing.
QString ReadIni(const QString& file, const QString& section, const QString& key);

// Sets one key of the settings file being edited; ProfileFile::Edit::commit writes them all.
void WriteIni(ProfileFile::Edit& file, const QString& section, const QString& key,
              const QString& value);
