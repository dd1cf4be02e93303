#pragma once

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

// A temporary FS9 folder and scenery folder, each holding its live file ("live main",
// "live scenery"), and the paths of snapshot files in them.
struct FolderFixture
{
    FolderFixture()
    {
        QDir(root.path()).mkpath(QStringLiteral("fs9"));
        QDir(root.path()).mkpath(QStringLiteral("scenery"));
        TestFiles::write(liveMain(), "live main");
        TestFiles::write(liveScenery(), "live scenery");
    }

    QString liveMain() const { return in(fs9, QStringLiteral("FS9.cfg")); }
    QString liveScenery() const { return in(scenery, QStringLiteral("Scenery.cfg")); }
    QString snapshotMain(const QString& name) const
    {
        return in(fs9, QStringLiteral("FS9.") + name + QStringLiteral(".cfg"));
    }
    QString snapshotScenery(const QString& name) const
    {
        return in(scenery, QStringLiteral("Scenery.") + name + QStringLiteral(".cfg"));
    }
    static QString in(const QString& folder, const QString& file)
    {
        return folder + QDir::separator() + file;
    }

    // A saved configuration whose files hold "<name> main" and "<name> scenery".
    void addConfig(const QString& name) const
    {
        TestFiles::write(snapshotMain(name), (name + QStringLiteral(" main")).toUtf8());
        TestFiles::write(snapshotScenery(name), (name + QStringLiteral(" scenery")).toUtf8());
    }

    // The live pair, then the snapshot pair of the name.
    QByteArrayList contents(const QString& name) const
    {
        return {TestFiles::read(liveMain()), TestFiles::read(liveScenery()),
                TestFiles::read(snapshotMain(name)), TestFiles::read(snapshotScenery(name))};
    }

    QTemporaryDir root;
    QString fs9 = QDir::toNativeSeparators(root.filePath(QStringLiteral("fs9")));
    QString scenery = QDir::toNativeSeparators(root.filePath(QStringLiteral("scenery")));
};
