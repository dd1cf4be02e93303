#pragma once

#include "MainConfig.h"

#include <QList>
#include <QString>
#include <optional>

class QIODevice;

// One [Area.NNN] entry of the scenery list. A key the entry lacks has line 0.
struct SceneryArea
{
    QString section; // as written, such as "Area.012"
    int number = 0;  // the NNN
    int line = 0;    // of the section line

    QString title;
    int titleLine = 0;
    QString local; // the folder, as written
    int localLine = 0;
    QString remote;
    int remoteLine = 0;
    bool active = true; // a missing Active counts as true
    int activeLine = 0;
    bool required = false;
    int requiredLine = 0;
    std::optional<int> layer; // none when missing or not a number
    int layerLine = 0;
};

// Kept in lists of thousands: moved as bytes when a list grows.
Q_DECLARE_TYPEINFO(SceneryArea, Q_RELOCATABLE_TYPE);

// A section that is neither [General] nor [Area.<number>]; the simulator skips it.
struct OtherSection
{
    QString name;
    int line = 0;
};

// A line the simulator skips: neither a section nor a key, or a key before the first section.
struct StrayLine
{
    QString text;
    int line = 0;
    QString section; // the section it stands in; empty before the first
};

// The scenery list (Scenery.cfg). Only the keys the areas are drawn from are kept; other keys
// (Texture_ID, Exclude) are read past. When a key is doubled in an area the first counts.
struct SceneryList
{
    IniSection general;
    QList<SceneryArea> areas; // ordered by Layer, then file order; areas without a Layer last
    QList<OtherSection> otherSections;
    QList<StrayLine> strayLines;
};

// Reads the file whole; false with the system's reason when it cannot be read.
bool readSceneryList(const QString& path, SceneryList* list, QString* error);
bool readSceneryList(QIODevice& device, SceneryList* list, QString* error);
