#pragma once

#include <QString>

class History;
struct HistoryEntry;

// How the entry's kept pair differs from the live pair beside it, as "hangarctl diff live NAME"
// shows a configuration: keys by section, then scenery areas, from the live pair to the kept one.
// A kept pair with a file missing, or a pair that cannot be read, gives the reason instead.
QString keptPairDifferences(const History& history, const HistoryEntry& entry);
