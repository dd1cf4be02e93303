#include "SettingsLocation.h"

#include "AppInfo.h"
#include "DirectoryLookup.h"
#include "SettingsKeys.h"

#include <QDir>

QString settingsFilePath(const AppInfo& appInfo)
{
    QString besideExecutable = QDir::toNativeSeparators(appInfo.executableFolder()) +
                               QDir::separator() + SettingsKeys::fileName();
    if (FileExists(besideExecutable) || appInfo.maySettingsLiveBesideExecutable())
        return besideExecutable;
    return AddBackslash(appInfo.userConfigFolder()) + SettingsKeys::fileName();
}
