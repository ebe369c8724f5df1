// Placeholder until the contour tools land.
#include "vextra.h"

extern "C" {
int32_t DecalSequence(VxArray **, float *, float *, int32_t *) { return 1; }
int32_t SeqOffset(VxArray **, float *, float *, int32_t *) { return 1; }
}
