#include "KeptPairDiff.h"

#include "ConfigDiff.h"
#include "ConfigPaths.h"
#include "DiffReport.h"
#include "History.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(KeptPairDiff)
};

bool sameBytes(const QString& path, const QString& otherPath)
{
    QFile file(path);
    QFile other(otherPath);
    return file.open(QIODevice::ReadOnly) && other.open(QIODevice::ReadOnly) &&
           file.readAll() == other.readAll();
}

} // namespace

QString keptPairDifferences(const History& history, const HistoryEntry& entry)
{
    for (const KeptFile& file : entry.files) {
        if (file.keptAs.isEmpty()) {
            return Texts::tr("There was no %1 when this pair was kept: putting it back deletes the "
                             "file there now.")
                .arg(file.path);
        }
    }
    const ConfigFolders folders = ConfigFolders::fromTexts(QFileInfo(entry.files[0].path).path(),
                                                           QFileInfo(entry.files[1].path).path());
    ConfigPair live;
    ConfigPair kept;
    QString error;
    if (!readConfigPair(folders.liveMain(), folders.liveScenery(), &live, &error) ||
        !readConfigPair(history.keptFilePath(entry.files[0].keptAs),
                        history.keptFilePath(entry.files[1].keptAs), &kept, &error))
        return Texts::tr("The two pairs cannot be compared: %1").arg(error);
    const ConfigDiff diff = diffConfigs(live, kept);
    QString text =
        diffAsText(diff, QStringLiteral("live"), Texts::tr("entry %1").arg(entry.id), false);
    // No setting differs, yet the files may: say so rather than let "no differences" mislead.
    if (diff.isEmpty() &&
        !(sameBytes(folders.liveMain(), history.keptFilePath(entry.files[0].keptAs)) &&
          sameBytes(folders.liveScenery(), history.keptFilePath(entry.files[1].keptAs))))
        text +=
            Texts::tr("The files differ all the same, in what makes no setting: spacing, letter "
                      "case of names, comments, the order of keys, or lines outside any "
                      "section.\n");
    return text;
}
