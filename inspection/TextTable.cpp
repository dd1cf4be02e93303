#include "TextTable.h"

namespace {

QString coloured(const QString& text, const QString& code, bool colour)
{
    if (!colour || code.isEmpty())
        return text;
    return QStringLiteral("\x1b[") + code + u'm' + text + QStringLiteral("\x1b[0m");
}

} // namespace

QStringList alignedRows(const QList<TextRow>& rows, bool colour)
{
    QList<qsizetype> widths;
    for (const TextRow& row : rows) {
        widths.resize(qMax(widths.size(), row.cells.size()));
        for (qsizetype c = 0; c < row.cells.size(); ++c)
            widths[c] = qMax(widths[c], row.cells[c].size());
    }
    QStringList lines;
    for (const TextRow& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.cells.size(); ++c) {
            const QString padding(widths[c] - row.cells[c].size() + 2, u' ');
            line += (c == 0 ? coloured(row.cells[c], row.colour, colour) : row.cells[c]) + padding;
        }
        while (line.endsWith(u' '))
            line.chop(1);
        lines.append(line);
    }
    return lines;
}

QString boldText(const QString& text, bool colour)
{
    return coloured(text, QStringLiteral("1"), colour);
}
