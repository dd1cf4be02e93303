#include "ConfigList.h"

#include "ConfigNames.h"

namespace {

// "FS Original" and nine named configurations.
constexpr int maxEntries = 10;

} // namespace

SavePlan planSave(const QStringList& entries, const QString& name)
{
    if (const auto refusal = nameRefusal(name))
        return {refusal, false, name};
    // The search covers the ten places the list can have, whether or not they are all taken.
    const qsizetype position = positionOfName(entries.mid(0, maxEntries), name);
    if (position >= 0)
        return {std::nullopt, false, entries.at(position)};
    if (entries.size() >= maxEntries)
        return {QStringLiteral("Sorry, you cannot create more of 9 configurations."), false, name};
    return {std::nullopt, true, name};
}

RemovePlan planRemove(const QStringList& entries, const QString& name)
{
    if (sameConfigName(name, originalConfigName()))
        return {QStringLiteral("Sorry, you cannot remove the original configuration."),
                std::nullopt};
    const qsizetype position = positionOfName(entries, name);
    if (position < 0)
        return {};
    return {std::nullopt, int(position)};
}

QList<int> entriesLeavingAfterRemove(const ConfigFolders& folders, const QStringList& entries,
                                     const QString& name)
{
    QList<int> leaving;
    for (int position = int(entries.size()) - 1; position >= 1; --position) {
        const QString& entry = entries.at(position);
        if (sameConfigName(entry, name) && !whyNameUnusable(entry) &&
            folders.snapshotPairBroken(entry))
            leaving << position;
    }
    return leaving;
}
