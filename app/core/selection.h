// Point selection: the three selection layers, the selection extent, the
// automatic selections, the reversal of selected runs and the point cursors.
#pragma once

#include "core/document.h"

#include <cstdint>

namespace orv {

// The selection state of the editor: active layer bit, current and previous
// point of each profile, and the profile whose cursor moved last.
struct SelectionState {
    int16_t SelectionActive = kSelected; // 1, 2 or 4
    int32_t PointCourantE = 1, PointCourantS = 1;
    int32_t PointPrecedentE = 1, PointPrecedentS = 1;
    Side ProfilCourant = Emplanture;

    int32_t &current(Side s) { return s == Emplanture ? PointCourantE : PointCourantS; }
    int32_t current(Side s) const { return s == Emplanture ? PointCourantE : PointCourantS; }
    int32_t &previous(Side s) { return s == Emplanture ? PointPrecedentE : PointPrecedentS; }
    int32_t previous(Side s) const { return s == Emplanture ? PointPrecedentE : PointPrecedentS; }
    // Current and previous points of both profiles back to 1.
    void resetCursors();
};

// The option buttons "Sélection Normale", "Sélection Points Réf.",
// "Points de Synchro" (index 0, 1, 2) and their layer bits.
int16_t layerBit(int optionIndex);
int layerIndex(int16_t bit); // 0 for an unknown bit

// Bits of a point's Flags, set only when absent and cleared only when present.
inline void setBit(PointProfil &p, int16_t bit) { p.Flags = static_cast<int16_t>(p.Flags | bit); }
inline void clearBit(PointProfil &p, int16_t bit) { p.Flags = static_cast<int16_t>(p.Flags & ~bit); }
inline void toggleBit(PointProfil &p, int16_t bit) { p.Flags = static_cast<int16_t>(p.Flags ^ bit); }

// ---- selection extent

struct SideExtent {
    bool has = false; // the profile has points carrying the mask
    float XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    int32_t count = 0;
    float width() const { return has ? XMax - XMin : 0; }
    float height() const { return has ? YMax - YMin : 0; }
    friend bool operator==(const SideExtent &, const SideExtent &) = default;
};

struct SelectionExtent {
    SideExtent E, S;
    const SideExtent &side(Side s) const { return s == Emplanture ? E : S; }
    int32_t NbSelE() const { return E.count; }
    int32_t NbSelS() const { return S.count; }
};

// The extremes and counts of the points whose Flags hold every bit of mask.
SideExtent selectionExtent(const ProfilePoints &points, int16_t mask);
SelectionExtent selectionExtent(const Profils &doc, int16_t mask);

// Number of points carrying bit.
int32_t countWith(const ProfilePoints &points, int16_t bit);

// ---- automatic selections

// Direction of the segment from (x1, y1) to (x2, y2), radians in [0, 2π);
// a segment of length 0 points at π/2.
double segmentDirection(float x1, float y1, float x2, float y2);

// Sets bit on every inner point where the direction turns by 30° to 330°
// inclusive. Returns the number of points that gained the bit.
int32_t selectCorners(ProfilePoints &points, int16_t bit);

// "Sélection >30°" buttons: index 0 the tip, 1 the root; nullptr otherwise.
ProfilePoints *cornerTarget(Profils &doc, int index);

// "Sélection Xmin Xmax" / "Sélection Ymin Ymax" (index 0 tip X, 1 root X,
// 2 tip Y, 3 root Y): recomputes the characteristics, then sets bit on the two
// extreme points. Returns false, changing nothing, for another index or an
// empty profile.
bool selectExtremes(Profils &doc, int index, int16_t bit);

// "Tout sélectionner" / "Tout déselectionner" on one profile. Return the
// number of points changed.
int32_t selectAll(ProfilePoints &points, int16_t bit);
int32_t clearSelection(ProfilePoints &points, int16_t bit);

// "Inverser le sens": reverses the order of every maximal run of points with
// bit 1, whole records, whatever the active layer. Returns the number of runs
// of two or more points.
int32_t reverseSelectedRuns(ProfilePoints &points);

// Sets bit on every point from `from` to `to`, both included, in either
// direction (the Ctrl move of a cursor); numbers outside 1..count are skipped.
int32_t selectRange(ProfilePoints &points, int32_t from, int32_t to, int16_t bit);

// A click on label k of a profile's point list toggles bit on point
// current + (k mod 5) - 2. Returns false when that point does not exist.
bool toggleListPoint(ProfilePoints &points, int32_t current, int label, int16_t bit);

// ---- point cursors

// The two scroll bars of one profile: units (index 0) and thousands (index 1).
// The current point is thousands × 1000 + units.
struct CursorBars {
    int32_t unitsMin = 1, unitsMax = 1, units = 1;
    int32_t thousandsMax = 0, thousands = 0;
    bool thousandsVisible = false;

    int32_t index() const { return thousands * 1000 + units; }
    friend bool operator==(const CursorBars &, const CursorBars &) = default;
};

// Cursor setup for a profile of `count` points, showing point 1. For an exact
// multiple of 1000 the thousands bar stops one step lower, so that the top
// position shows a full page and every number 1..count, and no other, is
// reachable.
CursorBars setupCursor(int32_t count);

// After a change of either bar: the units maximum follows the thousands bar
// (the remainder of the count at its top, 1000 elsewhere; units are clamped
// into range as a scroll bar does). Returns the new current index.
int32_t cursorChanged(CursorBars &bars, int32_t count);

// Moves both bars to show point `index` (clamped to 1..count), as the mouse
// selection does; a multiple of 1000 shows as units 1000 of the page below.
void showCursorIndex(CursorBars &bars, int32_t count, int32_t index);

} // namespace orv
