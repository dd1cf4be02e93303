#include "CheckReport.h"

#include "SceneryCheck.h"
#include "TextTable.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

namespace {

using Severity = CheckFinding::Severity;
using Kind = CheckFinding::Kind;

// The translation context of this file's texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(CheckReport)
};

QString severityWord(Severity severity)
{
    return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

QString kindWord(Kind kind)
{
    switch (kind) {
    case Kind::DuplicateAreaNumber:
        return QStringLiteral("duplicate-area-number");
    case Kind::AreaWithoutFolder:
        return QStringLiteral("area-without-folder");
    case Kind::AreaNotNumbered:
        return QStringLiteral("area-not-numbered");
    case Kind::UnknownSection:
        return QStringLiteral("unknown-section");
    case Kind::MissingFolder:
        return QStringLiteral("missing-folder");
    case Kind::DuplicateLayer:
        return QStringLiteral("duplicate-layer");
    case Kind::MissingLayer:
        return QStringLiteral("missing-layer");
    case Kind::StrayLine:
        break;
    }
    return QStringLiteral("stray-line");
}

// "1 error" / "2 errors" without relying on a translation being loaded for the plural.
QString counted(qsizetype n, const char* one, const char* many)
{
    return (n == 1 ? Texts::tr(one) : Texts::tr(many)).arg(n);
}

} // namespace

QString checkAsText(const SceneryCheck& check, bool colour)
{
    QList<TextRow> rows;
    for (const CheckFinding& finding : check.findings) {
        const QString word = severityWord(finding.severity);
        rows.append(
            {{word, finding.area, Texts::tr("line %1").arg(finding.line), finding.message},
             finding.severity == Severity::Error ? QStringLiteral("31") : QStringLiteral("33")});
    }
    QStringList lines = alignedRows(rows, colour);
    if (check.foldersNotChecked > 0)
        lines.append(counted(check.foldersNotChecked, "%1 folder not looked for: %2",
                             "%1 folders not looked for: %2")
                         .arg(check.notCheckedReasons.join(QStringLiteral("; "))));
    if (check.findings.isEmpty())
        lines.append(Texts::tr("nothing wrong found"));
    else
        lines.append(counted(check.count(Severity::Error), "%1 error", "%1 errors") +
                     QStringLiteral(", ") +
                     counted(check.count(Severity::Warning), "%1 warning", "%1 warnings"));
    return lines.join(u'\n') + u'\n';
}

QJsonDocument checkAsJson(const SceneryCheck& check)
{
    QJsonArray findings;
    for (const CheckFinding& finding : check.findings)
        findings.append(QJsonObject{{QStringLiteral("severity"), severityWord(finding.severity)},
                                    {QStringLiteral("kind"), kindWord(finding.kind)},
                                    {QStringLiteral("area"), finding.area},
                                    {QStringLiteral("line"), finding.line},
                                    {QStringLiteral("message"), finding.message}});
    return QJsonDocument(QJsonObject{{QStringLiteral("status"), check.exitStatus()},
                                     {QStringLiteral("errors"), check.count(Severity::Error)},
                                     {QStringLiteral("warnings"), check.count(Severity::Warning)},
                                     {QStringLiteral("findings"), findings},
                                     {QStringLiteral("foldersNotChecked"), check.foldersNotChecked},
                                     {QStringLiteral("notCheckedReasons"),
                                      QJsonArray::fromStringList(check.notCheckedReasons)}});
}
