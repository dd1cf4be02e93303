#pragma once

#include "FakeServices.h"
#include "FolderFixture.h"
#include "frmHangar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// A window on real files: the two folders, an executable folder for Hangar.ini, and the
// recording fakes.
struct WindowFixture : FolderFixture
{
    WindowFixture() { QDir(root.path()).mkpath(u"exe"_s); }

    QString iniPath() const { return in(appInfo.folder, u"Hangar.ini"_s); }

    // A settings file pointing at the two folders, with the given slot lines after them.
    void writeIni(const QByteArray& rest) const
    {
        TestFiles::write(iniPath(), "[FS Config]\r\nFS9 Folder=" + fs9.toUtf8() +
                                        "\r\nSCENERY Folder=" + scenery.toUtf8() + "\r\n" + rest);
    }

    frmHangar& open()
    {
        window = std::make_unique<frmHangar>(HangarServices{dialogs, appInfo, fileSystem});
        return *window;
    }

    template <typename T> T* get(const char* name) const
    {
        T* widget = window->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QComboBox* loadList() const { return get<QComboBox>("cboConfigName"); }
    QComboBox* saveList() const { return get<QComboBox>("cboConfigNameTO"); }
    QCheckBox* saveActivation() const { return get<QCheckBox>("chkSaveActivation"); }
    QPushButton* button(const char* name) const { return get<QPushButton>(name); }
    QLineEdit* box(const char* name) const { return get<QLineEdit>(name); }
    QString labelText(const char* name) const { return get<QLabel>(name)->text(); }

    // The drop-down highlights the entry that the field shows.
    static bool highlightsText(const QComboBox* list)
    {
        return list->currentIndex() >= 0 &&
               list->itemText(list->currentIndex()) == list->currentText();
    }

    QStringList entries(QComboBox* list) const
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->itemText(i);
        return result;
    }

    // Gives the control the focus in the shown window and returns the widget that holds it: the
    // one a user's keys go to.
    QWidget* focus(QWidget* control) const
    {
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the window never became active");
        control->setFocus();
        return QApplication::focusWidget();
    }

    // Ticks Save activation, puts the name in the save list and presses the button.
    void edit(const QString& name, const char* buttonName) const
    {
        saveActivation()->setChecked(true);
        saveList()->setEditText(name);
        button(buttonName)->click();
    }

    QStringList messages() const
    {
        QStringList prompts;
        for (const auto& message : dialogs.messages) {
            if (message.title != u"Error"_s)
                qFatal("message without the title Error");
            prompts << message.prompt;
        }
        return prompts;
    }

    FakeDialogs dialogs;
    FakeAppInfo appInfo{QDir::toNativeSeparators(root.filePath(u"exe"_s))};
    FaultyFileSystem fileSystem;
    std::unique_ptr<frmHangar> window;
};
