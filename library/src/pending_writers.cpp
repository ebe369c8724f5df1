// Placeholder until the writers land.
#include "vextra.h"

extern "C" {
int32_t EcrireFichier(VxArray **, char **, char **) { return VX_ERR_EXTENSION; }
int16_t Seq2File(VxArray **, char **, char **) { return VX_ERR_EXTENSION; }
int32_t EcrireFichier3D(VxArray **, VxArray **, char **, float *) { return VX_ERR_EXTENSION; }
int32_t Pt2File3D(VxArray **, VxArray **, char **, float *) { return VX_ERR_EXTENSION; }
}
