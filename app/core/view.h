// The view chain of the drawing area: projection by two angles, automatic
// fit, zoom and centre, mapping to screen units, and the arithmetic of the
// mouse gestures (rectangle zoom, pan, drag, hit tests).
#pragma once

#include "core/document.h"
#include "core/machine.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orv {

struct ViewPoint {
    float x = 0, y = 0;
    friend bool operator==(const ViewPoint &, const ViewPoint &) = default;
};

inline constexpr int32_t kPerspectiveOmega = 120, kPerspectiveAlpha = 143;
inline constexpr int32_t kSideViewOmega = 90, kSideViewAlpha = 180;
inline constexpr int32_t kZoomBarRest = 10000;
inline constexpr float kClickTolerance = 60;

struct ViewState {
    int32_t hscOmega = kPerspectiveOmega; // bar values, degrees
    int32_t hscAlpha = kPerspectiveAlpha;
    float Omega = 0, Alpha = 0; // radians, from the bars at each projection
    float CoeffZoom = 1;        // screen units per model unit
    float XCentreZoom = 0, YCentreZoom = 0;
    float DemiLargeur = 0, DemiHauteur = 0;
    float LargeurImage = 0, HauteurImage = 0;
    float MargeZoom = 180;
    std::array<float, 4> RectangleZoom{0, 0, 0, 0}; // X1, Y1, X2, Y2
    int32_t ValeurZoomPrecedente = kZoomBarRest;
    bool GardeZoom = false;
    friend bool operator==(const ViewState &, const ViewState &) = default;
};

// Which boxes are ticked: chkAfficherProfil(i), chkAfficherPoints(i), and
// chkProfilIntermediaire.
struct ShowFlags {
    bool profileE = true, pointsE = true, profileS = true, pointsS = true;
    bool intermediate = false;
    const MachineSettings *machine = nullptr; // chkVisuMachine: the carriage paths on this machine
    bool shown(Side s) const { return s == Emplanture ? profileE || pointsE : profileS || pointsS; }
    bool points(Side s) const { return s == Emplanture ? pointsE : pointsS; }
};

// Extremes of projected points.
struct ViewBox {
    bool has = false;
    float XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    float width() const { return XMax - XMin; }
    float height() const { return YMax - YMin; }
};

// Points toggled by a selection gesture, per profile, in list order.
struct HitList {
    std::vector<int32_t> E, S;
    std::vector<int32_t> &side(Side s) { return s == Emplanture ? E : S; }
    const std::vector<int32_t> &side(Side s) const { return s == Emplanture ? E : S; }
    bool empty() const { return E.empty() && S.empty(); }
};

// The view of one window: its state, the projected points (ProfilsVue) and
// the screen points (ProfilsEcran) of the root, the tip and the intermediate
// profile. Drawing reads the screen arrays directly.
class View {
public:
    ViewState state;

    std::vector<ViewPoint> vueE, vueS, vueI;       // projected, model units
    std::vector<ViewPoint> ecranE, ecranS, ecranI; // screen units of the drawing area
    ViewBox boxE, boxS, boxBoth;                   // extremes of vueE, vueS and both (carriage paths included)
    // The carriage paths in their tower planes, when shown and the counts agree.
    CarriagePaths carriages;
    std::array<std::vector<ViewPoint>, 2> vueMachine, ecranMachine;

    const std::vector<ViewPoint> &screen(Side s) const { return s == Emplanture ? ecranE : ecranS; }
    std::vector<ViewPoint> &screen(Side s) { return s == Emplanture ? ecranE : ecranS; }

    // Size of the drawing area; the half sizes follow.
    void setPictureSize(float width, float height);
    void setAngles(int32_t omegaDeg, int32_t alphaDeg);
    bool isSideView() const { return state.hscOmega == kSideViewOmega && state.hscAlpha == kSideViewAlpha; }
    // RectangleZoom := (0, 0, LargeurImage, HauteurImage).
    void resetZoomRectangle();

    // Projection: fills vueE, vueS (and vueI when an intermediate profile is
    // given and shown) and their boxes. The tip lies at z = Ecartement.
    void project(const Profils &doc, const ShowFlags &show, const ProfilePoints *intermediate = nullptr,
                 float intermediateSpacing = 0);
    // Automatic fit on the projected boxes: the root's when only the root is
    // shown, the tip's when only the tip is, both otherwise. Without any point
    // the zoom and centre are kept.
    void fit(const ShowFlags &show);
    void mapToScreen();
    // Projection, fit, mapping (the fit button, loads, the reset buttons).
    void rebuild(const Profils &doc, const ShowFlags &show, const ProfilePoints *intermediate = nullptr,
                 float intermediateSpacing = 0);
    // Projection and mapping with the zoom and centre kept (point edits, angles).
    void refreshKeepingZoom(const Profils &doc, const ShowFlags &show, const ProfilePoints *intermediate = nullptr,
                            float intermediateSpacing = 0);

    // hscZoom_Change: with GardeZoom only records the value; otherwise
    // multiplies CoeffZoom by 1.1 × d (up) or 0.9 × d (down), keeps the
    // centre and maps to the screen. Returns true when the zoom changed.
    bool zoomBarChanged(int32_t value);

    // Mouse arithmetic.
    ViewPoint screenToProjected(float x, float y) const;
    // Zoom on a rectangle given by two screen corners; a rectangle without
    // width or height keeps the zoom and centre. Returns true when applied.
    bool zoomToRectangle(float x1, float y1, float x2, float y2);
    // Pan released after a move of (dx, dy) screen units.
    void panBy(float dx, float dy);
    // Live pan and drag: shift screen points (all, or those with bit 1).
    void shiftScreen(float dx, float dy);
    void shiftSelectedScreen(const Profils &doc, float dx, float dy);

    // Points within the strict click square of (x, y), or inside the
    // rectangle (bounds included), on the profiles whose points are shown.
    HitList hitClick(float x, float y, const ShowFlags &show, float tolerance = kClickTolerance) const;
    HitList hitRectangle(float x1, float y1, float x2, float y2, const ShowFlags &show) const;

private:
    void projectMachine(const Profils &doc, const ShowFlags &show);
    float coefficientFor(float width, float height) const;
};

// Toggles bit on the hit points; for each profile with a hit, current
// receives the number of the last one. Returns true when any point changed.
bool applyToggles(Profils &doc, const HitList &hits, int16_t bit, int32_t &currentE, int32_t &currentS);

// Release of a Ctrl drag in the side view: every point with bit 1 moves by
// the screen displacement (dx, dy) at the zoom coeff (X - dx/coeff,
// Y + dy/coeff). Returns the number of points moved.
int32_t dragSelected(Profils &doc, float dx, float dy, float coeff);

// Mean screen position of the points with bit; false when there is none.
bool bitCentre(const ProfilePoints &points, const std::vector<ViewPoint> &screen, int16_t bit, ViewPoint &centre);

} // namespace orv
