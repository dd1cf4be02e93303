#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One line of a table printed as text; colour is the terminal's code for its first cell
// ("31" red, "32" green, "33" yellow), or empty.
struct TextRow
{
    QStringList cells;
    QString colour;
};

// The rows as lines whose columns each start at the same place. The colour codes are written only
// when colour is true, outside the padding, so that they cannot shift a column. No line ends with
// a blank.
QStringList alignedRows(const QList<TextRow>& rows, bool colour);

// The text in the terminal's bold, when colour is true.
QString boldText(const QString& text, bool colour);
