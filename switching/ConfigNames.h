#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The name of the configuration that always heads the load list.
inline QString originalConfigName()
{
    return QStringLiteral("FS Original");
}

// Why the name cannot name a pair of snapshot files, or nothing when it can. A usable name is not
// empty, has no blank at either end, holds no character a Windows file name cannot hold, does not
// end with a dot and is not wrapped in single quotes (the settings file would read them away).
std::optional<QString> whyNameUnusable(const QString& name);

// The message that refuses an unusable name, or nothing when the name is usable.
std::optional<QString> nameRefusal(const QString& name);

// Whether two names pick the same configuration. A name stands for a pair of files, so names
// compare as Windows compares file names: "Night flying" and "night FLYING" are one configuration.
bool sameConfigName(const QString& a, const QString& b);

// The position of the first entry that picks the same configuration as the name, or -1.
qsizetype positionOfName(const QStringList& entries, const QString& name);
