#pragma once

#include "ConfigOperations.h"
#include "FileOperation.h"
#include "History.h"
#include "StoredState.h"
#include "SwitchLocks.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QStringList>
#include <QTextStream>
#include <memory>

class AppInfo;
class FileSystem;
class ProcessTable;
class QCommandLineParser;
class SettingsLock;

// What every command works through; tests of the commands run the real ones.
struct CommandServices
{
    AppInfo& appInfo;
    FileSystem& fileSystem;
    const ProcessTable& processes;
};

// One command of hangarctl. The base parses the command's options and arguments, prints its help,
// owns the output streams and the exit statuses, and gives the commands the settings file: read
// as the window's start-up reads it, and, for a change, locked, read and written back once.
class Command
{
    Q_DECLARE_TR_FUNCTIONS(Command)

public:
    enum ExitStatus
    {
        Done = 0,
        Failed = 1,
        WrongUsage = 2
    };

    virtual ~Command();

    QString name() const { return m_name; }
    QString description() const { return m_description; }

    // The options hangarctl takes before the command; a command takes them after its name too.
    struct SharedOptions
    {
        // Empty for the file the window uses.
        QString settingsFile;
        // "auto", "always" or "never"; empty for auto.
        QString colour;
    };

    // Runs the command on its arguments, the command's name first.
    virtual int run(const QStringList& arguments, const SharedOptions& shared,
                    CommandServices& services);

    static QTextStream& out();
    static QTextStream& err();
    // Prints the message on standard error after the program's name, as wrong usage is told, and
    // as a terminal shows it best: carriage returns become line breaks and tabs are dropped.
    // Returns Failed.
    static int fail(const QString& message);
    // Prints the parser's complaint and where to find help. Returns WrongUsage.
    static int wrongUsage(const QString& complaint, const QString& helpCommand);
    static QCommandLineOption settingsOption();
    static QCommandLineOption colourOption();
    static QCommandLineOption helpOption();
    // The parser's help, its usage line naming the program and the command.
    static QString usage(const QCommandLineParser& parser, const QString& command);

protected:
    struct Argument
    {
        QString name;
        QString description;
        bool optional = false;
        // The last argument may take every word after "--", unparsed: another program's command.
        bool rest = false;
    };

    Command(QString name, QString description, QList<Argument> arguments = {},
            QList<QCommandLineOption> options = {});

    // The command's own work, once its arguments are right.
    virtual int execute(const QCommandLineParser& parser, const QStringList& arguments) = 0;

    QString settingsFile() const { return m_settingsFile; }
    // Whether standard output gets terminal colours: always or never as --color says; by default
    // only on a terminal that is not "dumb", and never while NO_COLOR is set to anything.
    bool colour() const { return m_colour; }
    // Where the file operations keep what they replace or delete: the settings file's history.
    History history() const;
    FileSystem& fileSystem() const { return m_services->fileSystem; }
    // Where a list operation runs: the state's folders as the settings file holds them.
    OperationPlace place(const StoredState& state, History& history) const;
    // Says on standard error when the live pair that a Load replaced was a copy of no saved
    // configuration: that tuning lives on in the history alone.
    static void warnIfOnlyKept(const OperationResult& load);
    const ProcessTable& processes() const { return m_services->processes; }

    // The state as the window's start-up shows it; nothing is locked, completed or changed.
    StoredState read() const;
    // For a command that reads the live pair: completes a switch that a crash interrupted and
    // reads the state, under the switch locks, which are held until the command ends. Nothing,
    // with the reason printed, while another process holds them for too long.
    std::optional<StoredState> readCompleted();
    // For a command that changes the settings: takes the settings lock, then does what
    // readCompleted does after completing an interrupted write of the settings; every lock is held
    // until the command ends. Nothing, with the reason printed, while a window or for too long
    // another hangarctl holds the settings lock, or another process the switch locks.
    std::optional<StoredState> lockAndRead();
    // Writes the state back in one replacement: Done, or Failed with the reason printed.
    int write(const StoredState& state);
    // Lets go of the settings and folder locks before the end of a command whose work goes on
    // without them.
    void unlock();
    // Writes the state back after an operation on the files, which stands whatever happens here:
    // a failure is printed as a warning that tells what the settings do not record, and the
    // command is Done all the same.
    int record(const StoredState& state, Operation operation, const QString& name);
    // The option that lets a change of the live files go ahead while the simulator runs.
    static QCommandLineOption forceOption();
    // The option that prints JSON instead of lines; what it prints is the command's to describe.
    static QCommandLineOption jsonOption(const QString& description = {});
    // True, with the reason printed, when the simulator runs and the change was not forced: the
    // simulator writes its files back when it quits, which would undo the change.
    bool refusedWhileSimulatorRuns(const QCommandLineParser& parser) const;
    // Checks that each given folder exists, then stores it in full under the settings lock.
    int storeFolders(const std::optional<QString>& fs9, const std::optional<QString>& scenery);

private:
    QString m_name;
    QString m_description;
    QList<Argument> m_arguments;
    QList<QCommandLineOption> m_options;
    QString m_settingsFile;
    bool m_colour = false;
    CommandServices* m_services = nullptr;
    std::unique_ptr<SettingsLock> m_lock;
    SwitchLocks m_switchLocks;
};
