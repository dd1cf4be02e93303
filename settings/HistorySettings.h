#pragma once

#include <QString>

class AppInfo;

// Where the history of replaced and deleted pairs lives and how much of it is kept.
struct HistorySettings
{
    QString folder;
    int maxEntries = 30;
    int maxMegabytes = 200;
};

// The history lives in a folder of its own beside the settings file, "Hangar history"; only the
// installed copy's settings, in the user's configuration folder, have theirs in the user's data
// folder instead ("history" there). Never in the simulator's folders. The bounds come from
// the section [History] of the settings file (MaxEntries=, MaxMegabytes=); a missing or unreadable
// value keeps its default, and each bound is at least 1.
HistorySettings historySettings(const AppInfo& appInfo, const QString& settingsFile);
