#pragma once

#include "DiskFileSystem.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <filesystem>
#include <vector>

// The real file system, and the states a power cut may leave it in. Every change is made on disk
// and journaled with what undoes it; cutPower() undoes changes that had not reached the disk and
// tears data that was never flushed.
//
// What has reached the disk:
// - Data: what stageCopy, writeRecord and writeWhole write is flushed by contract. A file that
//   another program wrote (notFlushed) keeps only half its bytes unless syncFile flushed it, under
//   whatever name it has by then.
// - Names: a change of names (a new file, a rename, a link, a removal) is kept once syncFolder ran
//   after it on every folder it touched. Before that, renames, links and removals reach the disk in
//   the order they were made, as a journal writes them, but a new file's name may be lost while
//   later changes are kept (a file system that writes a new name only with its folder).
class PowerCutFileSystem : public DiskFileSystem
{
public:
    // The file's bytes are only in memory: another program wrote them and nothing flushed them.
    void notFlushed(const QString& path) { m_data[key(path)] = ++m_lastData; }
    // The count-th rename (from 1) fails with nothing done; the process goes on.
    void failRename(int count) { m_failRename = count; }
    // The count-th call (from 1) and every later one fail with nothing done, as a dead process.
    void stopAt(int count) { m_stopAt = count; }
    int calls() const { return m_calls; }

    // Puts the disk in one of the states a power cut now may leave: variant 0 keeps every change,
    // 1 undoes every change not on disk yet, 2 to n+1 undo the n such changes one at a time, the
    // next ones random sets of them (each also undoes the later changes that depend on it). Data
    // not flushed is torn in every variant. False, with nothing done, past the last variant.
    bool cutPower(int variant)
    {
        const int count = int(m_journal.size());
        std::vector<int> open;
        for (int i = 0; i < count; ++i) {
            if (!onDisk(i))
                open.push_back(i);
        }
        const int randomFrom = 2 + int(open.size());
        if (variant >= (open.empty() ? 1 : randomFrom + 3))
            return false;
        QRandomGenerator random{uint(variant)};
        std::vector<bool> undo(std::size_t(count), false);
        for (std::size_t k = open.size(); k-- > 0;) {
            const int i = open[k];
            if (undo[i] || !(variant == 1 || variant == 2 + int(k) ||
                             (variant >= randomFrom && random.bounded(2) == 1)))
                continue;
            // The change goes with every later one that depends on it, unless one of those is on
            // disk already: then this one is too.
            std::vector<bool> with = undo;
            with[i] = true;
            bool possible = true;
            for (int j = i + 1; j < count; ++j) {
                for (int before = i; before < j && !with[j]; ++before)
                    with[j] = with[before] && dependsOn(j, before);
                possible = possible && !(with[j] && onDisk(j));
            }
            if (possible)
                undo = with;
        }
        for (int i = count; i-- > 0;) {
            if (undo[i])
                undoChange(m_journal[i]);
        }
        // Sizes first: names of one file (links) must not tear it twice.
        std::vector<std::pair<QString, qint64>> torn;
        for (auto it = m_data.cbegin(); it != m_data.cend(); ++it)
            torn.emplace_back(it.key(), QFileInfo(it.key()).size() / 2);
        for (const auto& [path, size] : torn)
            QFile::resize(path, size);
        return true;
    }

    std::optional<QString> stageCopy(const QString& source, const QString& destination,
                                     QString* error) override
    {
        const auto copy =
            dead(error) ? std::nullopt : DiskFileSystem::stageCopy(source, destination, error);
        if (copy)
            changed({Kind::Create, {}, key(*copy), {}});
        return copy;
    }
    bool writeRecord(const QString& path, const QByteArray& bytes, QString* error) override
    {
        // Written in place over a file there already, it keeps that file's name.
        const Saved was = saved(path);
        return !dead(error) && DiskFileSystem::writeRecord(path, bytes, error) &&
               (was.present || changed({Kind::Create, {}, key(path), {}}));
    }
    bool writeWhole(const QString& path, const QByteArray& bytes, const QString& equivalent,
                    QString* error) override
    {
        const Saved was = saved(path);
        return !dead(error) && DiskFileSystem::writeWhole(path, bytes, equivalent, error) &&
               changed({Kind::Create, {}, key(path), was});
    }
    bool rename(const QString& from, const QString& to, QString* error) override
    {
        const Saved was = saved(to);
        return !dead(error) && !refusedRename(error) && DiskFileSystem::rename(from, to, error) &&
               changed({Kind::Rename, key(from), key(to), was});
    }
    bool link(const QString& existing, const QString& newName, QString* error) override
    {
        return !dead(error) && DiskFileSystem::link(existing, newName, error) &&
               changed({Kind::Link, key(existing), key(newName), {}});
    }
    bool removeFile(const QString& path, QString* error) override
    {
        const Saved was = saved(path);
        return !dead(error) && DiskFileSystem::removeFile(path, error) &&
               changed({Kind::Remove, {}, key(path), was});
    }
    bool syncFolder(const QString& folder, QString* error) override
    {
        if (dead(error) || !DiskFileSystem::syncFolder(folder, error))
            return false;
        m_synced[key(folder)] = int(m_journal.size());
        return true;
    }
    bool syncFile(const QString& path, QString* error) override
    {
        if (dead(error) || !DiskFileSystem::syncFile(path, error))
            return false;
        m_data.removeIf(
            [id = m_data.value(key(path), -1)](const auto& it) { return it.value() == id; });
        return true;
    }

private:
    enum class Kind
    {
        Create, // a new file at to, possibly over one
        Rename,
        Link,  // from is the existing name, to the new one
        Remove // of the file at to
    };
    // What a name held before a change replaced or removed it.
    struct Saved
    {
        bool present = false;
        QByteArray bytes;
        QDateTime modified;
        int data = 0;   // its bytes not flushed yet
        QString sameAs; // another name of the file, which a power cut would bring back
    };
    struct Change
    {
        Kind kind;
        QString from;
        QString to;
        Saved replaced;
    };

    // One spelling of a path, whichever separators the caller used (Windows takes both).
    static QString key(const QString& path)
    {
        return QDir::cleanPath(QDir::fromNativeSeparators(path));
    }
    static QString folderOf(const QString& path) { return key(QFileInfo(path).path()); }

    Saved saved(const QString& spelled) const
    {
        const QString path = key(spelled);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        Saved was{true, file.readAll(), QFileInfo(path).lastModified(), m_data.value(path), {}};
        const auto native = [](const QString& name) {
            return std::filesystem::path(name.toStdU16String());
        };
        std::error_code failed;
        for (const Change& c : m_journal) {
            for (const QString& name : {c.from, c.to}) {
                if (!name.isEmpty() && name != path &&
                    std::filesystem::equivalent(native(name), native(path), failed))
                    was.sameAs = name;
            }
        }
        return was;
    }
    // Journals the change; unflushed bytes follow their file to its new name.
    bool changed(const Change& c)
    {
        m_journal.push_back(c);
        if (c.kind == Kind::Rename)
            moveData(c.from, c.to);
        else if (c.kind == Kind::Link && m_data.contains(c.from))
            m_data[c.to] = m_data[c.from];
        else if (c.kind != Kind::Link)
            m_data.remove(c.to);
        return true;
    }
    // Reached the disk: every folder it touched was flushed after it.
    bool onDisk(int i) const
    {
        const Change& c = m_journal[i];
        return (c.from.isEmpty() || m_synced.value(folderOf(c.from), -1) > i) &&
               m_synced.value(folderOf(c.to), -1) > i;
    }
    bool dependsOn(int later, int earlier) const
    {
        const Change& a = m_journal[later];
        const Change& b = m_journal[earlier];
        const auto ordered = [](const Change& c) {
            return c.kind != Kind::Create || c.replaced.present;
        };
        return (ordered(a) && ordered(b)) || a.to == b.to || a.to == b.from ||
               (!a.from.isEmpty() && (a.from == b.to || a.from == b.from));
    }
    void undoChange(const Change& c)
    {
        if (c.kind == Kind::Rename) {
            QFile::rename(c.to, c.from);
            moveData(c.to, c.from);
        } else if (c.kind != Kind::Remove) {
            QFile::remove(c.to);
            m_data.remove(c.to);
        }
        QString unused;
        if (!c.replaced.present || (!c.replaced.sameAs.isEmpty() &&
                                    DiskFileSystem::link(c.replaced.sameAs, c.to, &unused)))
            return;
        QFile file(c.to);
        if (file.open(QIODevice::WriteOnly) && file.write(c.replaced.bytes) >= 0 && file.flush())
            file.setFileTime(c.replaced.modified, QFileDevice::FileModificationTime);
        if (c.replaced.data != 0)
            m_data[c.to] = c.replaced.data;
    }
    void moveData(const QString& from, const QString& to)
    {
        m_data.remove(to);
        if (m_data.contains(from))
            m_data[to] = m_data.take(from);
    }
    bool dead(QString* error)
    {
        const bool stopped = ++m_calls >= m_stopAt && m_stopAt > 0;
        if (stopped)
            *error = QStringLiteral("the power is cut");
        return stopped;
    }
    bool refusedRename(QString* error)
    {
        if (++m_renames == m_failRename)
            *error = QStringLiteral("refused rename");
        return m_renames == m_failRename;
    }

    std::vector<Change> m_journal;
    // Per folder: the changes before this index were flushed with it.
    QHash<QString, int> m_synced;
    // The files whose bytes are not flushed, by path; links share the number.
    QHash<QString, int> m_data;
    int m_lastData = 0;
    int m_calls = 0;
    int m_stopAt = 0;
    int m_renames = 0;
    int m_failRename = 0;
};
