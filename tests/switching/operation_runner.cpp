// Runs one file operation, or one write of the settings file, in a process of its own, so that a
// test can limit its file size or kill it. With --stepwise it names each file step on its output
// and waits for a line on its input before taking it, so that a test can kill it at any step.
// With --history, what the operation replaces is kept in that folder.
//   operation_runner [--stepwise] [--history <folder>] LOAD|SAVE|REMOVE <fs9 folder>
//                    <scenery folder> <name> [new name]
//   operation_runner SETTINGS <file> <value>
#include "FakeServices.h"
#include "FileOperation.h"
#include "ProfileFile.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

namespace {

// Names the step on the output and waits for a line on the input before taking it.
bool pause(FaultyFileSystem::Step step)
{
    static const char* const names[] = {"stage", "record", "rename", "remove",
                                        "sync",  "entry",  "link"};
    std::printf("%s\n", names[static_cast<int>(step)]);
    std::fflush(stdout);
    char line[16];
    return std::fgets(line, sizeof line, stdin) != nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool stepwise = args.value(0) == QLatin1String("--stepwise");
    if (stepwise)
        args.removeFirst();
    std::optional<History> history;
    if (args.value(0) == QLatin1String("--history")) {
        history.emplace(args.value(1), 30, qint64{200} << 20);
        args.remove(0, 2);
    }
    QString error;
    if (args.value(0) == QLatin1String("SETTINGS")) {
        ProfileFile::Edit settings;
        bool written = settings.open(args.value(1), &error);
        if (written) {
            settings.setString(QStringLiteral("FS Config"), QStringLiteral("Config1"),
                               args.value(2));
            written = settings.commit(&error);
        }
        QTextStream(stderr) << error;
        return written ? 0 : 1;
    }
    DiskFileSystem disk;
    FaultyFileSystem stepped;
    stepped.beforeStep = pause;
    const auto operation = operationFromWord(args.value(0));
    if (!operation)
        return 2;
    const OperationResult result = processFiles(
        *operation, args.value(3), args.value(4), args.value(1), args.value(2),
        stepwise ? static_cast<FileSystem&>(stepped) : disk, history ? &*history : nullptr);
    QTextStream(stderr) << result.message;
    return result.performed ? 0 : 1;
}
