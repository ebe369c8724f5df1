// Placeholder until the reader lands.
#include "readers.h"

namespace vx {

int readHpgl(const char *, TitleBuffer &, PointList &) { return 0; }

} // namespace vx
