#include "DiskFileSystem.h"
#include "LockedAppInfo.h"
#include "ProcessTable.h"
#include "TerminationSignals.h"
#include "WidgetDialogs.h"
#include "WindowFont.h"
#include "frmHangar.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The classic style draws frames and labels in the dialog's own colours, as laid out.
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(classic);
    // Message boxes and the folder picker speak in the window's face.
    QApplication::setFont(windowFont(11));
    QApplication::setApplicationName(QStringLiteral("Hangar"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(HANGAR_VERSION_MAJOR)
                                            .arg(HANGAR_VERSION_MINOR)
                                            .arg(HANGAR_VERSION_PATCH));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Hangar"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/hangar.ico")));

    LockedAppInfo appInfo(QCoreApplication::applicationDirPath(),
                          QStringLiteral(HANGAR_INSTALLED_BINDIR),
                          {HANGAR_VERSION_MAJOR, HANGAR_VERSION_MINOR, HANGAR_VERSION_PATCH});
    DiskFileSystem fileSystem;
    WidgetDialogs dialogs;
    const auto processes = systemProcessTable();
    frmHangar window({dialogs, appInfo, fileSystem, *processes});
    dialogs.setParentWindow(&window);
    // kill, a closed terminal and Ctrl+C close the window as the close box does, so that the
    // settings are written; a message box or the folder picker open at the time ends with it.
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &window, [&window] {
        window.close();
        QCoreApplication::quit();
    });
    window.show();
    return app.exec();
}
