#include "ContentFingerprint.h"
#include "FileOperation.h"
#include "FolderFixture.h"
#include "PowerCutFileSystem.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Operation)

namespace {

// The files a switch may change: the live pair, then Night's snapshot pair.
const QStringList pairFiles{u"fs9/FS9.cfg"_s, u"scenery/Scenery.cfg"_s, u"fs9/FS9.Night.cfg"_s,
                            u"scenery/Scenery.Night.cfg"_s};

// Of the history's files, only the user's own count.
bool hangarsOwn(const QString& name)
{
    return name.startsWith(u"history/"_s) && name != u"history/.hangar-notes"_s;
}

// The files hold the bytes wanted; what the simulator wrote and nothing flushed may be torn.
bool same(const QByteArrayList& got, const QByteArrayList& want)
{
    for (qsizetype i = 0; i < want.size(); ++i) {
        const QByteArray& w = want[i];
        if (got[i] != w && !(w.startsWith("flown") && got[i] == w.first(w.size() / 2)))
            return false;
    }
    return true;
}

HistoryEntry entryNumbered(const History& history, int id)
{
    for (const HistoryEntry& entry : history.entries()) {
        if (entry.id == id)
            return entry;
    }
    return {};
}

} // namespace

class TestPowerCut : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pairSurvivesPowerCut_data();
    void pairSurvivesPowerCut();
};

void TestPowerCut::initTestCase()
{
    // The model decides what reached the disk; the real flushes would only cost time.
    if (QFileInfo(u"/dev/shm"_s).isWritable())
        qputenv("TMPDIR", "/dev/shm");
}

void TestPowerCut::pairSurvivesPowerCut_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("restored"); // the entry restored instead, or 0
    QTest::addColumn<bool>("withHistory");
    QTest::addColumn<int>("refusedRename"); // the rename that fails, or 0
    QTest::addColumn<QByteArrayList>("after");
    const QByteArrayList night{"Night main", "Night scenery", "Night main", "Night scenery"};
    for (bool history : {false, true}) {
        const char* with = history ? " with the history" : "";
        QTest::addRow("load%s", with) << Operation::Load << 0 << history << 0 << night;
        QTest::addRow("load%s, its first rename refused", with)
            << Operation::Load << 0 << history << 1 << night;
        QTest::addRow("save over Night%s", with)
            << Operation::Save << 0 << history << 0
            << QByteArrayList{"flown main", "flown scenery", "flown main", "flown scenery"};
        QTest::addRow("remove%s", with)
            << Operation::Remove << 0 << history << 0
            << QByteArrayList{"flown main", "flown scenery", "<missing>", "<missing>"};
    }
    QTest::newRow("undo") << Operation::Load << 2 << true << 0 << night;
    QTest::newRow("restore of the older entry")
        << Operation::Load << 1 << true << 0
        << QByteArrayList{"live main", "live scenery", "Night main", "Night scenery"};
}

// Cut at every call, in every variant, then the next operation: the pair is wholly as before or
// wholly as after, the history lists only whole entries that hold what went, and nothing else
// changed.
void TestPowerCut::pairSurvivesPowerCut()
{
    QFETCH(Operation, operation);
    QFETCH(int, restored);
    QFETCH(bool, withHistory);
    QFETCH(int, refusedRename);
    QFETCH(QByteArrayList, after);
    const QByteArrayList before{"flown main", "flown scenery", "Night main", "Night scenery"};
    for (int cut = 1, last = INT_MAX; cut <= last; ++cut) {
        for (int variant = 0;; ++variant) {
            FolderFixture f;
            const QString folder = f.root.filePath(u"history"_s);
            QDir().mkpath(folder);
            History history(folder, 30, qint64{1} << 20);
            History* keep = withHistory ? &history : nullptr;
            f.addConfig(u"Night"_s);
            f.addConfig(u"Dawn"_s);
            // The history keeps the first live pair as entry 1, then Night's as entry 2.
            DiskFileSystem disk;
            for (const QString& name : {u"Night"_s, u"Dawn"_s}) {
                const auto r =
                    processFiles(Operation::Load, name, {}, f.fs9, f.scenery, disk, keep);
                QVERIFY2(r.performed, qPrintable(r.message));
            }
            // The user's own hidden files in every folder, and a file beside the folders.
            for (const QString& own : {u"fs9/.Night.bak"_s, u"scenery/.hangar-notes"_s,
                                       u"history/.hangar-notes"_s, u"FS9.cfg"_s})
                TestFiles::write(f.root.filePath(own), own.toUtf8());
            PowerCutFileSystem fs;
            for (int i : {0, 1}) { // the simulator wrote them, nothing flushed them
                TestFiles::write(f.root.filePath(pairFiles[i]), before[i]);
                fs.notFlushed(f.root.filePath(pairFiles[i]));
            }
            QMap<QString, QByteArray> untouched = TestFiles::under(f.root.path(), hangarsOwn);
            for (const QString& name : pairFiles)
                untouched.remove(name);

            fs.stopAt(cut);
            fs.failRename(refusedRename);
            const bool performed =
                restored != 0
                    ? restoreFromHistory(entryNumbered(history, restored), history,
                                         ConfigFolders::fromTexts(f.fs9, f.scenery), fs)
                          .performed
                    : processFiles(operation, u"Night"_s, u"Night"_s, f.fs9, f.scenery, fs, keep)
                          .performed;
            if (fs.calls() < cut) // it ran to its end
                last = cut;
            if (!fs.cutPower(variant))
                break;
            // The next operation first completes or undoes what the cut interrupted, then copies
            // the live pair.
            processFiles(Operation::Save, {}, u"After"_s, f.fs9, f.scenery, disk, keep);

            QMap<QString, QByteArray> now = TestFiles::under(f.root.path(), hangarsOwn);
            QByteArrayList pair;
            for (const QString& name : pairFiles)
                pair << (now.contains(name) ? now.take(name) : "<missing>"_ba);
            const QByteArray where =
                u"cut at call %1, variant %2: "_s.arg(cut).arg(variant).toUtf8() + pair.join('|');
            const auto at = [&](const char* what) { return what + where; };
            const bool isNew = same(pair, after);
            QVERIFY2(isNew || same(pair, before), at("mixed or lost, ").constData());
            QVERIFY2(isNew || !performed, at("done, then lost: ").constData());
            untouched[u"fs9/FS9.After.cfg"_s] = pair[0];
            untouched[u"scenery/Scenery.After.cfg"_s] = pair[1];
            QVERIFY2(now == untouched, at("other files changed or left, ").constData());
            if (!withHistory)
                continue;
            // The two loads' entries, and one more holding what went exactly when it went.
            QList<QByteArrayList> kept{{"Night main", "Night scenery"},
                                       {"live main", "live scenery"}};
            if (isNew)
                kept.prepend(operation == Operation::Load ? before.first(2) : before.mid(2));
            QList<HistoryEntry> entries = History(folder, 30, qint64{1} << 20).entries();
            // The newest keeps what stood at the names "After" took: nothing.
            bool whole = !entries.isEmpty() && entries.first().files[0].keptAs.isEmpty() &&
                         entries.first().files[1].keptAs.isEmpty();
            if (whole)
                entries.removeFirst();
            whole = whole && entries.size() == kept.size();
            for (qsizetype e = 0; whole && e < entries.size(); ++e) {
                QByteArrayList bytes;
                for (const KeptFile& file : entries[e].files) {
                    const QString path = history.keptFilePath(file.keptAs);
                    bytes << TestFiles::read(path);
                    whole = whole && bytes.last().size() == file.size &&
                            contentFingerprint(path) == file.fingerprint;
                }
                whole = whole && same(bytes, kept[e]);
            }
            QVERIFY2(whole, at("history, ").constData());
        }
    }
}

QTEST_GUILESS_MAIN(TestPowerCut)
#include "tst_power_cut.moc"
