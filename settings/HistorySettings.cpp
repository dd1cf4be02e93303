#include "HistorySettings.h"

#include "AppInfo.h"
#include "IniAccess.h"

#include <QDir>
#include <QFileInfo>

namespace {

int boundFrom(const QString& settingsFile, const QString& key, int defaultValue)
{
    bool isNumber = false;
    const int value = ReadIni(settingsFile, QStringLiteral("History"), key).toInt(&isNumber);
    return isNumber ? qMax(value, 1) : defaultValue;
}

} // namespace

HistorySettings historySettings(const AppInfo& appInfo, const QString& settingsFile)
{
    HistorySettings settings;
    const QString settingsFolder = QDir::cleanPath(QFileInfo(settingsFile).absolutePath());
    const bool installed =
        settingsFolder == QDir::cleanPath(QDir(appInfo.userConfigFolder()).absolutePath());
    settings.folder = QDir::toNativeSeparators(
        installed ? QDir(appInfo.userDataFolder()).filePath(QStringLiteral("history"))
                  : QDir(settingsFolder).filePath(QStringLiteral("Hangar history")));
    settings.maxEntries =
        boundFrom(settingsFile, QStringLiteral("MaxEntries"), settings.maxEntries);
    settings.maxMegabytes =
        boundFrom(settingsFile, QStringLiteral("MaxMegabytes"), settings.maxMegabytes);
    return settings;
}
