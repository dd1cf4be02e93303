#pragma once

#include "StoredState.h"

#include <QString>
#include <optional>

// The two files of a configuration named on the command line, or of the live pair when no name
// is given: the live pair takes no name that a configuration could have.
struct ChosenPair
{
    // As listed, or "(live files)".
    QString name;
    QString mainFile;
    QString sceneryFile;
};

// Nothing, with the reason in refusal, when the folders are not known or the list does not hold
// the name in any letter case.
std::optional<ChosenPair> choosePair(const StoredState& state, const QString& settingsFile,
                                     const std::optional<QString>& name, QString* refusal);
