#pragma once

#include "PairCommand.h"

class Save : public PairCommand
{
public:
    Save();

private:
    int change(StoredState& state, const QString& name) override;
};
