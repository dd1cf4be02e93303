#pragma once

#include "PairCommand.h"

#include <optional>

class Save : public PairCommand
{
public:
    Save();

private:
    int change(StoredState& state, const QString& name) override;
};

// The Save of the live pair under the name, on the state read under the settings lock: copies
// the live pair to the name's snapshot pair, the pair replaced kept in the history; a name the
// list does not hold joins the state's list, which the caller then writes. The reason when the
// name may not be saved under or the copy is refused.
std::optional<QString> saveLive(StoredState& state, const QString& name, History& history,
                                FileSystem& fileSystem);
