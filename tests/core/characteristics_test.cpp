// Wing characteristics: tie-breaks, reference means, dihedral and empty sides.
#include "core/characteristics.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orv;

namespace {

ProfilePoints profile(std::initializer_list<PointProfil> pts)
{
    return ProfilePoints(std::vector<PointProfil>(pts));
}

Profils wing(std::initializer_list<PointProfil> root, std::initializer_list<PointProfil> tip, float spacing = 0)
{
    Profils d;
    d.PointsE = profile(root);
    d.PointsS = profile(tip);
    d.Ecartement = spacing;
    computeCharacteristics(d);
    return d;
}

} // namespace

TEST(Characteristics, AmongEqualExtremesTheLastPointWins)
{
    Profils d = wing({{0, 1}, {5, 3}, {0, 2}, {5, 4}, {2, 4}, {3, -1}, {1, -1}}, {{0, 0}});
    EXPECT_EQ(d.C.E.IndXMin, 3);
    EXPECT_EQ(d.C.E.YaXMin, 2);
    EXPECT_EQ(d.C.E.IndXMax, 4);
    EXPECT_EQ(d.C.E.YaXMax, 4);
    EXPECT_EQ(d.C.E.IndYMax, 5);
    EXPECT_EQ(d.C.E.XaYMax, 2);
    EXPECT_EQ(d.C.E.IndYMin, 7);
    EXPECT_EQ(d.C.E.XaYMin, 1);
    EXPECT_EQ(d.C.E.Corde, 5);
    EXPECT_EQ(d.C.E.Epaisseur, 5);
}

TEST(Characteristics, AProfileOfConstantXHasChordZero)
{
    Profils d = wing({{4, 0}, {4, 2}, {4, 1}}, {{0, 0}});
    EXPECT_EQ(d.C.E.Corde, 0);
    EXPECT_EQ(d.C.E.IndXMin, 3);
    EXPECT_EQ(d.C.E.IndXMax, 3);
}

TEST(Characteristics, OverallExtremesAndSweepCombineBothProfiles)
{
    Profils d = wing({{0, -5}, {100, 5}}, {{20, 15}, {90, 30}}, 1000);
    EXPECT_EQ(d.C.XMin, 0);
    EXPECT_EQ(d.C.XMax, 100);
    EXPECT_EQ(d.C.YMin, -5);
    EXPECT_EQ(d.C.YMax, 30);
    EXPECT_EQ(d.C.Largeur, 100);
    EXPECT_EQ(d.C.Hauteur, 35);
    EXPECT_EQ(d.C.FlecheBA, 20);
    EXPECT_EQ(d.C.FlecheBF, 10);
}

TEST(Characteristics, ReferenceFieldsAreMeansOnlyWhenBothProfilesHaveReferencePoints)
{
    Profils both = wing({{10, 1, kReference}, {20, 0}, {30, 3, kReference | kSelected}}, {{50, 7, kReference}});
    EXPECT_EQ(both.C.E.NbRef, 2);
    EXPECT_EQ(both.C.E.RefX, 20);
    EXPECT_EQ(both.C.E.RefY, 2);
    EXPECT_EQ(both.C.S.RefX, 50);

    Profils rootOnly = wing({{10, 1, kReference}, {30, 3, kReference}}, {{50, 7, kSync}});
    EXPECT_EQ(rootOnly.C.E.RefX, 40);
    EXPECT_EQ(rootOnly.C.E.RefY, 4);
    EXPECT_EQ(rootOnly.C.S.NbRef, 0);
    EXPECT_EQ(rootOnly.C.S.RefX, 0);
}

TEST(Characteristics, DihedralComparesLowestPointsInMillimetresAndMidHeightsInDegrees)
{
    Profils d = wing({{0, -5}, {100, 5}}, {{0, 15}, {100, 25}}, 1000);
    EXPECT_EQ(d.C.DiedreMm, 20);
    EXPECT_NEAR(d.C.DiedreDeg, 1.1458, 1e-4);
    EXPECT_EQ(d.C.DiedreDeg, static_cast<float>(std::atan(0.02) * 180 / 3.14159265358979));

    Profils thick = wing({{0, -5}, {100, 5}}, {{0, 10}, {100, 30}}, 1000);
    EXPECT_EQ(thick.C.DiedreMm, 15);
    EXPECT_EQ(thick.C.DiedreDeg, d.C.DiedreDeg);
}

TEST(Characteristics, ZeroSpacingKeepsThePreviousAngleAndUpdatesEverythingElse)
{
    Profils d = wing({{0, -5}, {100, 5}}, {{0, 15}, {100, 25}}, 1000);
    const float angle = d.C.DiedreDeg;
    d.Ecartement = 0;
    d.PointsS.edit(1).Y = 35;
    d.PointsS.edit(2).Y = 45;
    computeCharacteristics(d);
    EXPECT_EQ(d.C.DiedreDeg, angle);
    EXPECT_EQ(d.C.DiedreMm, 40);
    EXPECT_EQ(d.C.S.YMin, 35);
}

TEST(Characteristics, AnEmptyProfileKeepsItsFieldsAndTheOverallBoxUsesTheOther)
{
    Profils d = wing({{0, 0}, {10, 2}}, {{-50, -50}, {50, 50}}, 100);
    const Caracteristiques before = d.C;
    d.PointsS = ProfilePoints();
    d.PointsE.edit(2).X = 20;
    computeCharacteristics(d);
    EXPECT_EQ(d.C.S, before.S);
    EXPECT_EQ(d.C.E.Corde, 20);
    EXPECT_EQ(d.C.XMin, 0);
    EXPECT_EQ(d.C.XMax, 20);
    EXPECT_EQ(d.C.Largeur, 20);
    EXPECT_EQ(d.C.FlecheBA, before.FlecheBA);
    EXPECT_EQ(d.C.DiedreDeg, before.DiedreDeg);

    Profils none;
    none.Ecartement = 10;
    computeCharacteristics(none);
    EXPECT_EQ(none.C, Caracteristiques{});
}

TEST(Characteristics, LargeProfilesAreMeasuredAcrossStorageChunks)
{
    std::vector<PointProfil> pts(10000, PointProfil{1, 1, 0});
    pts[7777] = {-3, 9, 0};
    Profils d;
    d.PointsE = ProfilePoints(pts);
    d.PointsS = d.PointsE;
    computeCharacteristics(d);
    EXPECT_EQ(d.C.E.IndXMin, 7778);
    EXPECT_EQ(d.C.E.IndYMax, 7778);
    EXPECT_EQ(d.C.E.IndXMax, 10000);
}
