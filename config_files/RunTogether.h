#pragma once

#include <thread>
#include <utility>

// Runs both steps at once and returns when both are done. The switch waits on the disk for
// flushes of files and folders that do not depend on each other; overlapping them lets the
// system commit them together instead of one after the other.
template <typename First, typename Second> void runTogether(First&& first, Second&& second)
{
    const std::jthread other(std::forward<Second>(second));
    std::forward<First>(first)();
}
