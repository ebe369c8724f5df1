// The point transforms through their buttons and one-shot boxes: mirror,
// stretch, rotation and move of the normal selection, each profile about its
// own centre, with the confirm pattern of the boxes and their neutral values.
#include "editing_window_test.h"

#include <QApplication>
#include <QFocusEvent>

using namespace orvtest;
using orv::Emplanture;
using orv::kReference;
using orv::kSelected;
using orv::Saumon;

namespace {

class Transforms : public EditingWindowTest {
protected:
    void leave(QWidget *box)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    }
};

} // namespace

TEST_F(Transforms, ARotationOfNinetyTurnsTwoPointsAboutTheCentreOfTheirBox)
{
    load(profile({{0, 0, kSelected}, {2, 0, kSelected}, {5, 5}}), profile({{0, 10}, {2, 10}}));
    type(ui().txtTourner, QStringLiteral("90"));
    EXPECT_FLOAT_EQ(pointE(1).X, 1);
    EXPECT_FLOAT_EQ(pointE(1).Y, -1);
    EXPECT_FLOAT_EQ(pointE(2).X, 1);
    EXPECT_FLOAT_EQ(pointE(2).Y, 1);
    EXPECT_EQ(pointE(3).X, 5);
    EXPECT_EQ(pointS(1).Y, 10);
    EXPECT_EQ(ui().txtTourner->text(), QStringLiteral("0.0"));
    EXPECT_EQ(reapplications, 1);
    EXPECT_TRUE(reappliedWithFreshCharacteristics) << "the characteristics come first";
}

TEST_F(Transforms, EachProfileTurnsAboutItsOwnCentre)
{
    load(profile({{0, 0, kSelected}, {2, 0, kSelected}}), profile({{10, 10, kSelected}, {30, 10, kSelected}}));
    type(ui().txtTourner, QStringLiteral("90"));
    EXPECT_FLOAT_EQ(pointE(1).X, 1);
    EXPECT_FLOAT_EQ(pointS(1).X, 20);
    EXPECT_FLOAT_EQ(pointS(1).Y, 0);
    EXPECT_FLOAT_EQ(pointS(2).Y, 20);
}

TEST_F(Transforms, AStretchOfTwoHundredPercentAlongXDoublesTheDistancesToThePivot)
{
    load(profile({{10, 3, kSelected}, {20, 7, kSelected}, {0, 0}}), profile({{0, 0}, {1, 1}}));
    type(ui().txtEtirer[0], QStringLiteral("200"));
    EXPECT_FLOAT_EQ(pointE(1).X, 5);
    EXPECT_FLOAT_EQ(pointE(2).X, 25);
    EXPECT_FLOAT_EQ(pointE(1).Y, 3);
    for (orv::NumericBox *box : ui().txtEtirer)
        EXPECT_EQ(box->text(), QStringLiteral("100.0"));
    type(ui().txtEtirer[2], QStringLiteral("50"));
    EXPECT_FLOAT_EQ(pointE(1).X, 10);
    EXPECT_FLOAT_EQ(pointE(1).Y, 4);
    EXPECT_FLOAT_EQ(pointE(2).Y, 6);
}

TEST_F(Transforms, MirrorsFlipEachSelectionInItsOwnBoxAndReapplyTheLayoutFirst)
{
    load(profile({{0, 0, kSelected}, {10, 0, kSelected}, {10, 4, kSelected}}),
         profile({{0, 0}, {10, 0}, {10, 4}}));
    ui().cmdSymetrie[1]->click(); // "Miroir horizontal"
    EXPECT_EQ(pointE(1).X, 10);
    EXPECT_EQ(pointE(2).X, 0);
    EXPECT_EQ(pointE(3).X, 0);
    EXPECT_EQ(pointE(3).Y, 4);
    EXPECT_EQ(pointS(1).X, 0) << "the tip has no selection";
    EXPECT_EQ(reapplications, 1);
    EXPECT_FALSE(reappliedWithFreshCharacteristics) << "the layout before the characteristics";
    ui().cmdSymetrie[0]->click(); // "Miroir vertical"
    EXPECT_EQ(pointE(1).Y, 4);
    EXPECT_EQ(pointE(3).Y, 0);
    EXPECT_EQ(pointE(3).X, 0);
}

TEST_F(Transforms, AMoveShiftsTheSelectionOfBothProfilesWithoutASnapshotBefore)
{
    load(profile({{0, 0, kSelected}, {10, 0}}), profile({{0, 5}, {10, 5, kSelected}}));
    const int32_t entries = st().history.count();
    type(ui().txtDeplacer[1], QStringLiteral("-2.5"));
    EXPECT_FLOAT_EQ(pointE(1).Y, -2.5f);
    EXPECT_EQ(pointE(2).Y, 0);
    EXPECT_FLOAT_EQ(pointS(2).Y, 2.5f);
    EXPECT_EQ(ui().txtDeplacer[1]->text(), QStringLiteral("0.0"));
    EXPECT_EQ(st().history.count(), entries + 1);
    type(ui().txtDeplacer[0], QStringLiteral("3"));
    EXPECT_EQ(pointE(1).X, 3);
    EXPECT_EQ(ui().side[1].txtCorde->text(), QStringLiteral("13.0")) << "the chords follow";
}

TEST_F(Transforms, TheTransformsReadOnlyTheNormalSelectionAndKeepEveryFlag)
{
    load(profile({{0, 0, kSelected | kReference}, {4, 0, kSelected}, {9, 9, kReference}}), profile({{0, 0}, {1, 0}}));
    type(ui().txtDeplacer[0], QStringLiteral("1"));
    EXPECT_EQ(pointE(1).Flags, kSelected | kReference);
    EXPECT_EQ(pointE(1).X, 1);
    EXPECT_EQ(pointE(3).X, 9);
}

TEST_F(Transforms, AnInvalidEntryIsRefusedWithItsTextSelectedAndNothingRecorded)
{
    load(profile({{0, 0, kSelected}, {2, 0, kSelected}}), profile({{0, 0}, {1, 0}}));
    const Frozen before = freeze();
    type(ui().txtTourner, QStringLiteral("12,"));
    ASSERT_EQ(messages(), std::vector<std::string>{"Erreur de saisie|Veuillez entrer un nombre décimal."});
    EXPECT_EQ(platform.messages()[0].icon, orv::NoticeIcon::Critical);
    EXPECT_EQ(ui().txtTourner->selectedText(), QStringLiteral("12,"));
    EXPECT_TRUE(freeze() == before);
    type(ui().txtEtirer[1], QStringLiteral("1e5"));
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_TRUE(freeze() == before);
}

TEST_F(Transforms, AValueLeftWithoutEnterIsDroppedAndTheBoxShowsItsNeutralValue)
{
    load(profile({{0, 0, kSelected}, {2, 0, kSelected}}), profile({{0, 0}, {1, 0}}));
    const orv::Profils before = doc();
    ui().txtEtirer[1]->setText(QStringLiteral("150"));
    leave(ui().txtEtirer[1]);
    EXPECT_EQ(ui().txtEtirer[1]->text(), QStringLiteral("100.0"));
    ui().txtDeplacer[0]->setText(QStringLiteral("7.125"));
    leave(ui().txtDeplacer[0]);
    EXPECT_EQ(ui().txtDeplacer[0]->text(), QStringLiteral("0.0"));
    EXPECT_TRUE(doc() == before);
}

TEST_F(Transforms, WithoutASelectionAStretchMovesNothingAndTheBoxKeepsItsText)
{
    load(profile({{0, 0}, {2, 0}}), profile({{0, 0}, {1, 0}}));
    const orv::Profils before = doc();
    const int32_t entries = st().history.count();
    ui().txtEtirer[0]->setText(QStringLiteral("150"));
    emit ui().txtEtirer[0]->enterReleased(); // the box is disabled without a selection
    EXPECT_TRUE(doc() == before);
    EXPECT_EQ(ui().txtEtirer[0]->text(), QStringLiteral("150"));
    EXPECT_EQ(st().history.count(), entries + 2) << "the closing steps still run";
    EXPECT_EQ(reapplications, 1);
}

TEST_F(Transforms, EachTransformIsUndoneAndRedoneExactly)
{
    load(profile({{0, 0, kSelected}, {10, 1, kSelected}, {10, 4, kSelected}, {3, 8}}),
         profile({{0, 20, kSelected}, {6, 21, kSelected}, {8, 25}}));
    expectUndoRedoRestore([&] { ui().cmdSymetrie[0]->click(); });
    expectUndoRedoRestore([&] { ui().cmdSymetrie[1]->click(); });
    expectUndoRedoRestore([&] { type(ui().txtEtirer[1], QStringLiteral("130")); });
    expectUndoRedoRestore([&] { type(ui().txtTourner, QStringLiteral("-12.5")); });
    expectUndoRedoRestore([&] { type(ui().txtDeplacer[0], QStringLiteral("4")); });
}
