#include "Hangarctl.h"

#include "Check.h"
#include "Detect.h"
#include "Diff.h"
#include "Folders.h"
#include "HistoryList.h"
#include "List.h"
#include "Load.h"
#include "Remove.h"
#include "Restore.h"
#include "Save.h"
#include "Status.h"

#include <QCommandLineParser>

Hangarctl::Hangarctl(const CommandServices& services) : m_services(services)
{
    m_commands.push_back(std::make_unique<List>());
    m_commands.push_back(std::make_unique<Load>());
    m_commands.push_back(std::make_unique<Save>());
    m_commands.push_back(std::make_unique<Remove>());
    m_commands.push_back(std::make_unique<HistoryList>());
    m_commands.push_back(std::make_unique<Restore>());
    m_commands.push_back(std::make_unique<Undo>());
    m_commands.push_back(std::make_unique<Folders>());
    m_commands.push_back(std::make_unique<Diff>());
    m_commands.push_back(std::make_unique<Check>());
    m_commands.push_back(std::make_unique<Status>());
    m_commands.push_back(std::make_unique<Detect>());
}

Hangarctl::~Hangarctl() = default;

int Hangarctl::run(const QStringList& arguments)
{
    const QString program = QCoreApplication::applicationName();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Switches the FS9 configurations that the Hangar window keeps, from a terminal or a "
           "launch script."));
    const QCommandLineOption help = Command::helpOption();
    parser.addOption(help);
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("Shows the version."));
    parser.addOption(version);
    parser.addOption(Command::settingsOption());
    parser.addOption(Command::colourOption());
    parser.addPositionalArgument(QStringLiteral("command"), tr("One of the commands below."),
                                 QStringLiteral("command [arguments]"));
    // What follows the command is the command's own.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(arguments))
        return Command::wrongUsage(parser.errorText(), program);
    if (parser.isSet(version)) {
        Command::out() << program << ' ' << QCoreApplication::applicationVersion() << '\n'
                       << Qt::flush;
        return Command::Done;
    }
    if (parser.isSet(help)) {
        Command::out() << helpText(Command::usage(parser, QString())) << Qt::flush;
        return Command::Done;
    }
    const QStringList commandArguments = parser.positionalArguments();
    if (commandArguments.isEmpty())
        return Command::wrongUsage(tr("No command given."), program);
    for (const auto& command : m_commands) {
        if (command->name() == commandArguments.first())
            return command->run(commandArguments,
                                {parser.value(Command::settingsOption()),
                                 parser.isSet(Command::colourOption())
                                     ? parser.value(Command::colourOption())
                                     : QString()},
                                m_services);
    }
    return Command::wrongUsage(tr("Unknown command \"%1\".").arg(commandArguments.first()),
                               program);
}

QString Hangarctl::helpText(const QString& usage) const
{
    QString text = usage + u'\n' + tr("Commands:") + u'\n';
    for (const auto& command : m_commands) {
        // The first sentence of each description, beside the command's name.
        const QString summary = command->description().section(QStringLiteral(". "), 0, 0);
        text += QStringLiteral("  %1  %2.\n").arg(command->name(), -8).arg(summary);
    }
    text += u'\n' +
            tr(R"("%1 COMMAND --help" tells more about a command; "man %1" about them all.)")
                .arg(QCoreApplication::applicationName()) +
            u'\n';
    return text;
}
