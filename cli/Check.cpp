#include "Check.h"

#include "CheckReport.h"
#include "ChosenPair.h"
#include "Messages.h"
#include "SceneryCheck.h"
#include "SceneryList.h"
#include "Terminal.h"

#include <QCommandLineParser>
#include <QFileInfo>

Check::Check()
    : Command(QStringLiteral("check"),
              tr("Checks a configuration's scenery list. Finds what would go wrong once it is "
                 "loaded: duplicate area numbers and layers, areas without a folder, folders that "
                 "do not exist (looked "
                 "for in the Wine prefix, letter case ignored), and lines the simulator skips. "
                 "Exits 0 when nothing is wrong, 1 for errors, 3 for warnings only."),
              {{QStringLiteral("NAME"), tr("The configuration, or \"live\" (the default)."), true}},
              {jsonOption(tr("Prints the faults as JSON instead."))})
{}

int Check::execute(const QCommandLineParser& parser, const QStringList& arguments)
{
    const auto state = readCompleted();
    if (!state)
        return Failed;
    QString refusal;
    const auto chosen =
        choosePair(*state, settingsFile(), arguments.value(0, liveName()), &refusal);
    if (!chosen)
        return fail(refusal);
    SceneryList list;
    QString error;
    if (!readSceneryList(chosen->sceneryFile, &list, &error))
        return fail(Messages::unreadablePair(chosen->name, error));
    // Scenery.cfg lies in the simulator's own folder, against which relative folders are read.
    const QString simulatorFolder = QFileInfo(chosen->sceneryFile).path();
    const SceneryCheck check = checkSceneryList(list, {simulatorFolder, simulatorFolder});
    if (parser.isSet(jsonOption()))
        out() << checkAsJson(check).toJson();
    else
        out() << checkAsText(check, standardOutputIsTerminal());
    out() << Qt::flush;
    return check.exitStatus();
}
