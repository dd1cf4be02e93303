#pragma once

#include "Dialogs.h"

#include <QPointer>
#include <QWidget>

// The dialogs as Qt widgets, modal on the window given as their parent.
class WidgetDialogs : public Dialogs
{
public:
    void setParentWindow(QWidget* window) { m_window = window; }

    void showMessage(const QString& prompt, const QString& title) override;
    QString pickFolder(const QString& prompt, const QString& startFolder) override;
    void showHistory(HistoryActions& actions) override;

private:
    QPointer<QWidget> m_window;
};
