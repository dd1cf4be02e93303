#pragma once

#include <QJsonDocument>
#include <QString>

struct ConfigDiff;

// The differences between two configurations, named beforeName and afterName, for a reader:
// keys by section, then the scenery areas, in aligned columns; terminal colours only when
// colour is true.
QString diffAsText(const ConfigDiff& diff, const QString& beforeName, const QString& afterName,
                   bool colour);

// The same for scripts: {"before", "after", "main": [key change], "sceneryGeneral": [key change],
// "areas": [area change]}. A key change holds section, key, change ("added", "removed",
// "changed"), before, after, lineBefore, lineAfter; an area change holds change ("removed",
// "added", "switched on", "switched off", "moved", "folder changed", "title changed") and the
// area before and after (null where there is none), each with area, number, line, layer,
// title, local, remote, active and required.
QJsonDocument diffAsJson(const ConfigDiff& diff, const QString& beforeName,
                         const QString& afterName);
