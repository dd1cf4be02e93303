#include "Diff.h"

#include "ChosenPair.h"
#include "ConfigDiff.h"
#include "DiffReport.h"
#include "Messages.h"
#include "Terminal.h"

#include <QCommandLineParser>

Diff::Diff()
    : Command(QStringLiteral("diff"),
              tr("Compares two configurations. Shows the keys of FS9.cfg added, removed and "
                 "changed, by section, and the scenery areas added, removed, switched on or off, "
                 "moved or pointed at another folder. \"live\" names the live files."),
              {{QStringLiteral("A"), tr("The configuration before, or \"live\".")},
               {QStringLiteral("B"), tr("The configuration after, or \"live\".")}},
              {jsonOption(tr("Prints the differences as JSON instead."))})
{}

int Diff::execute(const QCommandLineParser& parser, const QStringList& arguments)
{
    const auto completed = readCompleted();
    if (!completed)
        return Failed;
    const StoredState& state = *completed;
    QString refusal;
    std::optional<ChosenPair> chosen[2];
    ConfigPair pairs[2];
    for (int i = 0; i < 2; ++i) {
        chosen[i] = choosePair(state, settingsFile(), arguments.at(i), &refusal);
        if (!chosen[i])
            return fail(refusal);
        QString error;
        if (!readConfigPair(chosen[i]->mainFile, chosen[i]->sceneryFile, &pairs[i], &error))
            return fail(Messages::unreadablePair(chosen[i]->name, error));
    }
    const ConfigDiff diff = diffConfigs(pairs[0], pairs[1]);
    if (parser.isSet(jsonOption()))
        out() << diffAsJson(diff, chosen[0]->name, chosen[1]->name).toJson();
    else
        out() << diffAsText(diff, chosen[0]->name, chosen[1]->name, standardOutputIsTerminal());
    out() << Qt::flush;
    return Done;
}
