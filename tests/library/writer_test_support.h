// Calls of the write exports for the writer tests.
#pragma once

#include "test_support.h"

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
