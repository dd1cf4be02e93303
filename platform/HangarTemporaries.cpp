#include "HangarTemporaries.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

const QRegularExpression& temporaryPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\..+\.hangar-[a-z]+-[A-Za-z0-9]{6}$)"));
    return pattern;
}

QString randomSuffix()
{
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(62)]);
    return suffix;
}

} // namespace

namespace HangarTemporaries {

QString nameBeside(const QString& target, const QString& kind)
{
    const QFileInfo info(target);
    return QDir(info.path())
        .filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".hangar-") + kind +
                  QLatin1Char('-') + randomSuffix());
}

bool isTemporaryName(const QString& fileName)
{
    return temporaryPattern().match(fileName).hasMatch();
}

QStringList inFolder(const QString& folder)
{
    const QDir dir(folder);
    QStringList paths;
    const QStringList names =
        dir.entryList({QStringLiteral(".*.hangar-*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (isTemporaryName(name))
            paths << dir.filePath(name);
    }
    return paths;
}

} // namespace HangarTemporaries
