// Stands in for the simulator in tests of "hangarctl run":
//   stand_in FS9_FOLDER SCENERY_FOLDER STATUS [remove FILE | sleep SECONDS | COMMAND...]
// A line on its standard input, when not empty, becomes FS9.cfg, the text of $SCENERY, when set,
// Scenery.cfg, as a flight changes them; it says "flying", then removes the file, sleeps or runs
// the command, and exits with STATUS whatever came of it.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

bool writeNonEmpty(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return text.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4)
        return 125;
    std::string main;
    std::getline(std::cin, main);
    if (!writeNonEmpty(QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("FS9.cfg")),
                       QByteArray::fromStdString(main)) ||
        !writeNonEmpty(
            QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("Scenery.cfg")),
            qgetenv("SCENERY"))) {
        std::fputs("stand_in: a live file could not be written\n", stderr);
        return 125;
    }
    std::puts("flying");
    std::fflush(stdout);
    QStringList command;
    for (int i = 4; i < argc; ++i)
        command << QString::fromLocal8Bit(argv[i]);
    if (command.value(0) == QLatin1String("remove")) {
        if (!QFile::remove(command.value(1)))
            std::fputs("stand_in: the file could not be removed\n", stderr);
    } else if (command.value(0) == QLatin1String("sleep")) {
        QThread::sleep(command.value(1).toULong());
    } else if (!command.isEmpty()) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(command.takeFirst(), command);
        if (!process.waitForFinished(-1))
            std::fprintf(stderr, "stand_in: %s\n", qPrintable(process.errorString()));
    }
    return std::atoi(argv[3]);
}
