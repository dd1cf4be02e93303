#pragma once

#include "MainConfig.h"
#include "SceneryList.h"

#include <QList>
#include <optional>

// A configuration as two files: the main configuration and the scenery list.
struct ConfigPair
{
    MainConfig main;
    SceneryList scenery;
};

// Reads both files; false with the file's name and the system's reason when one cannot be read.
bool readConfigPair(const QString& mainPath, const QString& sceneryPath, ConfigPair* pair,
                    QString* error);

// A key that differs between two configurations. Names are compared ignoring letter case, and
// where a section or key is doubled the first counts, as the simulator reads them.
struct KeyChange
{
    enum class Kind
    {
        Added,
        Removed,
        Changed
    };

    Kind kind = Kind::Changed;
    QString section;
    QString key;
    QString before; // empty for Added
    QString after;  // empty for Removed
    int lineBefore = 0;
    int lineAfter = 0;
};

// A scenery area that differs. Areas are matched by their folder (letter case and separators
// ignored) and title, then by folder alone, then by title alone; never by area number. An area
// counts as moved when its place among the areas both lists hold changed; a new number only
// because areas were added or removed beneath it is no move.
struct AreaChange
{
    enum class Kind
    {
        Removed,
        Added,
        SwitchedOn,
        SwitchedOff,
        Moved,
        FolderChanged,
        TitleChanged
    };

    Kind kind = Kind::Added;
    std::optional<SceneryArea> before; // none for Added
    std::optional<SceneryArea> after;  // none for Removed
};

struct ConfigDiff
{
    QList<KeyChange> mainKeys;       // of the main configuration, by section
    QList<KeyChange> sceneryGeneral; // of the scenery list's [General]
    QList<AreaChange> areas;         // by kind, then by layer

    bool isEmpty() const
    {
        return mainKeys.isEmpty() && sceneryGeneral.isEmpty() && areas.isEmpty();
    }
};

QList<KeyChange> diffSections(const QList<IniSection>& before, const QList<IniSection>& after);
QList<AreaChange> diffAreas(const QList<SceneryArea>& before, const QList<SceneryArea>& after);
ConfigDiff diffConfigs(const ConfigPair& before, const ConfigPair& after);
