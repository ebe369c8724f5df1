// The parse-only peer of the DXF benchmark: Debian's libdxflib reads a file
// and an adapter counts what it reports, building nothing.
#pragma once

#include <cstdint>
#include <string>

struct DxflibCounts {
    bool ok = false;
    int64_t entities = 0; // lines, arcs, circles, ellipses, polylines, splines, points, inserts, texts
    int64_t vertices = 0; // polyline vertices, spline control points and knots
    double checksum = 0;  // a sum of the coordinates, so that nothing is optimised away
};

DxflibCounts dxflibParse(const std::string &path);
