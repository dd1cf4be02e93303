#include "Folders.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QCommandLineOption fs9Option()
{
    return {QStringLiteral("fs9"),
            QCoreApplication::translate("Folders", "Stores DIR as the folder of FS9.cfg."),
            QStringLiteral("DIR")};
}

QCommandLineOption sceneryOption()
{
    return {QStringLiteral("scenery"),
            QCoreApplication::translate("Folders", "Stores DIR as the folder of Scenery.cfg."),
            QStringLiteral("DIR")};
}

QString shown(const StoredState& state, const QString& stored, const QString& checked)
{
    if (!state.fileFound())
        return QCoreApplication::translate("Folders", "(not set)");
    // Start-up shows a folder that does not exist as an empty box.
    if (checked != stored)
        return QCoreApplication::translate("Folders", "%1 (not found)").arg(stored);
    return stored;
}

} // namespace

Folders::Folders()
    : Command(
          QStringLiteral("folders"),
          tr("Prints or sets the two folders. Without options, prints the folders that hold "
             "FS9.cfg and Scenery.cfg; with one, checks that the folder exists and stores "
             "its full path, as the window does when it closes."),
          {},
          {fs9Option(), sceneryOption(),
           jsonOption(tr("Prints a JSON object instead: \"fs9\" and \"scenery\", each with "
                         "\"path\" (the folder as stored, null when none is) and \"exists\"."))})
{}

int Folders::execute(const QCommandLineParser& parser, const QStringList&)
{
    const QList<QCommandLineOption> options{fs9Option(), sceneryOption()};
    if (!parser.isSet(options.at(0)) && !parser.isSet(options.at(1))) {
        const StoredState state = read();
        if (parser.isSet(jsonOption())) {
            const auto folder = [&](const QString& stored, const QString& checked) {
                return QJsonObject{
                    {QStringLiteral("path"), state.fileFound() ? QJsonValue(stored) : QJsonValue()},
                    {QStringLiteral("exists"), state.fileFound() && checked == stored}};
            };
            out() << QJsonDocument(
                         QJsonObject{{QStringLiteral("fs9"),
                                      folder(state.storedFs9Folder(), state.fs9Folder)},
                                     {QStringLiteral("scenery"),
                                      folder(state.storedSceneryFolder(), state.sceneryFolder)}})
                         .toJson()
                  << Qt::flush;
            return Done;
        }
        out() << tr("FS9 folder:     ") << shown(state, state.storedFs9Folder(), state.fs9Folder)
              << '\n'
              << tr("Scenery folder: ")
              << shown(state, state.storedSceneryFolder(), state.sceneryFolder) << '\n'
              << Qt::flush;
        return Done;
    }

    const auto given = [&](const QCommandLineOption& option) {
        return parser.isSet(option) ? std::optional(parser.value(option)) : std::nullopt;
    };
    return storeFolders(given(options.at(0)), given(options.at(1)));
}
