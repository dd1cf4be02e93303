#include "Diff.h"

#include "ChosenPair.h"
#include "ConfigDiff.h"
#include "DiffReport.h"
#include "Messages.h"

#include <QCommandLineParser>

Diff::Diff()
    : Command(QStringLiteral("diff"),
              tr("Compares two configurations. Shows the keys of FS9.cfg added, removed and "
                 "changed, by section, and the scenery areas added, removed, switched on or off, "
                 "moved or pointed at another folder. Exits 0, or with --exit-code 1 when they "
                 "differ, as \"git diff\" does."),
              {{QStringLiteral("A"), tr("The configuration before.")},
               {QStringLiteral("B"), tr("The configuration after; the live files when left out."),
                true}},
              {jsonOption(tr("Prints the differences as JSON instead.")), exitCodeOption(),
               quietOption()})
{}

QCommandLineOption Diff::exitCodeOption()
{
    return {QStringLiteral("exit-code"), tr("Exits 1 when the two differ, 0 when they do not.")};
}

QCommandLineOption Diff::quietOption()
{
    return {QStringLiteral("quiet"), tr("Prints nothing; implies --exit-code.")};
}

int Diff::execute(const QCommandLineParser& parser, const QStringList& arguments)
{
    const StoredState state = read();
    QString refusal;
    std::optional<ChosenPair> chosen[2];
    ConfigPair pairs[2];
    for (int i = 0; i < 2; ++i) {
        const std::optional<QString> name =
            i < arguments.size() ? std::optional(arguments.at(i)) : std::nullopt;
        chosen[i] = choosePair(state, settingsFile(), name, &refusal);
        if (!chosen[i])
            return fail(refusal);
        QString error;
        if (!readConfigPair(chosen[i]->mainFile, chosen[i]->sceneryFile, &pairs[i], &error))
            return fail(Messages::unreadablePair(chosen[i]->name, error));
    }
    const ConfigDiff diff = diffConfigs(pairs[0], pairs[1]);
    const int status =
        (parser.isSet(exitCodeOption()) || parser.isSet(quietOption())) && !diff.isEmpty() ? Failed
                                                                                           : Done;
    if (parser.isSet(quietOption()))
        return status;
    if (parser.isSet(jsonOption()))
        out() << diffAsJson(diff, chosen[0]->name, chosen[1]->name).toJson();
    else
        out() << diffAsText(diff, chosen[0]->name, chosen[1]->name, colour());
    out() << Qt::flush;
    return status;
}
