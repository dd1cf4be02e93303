#include "ConfigDiff.h"

#include "ConfigText.h"

#include <QHash>
#include <algorithm>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// The first item of each name, letter case ignored, in file order; byName finds them.
template <typename T>
QList<const T*> firstOfEachName(const QList<T>& items, QHash<QString, const T*>* byName)
{
    QList<const T*> firsts;
    for (const T& item : items) {
        const QString folded = caseFolded(item.name);
        if (!byName->contains(folded)) {
            byName->insert(folded, &item);
            firsts.append(&item);
        }
    }
    return firsts;
}

void diffKeys(const IniSection* before, const IniSection* after, QList<KeyChange>& changes)
{
    QHash<QString, const IniKey*> oldByName;
    QHash<QString, const IniKey*> newByName;
    const auto oldKeys =
        before != nullptr ? firstOfEachName(before->keys, &oldByName) : QList<const IniKey*>();
    const auto newKeys =
        after != nullptr ? firstOfEachName(after->keys, &newByName) : QList<const IniKey*>();
    const QString section = before != nullptr ? before->name : after->name;
    for (const IniKey* key : oldKeys) {
        const IniKey* now = newByName.value(caseFolded(key->name));
        if (now == nullptr)
            changes.append(
                {KeyChange::Kind::Removed, section, key->name, key->value, {}, key->line, 0});
        else if (now->value != key->value)
            changes.append({KeyChange::Kind::Changed, section, key->name, key->value, now->value,
                            key->line, now->line});
    }
    for (const IniKey* key : newKeys) {
        if (!oldByName.contains(caseFolded(key->name)))
            changes.append(
                {KeyChange::Kind::Added, section, key->name, {}, key->value, 0, key->line});
    }
}

// The folder an area draws from, so that "Addon Scenery\\X\\" and "addon scenery/x" are one.
QString folderKey(const SceneryArea& area)
{
    const QString& folder = area.local.isEmpty() ? area.remote : area.local;
    // ASCII, the usual case, is folded in the same pass; Unicode's tables cost far more.
    const bool ascii =
        std::all_of(folder.begin(), folder.end(), [](QChar c) { return c.unicode() < 0x80; });
    const QString folded = ascii ? folder : folder.toCaseFolded();
    QString key(folded.size(), Qt::Uninitialized);
    QChar* out = key.data();
    qsizetype size = 0;
    for (QChar c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
        else if (c == u'/')
            c = u'\\';
        if (c != u'\\' || size == 0 || out[size - 1] != u'\\')
            out[size++] = c;
    }
    key.truncate(size);
    if (key.startsWith(u".\\"))
        key.remove(0, 2);
    if (key.endsWith(u'\\'))
        key.chop(1);
    return key;
}

// Pairs the areas of after not yet paired with those of before not yet taken whose key is the
// same, each once, lowest layers first. keyOf(true, i) is the key of before[i], keyOf(false, j)
// that of after[j]; an empty key pairs nothing.
template <typename KeyOf>
void pairBy(const KeyOf& keyOf, std::vector<bool>& taken, std::vector<qsizetype>& partner)
{
    using Key = std::decay_t<decltype(keyOf(true, 0))>;
    QHash<Key, qsizetype> first; // the first area of before waiting with a key
    first.reserve(qsizetype(taken.size()));
    std::vector<qsizetype> next(taken.size(), -1); // the one after it with the same key
    for (auto i = qsizetype(taken.size()) - 1; i >= 0; --i) {
        if (taken[i])
            continue;
        const Key key = keyOf(true, i);
        if (key == Key())
            continue;
        const auto waiting = first.find(key);
        if (waiting == first.end()) {
            first.insert(key, i);
        } else {
            next[i] = *waiting;
            *waiting = i;
        }
    }
    for (qsizetype j = 0; j < qsizetype(partner.size()) && !first.isEmpty(); ++j) {
        if (partner[j] >= 0)
            continue;
        const auto waiting = first.find(keyOf(false, j));
        if (waiting == first.end() || *waiting < 0)
            continue;
        partner[j] = *waiting;
        taken[*waiting] = true;
        *waiting = next[*waiting];
    }
}

// Which of the given positions keep their order: the longest run in which they increase.
std::vector<bool> inLongestIncreasingRun(const std::vector<qsizetype>& values)
{
    const auto count = qsizetype(values.size());
    std::vector<qsizetype> tails; // tails[n]: the index ending the best run of length n + 1 so far
    std::vector<qsizetype> previous(values.size(), -1);
    for (qsizetype k = 0; k < count; ++k) {
        const auto place = std::lower_bound(
            tails.begin(), tails.end(), values[k],
            [&](qsizetype index, qsizetype value) { return values[index] < value; });
        if (place != tails.begin())
            previous[k] = *(place - 1);
        if (place == tails.end())
            tails.push_back(k);
        else
            *place = k;
    }
    std::vector<bool> kept(values.size(), false);
    for (qsizetype k = tails.empty() ? -1 : tails.back(); k >= 0; k = previous[k])
        kept[k] = true;
    return kept;
}

} // namespace

bool readConfigPair(const QString& mainPath, const QString& sceneryPath, ConfigPair* pair,
                    QString* error)
{
    return readMainConfig(mainPath, &pair->main, error) &&
           readSceneryList(sceneryPath, &pair->scenery, error);
}

QList<KeyChange> diffSections(const QList<IniSection>& before, const QList<IniSection>& after)
{
    QHash<QString, const IniSection*> oldByName;
    QHash<QString, const IniSection*> newByName;
    const auto oldSections = firstOfEachName(before, &oldByName);
    const auto newSections = firstOfEachName(after, &newByName);
    QList<KeyChange> changes;
    for (const IniSection* section : oldSections)
        diffKeys(section, newByName.value(caseFolded(section->name)), changes);
    for (const IniSection* section : newSections) {
        if (!oldByName.contains(caseFolded(section->name)))
            diffKeys(nullptr, section, changes);
    }
    return changes;
}

QList<AreaChange> diffAreas(const QList<SceneryArea>& before, const QList<SceneryArea>& after)
{
    QList<QString> oldFolders;
    QList<QString> newFolders;
    for (const SceneryArea& area : before)
        oldFolders.append(folderKey(area));
    for (const SceneryArea& area : after)
        newFolders.append(folderKey(area));

    std::vector<qsizetype> partner(after.size(), -1); // the matched area's index in before
    std::vector<bool> taken(before.size(), false);
    const auto folderOf = [&](bool old, qsizetype k) {
        return old ? oldFolders[k] : newFolders[k];
    };
    const auto titleOf = [&](bool old, qsizetype k) { return (old ? before : after)[k].title; };
    pairBy([&](bool old, qsizetype k) { return std::pair(folderOf(old, k), titleOf(old, k)); },
           taken, partner);
    pairBy(folderOf, taken, partner);
    pairBy(titleOf, taken, partner);

    std::vector<qsizetype> order; // the places in before of the matched areas, in after's order
    for (const qsizetype i : partner) {
        if (i >= 0)
            order.push_back(i);
    }
    const std::vector<bool> kept = inLongestIncreasingRun(order);

    QList<AreaChange> changes;
    using Kind = AreaChange::Kind;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (!taken[i])
            changes.append({Kind::Removed, before[i], std::nullopt});
    }
    qsizetype next = 0;
    for (qsizetype j = 0; j < after.size(); ++j) {
        if (partner[j] < 0) {
            changes.append({Kind::Added, std::nullopt, after[j]});
            continue;
        }
        const qsizetype i = partner[j];
        const bool moved = !kept[next++];
        if (before[i].active != after[j].active)
            changes.append(
                {after[j].active ? Kind::SwitchedOn : Kind::SwitchedOff, before[i], after[j]});
        if (moved)
            changes.append({Kind::Moved, before[i], after[j]});
        if (oldFolders[i] != newFolders[j])
            changes.append({Kind::FolderChanged, before[i], after[j]});
        if (before[i].title != after[j].title)
            changes.append({Kind::TitleChanged, before[i], after[j]});
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const AreaChange& a, const AreaChange& b) { return a.kind < b.kind; });
    return changes;
}

ConfigDiff diffConfigs(const ConfigPair& before, const ConfigPair& after)
{
    const auto general = [](const SceneryList& list) {
        return list.general.line > 0 ? QList<IniSection>{list.general} : QList<IniSection>();
    };
    return {diffSections(before.main.sections, after.main.sections),
            diffSections(general(before.scenery), general(after.scenery)),
            diffAreas(before.scenery.areas, after.scenery.areas)};
}
