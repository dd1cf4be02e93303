#pragma once

#include <QString>

// The value of one key of the settings file, at most 255 characters; the empty text when the
// file, the section or the key is missing.
QString ReadIni(const QString& file, const QString& section, const QString& key);

// Writes one key of the settings file; false with the system's reason when the write was refused.
bool WriteIni(const QString& file, const QString& section, const QString& key, const QString& value,
              QString* error);
