#include "PairCommand.h"

#include "Messages.h"

#include <QCommandLineParser>

PairCommand::PairCommand(QString name, QString description, QString nameDescription,
                         bool guardsSimulator)
    : Command(std::move(name), std::move(description),
              {{QStringLiteral("NAME"), std::move(nameDescription)}},
              guardsSimulator ? QList{forceOption()} : QList<QCommandLineOption>{}),
      m_guardsSimulator(guardsSimulator)
{}

int PairCommand::execute(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (m_guardsSimulator && refusedWhileSimulatorRuns(parser))
        return Failed;
    auto state = lockAndRead();
    if (!state)
        return Failed;
    if (!state->fileFound())
        return fail(Messages::foldersNotKnown(settingsFile()));
    return change(*state, arguments.first());
}
