// Helpers for the DXF reader tests: drawings written pair by pair, and the
// reader's working list read back and cut into contours.
#pragma once

#include "readers/readers.h"
#include "test_support.h"

#include <charconv>
#include <string>
#include <vector>

namespace dxftest {

// A DXF text built group by group; numbers are written with ".".
class Dxf {
public:
    Dxf &pair(int code, const std::string &value)
    {
        m_text += std::to_string(code) + "\n" + value + "\n";
        return *this;
    }
    Dxf &pair(int code, const char *value) { return pair(code, std::string(value)); }
    Dxf &pair(int code, double value)
    {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, value);
        return pair(code, std::string(buf, r.ptr));
    }
    Dxf &pair(int code, int value) { return pair(code, std::to_string(value)); }
    Dxf &entity(const char *name) { return pair(0, name); }
    Dxf &xy(int code, double x, double y) { return pair(code, x).pair(code + 10, y); }
    Dxf &section(const char *name) { return pair(0, "SECTION").pair(2, name); }
    Dxf &endSection() { return pair(0, "ENDSEC"); }
    Dxf &raw(const std::string &text)
    {
        m_text += text;
        return *this;
    }

    Dxf &line(double x1, double y1, double x2, double y2, const char *layer = "0")
    {
        return entity("LINE").pair(8, layer).xy(10, x1, y1).xy(11, x2, y2);
    }
    Dxf &circle(double cx, double cy, double r) { return entity("CIRCLE").pair(8, "0").xy(10, cx, cy).pair(40, r); }
    Dxf &layer(const char *name, int colour)
    {
        return entity("LAYER").pair(2, name).pair(70, 0).pair(62, colour).pair(6, "CONTINUOUS");
    }
    Dxf &block(const char *name, double baseX = 0, double baseY = 0)
    {
        return entity("BLOCK").pair(8, "0").pair(2, name).pair(70, 0).xy(10, baseX, baseY);
    }
    Dxf &endBlock() { return entity("ENDBLK").pair(8, "0"); }
    Dxf &insert(const char *name, double x, double y, double scale = 1, double degrees = 0)
    {
        return entity("INSERT").pair(8, "0").pair(2, name).xy(10, x, y).pair(41, scale).pair(42, scale).pair(50, degrees);
    }

    // The whole file: what was written, closed by EOF.
    std::string file() const { return m_text + "0\nEOF\n"; }
    const std::string &text() const { return m_text; }

private:
    std::string m_text;
};

// A drawing of only an ENTITIES section.
inline std::string entitiesFile(const Dxf &body)
{
    return Dxf().section("ENTITIES").raw(body.text()).endSection().file();
}

struct Working {
    int result = 0;
    vx::PointList list;
    std::string title; // the title buffer after the read, trailing spaces removed
};

// The reader alone, with a title buffer of 255 spaces.
inline Working readWorking(const std::string &bytes)
{
    vxtest::TempDir dir;
    const std::string path = dir.write("d.dxf", bytes);
    std::string title(255, ' ');
    char *titlePtr = title.data();
    vx::TitleBuffer buffer(&titlePtr);
    Working w;
    w.result = vx::readDxf(path.c_str(), buffer, w.list);
    title.resize(title.find('\0') == std::string::npos ? title.size() : title.find('\0'));
    const size_t end = title.find_last_not_of(' ');
    w.title = end == std::string::npos ? std::string() : title.substr(0, end + 1);
    return w;
}

// The working list cut where the contour number changes.
inline std::vector<vx::PointList> contours(const vx::PointList &list)
{
    std::vector<vx::PointList> out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i == 0 || list[i].contour != list[i - 1].contour)
            out.emplace_back();
        out.back().push_back(list[i]);
    }
    return out;
}

// Contours of a LireFichier result, cut where the tag changes.
inline std::vector<std::vector<ContourPoint>> contours(const std::vector<ContourPoint> &pts)
{
    std::vector<std::vector<ContourPoint>> out;
    for (size_t i = 0; i < pts.size(); ++i) {
        if (i == 0 || vxtest::tag(pts[i]) != vxtest::tag(pts[i - 1]))
            out.emplace_back();
        out.back().push_back(pts[i]);
    }
    return out;
}

} // namespace dxftest
