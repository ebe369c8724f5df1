// Point editing through the window: delete with its limit, mid-points, the
// intersection of two selected segments with every message, renumbering of
// a closed contour; refusals leave the document and the history alone.
#include "editing_window_test.h"

using namespace orvtest;
using orv::Emplanture;
using orv::kSelected;
using orv::Saumon;

namespace {

class PointEditing : public EditingWindowTest {
protected:
    static constexpr int16_t S = kSelected;
};

std::vector<std::pair<float, float>> coordinates(const orv::ProfilePoints &p)
{
    std::vector<std::pair<float, float>> out;
    p.forEach([&](int32_t, const orv::PointProfil &q) { out.emplace_back(q.X, q.Y); });
    return out;
}

} // namespace

TEST_F(PointEditing, DeletingFourOfFivePointsIsRefusedAndChangesNothing)
{
    load(profile({{0, 0, S}, {1, 0, S}, {2, 0, S}, {3, 0, S}, {4, 0}}), row(5));
    const Frozen before = freeze();
    ui().cmdSupprimer->click();
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "Erreur de sélection|Il faut conserver au moins deux points non sélectionnés de chaque côté."});
    EXPECT_EQ(platform.messages()[0].icon, orv::NoticeIcon::Critical);
    EXPECT_TRUE(freeze() == before);
    EXPECT_EQ(reapplications, 0);
}

TEST_F(PointEditing, DeletingThreeOfFivePointsKeepsTheOthersInOrder)
{
    load(profile({{0, 0, S}, {1, 0}, {2, 0, S}, {3, 0, S}, {4, 0}}), row(5));
    ui().side[0].vscUnits->setValue(4);
    ui().cmdSupprimer->click();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(coordinates(doc().PointsE), (std::vector<std::pair<float, float>>{{1, 0}, {4, 0}}));
    EXPECT_EQ(doc().NbPointsS(), 5);
    EXPECT_EQ(reapplications, 1);
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("3.0"));
    EXPECT_EQ(st().sel.PointCourantE, 1) << "the cursors start again from point 1";
    EXPECT_EQ(ui().side[0].vscUnits->maximum(), 2);
    EXPECT_FALSE(ui().chkSurface->isEnabled()) << "the counts differ";
}

TEST_F(PointEditing, MidPointsGoBetweenNeighbouringSelectedPointsUnselected)
{
    load(profile({{0, 0}, {10, 0}, {20, 0, S}, {30, 10, S}, {40, 0, S}, {50, 0}}), row(3));
    ui().cmdInsererPoint->click();
    ASSERT_EQ(doc().NbPointsE(), 8);
    EXPECT_EQ(pointE(4).X, 25);
    EXPECT_EQ(pointE(4).Y, 5);
    EXPECT_EQ(pointE(6).X, 35);
    EXPECT_EQ(marked(Emplanture), numbers({3, 5, 7}));
    EXPECT_EQ(ui().side[0].vscUnits->maximum(), 8);
}

TEST_F(PointEditing, MidPointsInALongProfileGoInPlaceAndTheHistoryKeepsSharingTheRest)
{
    load(row(40000), row(40000));
    for (int32_t i : {1, 2, 20000, 20001, 20002, 39999, 40000})
        doc().PointsE.edit(i).Flags = kSelected;
    ed().finish({.view = orv::Finish::View::RedrawOnly});
    const size_t before = st().history.memoryBytes();
    ui().cmdInsererPoint->click();
    ASSERT_EQ(doc().NbPointsE(), 40004);
    EXPECT_EQ(pointE(2).X, 5);
    EXPECT_EQ(pointE(3).X, 10);
    EXPECT_EQ(pointE(20002).X, 199995);
    EXPECT_EQ(pointE(20004).X, 200005);
    EXPECT_EQ(pointE(40003).X, 399985);
    EXPECT_EQ(pointE(40004).X, 399990);
    EXPECT_EQ(marked(Emplanture), numbers({1, 3, 20001, 20003, 20005, 40002, 40004}));
    // Three pieces of the root's storage are new; the rest is shared.
    EXPECT_LT(st().history.memoryBytes() - before, orv::documentBytes(doc()) / 4);
}

TEST_F(PointEditing, TwoCrossingSegmentsGetTheirCrossingPointBetweenTheSecondPair)
{
    load(profile({{0, 0, S}, {2, 2, S}, {0, 2, S}, {2, 0, S}}), row(3));
    ui().cmdIntersection->click();
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(doc().NbPointsE(), 5);
    EXPECT_EQ(pointE(4).X, 1);
    EXPECT_EQ(pointE(4).Y, 1);
    EXPECT_EQ(pointE(4).Flags, 0);
    EXPECT_EQ(pointE(5).X, 2);
}

TEST_F(PointEditing, EachRefusedIntersectionNamesItsProfileAndChangesNothing)
{
    struct Case {
        orv::ProfilePoints tip;
        std::string message;
    };
    const std::vector<Case> cases = {
        {profile({{0, 0, S}, {1, 0, S}, {0, 1, S}, {1, 1, S}}),
         "Pas d'intersection au saumon|Les deux segments du saumon sont parallèles."},
        {profile({{0, 0, S}, {1, 1, S}, {3, 0, S}, {3, 5, S}}),
         "Pas d'intersection au saumon|Les deux segments du saumon ne se touchent pas."},
        {profile({{0, 0, S}, {1, 1, S}, {3, 0, S}}),
         "Erreur de sélection au saumon|Il faut sélectionner quatre points consécutifs deux à deux."},
        {profile({{0, 0, S}, {1, 1}, {3, 0, S}, {4, 0, S}, {5, 0, S}}),
         "Erreur de sélection au saumon|Il faut sélectionner quatre points consécutifs deux à deux."},
        {profile({{0, 0, S}, {0.005f, 0.005f, S}, {3, 0, S}, {3, 5, S}}),
         "Erreur de sélection au saumon|Deux points consécutifs sont confondus, impossible de définir un des deux "
         "segments."},
    };
    for (const Case &c : cases) {
        load(row(4), c.tip);
        const Frozen before = freeze();
        ui().cmdIntersection->click();
        EXPECT_EQ(messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(platform.messages().at(0).icon, orv::NoticeIcon::Critical);
        EXPECT_TRUE(freeze() == before) << c.message;
        platform.clearRecords();
    }
}

TEST_F(PointEditing, AnIntersectionAtASegmentEndIsMadeWithAnInformationNotice)
{
    load(profile({{0, 0, S}, {2, 0, S}, {2, -1, S}, {2, 1, S}}), row(3));
    ui().cmdIntersection->click();
    EXPECT_EQ(messages(), std::vector<std::string>{"Intersection en bout de segment à l'emplanture|Attention, vous venez "
                                                   "de créer un point superposé à un point existant"});
    EXPECT_EQ(platform.messages().at(0).icon, orv::NoticeIcon::Information);
    ASSERT_EQ(doc().NbPointsE(), 5);
    EXPECT_EQ(pointE(4).X, 2);
    EXPECT_EQ(pointE(4).Y, 0);
}

TEST_F(PointEditing, EachProfileIsExaminedInTurnSoTheTipIsCutWhenTheRootIsRefused)
{
    load(profile({{0, 0, S}, {1, 0, S}, {0, 1, S}, {1, 1, S}}), profile({{0, 0, S}, {2, 2, S}, {0, 2, S}, {2, 0, S}}));
    ui().cmdIntersection->click();
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "Pas d'intersection à l'emplanture|Les deux segments de l'emplanture sont parallèles."});
    EXPECT_EQ(doc().NbPointsE(), 4);
    EXPECT_EQ(doc().NbPointsS(), 5);
}

TEST_F(PointEditing, RenumberingAClosedSquareStartsAndEndsItAtTheCurrentPoint)
{
    load(profile({{0, 0, S}, {10, 0, S}, {10, 10, S}, {0, 10, S}, {0, 0, S}}), row(3));
    ui().side[0].vscUnits->setValue(3);
    ui().cmdRenumeroter->click();
    EXPECT_EQ(coordinates(doc().PointsE),
              (std::vector<std::pair<float, float>>{{10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}}));
    EXPECT_EQ(doc().NbPointsS(), 3);
}

TEST_F(PointEditing, EachPointEditingCommandIsUndoneAndRedoneExactly)
{
    load(profile({{0, 0, S}, {2, 2, S}, {0, 2, S}, {2, 0, S}, {5, 5}, {0, 0}}),
         profile({{0, 0}, {1, 0, S}, {2, 0, S}, {3, 0}, {4, 0}}));
    expectUndoRedoRestore([&] { ui().cmdIntersection->click(); });
    expectUndoRedoRestore([&] { ui().cmdInsererPoint->click(); });
    ui().side[0].vscUnits->setValue(2);
    expectUndoRedoRestore([&] { ui().cmdRenumeroter->click(); });
    expectUndoRedoRestore([&] { ui().cmdSupprimer->click(); });
}
