#pragma once

#include <QByteArray>
#include <QString>

// Small helpers for tests that work on real files in temporary folders.
namespace TestFiles {

void write(const QString& path, const QByteArray& bytes);
// The file's bytes, or the text "<missing>" when there is no file.
QByteArray read(const QString& path);
void makeReadOnly(const QString& path);

} // namespace TestFiles
