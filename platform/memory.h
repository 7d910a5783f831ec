#pragma once

#include <QtGlobal>

namespace platform {

// Makes the pages of a buffer about to be filled resident in one go. The
// system otherwise maps fresh memory a page at a time, on first touch, and
// where that is costly (in some virtual machines a hundred times a copy of
// the page) a large buffer costs more in the mapping than in the filling.
// Only whole pages inside the buffer are touched; does nothing where the
// system cannot.
void makeResident(char *data, qint64 size);

} // namespace platform
