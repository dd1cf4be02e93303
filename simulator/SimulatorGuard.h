#pragma once

#include <QString>
#include <optional>

class ProcessTable;

// Why a change of the configuration files must wait, or nothing when it may go ahead. While the
// simulator runs, the live FS9.cfg and Scenery.cfg are its own: it writes them back when it
// quits, over whatever pair was put in place meanwhile, and a pair saved or removed meanwhile is
// judged by files about to change. A system that does not show its processes refuses nothing.
std::optional<QString> refusalWhileSimulatorRuns(const ProcessTable& processes);
