#include "WidgetDialogs.h"

#include "frmHistory.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

namespace {

// A message box whose lines are never wrapped: each line of a message ends with a tab and a
// blank, which word wrap would push onto a line of their own. QMessageBox turns word wrap on for a
// text wider than half the screen each time it lays itself out, so it is turned off after each.
class UnwrappedMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* event) override
    {
        const bool handled = QMessageBox::event(event);
        if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest)
            unwrap();
        return handled;
    }

private:
    void unwrap()
    {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (label == nullptr || !label->wordWrap())
            return;
        label->setWordWrap(false);
        setFixedSize(sizeHint());
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }
};

} // namespace

void WidgetDialogs::showMessage(const QString& prompt, const QString& title)
{
    // The prompt breaks its lines with a lone character 13, which a plain-text label does not.
    QString shown = prompt;
    shown.replace(QChar(13), QChar(10));
    // Over the history dialog while it is open, so that its Restore is answered where it was
    // pressed.
    QWidget* modal = QApplication::activeModalWidget();
    UnwrappedMessageBox box(QMessageBox::NoIcon, title, shown, QMessageBox::Ok,
                            modal != nullptr ? modal : m_window.data());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString WidgetDialogs::pickFolder(const QString& prompt, const QString& startFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(m_window, prompt, startFolder,
                                                             QFileDialog::ShowDirsOnly |
                                                                 QFileDialog::DontResolveSymlinks);
    return QDir::toNativeSeparators(folder);
}

void WidgetDialogs::showHistory(HistoryActions& actions)
{
    frmHistory dialog(actions, m_window);
    dialog.exec();
}
