#include "SceneryCheck.h"

#include "SceneryList.h"
#include "WinePaths.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>

namespace {

using Severity = CheckFinding::Severity;
using Kind = CheckFinding::Kind;

class Checker
{
    Q_DECLARE_TR_FUNCTIONS(SceneryCheck)

public:
    Checker(const CheckFolders& folders)
        : m_lookup(folders.sceneryFolder.isEmpty() ? QString()
                                                   : winePrefixOf(folders.sceneryFolder),
                   folders.simulatorFolder)
    {}

    void checkArea(const SceneryArea& area)
    {
        if (const SceneryArea* first = m_byNumber.value(area.number)) {
            add(Severity::Error, Kind::DuplicateAreaNumber, area.section, area.line,
                tr("area number %1 is used again (first at line %2): the simulator reads only "
                   "the first")
                    .arg(area.number)
                    .arg(first->line));
        } else {
            m_byNumber.insert(area.number, &area);
        }
        checkLayer(area);
        if (area.local.isEmpty() && area.remote.isEmpty())
            add(Severity::Error, Kind::AreaWithoutFolder, area.section, area.line,
                tr("neither Local nor Remote: the area names no scenery folder"));
        else if (!area.local.isEmpty())
            checkFolder(area);
    }

    void checkSection(const OtherSection& section)
    {
        if (section.name.startsWith(QLatin1String("Area."), Qt::CaseInsensitive))
            add(Severity::Error, Kind::AreaNotNumbered, section.name, section.line,
                tr("the area's name is not a number: the simulator skips this area"));
        else
            add(Severity::Warning, Kind::UnknownSection, section.name, section.line,
                tr("neither [General] nor an area: the simulator does not read this section"));
    }

    void checkLine(const StrayLine& stray)
    {
        add(Severity::Warning, Kind::StrayLine, stray.section, stray.line,
            (stray.section.isEmpty() ? tr("\"%1\" stands before the first section: the "
                                          "simulator skips it")
                                     : tr("\"%1\" is neither a section nor a key: the simulator "
                                          "skips it"))
                .arg(stray.text));
    }

    SceneryCheck result;

private:
    void add(Severity severity, Kind kind, const QString& area, int line, const QString& message)
    {
        result.findings.append({severity, kind, area, line, message});
    }

    void checkLayer(const SceneryArea& area)
    {
        if (!area.layer) {
            add(Severity::Warning, Kind::MissingLayer, area.section,
                area.layerLine > 0 ? area.layerLine : area.line,
                tr("no Layer that is a number: the area has no place in the drawing order"));
        } else if (const SceneryArea* first = m_byLayer.value(*area.layer)) {
            add(Severity::Warning, Kind::DuplicateLayer, area.section, area.layerLine,
                tr("layer %1 is also given to %2 (line %3): which of the two is drawn on top is "
                   "not defined")
                    .arg(*area.layer)
                    .arg(first->section)
                    .arg(first->layerLine));
        } else {
            m_byLayer.insert(*area.layer, &area);
        }
    }

    void checkFolder(const SceneryArea& area)
    {
        const auto found = m_lookup.folder(area.local);
        if (found.outcome == WindowsPathLookup::Outcome::Unmappable) {
            ++result.foldersNotChecked;
            if (!result.notCheckedReasons.contains(found.reason))
                result.notCheckedReasons.append(found.reason);
        } else if (found.outcome == WindowsPathLookup::Outcome::Missing) {
            if (area.active)
                add(Severity::Error, Kind::MissingFolder, area.section, area.localLine,
                    tr("folder %1 not found: the simulator cannot load this area").arg(area.local));
            else
                add(Severity::Warning, Kind::MissingFolder, area.section, area.localLine,
                    tr("folder %1 not found; the area is switched off").arg(area.local));
        }
    }

    WindowsPathLookup m_lookup;
    QHash<int, const SceneryArea*> m_byNumber;
    QHash<int, const SceneryArea*> m_byLayer;
};

} // namespace

qsizetype SceneryCheck::count(CheckFinding::Severity severity) const
{
    return std::count_if(findings.begin(), findings.end(),
                         [severity](const CheckFinding& f) { return f.severity == severity; });
}

int SceneryCheck::exitStatus() const
{
    if (count(Severity::Error) > 0)
        return 1;
    return findings.isEmpty() ? 0 : 3;
}

SceneryCheck checkSceneryList(const SceneryList& list, const CheckFolders& folders)
{
    // Doubles are reported where they come second in the file, not in the order of layers.
    QList<const SceneryArea*> inFileOrder;
    inFileOrder.reserve(list.areas.size());
    for (const SceneryArea& area : list.areas)
        inFileOrder.append(&area);
    std::sort(inFileOrder.begin(), inFileOrder.end(),
              [](const SceneryArea* a, const SceneryArea* b) { return a->line < b->line; });

    Checker checker(folders);
    for (const SceneryArea* area : inFileOrder)
        checker.checkArea(*area);
    for (const OtherSection& section : list.otherSections)
        checker.checkSection(section);
    for (const StrayLine& stray : list.strayLines)
        checker.checkLine(stray);
    std::stable_sort(checker.result.findings.begin(), checker.result.findings.end(),
                     [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
    return checker.result;
}
