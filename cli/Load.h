#pragma once

#include "PairCommand.h"

#include <optional>

class Load : public PairCommand
{
public:
    Load();

private:
    int change(StoredState& state, const QString& name) override;
};

// The Load of a listed configuration, on the state read under the settings lock: copies its pair
// over the live pair, the pair replaced kept in the history, and makes it the name last loaded in
// the state, which the caller writes. The reason when it is not listed or the copy is refused.
std::optional<QString> loadListed(StoredState& state, const QString& name, History& history,
                                  FileSystem& fileSystem);
