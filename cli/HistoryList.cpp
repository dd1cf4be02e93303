#include "HistoryList.h"

#include "HistoryRestore.h"
#include "TextTable.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject fileObject(const History& history, const KeptFile& file)
{
    const bool kept = !file.keptAs.isEmpty();
    return {{QStringLiteral("path"), file.path},
            {QStringLiteral("kept"),
             kept ? QJsonValue(history.keptFilePath(file.keptAs)) : QJsonValue()},
            {QStringLiteral("size"), kept ? QJsonValue(file.size) : QJsonValue()},
            {QStringLiteral("modified"),
             kept ? QJsonValue(file.modified.toUTC().toString(Qt::ISODateWithMs)) : QJsonValue()}};
}

} // namespace

HistoryList::HistoryList()
    : Command(QStringLiteral("history"),
              tr("Lists the pairs that the history keeps. One line each, newest first: the "
                 "entry's number for \"hangarctl restore\", when it was kept, the operation that "
                 "replaced or deleted it, and what the pair was: a configuration's own pair, the "
                 "live files and the configuration they were a copy of, if any, or no files."),
              {},
              {jsonOption(tr("Prints a JSON array instead, with each entry's two files: the path "
                             "each came from, its kept copy, its size and modification time "
                             "(null for a file that was not there), and what it matched."))})
{}

int HistoryList::execute(const QCommandLineParser& parser, const QStringList&)
{
    const History kept = history();
    const QList<HistoryEntry> entries = kept.entries();
    if (!parser.isSet(jsonOption())) {
        QList<TextRow> rows;
        for (const HistoryEntry& entry : entries) {
            rows.append({{QString::number(entry.id).rightJustified(3),
                          entry.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                          entry.operation, keptPairText(entry)},
                         {}});
        }
        for (const QString& line : alignedRows(rows, false))
            out() << line << '\n';
        out() << Qt::flush;
        return Done;
    }
    QJsonArray array;
    for (const HistoryEntry& entry : entries) {
        array.append(
            QJsonObject{{QStringLiteral("id"), entry.id},
                        {QStringLiteral("time"), entry.time.toUTC().toString(Qt::ISODateWithMs)},
                        {QStringLiteral("operation"), entry.operation},
                        {QStringLiteral("name"), entry.name},
                        {QStringLiteral("live"), isLivePair(entry)},
                        {QStringLiteral("matched"), entry.matched && !entry.matched->isEmpty()
                                                        ? QJsonValue(*entry.matched)
                                                        : QJsonValue()},
                        {QStringLiteral("fs9"), fileObject(kept, entry.files[0])},
                        {QStringLiteral("scenery"), fileObject(kept, entry.files[1])}});
    }
    out() << QJsonDocument(array).toJson() << Qt::flush;
    return Done;
}
