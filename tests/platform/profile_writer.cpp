// Rewrites one large key of a profile file until it is killed.
#include "ProfileFile.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString file = app.arguments().value(1);
    const QString values[] = {QString(200000, u'A'), QString(200000, u'B')};
    for (unsigned i = 0;; ++i) {
        QString error;
        if (!ProfileFile::writeString(QStringLiteral("FS Config"), QStringLiteral("Config1"),
                                      values[i % 2], file, &error))
            return 1;
    }
}
