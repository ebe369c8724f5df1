/* The public header is plain C: this program includes it, reads a profile
 * and checks what a C caller sees. */
#include "vextra.h"

#include <stdio.h>
#include <string.h>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    char title[256];
    memset(title, ' ', 255);
    title[255] = '\0';
    char *titlePtr = title;
    char *name = argv[1];
    float xMin = -1, xMax = 0, yMin = -1, yMax = 0;
    VxArray *points = VxArrayCreate((int32_t)sizeof(ContourPoint), 0);
    int32_t n = LireFichier(&points, &name, &xMin, &xMax, &yMin, &yMax, &titlePtr);
    int ok = n > 3 && points->count == n && xMin == 0.0f && yMin == 0.0f && xMax > 0.9f;
    if (ok) {
        const ContourPoint *p = (const ContourPoint *)points->data;
        ok = p[0].Pen[0] == 'P' && p[0].Pen[1] == 'D' && p[0].Tag[0] == ' ' && p[0].Tag[1] == 'A';
    }
    ok = ok && strncmp(title, " CLARK Y", 8) == 0 && Version() == 64;
    VxArrayDestroy(points);

    /* A null descriptor is created by the library. */
    VxArray *fresh = NULL;
    n = LireFichier(&fresh, &name, &xMin, &xMax, &yMin, &yMax, NULL);
    ok = ok && fresh != NULL && fresh->count == n && fresh->elemSize == (int32_t)sizeof(ContourPoint);
    VxArrayDestroy(fresh);
    printf("%s: %d points\n", ok ? "ok" : "FAILED", n);
    return ok ? 0 : 1;
}
