#include "ChosenPair.h"

#include "ConfigPaths.h"
#include "Messages.h"

std::optional<ChosenPair> choosePair(const StoredState& state, const QString& settingsFile,
                                     const QString& name, QString* refusal)
{
    if (!state.fileFound()) {
        *refusal = Messages::foldersNotKnown(settingsFile);
        return std::nullopt;
    }
    const auto folders =
        ConfigFolders::fromTexts(state.storedFs9Folder(), state.storedSceneryFolder());
    if (name == liveName())
        return ChosenPair{name, folders.liveMain(), folders.liveScenery()};
    if (!state.entries().contains(name)) {
        *refusal = Messages::notListed(state, name);
        return std::nullopt;
    }
    return ChosenPair{name, folders.snapshotMain(name), folders.snapshotScenery(name)};
}
