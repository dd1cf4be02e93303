#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <optional>

// The Wine prefix the folder lies in (the nearest folder at or above it that holds drive_c and
// dosdevices), or the empty text when there is none.
QString winePrefixOf(const QString& folder);

// Finds the folders that paths written for Windows name on this disk: letter case is ignored in
// every part of the path (as Windows ignores it), both separators are accepted, drive letters
// are looked up in the Wine prefix's dosdevices (C: also as drive_c), and relative paths start
// from a base folder. Folder listings are kept, so that many lookups in the same folders cost
// one listing each.
class WindowsPathLookup
{
    Q_DECLARE_TR_FUNCTIONS(WindowsPathLookup)

public:
    enum class Outcome
    {
        Found,
        Missing,   // the path names no folder on this disk
        Unmappable // the path cannot be placed on this disk (see reason)
    };
    struct Result
    {
        Outcome outcome = Outcome::Missing;
        QString path;   // Found: the folder on this disk
        QString reason; // Unmappable: why
    };

    // prefix: the Wine prefix drive letters lead into, or empty; base: where relative paths start,
    // or empty.
    WindowsPathLookup(const QString& prefix, const QString& base);

    Result folder(const QString& windowsPath);
    // The entry of the folder whose name matches, the exact spelling first; a file when
    // wantFolder is false, a folder when it is true.
    std::optional<QString> child(const QString& folder, const QString& name, bool wantFolder);
    // The folder reached from the existing folder through the relative path's parts.
    std::optional<QString> descend(QString from, QStringView relativePath);

private:
    struct Entry
    {
        QString name;
        bool isFolder = false;
    };
    struct Listing
    {
        QHash<QString, Entry> exact;
        QHash<QString, Entry> folded;
    };
    const Listing& listing(const QString& folder);
    std::optional<QString> driveRoot(QChar letter);

    QString m_prefix;
    QString m_base;
    QHash<QString, Listing> m_listings;
};
