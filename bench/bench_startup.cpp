// Creating the window cold (pictures decoded and scaled anew, as in a new run), running its
// start-up with nine saved configurations in real folders and showing it until its first paint,
// against a bare dialog with the same kinds and number of plain widgets.
#include "BenchFolders.h"
#include "Dialogs.h"
#include "DiskFileSystem.h"
#include "FakeServices.h"
#include "frmHangar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmapCache>
#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

// A start-up that goes well shows no message and asks for no folder.
struct SilentDialogs : Dialogs
{
    void showMessage(const QString&, const QString&) override { shown = true; }
    QString pickFolder(const QString&, const QString&) override { return {}; }
    void showHistory(HistoryActions&) override { shown = true; }
    bool shown = false;
};

class FirstPaint : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void showUntilPainted(QWidget& window)
{
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    while (!watcher.painted)
        QApplication::processEvents();
    window.removeEventFilter(&watcher);
}

// The floor: the toolkit's own cost of the same window, with the same kinds and number of plain
// widgets at their places, showing the same texts; no pictures, fonts or start-up work.
void BM_StartupFloor(benchmark::State& state)
{
    const auto text = [](QWidget* widget, const char* text, QRect box) {
        widget->setGeometry(box);
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(QLatin1String(text));
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(QLatin1String(text));
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->setText(QLatin1String(text));
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(QLatin1String(text));
    };
    for (auto _ : state) {
        QDialog dialog;
        dialog.setFixedSize(553, 446);
        for (int i = 0; i < 2; ++i)
            new QLabel(&dialog); // the two pictures
        text(new QLabel(&dialog), "", {0, 0, 681, 113});
        text(new QLabel(&dialog), "www.example.org/hangar", {360, 72, 145, 25});
        text(new QLabel(&dialog), "hangar@example.org", {360, 88, 145, 25});
        text(new QLabel(&dialog), "Version 1.2.1", {229, 432, 313, 17});
        auto* frame2 = new QGroupBox(&dialog);
        text(frame2, "Flight Simulator configuration", {8, 128, 537, 145});
        text(new QLabel(frame2), "Last configuration loaded -> ", {64, 104, 465, 17});
        for (int top : {32, 104}) {
            auto* list = new QComboBox(frame2);
            list->setEditable(true);
            list->setEditText(QStringLiteral("FS Original"));
            list->setGeometry(56, top, 281, 24);
            if (top == 104)
                list->hide();
        }
        text(new QCheckBox(frame2), "Save activation", {384, 32, 105, 25});
        text(new QPushButton(frame2), "&Load  FS Original  configuration", {64, 72, 257, 25});
        text(new QPushButton(frame2), "Quit", {384, 72, 105, 25});
        for (int left : {64, 208}) {
            auto* hidden = new QPushButton(frame2);
            text(hidden, "Save", {left, 72, 113, 25});
            hidden->hide();
        }
        auto* frame1 = new QGroupBox(&dialog);
        text(frame1, "Folders", {8, 288, 537, 145});
        for (int top : {32, 80}) {
            text(new QLabel(frame1), "Locate file Scenery.cfg", {24, top, 465, 17});
            text(new QLineEdit(frame1), "/home/pilot/FS9/Scenery folder", {24, top + 16, 465, 25});
            text(new QPushButton(frame1), "...", {488, top + 16, 25, 25});
        }
        showUntilPainted(dialog);
    }
}
BENCHMARK(BM_StartupFloor)->Unit(benchmark::kMillisecond);

void BM_Startup(benchmark::State& state)
{
    BenchFolders folders;
    QByteArray ini = "[FS Config]\r\nFS9 Folder=" + folders.fs9().toUtf8() +
                     "\r\nSCENERY Folder=" + folders.scenery().toUtf8() + "\r\n";
    BenchFolders::writeFile(folders.path(QStringLiteral("fs9/FS9.cfg")), 20'000, 'm');
    BenchFolders::writeFile(folders.path(QStringLiteral("scenery/Scenery.cfg")), 20'000, 's');
    for (int n = 1; n <= 9; ++n) {
        const QString name = QStringLiteral("Config %1").arg(n);
        BenchFolders::writeFile(
            folders.path(QStringLiteral("fs9/FS9.") + name + QStringLiteral(".cfg")), 20'000, 'm');
        BenchFolders::writeFile(
            folders.path(QStringLiteral("scenery/Scenery.") + name + QStringLiteral(".cfg")),
            20'000, 's');
        ini += "Config" + QByteArray::number(n) + "=" + name.toUtf8() + "\r\n";
    }
    QFile file(folders.path(QStringLiteral("exe/Hangar.ini")));
    file.open(QIODevice::WriteOnly);
    file.write(ini);
    file.close();

    SilentDialogs dialogs;
    FakeAppInfo appInfo(folders.exe());
    DiskFileSystem fileSystem;
    FakeProcessTable processes;
    for (auto _ : state) {
        // Every iteration starts as a new run does: no picture decoded or scaled yet.
        QPixmapCache::clear();
        frmHangar window({dialogs, appInfo, fileSystem, processes});
        showUntilPainted(window);
        if (window.findChild<QComboBox*>(QStringLiteral("cboConfigName"))->count() != 10)
            state.SkipWithError("start-up did not list the nine configurations");
        if (dialogs.shown)
            state.SkipWithError("start-up showed a message");
    }
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

} // namespace
