#pragma once

#include "PairCommand.h"

class Remove : public PairCommand
{
public:
    Remove();

private:
    int change(StoredState& state, const QString& name) override;
};
