#include "FileCommit.h"

#include <QFile>

bool NewFile::copyFrom(const QString& source, QString* error)
{
    // Pieces keep the memory a copy takes small whatever the file's size.
    constexpr qint64 pieceSize = qint64{256} * 1024;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray piece = in.read(pieceSize);
        if (piece.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = in.errorString();
            return false;
        }
        if (!write(piece, error))
            return false;
    }
    return true;
}
