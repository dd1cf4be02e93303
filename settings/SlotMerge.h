#pragma once

#include <QStringList>

// The nine slot values to write at shutdown when start-up could not read the saved names (a
// folder was missing): the names the file held keep their slots, and the names saved during the
// run follow them, each once, up to nine in all. Free slots are empty texts.
QStringList mergedSlots(const QStringList& keptSlots, const QStringList& savedDuringRun);
