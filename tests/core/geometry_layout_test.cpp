// Wing layout: chord, spacing, sweep and dihedral placements and modes, the
// alignment, the re-application, two wings in one block, the intermediate
// profile.
#include "core/layout.h"

#include "core/characteristics.h"

#include "geometry_test_support.h"

#include <cmath>
#include <numbers>

using namespace orv;
using namespace orv::test;

namespace {

// A closed diamond: leading edge at (x, y + t/2), chord c, thickness t.
std::vector<PointProfil> diamond(float x, float y, float c, float t)
{
    return {{x + c, y + t / 2}, {x + c / 3, y + t}, {x, y + t / 2}, {x + c / 3, y}, {x + c, y + t / 2}};
}

Profils panel(std::vector<PointProfil> root, std::vector<PointProfil> tip, float spacing = 500)
{
    Profils d;
    d.PointsE = ProfilePoints(root);
    d.PointsS = ProfilePoints(tip);
    d.Ecartement = spacing;
    computeCharacteristics(d);
    return d;
}

} // namespace

TEST(Chord, ScalesTheWholeProfileAboutTheOrigin)
{
    Profils d = panel(diamond(10, 0, 200, 24), diamond(0, 0, 100, 10));
    const Profils tipBefore = d;
    EXPECT_FALSE(setChord(d, Emplanture, 100));
    EXPECT_FLOAT_EQ(d.C.E.XMin, 5);
    EXPECT_FLOAT_EQ(d.C.E.Corde, 100);
    EXPECT_FLOAT_EQ(d.C.E.Epaisseur, 12);
    EXPECT_EQ(d.PointsS, tipBefore.PointsS);
}

TEST(Chord, RefusesAProfileOfZeroChordAndAChordThatIsNotPositive)
{
    Profils d = panel({{5, 0}, {5, 3}}, diamond(0, 0, 100, 10));
    const Profils before = d;
    std::optional<Notice> n = setChord(d, Emplanture, 50);
    EXPECT_EQ(d, before);
    ASSERT_TRUE(n);
    EXPECT_EQ(*n, critical("La corde de l'emplanture est nulle, il n'est pas possible de la modifier.",
                           "Erreur de saisie"));
    n = setChord(d, Saumon, 0);
    EXPECT_EQ(d, before);
    ASSERT_TRUE(n);
    EXPECT_EQ(*n, critical("Il n'est pas possible d'entrer une corde négative ou nulle.", "Erreur de saisie"));
}

TEST(Spacing, RefusesZeroOrNegativeAndOtherwiseTheAngleFollows)
{
    Profils d = panel(diamond(0, 0, 200, 20), diamond(0, 20, 150, 20), 1000);
    LayoutState state;
    const Profils before = d;
    for (double bad : {0.0, -5.0}) {
        const std::optional<Notice> n = setSpacing(d, state, bad);
        ASSERT_TRUE(n);
        EXPECT_EQ(*n, critical("Il n'est pas possible d'entrer un écartement négatif ou nul.", "Erreur de saisie"));
        EXPECT_EQ(d, before);
    }
    EXPECT_FALSE(setSpacing(d, state, 2000));
    EXPECT_FLOAT_EQ(d.Ecartement, 2000);
    EXPECT_NEAR(state.shownAngle, std::atan(20.0 / 2000) * 180 / std::numbers::pi, 1e-4);
    EXPECT_FLOAT_EQ(d.C.DiedreMm, 20); // no point moved
}

TEST(Sweep, TheTipLeadingEdgeLandsAtTheTypedSweep)
{
    Profils d = panel(diamond(10, 0, 200, 24), diamond(70, 5, 150, 18));
    LayoutState state{.sweepMode = 1, .aligned = true};
    typeSweep(d, state, 30);
    EXPECT_FLOAT_EQ(d.C.S.XMin, d.C.E.XMin + 30);
    EXPECT_FLOAT_EQ(d.C.FlecheBF, d.C.E.XMax - d.C.S.XMax);
    EXPECT_EQ(state.sweepMode, -1);
    EXPECT_FALSE(state.aligned);
    EXPECT_FLOAT_EQ(state.storedSweep, 30);
}

TEST(Sweep, AlignedMidPointsOfChords200And150StoreTwentyFive)
{
    Profils d = panel(diamond(0, 0, 200, 24), diamond(70, 5, 150, 18));
    LayoutState state;
    checkSweepMode(d, state, 1);
    EXPECT_FLOAT_EQ(state.storedSweep, 25);
    EXPECT_FLOAT_EQ((d.C.S.XMin + d.C.S.XMax) / 2, (d.C.E.XMin + d.C.E.XMax) / 2);
    checkSweepMode(d, state, 2);
    EXPECT_FLOAT_EQ(state.storedSweep, 50);
    EXPECT_FLOAT_EQ(d.C.S.XMax, d.C.E.XMax);
}

TEST(Dihedral, AlignedUpperSurfacesOfThicknesses24And18StoreSix)
{
    Profils d = panel(diamond(0, 0, 200, 24), diamond(0, 40, 150, 18));
    LayoutState state;
    checkDihedralMode(d, state, 0);
    EXPECT_FLOAT_EQ(state.storedDihedral, 6);
    EXPECT_FLOAT_EQ(d.C.S.YMax, d.C.E.YMax);
    EXPECT_FLOAT_EQ(state.shownAngle, d.C.DiedreDeg);
    checkDihedralMode(d, state, 4);
    EXPECT_FLOAT_EQ(d.C.S.YMin, d.C.E.YMin);
    checkDihedralMode(d, state, 2);
    EXPECT_FLOAT_EQ(d.C.S.YMin + d.C.S.YMax, d.C.E.YMin + d.C.E.YMax);
}

TEST(Dihedral, LeadingAndTrailingEdgeModesLevelThosePoints)
{
    // Root leading edge at mid-height, tip leading edge at its bottom.
    Profils d = panel({{200, 10}, {50, 20}, {0, 10}, {50, 0}, {200, 10}},
                      {{150, 18}, {40, 18}, {0, 0}, {40, 0}, {150, 18}});
    LayoutState state;
    checkDihedralMode(d, state, 1);
    EXPECT_FLOAT_EQ(d.C.S.YaXMin, d.C.E.YaXMin);
    checkDihedralMode(d, state, 3);
    EXPECT_FLOAT_EQ(d.C.S.YaXMax, d.C.E.YaXMax);
    EXPECT_EQ(state.dihedralMode, 3);
}

TEST(Dihedral, TwoDegreesOverFiveHundredRaiseTheTipMidHeightBy17_46)
{
    Profils d = panel(diamond(0, 0, 200, 24), diamond(0, 0, 150, 18), 500);
    LayoutState state{.dihedralMode = 2};
    typeDihedralDeg(d, state, 2);
    const double lift = (double(d.C.S.YMin) + d.C.S.YMax) / 2 - (double(d.C.E.YMin) + d.C.E.YMax) / 2;
    EXPECT_NEAR(lift, 17.46, 0.005);
    EXPECT_NEAR(state.shownAngle, 2, 1e-4);
    EXPECT_FLOAT_EQ(state.storedDihedral, d.C.S.YMin - d.C.E.YMin);
    EXPECT_EQ(state.dihedralMode, -1);
}

TEST(Alignment, RefusesWithoutReferencePointsOnBothProfiles)
{
    Profils d = panel({{0, 0, kReference}, {10, 0}}, {{5, 5}, {15, 5}});
    const Profils before = d;
    LayoutState state{.storedSweep = 3, .aligned = true};
    const std::optional<Notice> n = checkAlignment(d, state);
    EXPECT_EQ(d, before);
    EXPECT_FALSE(state.aligned);
    EXPECT_FLOAT_EQ(state.storedSweep, 3);
    ASSERT_TRUE(n);
    EXPECT_EQ(*n, critical("Pas de point de référence défini à l'emplanture ou au saumon, alignement impossible",
                           "Pas de sélection violette"));
}

TEST(Alignment, TheTipReferenceMeanLandsOnTheRootsAndTheStoredValuesFollow)
{
    Profils d = panel({{0, 0}, {10, 0, kReference}, {30, 4, kReference}, {40, 0}},
                      {{100, 50}, {105, 52, kReference}, {120, 50}});
    LayoutState state{.sweepMode = 0, .dihedralMode = 3};
    EXPECT_FALSE(checkAlignment(d, state));
    EXPECT_FLOAT_EQ(d.C.S.RefX, 20);
    EXPECT_FLOAT_EQ(d.C.S.RefY, 2);
    EXPECT_TRUE(state.aligned);
    EXPECT_EQ(state.sweepMode, -1);
    EXPECT_EQ(state.dihedralMode, -1);
    EXPECT_FLOAT_EQ(state.storedSweep, d.C.FlecheBA);
    EXPECT_FLOAT_EQ(state.storedDihedral, d.C.DiedreMm);
}

TEST(Reapplication, AfterAChordChangeWithAlignedTrailingEdgesTheyAreInLineAgain)
{
    Profils d = panel(diamond(0, 0, 200, 24), diamond(0, 0, 150, 18));
    LayoutState state;
    checkSweepMode(d, state, 2);
    ASSERT_FLOAT_EQ(d.C.S.XMax, d.C.E.XMax);
    setChord(d, Saumon, 120);
    EXPECT_GT(std::fabs(d.C.S.XMax - d.C.E.XMax), 1);
    EXPECT_FALSE(reapplyLayout(d, state));
    EXPECT_NEAR(d.C.S.XMax, d.C.E.XMax, 1e-4);
    EXPECT_FLOAT_EQ(d.C.S.Corde, 120);
}

TEST(Reapplication, WithoutModesTheStoredSweepAndDihedralAreKept)
{
    Profils d = panel(diamond(0, 0, 200, 24), diamond(0, 0, 150, 18));
    LayoutState state;
    typeSweep(d, state, 12);
    typeDihedralMm(d, state, -4);
    setChord(d, Emplanture, 300);
    reapplyLayout(d, state);
    EXPECT_NEAR(d.C.FlecheBA, 12, 1e-4);
    EXPECT_NEAR(d.C.DiedreMm, -4, 1e-4);
}

TEST(Reapplication, AnAlignmentWhoseReferencesWereDeletedIsUncheckedWithItsMessage)
{
    Profils d = panel(diamond(0, 0, 200, 24), diamond(0, 0, 150, 18));
    LayoutState state{.aligned = true};
    const Profils before = d;
    const std::optional<Notice> n = reapplyLayout(d, state);
    ASSERT_TRUE(n);
    EXPECT_EQ(n->title, "Pas de sélection violette");
    EXPECT_FALSE(state.aligned);
    EXPECT_EQ(d, before);
}

TEST(TwoWings, MirroredCopiesDoubleEachProfileTracedBackwards)
{
    Profils d = panel({{0, 10, S1}, {10, 12}, {20, 10}}, {{0, 30}, {8, 33}});
    duplicateMirrored(d, 4);
    // Mirror line: root Y min - 2 = 8.
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 10}, {10, 12}, {20, 10}, {20, 6}, {10, 4}, {0, 6}}));
    EXPECT_EQ(xy(d.PointsS), (XY{{0, 30}, {8, 33}, {8, -17}, {0, -14}}));
    EXPECT_EQ(flags(d.PointsE), (std::vector<int16_t>{S1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(d.NbPointsE(), 6);
    EXPECT_EQ(d.NbPointsS(), 4);
}

TEST(TwoWings, HeadToTailFacesCarryOneWingsRootAndTheOthersTip)
{
    // Root 20 thick, tip 10 higher (dihedral 10), gap 50.
    const std::vector<PointProfil> root = diamond(0, 0, 200, 20), tip = diamond(30, 10, 150, 16);
    Profils d = panel(root, tip);
    LayoutState state{.storedSweep = 30, .storedDihedral = 10, .sweepMode = 0};
    duplicateHeadToTail(d, state, 50);
    const size_t n = root.size();
    ASSERT_EQ(d.NbPointsE(), static_cast<int32_t>(2 * n + 5));
    ASSERT_EQ(d.NbPointsS(), d.NbPointsE());

    // Root face: lead-in, the root, lead-out, half drop, the tip lowered by 50
    // between its own lead-in and lead-out.
    EXPECT_EQ(d.PointsE[1], (PointProfil{204, 10, 0}));
    for (size_t i = 0; i < n; ++i)
        EXPECT_EQ(d.PointsE[static_cast<int32_t>(i) + 2], root[i]);
    EXPECT_EQ(d.PointsE[static_cast<int32_t>(n) + 2], (PointProfil{204, 10, 0}));
    EXPECT_EQ(d.PointsE[static_cast<int32_t>(n) + 3], (PointProfil{204, -15, 0}));
    EXPECT_EQ(d.PointsE[static_cast<int32_t>(n) + 4], (PointProfil{184, -32, 0}));
    for (size_t i = 0; i < n; ++i)
        EXPECT_EQ(d.PointsE[static_cast<int32_t>(n + i) + 5], (PointProfil{tip[i].X, tip[i].Y - 50, 0}));
    EXPECT_EQ(d.PointsE[static_cast<int32_t>(2 * n) + 5], (PointProfil{184, -32, 0}));

    // The tip face did not move: the upper wing keeps its dihedral and the
    // lower wing's tip (root face) stands 10 above its root (tip face).
    EXPECT_EQ(d.PointsS[2], tip[0]);
    EXPECT_EQ(d.PointsS[static_cast<int32_t>(n) + 5], (PointProfil{root[0].X, root[0].Y - 50, 0}));
    EXPECT_FLOAT_EQ(state.storedDihedral, -10);
    EXPECT_FLOAT_EQ(d.C.DiedreMm, -10);
    EXPECT_EQ(state.sweepMode, -1);
    EXPECT_FLOAT_EQ(state.storedSweep, d.C.FlecheBA);
    EXPECT_TRUE(numbersWith(d.PointsE, kSelected).empty());
    EXPECT_TRUE(numbersWith(d.PointsS, kSelected).empty());

    // A later re-application leaves both faces where they are.
    const Profils built = d;
    reapplyLayout(d, state);
    EXPECT_EQ(d.PointsE, built.PointsE);
    EXPECT_EQ(d.PointsS, built.PointsS);
}

TEST(IntermediateProfile, InterpolatesEachPairOfPointsByTheDistance)
{
    Profils d = panel({{0, 0, S1}, {100, 10}}, {{20, 40}, {80, 30}}, 400);
    const IntermediateResult r = intermediateProfile(d, 100);
    ASSERT_TRUE(r.points);
    EXPECT_FALSE(r.notice);
    EXPECT_EQ(xy(*r.points), (XY{{5, 10}, {95, 15}}));
}

TEST(IntermediateProfile, RefusesADistanceOutsideThePanelAndUnequalCounts)
{
    Profils d = panel({{0, 0}, {100, 10}}, {{20, 40}, {80, 30}}, 400);
    for (float e : {0.0f, -3.0f, 400.0f, 500.0f}) {
        const IntermediateResult r = intermediateProfile(d, e);
        EXPECT_FALSE(r.points);
        ASSERT_TRUE(r.notice);
        EXPECT_EQ(*r.notice, critical("Le profil intermediaire doit être placé entre l'emplanture et le saumon",
                                      "Erreur de dimension"));
    }
    d.PointsS = profile({{20, 40}});
    const IntermediateResult r = intermediateProfile(d, 100);
    EXPECT_FALSE(r.points);
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(*r.notice, critical("L'emplanture et le saumon n'ont pas le même nombre de points, le profil "
                                  "intermédiaire est impossible. Synchronisez d'abord les profils.",
                                  "Erreur de dimension"));
}
