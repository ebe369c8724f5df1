// Undo history bounds and memory sharing; copy, cut and paste of points.
#include "core/clipboard.h"
#include "core/history.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

Profils docWithSpacing(float spacing)
{
    Profils d;
    d.PointsE = ProfilePoints({{0, 0, 0}, {1, 0, 0}});
    d.PointsS = d.PointsE;
    d.Ecartement = spacing;
    return d;
}

std::vector<PointProfil> line(int32_t n)
{
    std::vector<PointProfil> v;
    for (int32_t i = 0; i < n; ++i)
        v.push_back({static_cast<float>(i), static_cast<float>(i % 7), 0});
    return v;
}

} // namespace

TEST(History, StartsEmptyAndHasNothingToRestore)
{
    History h;
    EXPECT_EQ(h.position(), 0);
    EXPECT_EQ(h.undo(), nullptr);
    EXPECT_EQ(h.redo(), nullptr);
    EXPECT_FALSE(h.canUndo());
}

TEST(History, KeepsTheLastFortySnapshotsAndStopsAtTheOldest)
{
    History h;
    for (int i = 1; i <= 45; ++i)
        h.record(docWithSpacing(static_cast<float>(i)), {});
    EXPECT_EQ(h.count(), 40);
    EXPECT_EQ(h.position(), 40);
    EXPECT_EQ(h.current()->doc.Ecartement, 45);
    for (int i = 0; i < 39; ++i)
        h.undo();
    EXPECT_EQ(h.position(), 1);
    EXPECT_EQ(h.current()->doc.Ecartement, 6);
    const Snapshot *again = h.undo();
    EXPECT_EQ(h.position(), 1);
    EXPECT_EQ(again->doc.Ecartement, 6);

    for (int i = 0; i < 39; ++i)
        h.redo();
    EXPECT_EQ(h.redo()->doc.Ecartement, 45);
    EXPECT_EQ(h.position(), 40);
}

TEST(History, ANewChangeDropsTheForwardEntries)
{
    History h;
    for (int i = 1; i <= 10; ++i)
        h.record(docWithSpacing(static_cast<float>(i)), {});
    h.undo();
    h.undo();
    EXPECT_EQ(h.undo()->doc.Ecartement, 7);
    h.record(docWithSpacing(100), {});
    EXPECT_EQ(h.count(), 8);
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.redo()->doc.Ecartement, 100);
    EXPECT_EQ(h.undo()->doc.Ecartement, 7);
}

TEST(History, SuppressionSkipsOneRecordUntilTheCommandEnds)
{
    History h;
    h.AnnulationEnCours = true;
    EXPECT_FALSE(h.recordUnlessSuppressed(docWithSpacing(1), {}));
    EXPECT_EQ(h.count(), 0);
    h.endCommand();
    EXPECT_TRUE(h.recordUnlessSuppressed(docWithSpacing(1), {}));
    EXPECT_EQ(h.count(), 1);
}

TEST(History, SnapshotsOfLargeProfilesShareUntouchedStorage)
{
    Profils doc;
    doc.PointsE = ProfilePoints(line(100000));
    doc.PointsS = ProfilePoints(line(100000));
    const size_t one = documentBytes(doc);
    EXPECT_GT(one, 2 * 100000 * sizeof(PointProfil));

    History h;
    for (int command = 0; command < 45; ++command) {
        h.record(doc, {});
        // A command that moves one point of each profile, then inserts one.
        doc.PointsE.edit(1 + command * 2000).X += 1;
        doc.PointsS.edit(100000 - command * 2000).Y -= 1;
        doc.PointsE.insert(50000, PointProfil{1, 2, kSelected});
        h.record(doc, {});
    }
    EXPECT_LT(h.memoryBytes(), 10 * one);
    // The oldest kept snapshot still holds its own points.
    EXPECT_EQ(h.entry(1).doc.PointsE.count(), 100000 + 25);
}

TEST(Copy, TakesTheSelectedPointsInOrderAndUnselectsThem)
{
    Profils d;
    d.PointsE = ProfilePoints({{0, 0, 0}, {1, 1, kSelected | kReference}, {2, 2, 0}, {3, 3, kSelected}});
    d.PointsS = ProfilePoints({{5, 5, kSync}});
    Clipboard c;
    copySelection(d, c);
    ASSERT_EQ(c.partE.count(), 2);
    EXPECT_EQ(c.partE[1], (PointProfil{1, 1, kSelected | kReference}));
    EXPECT_EQ(c.partE[2].X, 3);
    EXPECT_TRUE(c.partS.empty());
    EXPECT_EQ(d.PointsE[2].Flags, kReference);
    EXPECT_EQ(d.PointsE[4].Flags, 0);
    EXPECT_EQ(d.PointsS[1].Flags, kSync);
}

TEST(Copy, CutKeepsThePointsSelectedForTheDeletionAndClearsItsFlag)
{
    Profils d;
    d.PointsE = ProfilePoints({{0, 0, kSelected}, {1, 1, 0}});
    Clipboard c;
    cutSelection(d, c);
    EXPECT_EQ(c.partE.count(), 1);
    EXPECT_TRUE(d.PointsE[1].has(kSelected));
    EXPECT_FALSE(c.cutInProgress);
}

TEST(Paste, ARootPartAloneGoesIntoBothProfilesAtEachSelectedPoint)
{
    Profils d;
    d.PointsE = ProfilePoints({{0, 0, kSelected}, {10, 0, kSelected}, {20, 0, kSelected}, {30, 0, 0}});
    d.PointsS = ProfilePoints({{0, 0, 0}, {10, 10, 0}});
    Clipboard c;
    copySelection(d, c);
    d.PointsE.edit(4).Flags = kSelected;
    d.PointsS.edit(2).Flags = kSelected;

    const PasteResult r = paste(d, c);
    EXPECT_EQ(r.insertedE, 4);
    EXPECT_EQ(r.insertedS, 4);
    ASSERT_EQ(d.NbPointsE(), 8);
    ASSERT_EQ(d.NbPointsS(), 6);
    // Root: the shape leaves point 4 (30, 0) and comes back to it.
    const std::vector<PointProfil> wantE = {{0, 0, 0},  {10, 0, 0},        {20, 0, 0},        {30, 0, 0},
                                            {30, 0, kSelected}, {40, 0, kSelected}, {50, 0, kSelected}, {30, 0, 0}};
    EXPECT_EQ(d.PointsE.toVector(), wantE);
    const std::vector<PointProfil> wantS = {{0, 0, 0},          {10, 10, 0},        {10, 10, kSelected},
                                            {20, 10, kSelected}, {30, 10, kSelected}, {10, 10, 0}};
    EXPECT_EQ(d.PointsS.toVector(), wantS);
    // The clipboard keeps the last translation.
    EXPECT_EQ(c.partE[1].X, 10);
    EXPECT_EQ(c.partE[1].Y, 10);
}

TEST(Paste, BothPartsGoEachToItsOwnProfileAndTheWalkSkipsThePastedPoints)
{
    Profils d;
    d.PointsE = ProfilePoints({{0, 0, kSelected}, {5, 0, kSelected}});
    d.PointsS = ProfilePoints({{0, 0, 0}, {0, 5, kSelected}});
    Clipboard c;
    c.partE = ProfilePoints({{1, 1, 0}, {2, 1, 0}});
    c.partS = ProfilePoints({{7, 7, kReference}});
    const PasteResult r = paste(d, c);
    EXPECT_EQ(r.insertedE, 6);
    EXPECT_EQ(r.insertedS, 2);
    EXPECT_EQ(d.NbPointsE(), 8);
    EXPECT_EQ(d.PointsE[4], (PointProfil{0, 0, 0}));
    EXPECT_EQ(d.PointsE[5], (PointProfil{5, 0, 0}));
    EXPECT_EQ(d.PointsE[7], (PointProfil{6, 0, kSelected}));
    EXPECT_EQ(d.PointsS[3], (PointProfil{0, 5, kSelected}));
    EXPECT_EQ(c.partS[1].Flags, kReference);
}

TEST(Paste, NothingHappensWithoutAClipboardOrASelectedPoint)
{
    Profils d;
    d.PointsE = ProfilePoints({{0, 0, kSelected}});
    Clipboard empty;
    EXPECT_FALSE(paste(d, empty).changed());
    EXPECT_EQ(d.NbPointsE(), 1);
    EXPECT_TRUE(d.PointsE[1].has(kSelected));

    Profils none;
    none.PointsE = ProfilePoints({{0, 0, 0}});
    Clipboard c;
    c.partE = ProfilePoints({{1, 1, 0}});
    EXPECT_FALSE(paste(none, c).changed());
    EXPECT_EQ(none.NbPointsE(), 1);
}

TEST(Paste, CopiesOfTheDocumentTakenBeforeThePasteStayUnchanged)
{
    Profils d;
    d.PointsE = ProfilePoints(line(10000));
    d.PointsE.edit(5000).Flags = kSelected;
    const Profils before = d;
    Clipboard c;
    c.partE = ProfilePoints({{0, 0, 0}, {1, 1, 0}});
    paste(d, c);
    EXPECT_EQ(d.NbPointsE(), 10003);
    EXPECT_EQ(before.NbPointsE(), 10000);
    EXPECT_TRUE(before.PointsE[5000].has(kSelected));
}
