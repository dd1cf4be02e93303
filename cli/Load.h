#pragma once

#include "PairCommand.h"

class Load : public PairCommand
{
public:
    Load();

private:
    int change(StoredState& state, const QString& name) override;
};
