/* A Vextra lookalike that lacks most exports, to prove that the program
 * reports a missing export instead of crashing. */
#include <stdint.h>

__attribute__((visibility("default"))) int32_t Version(void) { return 64; }
