// Where the two carriages of a 4-axis hot-wire machine stand for each pair of
// face points: the machine's values checked, the kerf offset on each face,
// then the straight wire through both faces carried to the tower planes.
#pragma once

#include "vextra.h"

#include <vector>

namespace vx {

struct Vec2 {
    double x = 0;
    double y = 0;
};

// 0, or the code of the first machine value that cannot make a program:
// VX_ERR_GCODE_MACHINE, VX_ERR_GCODE_SPAN or VX_ERR_GCODE_FACE.
int checkMachine(const VxMachine *machine);

// Moves every point by `kerf` along the bisector of its two segments, to the
// right of travel for a positive kerf: a miter, capped at 4 |kerf| at sharp
// corners. Ends use their single segment; a repeated point takes the
// directions of the point it repeats, so it stays on it.
void offsetFace(std::vector<Vec2> &face, double kerf);

// The wire through root[i] and tip[i] meets the first tower's plane at
// first[i] and the second's at second[i].
void projectToTowers(const std::vector<Vec2> &root, const std::vector<Vec2> &tip, const VxMachine &machine,
                     std::vector<Vec2> &first, std::vector<Vec2> &second);

} // namespace vx
