#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

// Small helpers for tests that work on real files in temporary folders.
namespace TestFiles {

inline void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The file's bytes, or the text "<missing>" when there is no file.
inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

// Every file under the folder, hidden ones included, by its path relative to it, with its bytes;
// skipped, when given, leaves out the paths it is true for. The empty file that holds a folder's
// lock on Windows tells nothing and is left out.
inline QMap<QString, QByteArray> under(const QString& folder,
                                       const std::function<bool(const QString&)>& skipped = {})
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = QDir(folder).relativeFilePath(it.next());
        if ((!skipped || !skipped(path)) && it.fileName() != u".hangar-lock"_s)
            files.insert(path, read(it.filePath()));
    }
    return files;
}

inline void makeReadOnly(const QString& path)
{
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther));
}

// Starts a copy of a program that waits until it is killed, made under the path given, so that
// the system's process list shows a program of that name: sleep; on Windows cmd, which waits
// for commands on its input, open until the process ends.
inline void startLookalike(QProcess& process, const QString& path)
{
#ifdef Q_OS_WIN
    const QString program = qEnvironmentVariable("COMSPEC");
    const QStringList arguments;
    // Without a console of its own: Wine would start a console host for it that outlives it and
    // holds the test's output open, so that the test never ends for whoever reads that output.
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* created) { created->flags |= DETACHED_PROCESS; });
#else
    const QString program = QStandardPaths::findExecutable(u"sleep"_s);
    const QStringList arguments{u"60"_s};
#endif
    QVERIFY(QFile::copy(program, path));
    process.start(path, arguments);
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
}

} // namespace TestFiles

// A temporary FS9 folder and scenery folder, each holding its live file ("live main",
// "live scenery"), and the paths of snapshot files in them.
struct FolderFixture
{
    FolderFixture()
    {
        QDir(root.path()).mkpath(u"fs9"_s);
        QDir(root.path()).mkpath(u"scenery"_s);
        TestFiles::write(liveMain(), "live main");
        TestFiles::write(liveScenery(), "live scenery");
    }

    QString liveMain() const { return in(fs9, u"FS9.cfg"_s); }
    QString liveScenery() const { return in(scenery, u"Scenery.cfg"_s); }
    QString snapshotMain(const QString& name) const { return in(fs9, u"FS9.%1.cfg"_s.arg(name)); }
    QString snapshotScenery(const QString& name) const
    {
        return in(scenery, u"Scenery.%1.cfg"_s.arg(name));
    }
    static QString in(const QString& folder, const QString& file)
    {
        return folder + QDir::separator() + file;
    }

    // A saved configuration whose files hold "<name> main" and "<name> scenery".
    void addConfig(const QString& name) const
    {
        TestFiles::write(snapshotMain(name), (name + u" main"_s).toUtf8());
        TestFiles::write(snapshotScenery(name), (name + u" scenery"_s).toUtf8());
    }

    // The live pair, then the snapshot pair of the name.
    QByteArrayList contents(const QString& name) const
    {
        return {TestFiles::read(liveMain()), TestFiles::read(liveScenery()),
                TestFiles::read(snapshotMain(name)), TestFiles::read(snapshotScenery(name))};
    }

    QTemporaryDir root;
    QString fs9 = QDir::toNativeSeparators(root.filePath(u"fs9"_s));
    QString scenery = QDir::toNativeSeparators(root.filePath(u"scenery"_s));
};
