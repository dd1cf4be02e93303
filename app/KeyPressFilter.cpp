#include "KeyPressFilter.h"

#include <QKeyEvent>

KeyPressFilter::KeyPressFilter(std::function<void(int&)> handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.isEmpty())
        return false;
    int keyAscii = text.front().unicode();
    // X11 gives Delete the text 127; it shortens the field and is not a typed character.
    if (keyAscii == 127 || keyAscii == 13 || keyAscii == 27 || keyAscii == 9)
        return false;
    m_handler(keyAscii);
    return keyAscii == 0;
}
