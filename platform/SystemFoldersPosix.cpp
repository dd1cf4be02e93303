#include "SystemFolders.h"

#include <QStandardPaths>

QString userSettingsRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

std::unique_ptr<QSettings> simulatorRegistryKey()
{
    return nullptr;
}
