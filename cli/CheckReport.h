#pragma once

#include <QJsonDocument>
#include <QString>

struct SceneryCheck;

// A scenery list's faults for a reader: one aligned line per fault (severity, area, line,
// message), then the folders that could not be looked for and a count; terminal colours only
// when colour is true.
QString checkAsText(const SceneryCheck& check, bool colour);

// The same for scripts: {"status", "errors", "warnings", "findings": [{severity, kind, area,
// line, message}], "foldersNotChecked", "notCheckedReasons"}. Kinds are words such as
// "duplicate-area-number".
QJsonDocument checkAsJson(const SceneryCheck& check);
