#pragma once

#include <QString>

class AppInfo;

// The settings file's full path. A portable copy keeps Hangar.ini beside the executable: whenever
// that folder already holds one, or the user may write there. Otherwise (an installed copy) the
// file lives in the user's configuration folder.
QString settingsFilePath(const AppInfo& appInfo);
