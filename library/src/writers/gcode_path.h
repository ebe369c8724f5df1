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

// Where the wire through a root point and a tip point meets each tower's plane.
class TowerProjection {
public:
    explicit TowerProjection(const VxMachine &machine);
    Vec2 first(Vec2 root, Vec2 tip) const { return along(root, tip, m_atFirst); }
    Vec2 second(Vec2 root, Vec2 tip) const { return along(root, tip, m_atSecond); }

private:
    static Vec2 along(Vec2 r, Vec2 t, double k) { return {r.x + (t.x - r.x) * k, r.y + (t.y - r.y) * k}; }
    double m_atFirst;
    double m_atSecond;
};

} // namespace vx
