// Placeholder until the contour tools land.
#include "vextra.h"

extern "C" {
int32_t DecalSequence(VxArray **, float *, float *, int32_t *) { return 1; }
int32_t SeqOffset(VxArray **, float *, float *, int32_t *) { return 1; }
int32_t SeqOrganize(VxArray **) { return VX_ERR_ARRAY_LOCK; }
int32_t Texte(VxArray **, char **, char **, float *, int32_t *) { return VX_ERR_NO_POINT; }
int32_t Txt2Seq(VxArray **, char **, char **, float *, int32_t *) { return VX_ERR_NO_POINT; }
}
