#pragma once

#include "Command.h"

#include <memory>
#include <vector>

// The program hangarctl: its own options, and the command named first among its arguments.
class Hangarctl
{
    Q_DECLARE_TR_FUNCTIONS(Hangarctl)

public:
    explicit Hangarctl(const CommandServices& services);
    ~Hangarctl();

    // The exit status of the whole run.
    int run(const QStringList& arguments);

private:
    QString helpText(const QString& usage) const;

    CommandServices m_services;
    std::vector<std::unique_ptr<Command>> m_commands;
};
