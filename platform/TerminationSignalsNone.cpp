#include "TerminationSignals.h"

// A Windows window program receives no termination signals: a logout or shutdown reaches it as
// the session's request to save, which the window answers itself.
struct TerminationSignals::Watch
{
};

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}

TerminationSignals::~TerminationSignals() = default;
