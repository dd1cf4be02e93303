#pragma once

#include <QString>

class History;
struct HistoryEntry;

// What putting the entry's kept pair back would change in the live pair beside it, as
// "hangarctl diff live" shows a configuration: keys by section, then scenery areas. A kept pair
// with a file missing, or a pair that cannot be read, gives the reason instead.
QString keptPairDifferences(const History& history, const HistoryEntry& entry);
