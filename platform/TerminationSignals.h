#pragma once

#include <QObject>
#include <memory>

// Turns the signals that end a program from outside (SIGTERM from kill or a shutdown, SIGHUP
// from a closed terminal or a logout without session management, SIGINT from Ctrl+C) into
// received(), delivered by the event loop like any other event, so that the program can end
// through its usual close. A signal that the program was started with ignored (nohup) stays
// ignored. Each kind is caught once: should the program not get to its close, a second one of
// the same kind ends it as the system would. Windows sends a window program none of these, and
// there the object does nothing. One object at a time.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received();

private:
    struct Watch;
    std::unique_ptr<Watch> m_watch;
};
