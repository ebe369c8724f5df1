/* A user of the installed development package: reads a contour file through
 * the public C interface and prints its point count and size. */
#include <vextra.h>

#include <stdio.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: read_sample FILE\n");
        return 2;
    }
    VxArray *points = VxArrayCreate((int32_t)sizeof(ContourPoint), 1);
    float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    const int32_t n = LireFichier(&points, &argv[1], &xMin, &xMax, &yMin, &yMax, NULL);
    VxArrayDestroy(points);
    if (n <= 0) {
        fprintf(stderr, "read_sample: %s: code %d\n", argv[1], (int)n);
        return 1;
    }
    printf("%s: %d points, %.3f x %.3f, Vextra %d\n", argv[1], (int)n, (double)(xMax - xMin),
           (double)(yMax - yMin), (int)Version());
    return 0;
}
