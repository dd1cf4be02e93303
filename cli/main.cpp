#include "DiskFileSystem.h"
#include "Hangarctl.h"
#include "LockedAppInfo.h"
#include "ProcessTable.h"
#include "Terminal.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    prepareConsoleOutput();
    QCoreApplication::setApplicationName(QStringLiteral("hangarctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(HANGAR_VERSION_MAJOR)
                                                .arg(HANGAR_VERSION_MINOR)
                                                .arg(HANGAR_VERSION_PATCH));
    // The same location rules as the window's: beside a portable copy, in the user's folder for
    // an installed one.
    LockedAppInfo appInfo(QCoreApplication::applicationDirPath(),
                          QStringLiteral(HANGAR_INSTALLED_BINDIR),
                          {HANGAR_VERSION_MAJOR, HANGAR_VERSION_MINOR, HANGAR_VERSION_PATCH});
    DiskFileSystem fileSystem;
    const auto processes = systemProcessTable();
    return Hangarctl({appInfo, fileSystem, *processes}).run(QCoreApplication::arguments());
}
