// The sequence window's document: loading, the commands on the assembly,
// their refusals and the undo that gives back the state before each change.
#include "sequences/sequence_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace orv;

namespace {

ContourPoint rec(float x, float y, char tag)
{
    return ContourPoint{x, y, {'P', 'D'}, {' ', uint16_t(tag)}};
}

// A square of side `w` with its lower-left corner at (x, y), closed, as contour `tag`.
std::vector<ContourPoint> square(float x, float y, float w, char tag)
{
    return {rec(x, y, tag), rec(x + w, y, tag), rec(x + w, y + w, tag), rec(x, y + w, tag), rec(x, y, tag)};
}

std::vector<ContourPoint> drawing(std::initializer_list<std::vector<ContourPoint>> parts)
{
    std::vector<ContourPoint> all;
    for (const auto &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Every sequence's bounds agree with its points.
void expectConsistent(const SequenceList &list)
{
    for (const SequenceEntry &s : list) {
        SequenceEntry again = s;
        again.computeBounds();
        EXPECT_EQ(again, s);
        EXPECT_EQ(s.PointCount(), int32_t(s.Points.size()));
    }
}

class Assembly : public ::testing::Test {
protected:
    // Three squares of side 10, 20 and 30 in a row, all copied in place and selected.
    void SetUp() override
    {
        doc.load(drawing({square(0, 0, 10, 'A'), square(20, 0, 20, 'B'), square(50, 0, 30, 'C')}));
        doc.selectAll(ListKind::Initial);
        ASSERT_TRUE(doc.copyInPlace().changed);
    }
    void selectOnly(std::initializer_list<int> indexes)
    {
        doc.deselectAll(ListKind::Final);
        for (int k : indexes)
            doc.toggle(ListKind::Final, k);
    }
    SequenceDocument doc;
};

} // namespace

TEST(SequenceLoading, ADrawingOfOneContourGivesOneSequenceHoldingAllItsPoints)
{
    SequenceDocument doc;
    doc.load(square(0, 0, 10, 'A'));
    ASSERT_EQ(doc.initial().size(), 1u);
    EXPECT_EQ(doc.initial()[0].PointCount(), 5);
    EXPECT_FLOAT_EQ(doc.initial()[0].Width, 10);
}

TEST(SequenceLoading, ThreeContoursNamedABCGiveThreeSequencesInThatOrderWithTheirBounds)
{
    SequenceDocument doc;
    doc.load(drawing({square(0, 0, 10, 'A'), square(20, 5, 20, 'B'), square(50, 0, 30, 'C')}));
    ASSERT_EQ(doc.initial().size(), 3u);
    EXPECT_FLOAT_EQ(doc.initial()[1].MinX, 20);
    EXPECT_FLOAT_EQ(doc.initial()[1].MaxY, 25);
    EXPECT_FLOAT_EQ(doc.initial()[2].Width, 30);
    expectConsistent(doc.initial());
}

TEST(SequenceLoading, ALastTagNotAboveTheFirstMakesOneSequence)
{
    SequenceDocument doc;
    doc.load(drawing({square(0, 0, 10, 'B'), square(20, 0, 10, 'A')}));
    EXPECT_EQ(doc.initial().size(), 1u);
}

TEST(SequenceHandOver, TheAssemblyBecomesOneContourWithNewBoundsAndAnEmptyOneIsRefused)
{
    SequenceDocument doc;
    doc.load(drawing({square(0, 0, 10, 'A'), square(20, 0, 20, 'B')}));
    std::vector<ContourPoint> buffer{rec(1, 1, 'Z')};
    DrawingExtent bounds{1, 2, 3, 4};
    const Outcome refused = doc.validate(buffer, bounds);
    ASSERT_TRUE(refused.refusal);
    EXPECT_EQ(refused.refusal->text,
              "L'assemblage est vide : copiez au moins une séquence dans la figure du bas "
              "avant de le valider.");
    EXPECT_EQ(buffer.size(), 1u);
    EXPECT_EQ(bounds, (DrawingExtent{1, 2, 3, 4}));

    doc.toggle(ListKind::Initial, 1);
    doc.copyInPlace();
    ASSERT_TRUE(doc.validate(buffer, bounds).changed);
    ASSERT_EQ(buffer.size(), 5u);
    EXPECT_EQ(buffer[0].Tag[1], 0);
    EXPECT_EQ(bounds, (DrawingExtent{20, 40, 0, 20}));
}

TEST(SequenceCopies, ChainingTwoSequencesOfWidthTenLeavesAGapOfOneWithTheSecondToTheLeft)
{
    SequenceDocument doc;
    doc.load(drawing({square(0, 0, 10, 'A'), square(100, 50, 10, 'B')}));
    doc.toggle(ListKind::Initial, 0);
    doc.chain();
    doc.toggle(ListKind::Initial, 1);
    doc.chain();
    const SequenceList &f = doc.final();
    ASSERT_EQ(f.size(), 2u);
    EXPECT_FLOAT_EQ(f[0].MinX, 0); // the first keeps its place
    EXPECT_FLOAT_EQ(f[0].MinX - f[1].MaxX, 1);
    EXPECT_FLOAT_EQ(f[1].Points.front().Y, f[0].Points.back().Y);
    EXPECT_FALSE(f[0].isSelected());
    EXPECT_TRUE(f[1].isSelected());
    EXPECT_FALSE(doc.initial()[1].isSelected());
}

TEST(SequenceCopies, CopyingOrChainingWithNothingSelectedIsRefusedAndChangesNothing)
{
    SequenceDocument doc;
    doc.load(drawing({square(0, 0, 10, 'A'), square(20, 0, 10, 'B')}));
    for (const auto &command : {std::function<Outcome()>([&] { return doc.chain(); }),
                                std::function<Outcome()>([&] { return doc.copyInPlace(); })}) {
        const Outcome o = command();
        ASSERT_TRUE(o.refusal);
        EXPECT_EQ(o.refusal->title, "Opération impossible");
        EXPECT_TRUE(doc.final().empty());
        EXPECT_EQ(doc.undoDepth(), 0u);
    }
}

TEST_F(Assembly, OrderingWithTheLastSequenceSelectedIsRefusedWordForWordAndChangesNothing)
{
    selectOnly({2});
    const SequenceList before = doc.final();
    const Outcome o = doc.order(0);
    ASSERT_TRUE(o.refusal);
    EXPECT_EQ(o.refusal->text, "Il faut au moins deux séquences et la dernière séquence ne doit pas être "
                               "sélectionnée pour pouvoir utiliser cet outil");
    EXPECT_EQ(o.refusal->title, "Opération impossible");
    EXPECT_EQ(o.refusal->icon, NoticeIcon::Critical);
    EXPECT_EQ(doc.final(), before);

    selectOnly({0});
    EXPECT_EQ(doc.order(1).refusal->text,
              "Il faut au moins deux séquences et la première séquence ne doit pas être "
              "sélectionnée pour pouvoir utiliser cet outil");
    selectOnly({});
    const SequenceList unselected = doc.final();
    EXPECT_EQ(doc.order(0).refusal->text, "Aucune séquence de l'assemblage n'est sélectionnée : sélectionnez "
                                          "d'abord dans la figure du bas les séquences à déplacer.");
    EXPECT_EQ(doc.final(), unselected);
    EXPECT_EQ(doc.undoDepth(), 1u);
}

TEST_F(Assembly, OrderingMovesEachSelectedSequenceOnePlace)
{
    selectOnly({0});
    doc.order(0);
    EXPECT_FLOAT_EQ(doc.final()[1].Width, 10);
    selectOnly({2});
    doc.order(1);
    EXPECT_FLOAT_EQ(doc.final()[1].Width, 30);
    EXPECT_FLOAT_EQ(doc.final()[2].Width, 10);
}

TEST_F(Assembly, NinePlusTenDegreeRotationsTurnASquareByNinetyDegreesAboutItsCentre)
{
    selectOnly({1});
    for (int i = 0; i < 9; ++i)
        doc.rotate(10 * M_PI / 180);
    const SequenceEntry &s = doc.final()[1];
    // (20,0) turns about (30,10) to (40,0).
    EXPECT_NEAR(s.Points[0].X, 40, 1e-3);
    EXPECT_NEAR(s.Points[0].Y, 0, 1e-3);
    EXPECT_NEAR((s.MinX + s.MaxX) / 2, 30, 1e-3);
    EXPECT_NEAR(s.Width, 20, 1e-3);
}

TEST_F(Assembly, ScalingKeepsTheFirstPointAndMirrorKeepsTheBox)
{
    selectOnly({2});
    doc.scale(0);
    const SequenceEntry &s = doc.final()[2];
    EXPECT_FLOAT_EQ(s.Points[0].X, 50);
    EXPECT_FLOAT_EQ(s.Points[0].Y, 0);
    EXPECT_NEAR(s.Width, 33, 1e-4);
    doc.scale(1);
    EXPECT_NEAR(doc.final()[2].Width, 30, 1e-4);
    doc.mirror();
    EXPECT_FLOAT_EQ(doc.final()[2].Points[0].X, 80);
    EXPECT_NEAR(doc.final()[2].MinX, 50, 1e-4);
}

TEST_F(Assembly, TheEntryPointOfAClosedSequenceMovesBothWaysAndAnOpenOneStays)
{
    selectOnly({0});
    doc.entryPoint(0);
    const SequenceEntry &s = doc.final()[0];
    EXPECT_FLOAT_EQ(s.Points.front().X, 10);
    EXPECT_EQ(s.PointCount(), 5);
    EXPECT_TRUE(s.isClosed());
    doc.entryPoint(1);
    EXPECT_FLOAT_EQ(doc.final()[0].Points.front().X, 0);
    EXPECT_FLOAT_EQ(doc.final()[0].Points.front().Y, 0);
    EXPECT_TRUE(doc.final()[0].isClosed());

    SequenceDocument open;
    open.load(std::vector<ContourPoint>{rec(0, 0, 'A'), rec(5, 0, 'A'), rec(5, 5, 'A')});
    open.selectAll(ListKind::Initial);
    open.copyInPlace();
    const SequenceList before = open.final();
    EXPECT_FALSE(open.entryPoint(0).changed);
    EXPECT_EQ(open.final(), before);
}

TEST_F(Assembly, SpacingWidensEachSelectedGapByATenthOfIt)
{
    selectOnly({1});
    // Gap between 0 (MinX 0) and 1 (MaxX 40): 40, so d = 4 moves sequence 0.
    doc.spacing(0);
    EXPECT_FLOAT_EQ(doc.final()[0].MinX, 4);
    EXPECT_FLOAT_EQ(doc.final()[1].MinX, 20);
    doc.spacing(1);
    EXPECT_NEAR(doc.final()[0].MinX, 0.4f, 1e-5);
}

TEST_F(Assembly, LinkingPointsGoBetweenSelectedNeighboursAndWeldingJoinsInListOrder)
{
    selectOnly({0, 1});
    doc.insertLinkingPoints();
    ASSERT_EQ(doc.final().size(), 4u);
    const SequenceEntry &link = doc.final()[1];
    EXPECT_EQ(link.Selected, kLinkingPoint);
    EXPECT_EQ(link.PointCount(), 1);
    EXPECT_FLOAT_EQ(link.Points[0].X, 10); // between (0,0) and (20,0)

    selectOnly({0, 3});
    ASSERT_TRUE(doc.weld().changed);
    ASSERT_EQ(doc.final().size(), 3u);
    EXPECT_EQ(doc.final()[0].PointCount(), 10);
    EXPECT_FLOAT_EQ(doc.final()[0].MaxX, 80);
    EXPECT_EQ(doc.final()[1].Selected, kLinkingPoint);
    expectConsistent(doc.final());

    selectOnly({2});
    const Outcome o = doc.weld();
    ASSERT_TRUE(o.refusal);
    EXPECT_EQ(o.refusal->text,
              "Il faut sélectionner au moins deux séquences de l'assemblage pour pouvoir les souder.");
}

TEST_F(Assembly, EveryCommandKeepsBoundsConsistentAndOneUndoGivesBackTheStateBeforeIt)
{
    using Step = std::function<void()>;
    const Step none = [] {};
    auto all = [this] { selectOnly({0, 1, 2}); };
    // The selection a command needs, then the command.
    const std::vector<std::tuple<const char *, Step, std::function<Outcome()>>> commands = {
        {"chain", [&] { doc.toggle(ListKind::Initial, 1); }, [&] { return doc.chain(); }},
        {"copy", [&] { doc.toggle(ListKind::Initial, 2); }, [&] { return doc.copyInPlace(); }},
        {"order later", [&] { selectOnly({0}); }, [&] { return doc.order(0); }},
        {"order earlier", [&] { selectOnly({2}); }, [&] { return doc.order(1); }},
        {"reverse drawing", [&] { doc.selectAll(ListKind::Initial); },
         [&] { return doc.reverse(ListKind::Initial); }},
        {"reverse assembly", all, [&] { return doc.reverse(ListKind::Final); }},
        {"entry point", all, [&] { return doc.entryPoint(1); }},
        {"rotate", all, [&] { return doc.rotate(0.3); }},
        {"mirror", all, [&] { return doc.mirror(); }},
        {"size", all, [&] { return doc.scale(0); }},
        {"spacing", all, [&] { return doc.spacing(1); }},
        {"delete", [&] { selectOnly({1}); }, [&] { return doc.erase(); }},
        {"linking point", all, [&] { return doc.insertLinkingPoints(); }},
        {"weld", all, [&] { return doc.weld(); }},
        {"move", all, [&] { return doc.moveSelected(3, -2); }},
        {"move point", none,
         [&] {
             return doc.movePoint({0, 2}, 7, 8);
         }},
    };
    for (const auto &[name, select, command] : commands) {
        select();
        const SequenceList initial = doc.initial(), final = doc.final();
        EXPECT_TRUE(command().changed) << name;
        expectConsistent(doc.final());
        expectConsistent(doc.initial());
        doc.deselectAll(ListKind::Final); // a selection change afterwards is undone too
        ASSERT_TRUE(doc.undo()) << name;
        EXPECT_EQ(doc.initial(), initial) << name;
        EXPECT_EQ(doc.final(), final) << name;
    }
}

TEST_F(Assembly, UndoKeepsTenStepsAndARefusalOrANoOpRecordsNone)
{
    selectOnly({0});
    const SequenceList start = doc.final();
    for (int i = 0; i < 12; ++i)
        doc.rotate(0.1);
    EXPECT_EQ(doc.undoDepth(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(doc.undo());
    EXPECT_FALSE(doc.undo());
    EXPECT_NE(doc.final(), start); // the two oldest steps were dropped

    selectOnly({});
    EXPECT_FALSE(doc.rotate(0.1).changed);
    EXPECT_TRUE(doc.order(0).refusal);
    EXPECT_EQ(doc.undoDepth(), 0u);
}

TEST_F(Assembly, AHeldButtonIsOneUndoStep)
{
    selectOnly({0, 1, 2});
    const SequenceList before = doc.final();
    doc.spacing(0);
    for (int i = 0; i < 5; ++i)
        doc.spacing(0, false);
    EXPECT_EQ(doc.undoDepth(), 2u); // the copy, then the press
    doc.undo();
    EXPECT_EQ(doc.final(), before);
}

TEST(SequenceSelection, ARectangleSelectsTheSequencesWhollyInsideAndAClickTheNearest)
{
    SequenceDocument doc;
    doc.load(drawing({square(0, 0, 10, 'A'), square(20, 0, 20, 'B')}));
    EXPECT_TRUE(doc.selectInside(ListKind::Initial, {-1, 30, -1, 30}));
    EXPECT_TRUE(doc.initial()[0].isSelected());
    EXPECT_FALSE(doc.initial()[1].isSelected());
    EXPECT_EQ(doc.sequenceAt(ListKind::Initial, 21, 10, 2), 1);
    EXPECT_EQ(doc.sequenceAt(ListKind::Initial, 15, 5, 2), -1);
}
