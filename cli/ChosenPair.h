#pragma once

#include "StoredState.h"

#include <QString>
#include <optional>

// The two files of a configuration named on the command line: "live" names the live pair, any
// other name a configuration of the list.
struct ChosenPair
{
    QString name;
    QString mainFile;
    QString sceneryFile;
};

// Nothing, with the reason in refusal, when the folders are not known or the list does not hold
// the name.
std::optional<ChosenPair> choosePair(const StoredState& state, const QString& settingsFile,
                                     const QString& name, QString* refusal);

inline QString liveName()
{
    return QStringLiteral("live");
}
