#include "SlotMerge.h"

#include "SettingsKeys.h"

QStringList mergedSlots(const QStringList& keptSlots, const QStringList& savedDuringRun)
{
    QStringList names;
    for (const QString& name : keptSlots) {
        if (!name.isEmpty())
            names.append(name);
    }
    for (const QString& name : savedDuringRun) {
        if (!names.contains(name) && names.size() < SettingsKeys::slotCount)
            names.append(name);
    }
    while (names.size() < SettingsKeys::slotCount)
        names.append(QString());
    return names;
}
