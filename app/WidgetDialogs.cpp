#include "WidgetDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

void WidgetDialogs::showMessage(const QString& prompt, const QString& title)
{
    // The prompt breaks its lines with a lone character 13, which a plain-text label does not.
    QString shown = prompt;
    shown.replace(QChar(13), QChar(10));
    QMessageBox box(QMessageBox::NoIcon, title, shown, QMessageBox::Ok, m_window);
    box.setTextFormat(Qt::PlainText);
    // Each line of a message ends with a tab and a blank, which word wrap would push onto a line
    // of their own.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setWordWrap(false);
    box.exec();
}

QString WidgetDialogs::pickFolder(const QString& prompt, const QString& startFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(m_window, prompt, startFolder,
                                                             QFileDialog::ShowDirsOnly |
                                                                 QFileDialog::DontResolveSymlinks);
    return QDir::toNativeSeparators(folder);
}
