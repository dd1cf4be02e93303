#include "KeyPressFilter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

KeyPressFilter::KeyPressFilter(QComboBox* list, std::function<void(int&)> handler)
    : QObject(list), m_list(list), m_handler(std::move(handler))
{
    list->installEventFilter(this);
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        return discardsKey(*static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::InputMethod)
        return passInputMethodText(*static_cast<QInputMethodEvent*>(event));
    return QObject::eventFilter(watched, event);
}

bool KeyPressFilter::discardsKey(const QKeyEvent& event)
{
    const QList<uint> text = event.text().toUcs4();
    if (text.isEmpty())
        return false;
    int keyAscii = int(text.front());
    // X11 gives Delete the text 127; it shortens the field and is not a typed character.
    if (keyAscii == 127 || keyAscii == 13 || keyAscii == 27 || keyAscii == 9)
        return false;
    m_handler(keyAscii);
    return keyAscii == 0;
}

bool KeyPressFilter::passInputMethodText(const QInputMethodEvent& event)
{
    const QString& committed = event.commitString();
    if (committed.isEmpty())
        return false; // a composition still in progress inserts nothing
    // Each committed character meets the handler on its own, with the field as the characters
    // let through before it have left it, as if typed one by one.
    QLineEdit* field = m_list->lineEdit();
    bool replacementDone = false;
    for (const char32_t character : committed.toUcs4()) {
        int keyAscii = int(character);
        m_handler(keyAscii);
        if (keyAscii == 0)
            continue;
        QInputMethodEvent one;
        one.setCommitString(QString::fromUcs4(&character, 1),
                            replacementDone ? 0 : event.replacementStart(),
                            replacementDone ? 0 : event.replacementLength());
        replacementDone = true;
        QCoreApplication::sendEvent(field, &one);
    }
    if (!event.preeditString().isEmpty()) {
        QInputMethodEvent composing(event.preeditString(), event.attributes());
        QCoreApplication::sendEvent(field, &composing);
    }
    return true;
}
