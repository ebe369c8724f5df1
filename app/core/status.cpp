// Status bar texts, point-list lines, command availability and colours.
#include "core/status.h"

#include "core/numeric_entry.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

const NumberPattern &boxPattern()
{
    static const NumberPattern p(kFmtBox);
    return p;
}

std::string F(double v)
{
    return boxPattern().format(v);
}

float hypotenuse(float a, float b)
{
    return static_cast<float>(std::sqrt(static_cast<double>(a) * a + static_cast<double>(b) * b));
}

} // namespace

std::string statusSidePanel(int32_t pointCount, const SideExtent &extent)
{
    const float w = extent.width(), h = extent.height();
    const float d = hypotenuse(w, h);
    return ": " + std::to_string(pointCount) + " points     Sél.: " + std::to_string(extent.count) + " pts" +
           "    X:" + F(w) + "mm   Y:" + F(h) + "mm  D:" + F(d) + "mm";
}

std::string statusDistancePanel(const SelectionExtent &extent)
{
    if (!(extent.E.has && extent.S.has && extent.E.count == 1 && extent.S.count == 1))
        return "Dist. Sel.";
    const float xE = (extent.E.XMin + extent.E.XMax) / 2, yE = (extent.E.YMin + extent.E.YMax) / 2;
    const float xS = (extent.S.XMin + extent.S.XMax) / 2, yS = (extent.S.YMin + extent.S.YMax) / 2;
    const float dx = xS - xE, dy = yS - yE;
    return " X:" + F(dx) + "mm  Y:" + F(dy) + "mm   D:" + F(hypotenuse(dx, dy)) + "mm";
}

std::string statusMousePanel(float xm, float ym)
{
    return "X:" + F(xm) + "mm  Y:" + F(ym) + "mm";
}

StatusPanels statusPanels(const Profils &doc, int16_t activeBit)
{
    const SelectionExtent e = selectionExtent(doc, activeBit);
    return {statusSidePanel(doc.NbPointsE(), e.E), statusSidePanel(doc.NbPointsS(), e.S), statusDistancePanel(e)};
}

PointListLine pointListLine(const ProfilePoints &points, int32_t index, int16_t activeBit)
{
    PointListLine line;
    line.index = index;
    if (index < 1 || index > points.count())
        return line;
    static const NumberPattern number(kFmtIndex), coord(kFmtCoord);
    const PointProfil &p = points[index];
    line.exists = true;
    line.number = pointDisplayFixed(number.format(index));
    line.x = pointDisplayFixed(coord.format(p.X));
    line.y = pointDisplayFixed(coord.format(p.Y));
    if (activeBit == kSelected && p.has(kSelected))
        line.colour = ListColour::Selected;
    else if (activeBit == kReference && p.has(kReference))
        line.colour = ListColour::Reference;
    else if (activeBit == kSync && p.has(kSync))
        line.colour = ListColour::Sync;
    return line;
}

std::array<PointListLine, 5> pointList(const ProfilePoints &points, int32_t current, int16_t activeBit)
{
    std::array<PointListLine, 5> lines;
    for (int k = -2; k <= 2; ++k) {
        const int64_t i = static_cast<int64_t>(current) + k;
        const bool inRange = i >= INT32_MIN && i <= INT32_MAX;
        lines[static_cast<size_t>(k + 2)] = pointListLine(points, inRange ? static_cast<int32_t>(i) : 0, activeBit);
    }
    return lines;
}

namespace {

// Each editing control and the selection level from which it is enabled:
// 1 one point on a profile, 2 two or three points, 3 four points or more.
struct ControlRule {
    std::string_view name;
    int fromLevel;
};

constexpr std::array<ControlRule, 18> kEditingControls = {{
    {"cmdInsererPoint", 2},
    {"cmdSupprimer", 1},
    {"cmdSymetrie_0", 2},
    {"cmdSymetrie_1", 2},
    {"cmdInverserSelection", 2},
    {"cmdIntersection", 2},
    {"cmdLisser", 2},
    {"cmdCouper", 1},
    {"cmdCopier", 1},
    {"cmdColler", 1},
    {"txtDeplacer_0", 1},
    {"txtDeplacer_1", 1},
    {"txtDecaler", 2},
    {"txtTourner", 2},
    {"cmdRenumeroter", 3},
    {"txtEtirer_0", 2},
    {"txtEtirer_1", 2},
    {"txtEtirer_2", 2},
}};

int selectionLevel(int32_t a, int32_t b)
{
    if (a >= 4 || b >= 4)
        return 3;
    if (a == 2 || a == 3 || b == 2 || b == 3)
        return 2;
    if (a == 1 || b == 1)
        return 1;
    return 0;
}

} // namespace

Availability commandAvailability(int32_t nbSelE, int32_t nbSelS, bool insertionTicked)
{
    Availability a;
    const int level = selectionLevel(nbSelE, nbSelS);
    for (size_t i = 0; i < kEditingControls.size(); ++i)
        a.commands[i] = {kEditingControls[i].name, level > 0 && level >= kEditingControls[i].fromLevel};
    if (nbSelE == 1 && nbSelS == 1)
        a.insertion = InsertionBox::Enable;
    else
        a.insertion = insertionTicked ? InsertionBox::Keep : InsertionBox::Disable;
    return a;
}

bool Availability::enabled(std::string_view name) const
{
    auto it = std::find_if(commands.begin(), commands.end(), [&](const CommandState &c) { return c.name == name; });
    return it != commands.end() && it->enabled;
}

Rgb layerColour(int16_t bit)
{
    return bit == kReference ? colours::reference : bit == kSync ? colours::sync : colours::selected;
}

Rgb profileColour(Side s)
{
    return s == Emplanture ? colours::root : colours::tip;
}

Rgb referenceCentreColour(Side s)
{
    return s == Emplanture ? colours::rootReferenceCentre : colours::tipReferenceCentre;
}

Rgb currentBoxColour(Side s)
{
    return s == Emplanture ? colours::currentRootBox : colours::currentTipBox;
}

PointMark pointMark(const PointProfil &p, int16_t activeBit, Side side)
{
    if (activeBit == kSelected && p.has(kSelected))
        return {marks::selectedHalfSide, colours::selected};
    if (activeBit == kReference && p.has(kReference))
        return {marks::referenceHalfSide, colours::reference};
    if (activeBit == kSync && p.has(kSync))
        return {marks::syncHalfSide, colours::sync};
    return {marks::pointHalfSide, profileColour(side)};
}

Rgb segmentColour(const PointProfil &a, const PointProfil &b, int16_t activeBit, Side side)
{
    if (activeBit == kSelected && a.has(kSelected) && b.has(kSelected))
        return colours::selected;
    if (activeBit == kReference && a.has(kReference) && b.has(kReference))
        return colours::reference;
    return profileColour(side);
}

} // namespace orv
