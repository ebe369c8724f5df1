// Calls of the write exports for the writer tests.
#pragma once

#include "test_support.h"

#include <cstring>
#include <string>
#include <vector>

namespace vxtest {

inline SequencePoint sequencePoint(float x, float y, int16_t sequence, int16_t mark = 0)
{
    SequencePoint p{};
    p.X = x;
    p.Y = y;
    p.Mark = mark;
    p.Sequence = sequence;
    return p;
}

// EcrireFichier with a copy of the title in a buffer of its own; the buffer
// after the call is returned through `titleAfter`.
inline int32_t ecrire(Array &points, const std::string &path, const std::string &title,
                      std::string *titleAfter = nullptr)
{
    std::string name = path;
    std::string buffer = title;
    char *namePtr = name.data();
    char *titlePtr = buffer.data();
    const int32_t r = EcrireFichier(points.ref(), &namePtr, &titlePtr);
    if (titleAfter)
        *titleAfter = buffer.c_str();
    return r;
}

inline int16_t seq2file(Array &points, const std::string &path, const std::string &title)
{
    std::string name = path;
    std::string buffer = title;
    char *namePtr = name.data();
    char *titlePtr = buffer.data();
    return Seq2File(points.ref(), &namePtr, &titlePtr);
}

inline int32_t ecrire3d(Array &first, Array &second, const std::string &path, float span)
{
    std::string name = path;
    char *namePtr = name.data();
    return EcrireFichier3D(first.ref(), second.ref(), &namePtr, &span);
}

inline int32_t pt2file3d(Array &first, Array &second, const std::string &path, float span)
{
    std::string name = path;
    char *namePtr = name.data();
    return Pt2File3D(first.ref(), second.ref(), &namePtr, &span);
}

// A machine with towers 1000 mm apart and the panel's faces at 0 and 1000:
// feed 300 mm/min, 3 decimals, axes XYUV, no heat, no approach, no limits.
inline VxMachine gcodeMachine()
{
    VxMachine m{};
    m.size = sizeof(VxMachine);
    m.towers = 1000;
    m.rootPos = 0;
    m.span = 1000;
    m.feed = 300;
    m.decimals = 3;
    std::memcpy(m.axes, "XYUV", 5);
    return m;
}

inline int32_t ecrireGCode(Array &root, Array &tip, const std::string &path, const VxMachine &machine)
{
    std::string name = path;
    char *namePtr = name.data();
    return EcrireGCode(root.ref(), tip.ref(), &namePtr, &machine);
}

inline int32_t pt2GCode(Array &root, Array &tip, const std::string &path, const VxMachine &machine)
{
    std::string name = path;
    char *namePtr = name.data();
    return Pt2GCode(root.ref(), tip.ref(), &namePtr, &machine);
}

// The lines of a file written with CR LF; a stray LF or CR fails the split.
inline std::vector<std::string> crlfLines(const std::string &bytes, bool *clean = nullptr)
{
    std::vector<std::string> lines;
    bool ok = bytes.empty() || bytes.ends_with("\r\n");
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        const std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.find_first_of("\r\n") != std::string::npos)
            ok = false;
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    if (clean)
        *clean = ok;
    return lines;
}

} // namespace vxtest
