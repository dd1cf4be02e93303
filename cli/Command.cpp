#include "Command.h"

#include "AppInfo.h"
#include "DirectoryLookup.h"
#include "Messages.h"
#include "SettingsLocation.h"
#include "SettingsLock.h"
#include "SimulatorGuard.h"
#include "Terminal.h"

#include <QCommandLineParser>
#include <QDir>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Long enough for another hangarctl to copy any pair; short enough for a launch script to go on.
constexpr std::chrono::seconds commandPatience(10);

// An argument that looks like an option to the parser may be a name: "--" ends the options.
QString optionHint(const QStringList& arguments)
{
    const bool dashed = std::any_of(arguments.begin() + 1, arguments.end(), [](const QString& a) {
        return a.startsWith(u'-') && a != u"--"_s;
    });
    return dashed ? QCoreApplication::translate(
                        "Command", " A name that begins with \"-\" goes after \"--\", as in "
                                   "\"hangarctl save -- -name\".")
                  : QString();
}

QString wrapped(const QString& text)
{
    constexpr qsizetype width = 79;
    QString result;
    qsizetype lineLength = 0;
    for (const QString& word : text.split(u' ')) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            result += u'\n';
            lineLength = 0;
        } else if (lineLength > 0) {
            result += u' ';
            ++lineLength;
        }
        result += word;
        lineLength += word.size();
    }
    return result;
}

} // namespace

Command::Command(QString name, QString description, QList<Argument> arguments,
                 QList<QCommandLineOption> options)
    : m_name(std::move(name)), m_description(std::move(description)),
      m_arguments(std::move(arguments)), m_options(std::move(options))
{}

Command::~Command() = default;

QTextStream& Command::out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& Command::err()
{
    static QTextStream stream(stderr);
    return stream;
}

int Command::fail(const QString& message)
{
    QString text = message;
    text.remove(QChar(9)).replace(QChar(13), QChar(10));
    if (!text.endsWith(QChar(10)))
        text += QChar(10);
    err() << QCoreApplication::applicationName() << ": " << text << Qt::flush;
    return Failed;
}

int Command::wrongUsage(const QString& complaint, const QString& helpCommand)
{
    err() << QCoreApplication::applicationName() << ": " << complaint << '\n'
          << tr("Try \"%1 --help\".").arg(helpCommand) << '\n'
          << Qt::flush;
    return WrongUsage;
}

QCommandLineOption Command::settingsOption()
{
    return {QStringLiteral("settings"),
            tr("Works on this settings file instead of the one the window uses."),
            QStringLiteral("FILE")};
}

QCommandLineOption Command::colourOption()
{
    return {QStringLiteral("color"),
            tr("Colours the output: auto (on a terminal, unless NO_COLOR is set or TERM is "
               "dumb), always or never."),
            QStringLiteral("WHEN"), QStringLiteral("auto")};
}

int Command::run(const QStringList& arguments, const SharedOptions& shared,
                 CommandServices& services)
{
    m_services = &services;
    const QString helpCommand = QCoreApplication::applicationName() + u' ' + m_name;
    QCommandLineParser parser;
    parser.setApplicationDescription(m_description);
    const QCommandLineOption help = helpOption();
    parser.addOption(help);
    parser.addOption(settingsOption());
    parser.addOption(colourOption());
    parser.addOptions(m_options);
    qsizetype required = 0;
    for (const Argument& argument : m_arguments) {
        parser.addPositionalArgument(argument.name, argument.description,
                                     argument.rest ? QStringLiteral("-- %1 ...").arg(argument.name)
                                     : argument.optional ? u'[' + argument.name + u']'
                                                         : argument.name);
        required += argument.optional ? 0 : 1;
    }
    // Options after "--" are the other program's; the parser sees only what comes before.
    const bool takesRest = !m_arguments.isEmpty() && m_arguments.last().rest;
    const qsizetype dashes = takesRest ? arguments.indexOf(QStringLiteral("--")) : -1;
    if (!parser.parse(dashes < 0 ? arguments : arguments.first(dashes)))
        return wrongUsage(parser.errorText() + optionHint(arguments), helpCommand);
    if (parser.isSet(help)) {
        out() << usage(parser, m_name) << Qt::flush;
        return Done;
    }
    QStringList given = parser.positionalArguments();
    const qsizetype named = m_arguments.size() - (takesRest ? 1 : 0);
    if (given.size() > named) {
        // A name with blanks typed without quotes arrives as several arguments.
        const QString hint =
            named == 1 ? tr(" A name with blanks goes in quotes: \"%1\".").arg(given.join(u' '))
                       : QString();
        return wrongUsage(tr("Unexpected argument \"%1\".").arg(given.at(named)) + hint,
                          helpCommand);
    }
    if (dashes >= 0 && given.size() == named)
        given += arguments.sliced(dashes + 1);
    if (given.size() < required)
        return wrongUsage(tr("%1 is missing.").arg(m_arguments.at(given.size()).name), helpCommand);
    const QString colourMode =
        parser.isSet(colourOption()) ? parser.value(colourOption()) : shared.colour;
    if (!QStringList{QString(), u"auto"_s, u"always"_s, u"never"_s}.contains(colourMode))
        return wrongUsage(tr("--color takes auto, always or never, not \"%1\".").arg(colourMode),
                          helpCommand);
    m_colour =
        colourMode == u"always"_s ||
        (colourMode != u"never"_s && standardOutputIsTerminal() &&
         !qEnvironmentVariableIsSet("NO_COLOR") && qEnvironmentVariable("TERM") != u"dumb"_s);

    const QString& settingsFile = shared.settingsFile;
    const QString chosenFile =
        parser.isSet(settingsOption()) ? parser.value(settingsOption()) : settingsFile;
    m_settingsFile = chosenFile.isEmpty()
                         ? settingsFilePath(services.appInfo)
                         : QDir::toNativeSeparators(QDir::current().absoluteFilePath(chosenFile));
    return execute(parser, given);
}

QCommandLineOption Command::helpOption()
{
    return {{QStringLiteral("h"), QStringLiteral("help")}, tr("Shows this help.")};
}

QString Command::usage(const QCommandLineParser& parser, const QString& command)
{
    // Qt's usage line names the program as it was called; the command belongs there too.
    QString text = parser.helpText();
    const qsizetype end = text.indexOf(QStringLiteral(" [options]"));
    const QString program = QCoreApplication::applicationName();
    text.replace(0, end, tr("Usage: ") + (command.isEmpty() ? program : program + u' ' + command));
    // Qt leaves the description as one line; the options it wraps at 79 columns.
    return text.replace(parser.applicationDescription(), wrapped(parser.applicationDescription()));
}

History Command::history() const
{
    return History::forSettings(m_services->appInfo, m_settingsFile);
}

StoredState Command::read() const
{
    return StoredState::read(m_settingsFile);
}

std::optional<StoredState> Command::readCompleted()
{
    QString busy;
    History kept = history();
    StoredState state =
        StoredState::readCompleted(m_settingsFile, &kept, fileSystem(), m_switchLocks, &busy);
    if (!busy.isEmpty()) {
        fail(busy);
        return std::nullopt;
    }
    return state;
}

std::optional<StoredState> Command::lockAndRead()
{
    m_lock = std::make_unique<SettingsLock>(m_settingsFile);
    switch (m_lock->take(commandPatience)) {
    case SettingsLock::Outcome::Taken: {
        QString busy;
        History kept = history();
        StoredState state =
            StoredState::recoverAndRead(m_settingsFile, &kept, fileSystem(), m_switchLocks, &busy);
        if (busy.isEmpty())
            return state;
        fail(busy);
        break;
    }
    case SettingsLock::Outcome::HeldByWindow:
        fail(Messages::heldByWindow(m_settingsFile, m_lock->holderProcess()));
        break;
    case SettingsLock::Outcome::HeldByCommand:
        fail(Messages::heldByCommand(m_settingsFile, m_lock->holderProcess(),
                                     commandPatience.count()));
        break;
    case SettingsLock::Outcome::Unavailable:
        fail(Messages::lockUnavailable(m_lock->lockFile()));
        break;
    }
    return std::nullopt;
}

int Command::write(const StoredState& state)
{
    QString message;
    return state.write(m_settingsFile, &message) ? Done : fail(message);
}

void Command::unlock()
{
    m_switchLocks.release();
    m_lock.reset();
}

OperationPlace Command::place(const StoredState& state, History& history) const
{
    return {state.storedFs9Folder(), state.storedSceneryFolder(), history, fileSystem()};
}

void Command::warnIfOnlyKept(const OperationResult& load)
{
    if (load.kept && load.kept->matched && load.kept->matched->isEmpty())
        err() << QCoreApplication::applicationName() << ": "
              << Messages::unsavedLiveKept(load.kept->id) << '\n'
              << Qt::flush;
}

int Command::record(const StoredState& state, Operation operation, const QString& name)
{
    QString message;
    if (!state.write(m_settingsFile, &message))
        fail(changeNotRecorded(operation, name, message));
    return Done;
}

int Command::storeFolders(const std::optional<QString>& fs9, const std::optional<QString>& scenery)
{
    // Stored in full, so that a folder means the same wherever the window or a script starts.
    const auto full = [](const std::optional<QString>& text) -> std::optional<QString> {
        if (!text || text->isEmpty())
            return text;
        return QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(*text)));
    };
    const std::optional<QString> folders[] = {full(fs9), full(scenery)};
    for (int i = 0; i < 2; ++i) {
        if (folders[i] && (folders[i]->isEmpty() || !FolderExists(*folders[i])))
            return fail(Messages::folderMissing(i == 0 ? *fs9 : *scenery));
    }
    auto state = lockAndRead();
    if (!state)
        return Failed;
    state->fs9Folder = folders[0].value_or(state->fs9Folder);
    state->sceneryFolder = folders[1].value_or(state->sceneryFolder);
    return write(*state);
}

QCommandLineOption Command::forceOption()
{
    return {QStringLiteral("force"), tr("Goes ahead while the simulator runs.")};
}

QCommandLineOption Command::jsonOption(const QString& description)
{
    return {QStringLiteral("json"), description};
}

bool Command::refusedWhileSimulatorRuns(const QCommandLineParser& parser) const
{
    if (parser.isSet(forceOption()))
        return false;
    const std::optional<QString> refusal = refusalWhileSimulatorRuns(processes());
    if (!refusal)
        return false;
    fail(*refusal + QChar(13) + tr("Or add --force to go ahead all the same."));
    return true;
}
