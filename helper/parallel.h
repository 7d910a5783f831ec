#pragma once

#include <functional>

namespace parallel {

// Runs job(i) for every i below count, on a few threads when count is
// large enough to repay them, and returns when all have run. The jobs must
// not touch one another's data. Made for the start-up's work on each entry
// of a large library, which the headset waits for.
void forEachIndex(int count, const std::function<void(int)> &job);

// Runs the job on a thread of its own and returns once it has ended, the
// calling thread's events being delivered meanwhile by a nested event loop:
// for work on the GUI thread's data that is too large for the window to
// wait on (reading a large online reply). The caller must expect any event
// while it waits, as in any nested loop. A program on its way out waits for
// the job without the loop.
void whileAnswering(const std::function<void()> &job);

} // namespace parallel
