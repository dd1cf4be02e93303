#pragma once

#include "Dialogs.h"
#include "FakeServices.h"
#include "FolderFixture.h"
#include "LockedAppInfo.h"
#include "frmHangar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>

// Records every message, the prompt of an "Error" and "<title>: <prompt>" for any other, with
// "<time>" for the time of day in it, instead of showing it; answers the folder picker and the
// history dialog from scripts.
struct FakeDialogs : Dialogs
{
    void showMessage(const QString& prompt, const QString& title) override
    {
        static const QRegularExpression time(u"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"_s);
        messages << QString(title == u"Error"_s ? prompt : title + u": "_s + prompt)
                        .replace(time, u"<time>"_s);
    }
    // Records the rows as "History: <pair> by <operation>; ...", then presses Restore on the row
    // each step gives.
    void showHistory(HistoryActions& actions) override
    {
        QStringList rows;
        for (const HistoryRow& row : actions.historyRows())
            rows << row.pair + u" by "_s + row.replacedBy;
        messages << u"History: "_s + rows.join(u"; "_s);
        for (const int row : std::exchange(historyRestores, {}))
            actions.restoreHistoryEntry(actions.historyRows().value(row).id);
    }
    QString pickFolder(const QString& prompt, const QString& startFolder) override
    {
        pickerPrompts << prompt;
        pickerStarts << startFolder;
        return pickerAnswers.isEmpty() ? QString() : pickerAnswers.takeFirst();
    }

    QStringList messages, pickerPrompts, pickerStarts;
    QStringList pickerAnswers;  // taken in order; an empty text is a cancelled picker
    QList<int> historyRestores; // rows restored the next time the history dialog opens
};

// A shown window on real files: the two folders, an executable folder for Hangar.ini and the
// recording fakes; with the real single-instance lock when lockedAppInfo is set.
struct WindowFixture : FolderFixture
{
    WindowFixture() { QDir(root.path()).mkpath(u"exe"_s); }

    static constexpr QStringView simulatorRefusal =
        u"The simulator is running (fs9.exe, process 4243). When it quits, it writes its own "
        u"FS9.cfg and Scenery.cfg over the live files: a configuration loaded now would be lost, "
        u"and one saved now would miss what it writes then. Quit the simulator first. Nothing "
        u"was changed.";

    QString iniPath() const { return in(appInfo.folder, u"Hangar.ini"_s); }

    // The text with %F, %S: the two folders; %U: no folder; %I: Hangar.ini; %A: character 1;
    // %_: a blank; %R: the refusal while fs9.exe runs as process 4243; \r, \t: characters 13
    // and 9.
    QString fill(QString text) const
    {
        // The escapes first: a Windows folder (C:\...\Temp\tst_window-...) holds "\T" and "\t".
        return withPlaces(text.replace(u"\\r"_s, u"\r"_s).replace(u"\\t"_s, u"\t"_s));
    }
    // The text with the places filled in, escapes left as they stand: for text filled already.
    QString withPlaces(QString text) const
    {
        const QStringList pairs{
            u"%F"_s, fs9,       u"%S"_s, scenery, u"%U"_s, root.filePath(u"unmounted"_s),
            u"%I"_s, iniPath(), u"%A"_s, u"\1"_s, u"%_"_s, u" "_s};
        text.replace(u"%R"_s, simulatorRefusal.toString());
        for (qsizetype i = 0; i < pairs.size(); i += 2)
            text.replace(pairs[i], pairs[i + 1]);
        return text;
    }

    // A settings file as the window writes it, its lines (filled already) split by ";"; or, given
    // as "names>last", with the boxes' folders (%F,%S), the nine names and LastConfig when ">"
    // says.
    QByteArray settingsFile(const QString& ini, const QString& boxes = u"%F,%S"_s) const
    {
        QString lines = ini;
        if (!ini.contains(u'=')) {
            lines = u"FS9 Folder="_s + QString(boxes).replace(u',', u";SCENERY Folder="_s);
            for (int n = 0; n < 9; ++n)
                lines +=
                    u";Config%1=%2"_s.arg(n + 1).arg(ini.section(u'>', 0, 0).section(u',', n, n));
            lines += ini.contains(u'>') ? u";LastConfig="_s + ini.section(u'>', 1) : QString();
        }
        return QString(u"[FS Config];"_s + withPlaces(lines) + u';')
            .replace(u';', u"\r\n"_s)
            .toUtf8();
    }

    frmHangar& open()
    {
        AppInfo& info = lockedAppInfo ? static_cast<AppInfo&>(*lockedAppInfo) : appInfo;
        window = std::make_unique<frmHangar>(HangarServices{dialogs, info, fileSystem, processes});
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the window never became active");
        return *window;
    }

    template <typename T = QWidget> T* get(const QString& name) const
    {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QComboBox* loadList() const { return get<QComboBox>(u"cboConfigName"_s); }
    QComboBox* saveList() const { return get<QComboBox>(u"cboConfigNameTO"_s); }
    QPushButton* button(const char* name) const { return get<QPushButton>(QLatin1String(name)); }
    QLineEdit* box(const char* name) const { return get<QLineEdit>(QLatin1String(name)); }
    QString labelText(const char* name) const { return get<QLabel>(QLatin1String(name))->text(); }
    void click(const QString& name) const { QTest::mouseClick(get(name), Qt::LeftButton); }

    static QStringList entries(const QComboBox* list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->itemText(i);
        return result;
    }

    // Gives the control the focus; the widget that holds it is the one a user's keys go to.
    static QWidget* focus(QWidget* control)
    {
        control->setFocus();
        return QApplication::focusWidget();
    }

    // Chooses an entry of the load list with the arrow keys.
    void choose(const QString& name) const
    {
        QWidget* field = focus(loadList());
        const int target = loadList()->findText(name);
        while (target >= 0 && loadList()->currentIndex() != target)
            QTest::keyClick(field, loadList()->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    }

    // Types over the save list's text, Save activation ticked first, and presses the button.
    void edit(const QString& name, const char* buttonName) const
    {
        if (!get<QCheckBox>(u"chkSaveActivation"_s)->isChecked())
            click(u"chkSaveActivation"_s);
        QWidget* field = focus(saveList());
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, name);
        click(QLatin1String(buttonName));
    }

    FakeDialogs dialogs;
    FakeAppInfo appInfo{QDir::toNativeSeparators(root.filePath(u"exe"_s))};
    std::unique_ptr<LockedAppInfo> lockedAppInfo;
    FaultyFileSystem fileSystem;
    FakeProcessTable processes;
    std::unique_ptr<frmHangar> window;
};
