#include "Detect.h"

#include "Fs9Detection.h"
#include "Messages.h"
#include "SystemFolders.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QCommandLineOption applyOption()
{
    return {QStringLiteral("apply"),
            QCoreApplication::translate("Detect",
                                        "Stores the two folders of the first prefix that holds "
                                        "both, as \"hangarctl folders\" does.")};
}

} // namespace

Detect::Detect()
    : Command(QStringLiteral("detect"),
              !simulatorRegistryKey()
                  ? tr("Finds FS9 in your Wine prefixes. Looks in $WINEPREFIX, ~/.wine, and the "
                       "prefixes of Lutris, Bottles and PlayOnLinux, and prints the folders of "
                       "FS9.cfg and of the simulator, which holds Scenery.cfg.")
                  : tr("Finds FS9 where its installer recorded it in the registry, and prints "
                       "the folders of FS9.cfg and of the simulator, which holds Scenery.cfg."),
              {},
              {applyOption(),
               jsonOption(tr("Prints a JSON array instead, a place each: \"prefix\", "
                             "\"fs9Folder\" and \"simulatorFolder\" (null when not found), "
                             "\"fs9FileFound\" and \"simulatorFolderSource\"."))})
{}

int Detect::execute(const QCommandLineParser& parser, const QStringList&)
{
    const QList<Fs9Install> installs = detectFs9OnThisSystem();
    const QString notFound = tr("not found");
    QJsonArray array;
    const auto orNull = [](const QString& text) {
        return text.isEmpty() ? QJsonValue() : QJsonValue(text);
    };
    for (const Fs9Install& install : installs) {
        array.append(
            QJsonObject{{QStringLiteral("prefix"), install.prefix},
                        {QStringLiteral("fs9Folder"), orNull(install.mainFolder)},
                        {QStringLiteral("fs9FileFound"), install.mainFileFound},
                        {QStringLiteral("simulatorFolder"), orNull(install.simulatorFolder)},
                        {QStringLiteral("simulatorFolderSource"), install.simulatorFolderSource}});
        if (parser.isSet(jsonOption()))
            continue;
        out() << install.prefix << '\n'
              << tr("  FS9.cfg folder:    ")
              << (install.mainFolder.isEmpty() ? notFound : install.mainFolder)
              << (install.mainFolder.isEmpty() || install.mainFileFound ? QString()
                                                                        : tr(" (no FS9.cfg yet)"))
              << '\n'
              << tr("  simulator folder:  ")
              << (install.simulatorFolder.isEmpty()
                      ? notFound
                      : tr("%1 (%2)").arg(install.simulatorFolder, install.simulatorFolderSource))
              << '\n';
    }
    if (parser.isSet(jsonOption()))
        out() << QJsonDocument(array).toJson();
    out() << Qt::flush;
    const std::optional<Fs9Install> chosen = chosenInstall(installs);
    if (!chosen)
        return fail(Messages::noInstallFound());
    if (!parser.isSet(applyOption()))
        return Done;
    return storeFolders(chosen->mainFolder, chosen->simulatorFolder);
}
