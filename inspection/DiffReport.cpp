#include "DiffReport.h"

#include "ConfigDiff.h"
#include "TextTable.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

namespace {

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(DiffReport)
};

QString keyWord(KeyChange::Kind kind)
{
    switch (kind) {
    case KeyChange::Kind::Added:
        return QStringLiteral("added");
    case KeyChange::Kind::Removed:
        return QStringLiteral("removed");
    case KeyChange::Kind::Changed:
        break;
    }
    return QStringLiteral("changed");
}

QString areaWord(AreaChange::Kind kind)
{
    switch (kind) {
    case AreaChange::Kind::Removed:
        return QStringLiteral("removed");
    case AreaChange::Kind::Added:
        return QStringLiteral("added");
    case AreaChange::Kind::SwitchedOn:
        return QStringLiteral("switched on");
    case AreaChange::Kind::SwitchedOff:
        return QStringLiteral("switched off");
    case AreaChange::Kind::Moved:
        return QStringLiteral("moved");
    case AreaChange::Kind::FolderChanged:
        return QStringLiteral("folder changed");
    case AreaChange::Kind::TitleChanged:
        break;
    }
    return QStringLiteral("title changed");
}

// Green for what comes in or is switched on, red for what goes, yellow for the rest.
QString colourOf(const QString& word)
{
    if (word == QLatin1String("added") || word == QLatin1String("switched on"))
        return QStringLiteral("32");
    if (word == QLatin1String("removed") || word == QLatin1String("switched off"))
        return QStringLiteral("31");
    return QStringLiteral("33");
}

QString arrow(const QString& before, const QString& after)
{
    return before == after ? before : before + QStringLiteral(" -> ") + after;
}

QString layerText(const SceneryArea& area)
{
    return area.layer ? QString::number(*area.layer) : QStringLiteral("?");
}

QString folderText(const SceneryArea& area)
{
    return area.local.isEmpty() ? area.remote : area.local;
}

// Rows of keys under a heading for each section.
void appendKeys(QStringList& lines, const QList<KeyChange>& changes, bool colour)
{
    QList<TextRow> rows;
    for (const KeyChange& change : changes) {
        const QString word = keyWord(change.kind);
        const QString value = change.kind == KeyChange::Kind::Added ? change.after
                              : change.kind == KeyChange::Kind::Removed
                                  ? change.before
                                  : arrow(change.before, change.after);
        rows.append({{word, change.key, value}, colourOf(word)});
    }
    const QStringList aligned = alignedRows(rows, colour);
    for (qsizetype k = 0; k < changes.size(); ++k) {
        if (k == 0 || changes[k].section != changes[k - 1].section)
            lines.append(QStringLiteral("  [") + changes[k].section + u']');
        lines.append(QStringLiteral("    ") + aligned[k]);
    }
}

// One row per change: what changed, then area, layer, title and folder, each as "before -> after"
// where they differ; an area that is switched off says so after its layer.
void appendAreas(QStringList& lines, const QList<AreaChange>& changes, bool colour)
{
    QList<TextRow> rows;
    for (const AreaChange& change : changes) {
        const SceneryArea& before = change.before ? *change.before : *change.after;
        const SceneryArea& after = change.after ? *change.after : *change.before;
        const QString word = areaWord(change.kind);
        rows.append(
            {{word, arrow(before.section, after.section),
              Texts::tr("layer %1").arg(arrow(layerText(before), layerText(after))) +
                  (after.active ? QString() : Texts::tr(", off")),
              arrow(before.title, after.title), arrow(folderText(before), folderText(after))},
             colourOf(word)});
    }
    for (const QString& row : alignedRows(rows, colour))
        lines.append(QStringLiteral("    ") + row);
}

QJsonValue keyJson(const KeyChange& change)
{
    const bool added = change.kind == KeyChange::Kind::Added;
    const bool removed = change.kind == KeyChange::Kind::Removed;
    return QJsonObject{{QStringLiteral("section"), change.section},
                       {QStringLiteral("key"), change.key},
                       {QStringLiteral("change"), keyWord(change.kind)},
                       {QStringLiteral("before"), added ? QJsonValue() : change.before},
                       {QStringLiteral("after"), removed ? QJsonValue() : change.after},
                       {QStringLiteral("lineBefore"), added ? QJsonValue() : change.lineBefore},
                       {QStringLiteral("lineAfter"), removed ? QJsonValue() : change.lineAfter}};
}

QJsonValue areaJson(const std::optional<SceneryArea>& area)
{
    if (!area)
        return {};
    return QJsonObject{
        {QStringLiteral("area"), area->section},
        {QStringLiteral("number"), area->number},
        {QStringLiteral("line"), area->line},
        {QStringLiteral("layer"), area->layer ? QJsonValue(*area->layer) : QJsonValue()},
        {QStringLiteral("title"), area->title},
        {QStringLiteral("local"), area->local},
        {QStringLiteral("remote"), area->remote},
        {QStringLiteral("active"), area->active},
        {QStringLiteral("required"), area->required}};
}

QJsonArray keysJson(const QList<KeyChange>& changes)
{
    QJsonArray array;
    for (const KeyChange& change : changes)
        array.append(keyJson(change));
    return array;
}

} // namespace

QString diffAsText(const ConfigDiff& diff, const QString& beforeName, const QString& afterName,
                   bool colour)
{
    const QString names = beforeName + QStringLiteral(" -> ") + afterName;
    const QString none = QStringLiteral("  ") + Texts::tr("no differences");
    QStringList lines{boldText(Texts::tr("Main configuration: %1").arg(names), colour)};
    appendKeys(lines, diff.mainKeys, colour);
    if (diff.mainKeys.isEmpty())
        lines.append(none);
    lines.append(boldText(Texts::tr("Scenery list: %1").arg(names), colour));
    appendKeys(lines, diff.sceneryGeneral, colour);
    if (!diff.areas.isEmpty())
        lines.append(QStringLiteral("  ") + Texts::tr("areas"));
    appendAreas(lines, diff.areas, colour);
    if (diff.sceneryGeneral.isEmpty() && diff.areas.isEmpty())
        lines.append(none);
    return lines.join(u'\n') + u'\n';
}

QJsonDocument diffAsJson(const ConfigDiff& diff, const QString& beforeName,
                         const QString& afterName)
{
    QJsonArray areas;
    for (const AreaChange& change : diff.areas)
        areas.append(QJsonObject{{QStringLiteral("change"), areaWord(change.kind)},
                                 {QStringLiteral("before"), areaJson(change.before)},
                                 {QStringLiteral("after"), areaJson(change.after)}});
    return QJsonDocument(
        QJsonObject{{QStringLiteral("before"), beforeName},
                    {QStringLiteral("after"), afterName},
                    {QStringLiteral("main"), keysJson(diff.mainKeys)},
                    {QStringLiteral("sceneryGeneral"), keysJson(diff.sceneryGeneral)},
                    {QStringLiteral("areas"), areas}});
}
