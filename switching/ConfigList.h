#pragma once

#include "ConfigPaths.h"

#include <QStringList>
#include <optional>

// The rules of the list of configurations: "FS Original" heads it, at most nine named
// configurations follow, and a name picks the configuration whose name it is in any letter case
// (sameConfigName; nothing trimmed).

// How a Save under the name goes, given the list's entries ("FS Original" first).
struct SavePlan
{
    // Why the live pair may not be saved under the name; nothing when it may.
    std::optional<QString> refusal;
    // The list does not hold the name yet: it joins the list once its pair is saved.
    bool joinsList = false;
    // What the pair is saved under: the configuration's listed spelling when the list holds it,
    // else the name given.
    QString name;
};
SavePlan planSave(const QStringList& entries, const QString& name);

// How a Remove of the name goes, given the list's entries.
struct RemovePlan
{
    std::optional<QString> refusal;
    // The entry the name picks; nothing when no entry is, and then nothing happens.
    std::optional<int> position;
};
RemovePlan planRemove(const QStringList& entries, const QString& name);

// The positions of the entries that leave the list after a Remove of the name, last first: the
// entry the name picks (and any other spelling of it that a caller listed), each exactly when its
// pair is no longer whole on disk, whatever the removal managed. A removal refused for a folder or
// a live file keeps them.
QList<int> entriesLeavingAfterRemove(const ConfigFolders& folders, const QStringList& entries,
                                     const QString& name);
