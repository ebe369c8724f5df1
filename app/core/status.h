// Texts and tables of the editor's redraw that need no toolkit: the status
// bar panels, the point-list lines, the command availability and the colours.
#pragma once

#include "core/document.h"
#include "core/selection.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// ---- status bar

// Panels 1 (root) and 2 (tip): point count, selected count and the size of
// the extent of the points carrying the active bit.
std::string statusSidePanel(int32_t pointCount, const SideExtent &extent);
// Panel 3: offset and distance between the single active-layer points of
// the two profiles, or "Dist. Sel.".
std::string statusDistancePanel(const SelectionExtent &extent);
// Panel 3 while the mouse moves over the side view.
std::string statusMousePanel(float xm, float ym);

struct StatusPanels {
    std::string root, tip, distance;
};
// The three panels, from the selection extent of the active bit.
StatusPanels statusPanels(const Profils &doc, int16_t activeBit);

// ---- point lists

enum class ListColour {
    Plain,     // system button face, black text
    Selected,  // green, white text
    Reference, // purple, white text
    Sync,      // blue-green, black text
};

struct PointListLine {
    bool exists = false;
    int32_t index = 0;
    std::string number, x, y; // "#####", "#####0.00", "#####0.00"; empty without a point
    ListColour colour = ListColour::Plain;
    bool whiteText() const { return colour == ListColour::Selected || colour == ListColour::Reference; }
};

// Line for point `index` (which may lie outside 1..count).
PointListLine pointListLine(const ProfilePoints &points, int32_t index, int16_t activeBit);
// The five lines of a profile's list: points current-2 .. current+2.
std::array<PointListLine, 5> pointList(const ProfilePoints &points, int32_t current, int16_t activeBit);

// ---- command availability

// What the redraw does to chkInsertionProfils.
enum class InsertionBox { Enable, Disable, Keep };

struct CommandState {
    std::string_view name; // objectName, with the index of control arrays
    bool enabled;
};

// The editing commands enabled by the numbers of normally selected points
// (later rules override earlier ones):
//   none selected                    -> all disabled
//   1 on one profile, 0 on the other -> delete, cut, copy, paste, move boxes
//   1 on each profile                -> the same, and chkInsertionProfils
//   a count of 2 or 3                -> all but cmdRenumeroter
//   a count of 4 or more             -> all
struct Availability {
    std::array<CommandState, 18> commands;
    InsertionBox insertion = InsertionBox::Keep;
    bool enabled(std::string_view name) const;
};

// insertionTicked: chkInsertionProfils has the value 1.
Availability commandAvailability(int32_t nbSelE, int32_t nbSelS, bool insertionTicked);

// ---- colours

struct Rgb {
    uint8_t r, g, b;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

namespace colours {
inline constexpr Rgb tip{0, 0, 255};          // tip segments, unselected markers, start marker
inline constexpr Rgb root{255, 0, 0};         // root segments, unselected markers, start marker
inline constexpr Rgb selected{0, 176, 10};    // normal selection (bit 1)
inline constexpr Rgb reference{240, 0, 225};  // reference points (bit 2)
inline constexpr Rgb sync{0, 207, 169};       // synchronization points (bit 4)
inline constexpr Rgb intermediate{0, 176, 10};
inline constexpr Rgb surface{255, 193, 113};  // lines between corresponding points
inline constexpr Rgb tipReferenceCentre{0, 169, 207};
inline constexpr Rgb rootReferenceCentre{112, 49, 255};
inline constexpr Rgb currentRootBox{144, 26, 0};
inline constexpr Rgb currentTipBox{0, 6, 112};
inline constexpr Rgb wire{0, 0, 0};
inline constexpr Rgb white{255, 255, 255};
inline constexpr Rgb black{0, 0, 0};
} // namespace colours

// Colour of a layer's marks (bit 1, 2 or 4).
Rgb layerColour(int16_t bit);
Rgb profileColour(Side s);
Rgb referenceCentreColour(Side s);
Rgb currentBoxColour(Side s);

// Sizes of the marks in drawing units.
namespace marks {
inline constexpr float pointHalfSide = 40;
inline constexpr float selectedHalfSide = 50;
inline constexpr float referenceHalfSide = 40;
inline constexpr float syncHalfSide = 70;
inline constexpr float referenceCentreHalfSide = 50;
inline constexpr float startCircleRadius = 60;
inline constexpr float startLineLength = 500;
inline constexpr float currentBoxHalfSide = 70;
} // namespace marks

// How one point is marked: the first rule that applies to the active layer.
struct PointMark {
    float halfSide;
    Rgb colour;
};
PointMark pointMark(const PointProfil &p, int16_t activeBit, Side side);

// Colour of the segment between two consecutive points.
Rgb segmentColour(const PointProfil &a, const PointProfil &b, int16_t activeBit, Side side);

} // namespace orv
