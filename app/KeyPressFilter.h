#pragma once

#include <QObject>
#include <functional>

class QComboBox;
class QInputMethodEvent;
class QKeyEvent;

// Raises a KeyPress handler for every character typed into a combo box's field, before it is
// inserted. It watches the combo box itself, which holds the focus and passes keys and
// input-method text on to its field. The handler gets the character's code and discards the
// character by setting the code to 0. Delete, Enter, Escape and Tab are no typed characters here:
// they keep their usual meaning.
class KeyPressFilter : public QObject
{
public:
    KeyPressFilter(QComboBox* list, std::function<void(int&)> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool discardsKey(const QKeyEvent& event);
    bool passInputMethodText(const QInputMethodEvent& event);

    QComboBox* m_list;
    std::function<void(int&)> m_handler;
};
