#pragma once

#include <QObject>
#include <functional>

// Raises a KeyPress handler for every character typed into a line edit, before it is inserted.
// The handler gets the character's code and discards the character by setting the code to 0.
// Delete, Enter, Escape and Tab are no typed characters here: they keep their usual meaning.
class KeyPressFilter : public QObject
{
public:
    KeyPressFilter(std::function<void(int&)> handler, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(int&)> m_handler;
};
