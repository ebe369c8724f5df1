// The wing characteristics: extremes, chords, thicknesses, reference means,
// sweep and dihedral, recomputed from the point lists and the spacing.
#pragma once

#include "core/document.h"

namespace orv {

// Fills doc.C from doc.PointsE, doc.PointsS and doc.Ecartement.
//
// Extremes use <= and >=, so among equal values the last point wins. The
// reference fields hold means only when both profiles have reference points,
// plain sums otherwise. The dihedral angle keeps its value when the spacing is
// 0. A profile without points leaves its own fields unchanged; the overall
// fields then come from the other profile alone, and the fields that compare
// the two profiles (sweep, trailing-edge offset, dihedral) stay unchanged.
void computeCharacteristics(Profils &doc);

// One profile's measures, with the reference fields holding plain sums.
// Returns false (and leaves m alone) when the profile has no points.
bool measureSide(const ProfilePoints &points, SideMeasures &m);

} // namespace orv
