#pragma once

#include "FakeServices.h"
#include "TestFiles.h"
#include "frmHangar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// A window on real files: an executable folder for Hangar.ini, an FS9 folder and a scenery
// folder, each holding its live file, and the recording fakes.
struct WindowFixture
{
    WindowFixture() : appInfo(QDir::toNativeSeparators(root.filePath(u"exe"_s)))
    {
        QDir(root.path()).mkpath(u"exe"_s);
        QDir(root.path()).mkpath(u"fs9"_s);
        QDir(root.path()).mkpath(u"scenery"_s);
        fs9 = QDir::toNativeSeparators(root.filePath(u"fs9"_s));
        scenery = QDir::toNativeSeparators(root.filePath(u"scenery"_s));
        TestFiles::write(liveMain(), "live main");
        TestFiles::write(liveScenery(), "live scenery");
    }

    QString iniPath() const { return appInfo.folder + QDir::separator() + u"Hangar.ini"_s; }
    QString liveMain() const { return fs9 + QDir::separator() + u"FS9.cfg"_s; }
    QString liveScenery() const { return scenery + QDir::separator() + u"Scenery.cfg"_s; }
    QString snapshotMain(const QString& name) const
    {
        return fs9 + QDir::separator() + u"FS9."_s + name + u".cfg"_s;
    }
    QString snapshotScenery(const QString& name) const
    {
        return scenery + QDir::separator() + u"Scenery."_s + name + u".cfg"_s;
    }

    // A saved configuration whose files hold "<name> main" and "<name> scenery".
    void addConfig(const QString& name) const
    {
        TestFiles::write(snapshotMain(name), (name + u" main"_s).toUtf8());
        TestFiles::write(snapshotScenery(name), (name + u" scenery"_s).toUtf8());
    }

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

    QStringList entries(QComboBox* list) const
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->itemText(i);
        return result;
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

    QTemporaryDir root;
    FakeDialogs dialogs;
    FakeAppInfo appInfo;
    FaultyFileSystem fileSystem;
    QString fs9;
    QString scenery;
    std::unique_ptr<frmHangar> window;
};
