// The geometry commands through the window: optimal synchronization,
// cleaning, offset and smoothing, their messages and their undo.
#include "layout_geometry_support.h"

#include <QRadioButton>
#include <QScrollBar>

using namespace orvtest;
using orv::MessageButton;
using orv::PointProfil;
using orv::test::numbersWith;
using orv::test::profile;
using orv::test::XY;
using orv::test::xy;

namespace {

constexpr int16_t SY = orv::kSync;

const std::string kSyncDone =
    "Synchronisation effectuée|Veuillez contrôler que la synchronisation s'est faite avec "
    "des profils qui tournaient dans le bon sens\r\net dont le premier point était bien "
    "placé. Pour cela il suffit de faire bouger le fil avec un ascenseur d'une\r\ndes "
    "listes de points.";

// Points 1..n on a gentle curve, so that nothing is collinear.
orv::ProfilePoints curve(int32_t n, float dy = 0)
{
    return orv::test::line(n, [dy](int32_t i) { return dy + 0.05 * i * i; });
}

class GeometryCommands : public LayoutWindowTest {};

} // namespace

// ---- optimal synchronization

TEST_F(GeometryCommands, ARootOfThreePointsGivesTheTwoPointTipItsMiddlePoint)
{
    load(profile({{0, 0}, {5, 0}, {10, 0}}), profile({{0, 0}, {20, 0}}));
    ui().cmdSynchroOptimale->click();
    EXPECT_EQ(messages(), std::vector<std::string>{kSyncDone});
    EXPECT_EQ(platform.messages().back().icon, orv::NoticeIcon::Information);
    EXPECT_EQ(xy(st().doc.PointsS), (XY{{0, 0}, {10, 0}, {20, 0}}));
    EXPECT_EQ(st().doc.NbPointsE(), 3);
    EXPECT_EQ(st().doc.PointsS[2].Flags, 0);
    EXPECT_TRUE(ui().optSelection[2]->isChecked());
    EXPECT_EQ(st().sel.SelectionActive, SY);
    EXPECT_TRUE(ui().chkFil->isChecked());
    EXPECT_TRUE(ui().chkSurface->isChecked());
}

TEST_F(GeometryCommands, TwoSquaresOfSides10And20KeepTheirFivePoints)
{
    load(profile({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}),
         profile({{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}}));
    ui().cmdSynchroOptimale->click();
    EXPECT_EQ(st().doc.NbPointsE(), 5);
    EXPECT_EQ(st().doc.NbPointsS(), 5);
    EXPECT_EQ(messages(), std::vector<std::string>{kSyncDone});
}

TEST_F(GeometryCommands, DifferentSynchronizationCountsAreRefusedKeepingTheEndMarks)
{
    load(profile({{0, 0}, {5, 0, SY}, {10, 0}}), profile({{0, 0}, {20, 0}}));
    const int entries = st().history.count();
    ui().cmdSynchroOptimale->click();
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Synchronisation impossible|Il n'y a pas le même nombre de points "
                                        "de synchronisation à l'emplanture et au saumon."}));
    EXPECT_EQ(numbersWith(st().doc.PointsE, SY), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(numbersWith(st().doc.PointsS, SY), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(st().history.count(), entries);
    EXPECT_FALSE(ui().chkFil->isChecked());
}

TEST_F(GeometryCommands, DegenerateProfilesAreRefusedWithoutReadingPastTheirEnd)
{
    load(profile({{0, 0}, {10, 0}}), profile({{4, 4}, {4, 4}, {4, 4}}));
    ui().cmdSynchroOptimale->click();
    EXPECT_EQ(st().doc.NbPointsE(), 2);
    EXPECT_EQ(st().doc.NbPointsS(), 3);

    load(profile({{1, 1}}), profile({{2, 2}}));
    ui().cmdSynchroOptimale->click();
    EXPECT_EQ(st().doc.PointsE[1], (PointProfil{1, 1, 0}));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Synchronisation impossible|Il faut au moins deux points à "
                                        "l'emplanture et au saumon pour synchroniser les profils."}));

    // A tip vertex within the tolerance of the section end: both end together.
    load(profile({{0, 0}, {10, 0}}), profile({{0, 0}, {9.9995f, 0}, {10, 0}}));
    ui().cmdSynchroOptimale->click();
    EXPECT_EQ(st().doc.NbPointsE(), 3);
    EXPECT_EQ(st().doc.PointsE[3], (PointProfil{10, 0, SY}));
    EXPECT_EQ(messages(), std::vector<std::string>{kSyncDone});
}

TEST_F(GeometryCommands, AZeroLengthSectionNamesItsPoints)
{
    load(profile({{0, 0}, {10, 0}}), profile({{4, 4}, {4, 4}, {4, 4}}));
    ui().cmdSynchroOptimale->click();
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Synchronisation impossible|La section entre les points 1 et 3 du "
                                        "saumon est de longueur nulle, la synchronisation est "
                                        "impossible."}));
}

// ---- cleaning

TEST_F(GeometryCommands, EqualCountsAskAndNoGivesTheTotalCleaning)
{
    load(profile({{0, 0}, {1, 0, SY}, {2, 0}, {3, 0}, {4, 0}}),
         profile({{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}}));
    st().PointsLus.assign(7, ContourPoint{});
    platform.queueAnswer(MessageButton::No);
    ui().cmdNettoyage->click();
    ASSERT_EQ(platform.messages().size(), 1u);
    const orv::RecordedMessage &m = platform.messages()[0];
    EXPECT_EQ(m.title, QStringLiteral("Nettoyage"));
    EXPECT_EQ(m.text, QStringLiteral(
                          "Le nettoyage peut être total ou conserver les points synchrones si les profils "
                          "ont le même nombre de points.\r\nVoulez-vous conserver les points synchrones?"));
    EXPECT_EQ(m.icon, orv::NoticeIcon::Question);
    EXPECT_EQ(m.buttons, (std::vector<MessageButton>{MessageButton::Yes, MessageButton::No}));
    EXPECT_EQ(xy(st().doc.PointsE), (XY{{0, 0}, {4, 0}}));
    EXPECT_EQ(st().doc.NbPointsS(), 5);
    EXPECT_TRUE(numbersWith(st().doc.PointsE, SY).empty());
    EXPECT_EQ(st().PointsLus.size(), 1u);
    EXPECT_EQ(ui().side[0].vscUnits->maximum(), 2);
}

TEST_F(GeometryCommands, YesKeepsThePairsEitherProfileNeeds)
{
    // Only the tip has a corner, at point 4: the pair stays on both.
    load(profile({{0, 0}, {1, 0}, {2, 0}, {3, 0, 1}, {4, 0}, {5, 0}, {6, 0}}),
         profile({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 2}, {6, 3}}));
    platform.queueAnswer(MessageButton::Yes);
    ui().cmdNettoyage->click();
    EXPECT_EQ(xy(st().doc.PointsE), (XY{{0, 0}, {3, 0}, {6, 0}}));
    EXPECT_EQ(xy(st().doc.PointsS), (XY{{0, 0}, {3, 0}, {6, 3}}));
    EXPECT_EQ(st().doc.PointsE[2].Flags, 1); // marks travel with their points
}

TEST_F(GeometryCommands, DifferentCountsGoStraightToTheTotalCleaning)
{
    load(profile({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}), profile({{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    ui().cmdNettoyage->click();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(st().doc.NbPointsE(), 2);
    EXPECT_EQ(st().doc.NbPointsS(), 2);
}

TEST_F(GeometryCommands, TheSynchronousCleaningKeepsEveryPointOfTinyProfiles)
{
    load(profile({{0, 0}, {1, 0, 1}}), profile({{0, 0}, {2, 0}}));
    platform.queueAnswer(MessageButton::Yes);
    ui().cmdNettoyage->click();
    EXPECT_EQ(xy(st().doc.PointsE), (XY{{0, 0}, {1, 0}}));
    EXPECT_EQ(st().doc.PointsE[2].Flags, 1);
    EXPECT_EQ(st().doc.NbPointsS(), 2);
}

// ---- offset

TEST_F(GeometryCommands, AnOpenCornerOffsetByOneGetsItsSharpOutsideCorner)
{
    load(profile({{0, 0}, {10, 0}, {10, 10}}), profile({{0, 0}, {10, 0}, {10, 10}}));
    mark(orv::Emplanture, {});
    type(ui().txtDecaler, QStringLiteral("1"));
    EXPECT_EQ(xy(st().doc.PointsE), (XY{{0, 0}, {0, -1}, {11, -1}, {11, 10}, {10, 10}}));
    EXPECT_EQ(ui().txtDecaler->text(), QStringLiteral("1.0"));
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("11.0"));
    EXPECT_EQ(st().doc.NbPointsS(), 3);
    EXPECT_EQ(ui().side[0].vscUnits->maximum(), 5);
    emit ui().txtDecaler->lostFocus();
    EXPECT_EQ(ui().txtDecaler->text(), QStringLiteral("0.0"));
}

TEST_F(GeometryCommands, CollinearNeighboursMeetAtTheStartOfTheSecondOffsetSegment)
{
    load(profile({{0, 0}, {5, 0}, {10, 0}}), profile({{0, 0}, {5, 0}, {10, 0}}));
    mark(orv::Emplanture, {});
    type(ui().txtDecaler, QStringLiteral("2"));
    EXPECT_EQ(xy(st().doc.PointsE), (XY{{0, 0}, {0, -2}, {5, -2}, {10, -2}, {10, 0}}));
}

TEST_F(GeometryCommands, CoincidentSelectedPointsStopEachProfileWithItsOwnMessage)
{
    load(profile({{0, 0}, {5, 0}, {5.005f, 0}, {10, 0}}), profile({{0, 0}, {0, 0}, {10, 0}}));
    mark(orv::Emplanture, {});
    mark(orv::Saumon, {});
    type(ui().txtDecaler, QStringLiteral("-1,5"));
    type(ui().txtDecaler, QStringLiteral("-1"));
    const std::string text = "Deux points consécutifs sont confondus, impossible de définir un des segments.";
    EXPECT_EQ(messages(), (std::vector<std::string>{"Erreur de saisie|Veuillez entrer un nombre décimal.",
                                                    "Erreur de sélection à l'emplanture|" + text,
                                                    "Erreur de sélection au saumon|" + text}));
}

// ---- smoothing

TEST_F(GeometryCommands, ARunOfPoints5To8Of20IsSmoothedByTheLibrary)
{
    load(curve(20), curve(20, 5));
    mark(orv::Emplanture, {5, 6, 7, 8});
    const orv::ProfilePoints before = st().doc.PointsE;
    ui().cmdLisser->click();
    // Six points handed over (4 to 9), 11 × 3 + 2 back.
    ASSERT_EQ(st().doc.NbPointsE(), 20 - 6 + 35);
    EXPECT_EQ(st().doc.PointsE[4], before[4]);
    EXPECT_EQ(st().doc.PointsE[38], before[9]);
    EXPECT_EQ(st().doc.PointsE[49], before[20]);
    EXPECT_TRUE(numbersWith(st().doc.PointsE, orv::kSelected).empty());
    EXPECT_EQ(st().doc.NbPointsS(), 20);
    EXPECT_FALSE(ui().chkFil->isEnabled());
    EXPECT_EQ(ui().side[0].vscUnits->maximum(), 49);
    EXPECT_TRUE(messages().empty());
}

TEST_F(GeometryCommands, TwoRunsOnePointApartAreBothSmoothed)
{
    load(curve(20), curve(20, 5));
    mark(orv::Emplanture, {5, 6, 7, 9, 10, 11});
    ui().cmdLisser->click();
    // Each run of five points (anchors included) comes back as 24.
    EXPECT_EQ(st().doc.NbPointsE(), 20 + 19 + 19);
    EXPECT_TRUE(numbersWith(st().doc.PointsE, orv::kSelected).empty());
}

TEST_F(GeometryCommands, SmoothingKeepsTheAnchorsMarksSoTheNextSynchronizationStillPairs)
{
    load(curve(20), curve(20, 5));
    mark(orv::Emplanture, {4, 9}, SY);
    mark(orv::Saumon, {4, 9}, SY);
    mark(orv::Emplanture, {6}, orv::kReference);
    mark(orv::Emplanture, {5, 6, 7, 8});
    ui().cmdLisser->click();
    EXPECT_EQ(numbersWith(st().doc.PointsE, SY), (std::vector<int32_t>{4, 38}));
    EXPECT_TRUE(numbersWith(st().doc.PointsE, orv::kReference).empty());
    platform.clearRecords();
    ui().cmdSynchroOptimale->click();
    EXPECT_EQ(messages(), std::vector<std::string>{kSyncDone});
    EXPECT_EQ(st().doc.NbPointsE(), st().doc.NbPointsS());
}

TEST_F(GeometryCommands, TheFirstOrLastSegmentOfEitherProfileRefusesTheSmoothing)
{
    load(curve(20), curve(20, 5));
    mark(orv::Emplanture, {5, 6, 7});
    mark(orv::Saumon, {19, 20});
    const orv::Profils before = st().doc;
    const int entries = st().history.count();
    ui().cmdLisser->click();
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Erreur de sélection|Le premier et le dernier segment ne peuvent "
                                        "pas être lissés. Pour les traiter, il faut renuméroter le "
                                        "profil"}));
    EXPECT_EQ(st().doc, before);
    EXPECT_EQ(st().history.count(), entries);
}

TEST_F(GeometryCommands, RunsTheLibraryRefusesStayAsTheyWereAndAreReportedOnce)
{
    load(curve(20), curve(20, 5));
    mark(orv::Emplanture, {3, 4, 5, 12, 13, 14});
    mark(orv::Saumon, {5, 6, 7});
    const orv::ProfilePoints tip = st().doc.PointsS;
    // The library refuses every run that starts left of X = 10.
    const orv::SmoothRun library = geometry().smoothRun;
    geometry().smoothRun = [library](std::vector<ContourPoint> &run) {
        return run.front().X < 10 ? -109 : library(run);
    };
    ui().cmdLisser->click();
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Erreur de lissage|2 séries de points sélectionnés n'ont pas pu "
                                        "être lissées (code d'erreur -109).\r\nCes points sont restés "
                                        "inchangés."}));
    EXPECT_EQ(st().doc.PointsS, tip);
    EXPECT_EQ(numbersWith(st().doc.PointsE, orv::kSelected), (std::vector<int32_t>{3, 4, 5}));
    EXPECT_EQ(st().doc.NbPointsE(), 20 - 5 + 24);
}

// ---- undo

TEST_F(GeometryCommands, OneUndoAfterEachGeometryCommandRestoresTheDocument)
{
    load(curve(20), curve(20, 5));
    ui().chkDiedre[4]->setChecked(true);
    expectOneUndoRestores([&] { ui().cmdSynchroOptimale->click(); });
    mark(orv::Emplanture, {5, 6, 7, 8});
    expectOneUndoRestores([&] { ui().cmdLisser->click(); });
    expectOneUndoRestores([&] { type(ui().txtDecaler, QStringLiteral("0.5")); });
    load(profile({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}),
         profile({{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}}));
    platform.queueAnswer(MessageButton::No);
    expectOneUndoRestores([&] { ui().cmdNettoyage->click(); });
}
