#pragma once

#include <QString>

// The section and keys of Hangar.ini.
namespace SettingsKeys {

inline constexpr int slotCount = 9;

inline QString section()
{
    return QStringLiteral("FS Config");
}
inline QString fileName()
{
    return QStringLiteral("Hangar.ini");
}
inline QString fs9Folder()
{
    return QStringLiteral("FS9 Folder");
}
inline QString sceneryFolder()
{
    return QStringLiteral("SCENERY Folder");
}
inline QString lastConfig()
{
    return QStringLiteral("LastConfig");
}
// The key of slot 1 to 9.
inline QString slot(int number)
{
    return QStringLiteral("Config") + QString::number(number);
}

} // namespace SettingsKeys
