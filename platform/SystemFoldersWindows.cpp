#include "SystemFolders.h"

#include <QDir>
#include <QStandardPaths>
#include <shlobj.h>

QString userSettingsRoot()
{
    wchar_t* path = nullptr;
    const HRESULT result =
        SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &path);
    const QString folder =
        SUCCEEDED(result) ? QDir::fromNativeSeparators(QString::fromWCharArray(path)) : QString();
    CoTaskMemFree(path);
    // A profile without a roaming folder (a service account) still has Qt's local one.
    return folder.isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
               : folder;
}

std::unique_ptr<QSettings> simulatorRegistryKey()
{
    return std::make_unique<QSettings>(
        QStringLiteral(
            R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Microsoft Games\Flight Simulator\9.0)"),
        QSettings::Registry32Format);
}
