// Loads one configuration and exits: the crash test kills it in the middle.
#include "DiskFileSystem.h"
#include "FileOperation.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    DiskFileSystem fileSystem;
    return processFiles(Operation::Load, args.value(3), QString(), args.value(1), args.value(2),
                        fileSystem)
                   .performed
               ? 0
               : 1;
}
