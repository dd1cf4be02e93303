#include "List.h"

#include "ConfigPaths.h"
#include "DirectoryLookup.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject fileObject(const std::optional<QString>& path)
{
    const bool present = path && FileExists(*path);
    const QFileInfo info(path.value_or(QString()));
    // In the system's own form: a folder stored as typed may use "/" on Windows.
    return {
        {QStringLiteral("path"), path ? QJsonValue(QDir::toNativeSeparators(*path)) : QJsonValue()},
        {QStringLiteral("size"), present ? QJsonValue(info.size()) : QJsonValue()},
        {QStringLiteral("modified"),
         present ? QJsonValue(info.lastModified().toUTC().toString(Qt::ISODateWithMs))
                 : QJsonValue()}};
}

} // namespace

List::List()
    : Command(QStringLiteral("list"),
              tr("Lists the configurations. One line each, as the window's load list shows them "
                 "when it opens: \"FS Original\" first, and \"*\" before the one loaded last."),
              {},
              {jsonOption(tr("Prints a JSON array instead, with each configuration's "
                             "two snapshot files, their sizes and modification "
                             "times (null for a file that is missing)."))})
{}

int List::execute(const QCommandLineParser& parser, const QStringList&)
{
    const auto completed = readCompleted();
    if (!completed)
        return Failed;
    const StoredState& state = *completed;
    if (!parser.isSet(jsonOption())) {
        for (const QString& entry : state.entries())
            out() << (entry == state.lastConfig ? "* " : "  ") << entry << '\n';
        out() << Qt::flush;
        return Done;
    }

    // Without a settings file the folders, and so the files, are not known.
    const auto folders =
        ConfigFolders::fromTexts(state.storedFs9Folder(), state.storedSceneryFolder());
    const auto known = [&](const QString& path) {
        return state.fileFound() ? std::optional(path) : std::nullopt;
    };
    QJsonArray configurations;
    for (const QString& entry : state.entries()) {
        configurations.append(QJsonObject{
            {QStringLiteral("name"), entry},
            {QStringLiteral("lastLoaded"), entry == state.lastConfig},
            {QStringLiteral("fs9"), fileObject(known(folders.snapshotMain(entry)))},
            {QStringLiteral("scenery"), fileObject(known(folders.snapshotScenery(entry)))}});
    }
    out() << QJsonDocument(configurations).toJson() << Qt::flush;
    return Done;
}
