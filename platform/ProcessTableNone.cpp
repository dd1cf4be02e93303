#include "ProcessTable.h"

namespace {

// Systems without /proc: whether the simulator runs stays unknown.
class UnknownProcessTable : public ProcessTable
{
public:
    std::optional<QList<ProcessEntry>> processes() const override { return std::nullopt; }
};

} // namespace

std::unique_ptr<ProcessTable> systemProcessTable()
{
    return std::make_unique<UnknownProcessTable>();
}
