#pragma once

#include <QList>
#include <QString>

class QIODevice;

struct IniKey
{
    QString name;
    QString value; // blanks and one pair of surrounding quotes removed
    int line = 0;
};

struct IniSection
{
    QString name;
    int line = 0;
    QList<IniKey> keys; // in file order, doubled keys included

    // The first key of that name, letter case ignored, as the simulator reads it; null if none.
    const IniKey* key(QStringView keyName) const;
};

// The simulator's main configuration (FS9.cfg): its sections and keys in file order. Lines that
// are neither, and keys before the first section, are skipped as the simulator skips them.
struct MainConfig
{
    QList<IniSection> sections; // doubled sections included

    // The first section of that name, letter case ignored; null if none.
    const IniSection* section(QStringView sectionName) const;
};

// Reads the file whole; false with the system's reason when it cannot be read.
bool readMainConfig(const QString& path, MainConfig* config, QString* error);
bool readMainConfig(QIODevice& device, MainConfig* config, QString* error);
