// Group-code lines, value conversions, entity names and the drawing's tables
// for the DXF reader.
#include "readers/dxf_reader.h"

#include "foundation/text_input.h"

#include <algorithm>

namespace vx::dxf {

int PairCursor::parseCode(const char *p, const char *end)
{
    while (p < end && isCSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    int value = 0;
    int digits = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        if (++digits > 9)
            return kBadCode;
        value = value * 10 + (*p++ - '0');
    }
    if (digits == 0)
        return kBadCode;
    while (p < end && isCSpace(*p))
        ++p;
    if (p != end)
        return kBadCode;
    return negative ? -value : value;
}

bool readNumber(std::string_view value, double &out)
{
    size_t pos = 0;
    return parseDouble(value, pos, out);
}

bool readInteger(std::string_view value, int64_t &out)
{
    size_t pos = 0;
    return parseInteger(value, pos, out);
}

Kind kindOf(std::string_view name)
{
    switch (name.size()) {
    case 3:
        return equalsNoCase(name, "ARC") ? Kind::Arc : Kind::Other;
    case 4:
        if (equalsNoCase(name, "LINE"))
            return Kind::Line;
        return equalsNoCase(name, "TEXT") ? Kind::Text : Kind::Other;
    case 5:
        return equalsNoCase(name, "POINT") ? Kind::Point : Kind::Other;
    case 6:
        if (equalsNoCase(name, "VERTEX"))
            return Kind::Vertex;
        if (equalsNoCase(name, "CIRCLE"))
            return Kind::Circle;
        if (equalsNoCase(name, "SPLINE"))
            return Kind::Spline;
        if (equalsNoCase(name, "INSERT"))
            return Kind::Insert;
        if (equalsNoCase(name, "ENDBLK"))
            return Kind::EndBlk;
        return equalsNoCase(name, "ENDSEC") ? Kind::EndSec : Kind::Other;
    case 7:
        return equalsNoCase(name, "ELLIPSE") ? Kind::Ellipse : Kind::Other;
    case 8:
        return equalsNoCase(name, "POLYLINE") ? Kind::Polyline : Kind::Other;
    case 10:
        return equalsNoCase(name, "LWPOLYLINE") ? Kind::LwPolyline : Kind::Other;
    default:
        return Kind::Other;
    }
}

namespace {

constexpr size_t kBaseExpansionNodes = size_t(1) << 22;
constexpr size_t kExpansionNodesPerByte = 32;
constexpr double kBaseSplineWork = 2e8;
constexpr double kSplineWorkPerByte = 1000;

std::string folded(std::string_view name)
{
    std::string s(name);
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return s;
}

} // namespace

Drawing::Drawing(std::string_view t) : text(t)
{
    expansionBudget = std::max(kBaseExpansionNodes, kExpansionNodesPerByte * t.size());
    splineWork = kBaseSplineWork + kSplineWorkPerByte * static_cast<double>(t.size());
}

void Drawing::addBlock(std::string_view name, size_t body, double baseX, double baseY)
{
    Block b;
    b.name = name;
    b.body = body;
    b.baseX = baseX;
    b.baseY = baseY;
    const size_t index = blocks.size();
    blocks.push_back(std::move(b));
    // The first definition of a name wins.
    blockByName.emplace(name, index);
    blockByFoldedName.emplace(folded(name), index);
}

Block *Drawing::findBlock(std::string_view name)
{
    auto exact = blockByName.find(name);
    if (exact != blockByName.end())
        return &blocks[exact->second];
    auto loose = blockByFoldedName.find(folded(name));
    return loose == blockByFoldedName.end() ? nullptr : &blocks[loose->second];
}

} // namespace vx::dxf
