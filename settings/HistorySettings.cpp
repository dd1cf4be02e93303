#include "HistorySettings.h"

#include "AppInfo.h"
#include "IniAccess.h"

#include <QDir>
#include <QFileInfo>

namespace {

int boundFrom(const QString& settingsFile, const QString& key, int defaultValue)
{
    bool isNumber = false;
    const int value =
        ReadIni(settingsFile, QStringLiteral("History"), key).trimmed().toInt(&isNumber);
    return isNumber ? qMax(value, 1) : defaultValue;
}

} // namespace

HistorySettings historySettings(const AppInfo& appInfo, const QString& settingsFile)
{
    HistorySettings settings;
    // Only the settings file's own folder tells which copy this is: a portable copy keeps its
    // settings beside the executable, an installed one in the user's folders.
    const QString settingsFolder = QDir::cleanPath(QFileInfo(settingsFile).absolutePath());
    const bool portable =
        settingsFolder == QDir::cleanPath(QDir(appInfo.executableFolder()).absolutePath());
    settings.folder = QDir::toNativeSeparators(
        portable ? QDir(settingsFolder).filePath(QStringLiteral("Hangar history"))
                 : QDir(appInfo.userDataFolder()).filePath(QStringLiteral("history")));
    settings.maxEntries =
        boundFrom(settingsFile, QStringLiteral("MaxEntries"), settings.maxEntries);
    settings.maxMegabytes =
        boundFrom(settingsFile, QStringLiteral("MaxMegabytes"), settings.maxMegabytes);
    return settings;
}
