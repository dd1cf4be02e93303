#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct SceneryList;

// One fault of a scenery list. Errors are faults that make the simulator load other scenery than
// the list says (an area lost, a folder it cannot find); warnings are faults it passes over
// without a change to what it loads, or that only matter once an area is switched on.
struct CheckFinding
{
    enum class Severity
    {
        Error,
        Warning
    };
    enum class Kind
    {
        DuplicateAreaNumber, // error: the simulator reads only the first section of a name
        AreaWithoutFolder,   // error: neither Local nor Remote, nothing to load
        AreaNotNumbered,     // error: [Area.x] is skipped with its scenery
        UnknownSection,      // warning: neither [General] nor an area; read past
        MissingFolder,       // error when the area is active, else a warning
        DuplicateLayer,      // warning: both load, their drawing order is not defined
        MissingLayer,        // warning: no place in the drawing order
        StrayLine            // warning: neither a section nor a key, read past
    };

    Severity severity = Severity::Error;
    Kind kind = Kind::StrayLine;
    QString area; // the section the fault is in, as written; empty before the first
    int line = 0;
    QString message;
};

struct SceneryCheck
{
    QList<CheckFinding> findings; // in line order
    // Local folders that could not be looked for on this disk, and why.
    int foldersNotChecked = 0;
    QStringList notCheckedReasons;

    qsizetype count(CheckFinding::Severity severity) const;
    // 0 when nothing is wrong, 1 when there are errors, 3 when there are only warnings.
    int exitStatus() const;
};

// Where the list's Local folders are looked for: drive letters in the Wine prefix around
// sceneryFolder (the folder of the list), relative paths from simulatorFolder. Either may be empty.
struct CheckFolders
{
    QString sceneryFolder;
    QString simulatorFolder;
};

SceneryCheck checkSceneryList(const SceneryList& list, const CheckFolders& folders);
