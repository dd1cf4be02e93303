#include "MainConfig.h"

#include "ConfigText.h"
#include "IniReader.h"

const IniKey* IniSection::key(QStringView keyName) const
{
    for (const IniKey& k : keys) {
        if (keyName.compare(k.name, Qt::CaseInsensitive) == 0)
            return &k;
    }
    return nullptr;
}

const IniSection* MainConfig::section(QStringView sectionName) const
{
    for (const IniSection& s : sections) {
        if (sectionName.compare(s.name, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

bool readMainConfig(QIODevice& device, MainConfig* config, QString* error)
{
    *config = {};
    IniReader reader(device);
    IniLine line;
    while (reader.next(line)) {
        if (line.kind == IniLine::Kind::Section)
            config->sections.append({decodeConfigText(line.name), line.number, {}});
        else if (line.kind == IniLine::Kind::Key && !config->sections.isEmpty())
            config->sections.last().keys.append(
                {decodeConfigText(line.name), decodeConfigText(unquoted(line.value)), line.number});
    }
    *error = reader.error();
    return error->isEmpty();
}

bool readMainConfig(const QString& path, MainConfig* config, QString* error)
{
    return readFileWith<MainConfig>(readMainConfig, path, config, error);
}
