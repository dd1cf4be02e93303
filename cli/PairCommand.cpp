#include "PairCommand.h"

#include "Messages.h"

PairCommand::PairCommand(QString name, QString description, QString nameDescription)
    : Command(std::move(name), std::move(description),
              {{QStringLiteral("NAME"), std::move(nameDescription)}})
{}

int PairCommand::execute(const QCommandLineParser&, const QStringList& arguments)
{
    auto state = lockAndRead();
    if (!state)
        return Failed;
    if (!state->fileFound())
        return fail(Messages::foldersNotKnown(settingsFile()));
    return change(*state, arguments.first());
}

ConfigFolders PairCommand::foldersOf(const StoredState& state)
{
    return ConfigFolders::fromTexts(state.storedFs9Folder(), state.storedSceneryFolder());
}
