#include "ChosenPair.h"

#include "ConfigNames.h"
#include "ConfigPaths.h"
#include "Messages.h"

#include <QCoreApplication>

std::optional<ChosenPair> choosePair(const StoredState& state, const QString& settingsFile,
                                     const std::optional<QString>& name, QString* refusal)
{
    if (!state.fileFound()) {
        *refusal = Messages::foldersNotKnown(settingsFile);
        return std::nullopt;
    }
    const auto folders =
        ConfigFolders::fromTexts(state.storedFs9Folder(), state.storedSceneryFolder());
    if (!name) {
        return ChosenPair{QCoreApplication::translate("ChosenPair", "(live files)"),
                          folders.liveMain(), folders.liveScenery()};
    }
    const qsizetype position = positionOfName(state.entries(), *name);
    if (position < 0) {
        *refusal = Messages::notListed(state, *name);
        return std::nullopt;
    }
    const QString listed = state.entries().at(position);
    return ChosenPair{listed, folders.snapshotMain(listed), folders.snapshotScenery(listed)};
}
