// Wing layout arithmetic: chord, spacing, sweep, dihedral, alignment on the
// reference points, two wings in one block and the intermediate profile.
// Sweep and dihedral move every tip point; functions that say so leave the
// characteristics computed. The check boxes stay the window's: LayoutState
// mirrors them so that the handlers below can uncheck and re-run as the boxes
// would, and reapplyLayout runs the re-application after a shape change.
#pragma once

#include "core/document.h"
#include "core/notice.h"

#include <optional>

namespace orv {

// The layout values that live beside the document record.
struct LayoutState {
    float storedSweep = 0;    // leading-edge sweep last requested (mm)
    float storedDihedral = 0; // dihedral last requested (mm, tip Y min - root Y min)
    float shownAngle = 0;     // angle last shown in txtDiedreDeg (degrees)
    int sweepMode = -1;       // checked chkFleche box (0 BA, 1 milieux, 2 BF), or -1
    int dihedralMode = -1;    // checked chkDiedre box (0 to 4), or -1
    bool aligned = false;     // chkAligner
};

// ---- chord and spacing

// txtCorde(side): scales every point of that profile about the origin by
// chord / current chord, then computes the characteristics. Refused when the
// typed chord is not positive or the profile's chord is 0.
std::optional<Notice> setChord(Profils &doc, Side side, float chord);

// txtEcartementZ: refused when spacing <= 0; otherwise no point moves, the
// characteristics are computed and the shown angle follows.
std::optional<Notice> setSpacing(Profils &doc, LayoutState &state, double spacing);

// ---- placement pieces (each computes the characteristics before and after)

// The tip's least X lands at the root's least X + sweep.
void placeSweep(Profils &doc, float sweep);
// The tip's least Y lands at the root's least Y + dihedral.
void placeDihedralMm(Profils &doc, float dihedral);
// The tip's mid-height lands at the root's mid-height + spacing × tan(degrees).
void placeDihedralDeg(Profils &doc, float degrees);
// Stored sweep of chkFleche(index) and stored dihedral of chkDiedre(index),
// from the characteristics.
float sweepOfMode(const Caracteristiques &c, int index);
float dihedralOfMode(const Caracteristiques &c, int index);
// The mean of the tip's reference points lands on the root's. Refused, with
// nothing changed, when either profile has no reference point.
std::optional<Notice> alignOnReferences(Profils &doc);

// ---- the handlers, with the boxes they uncheck

void typeSweep(Profils &doc, LayoutState &state, float sweep);           // txtFleche, Enter
void checkSweepMode(Profils &doc, LayoutState &state, int index);        // chkFleche(index) checked
void typeDihedralMm(Profils &doc, LayoutState &state, float dihedral);   // txtDiedreMm, Enter
void checkDihedralMode(Profils &doc, LayoutState &state, int index);     // chkDiedre(index) checked
void typeDihedralDeg(Profils &doc, LayoutState &state, float degrees);   // txtDiedreDeg, Enter
std::optional<Notice> checkAlignment(Profils &doc, LayoutState &state);  // chkAligner checked; unchecked on refusal

// The layout re-application: the alignment again when it is on (and nothing
// else), otherwise each checked mode recomputed from the new shapes and the
// stored sweep and dihedral re-applied where no mode is checked.
std::optional<Notice> reapplyLayout(Profils &doc, LayoutState &state);

// ---- two wings in one block

// cmdDupliquer(0): each profile of n points becomes 2n, the second half the
// profile mirrored about y = root Y min - gap/2 and traced backwards (Flags 0).
void duplicateMirrored(Profils &doc, float gap);

// cmdDupliquer(1): head to tail, each face carrying one wing's root and the
// other wing's tip. Root face: lead-in (first + 4 mm in X), the root, lead-out
// (last + 4 mm in X), the same X lowered by gap/2, then the tip lowered by
// gap, forward, starting from its own lead-in (first + 4 mm) and ending with
// its own lead-out (last + 4 mm): the wire leaves each wing at its trailing
// edge side and the point numbers of synchronized profiles still pair a
// wing's root with its own tip. The tip face is the same with the roles
// swapped, so both faces have the same count. The stored dihedral is negated
// and re-applied to the whole tip face: with the lower wing entirely below
// the upper one on both faces (gap >= |dihedral| + thickness, the only
// arrangement where the wings do not cross) that moves nothing, so both wings
// keep their dihedral. The stored sweep becomes the faces' measured sweep and
// chkFleche(0) is unchecked, so that a later re-application leaves the wings
// as built. The copies carry no marks.
void duplicateHeadToTail(Profils &doc, LayoutState &state, float gap);

// ---- intermediate profile

struct IntermediateResult {
    std::optional<ProfilePoints> points; // the profile, when built
    std::optional<Notice> notice;        // the refusal; EcartementIntermediaire then goes back to 0
};

// Point i := root i + (tip i - root i) × distance / Ecartement. Refused when
// the distance is outside (0, Ecartement) or the two counts differ.
IntermediateResult intermediateProfile(const Profils &doc, float distance);

} // namespace orv
