#pragma once

#include <functional>

namespace parallel {

// Runs job(i) for every i below count, on a few threads when count is
// large enough to repay them, and returns when all have run. The jobs must
// not touch one another's data. Made for the start-up's work on each entry
// of a large library, which the headset waits for.
void forEachIndex(int count, const std::function<void(int)> &job);

} // namespace parallel
