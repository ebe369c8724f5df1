// The sequence window driven as the user does: the main window's open of a
// drawing of several contours goes through it; its controls, gestures on
// plain event structs, repeat timers and messages word for word.
#include "editor_test_support.h"

#include "editor/files_part.h"
#include "editor/profile_canvas.h"
#include "editor/widgets.h"
#include "sequences/form_sequences.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

using namespace orvtest;
using orv::CanvasMouse;
using orv::FormSequences;
using orv::ListKind;

namespace {

// Closed rectangles of LINE entities: each {x, y, w, h} in millimetres.
QByteArray dxfRectangles(const std::vector<std::array<double, 4>> &boxes)
{
    QByteArray text = "0\nSECTION\n2\nENTITIES\n";
    for (const auto &[x, y, w, h] : boxes) {
        const double c[5][2] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}};
        for (int i = 0; i < 4; ++i)
            text += "0\nLINE\n8\n0\n10\n" + QByteArray::number(c[i][0], 'f', 6) + "\n20\n" +
                    QByteArray::number(c[i][1], 'f', 6) + "\n30\n0.0\n11\n" +
                    QByteArray::number(c[i + 1][0], 'f', 6) + "\n21\n" +
                    QByteArray::number(c[i + 1][1], 'f', 6) + "\n31\n0.0\n";
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

// The sequence of that width: the library puts the contours in its cutting order.
int byWidth(const orv::SequenceList &list, float width)
{
    for (size_t k = 0; k < list.size(); ++k)
        if (std::abs(list[k].Width - width) < 1e-3f)
            return int(k);
    ADD_FAILURE() << "no sequence of width " << width;
    return 0;
}

class SequenceWindow : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        orv::installSequenceWindow(window(), [this](FormSequences &form) {
            ++shown;
            form.show();
            QApplication::processEvents();
            if (script)
                script(form);
        });
    }
    // A drawing of a 100 x 20 plate and two holes, opened as the root.
    QString plate()
    {
        return write(QStringLiteral("plaque.dxf"),
                     dxfRectangles({{0, 0, 100, 20}, {10, 5, 10, 10}, {40, 5, 20, 10}}));
    }
    static void click(QWidget *w) { static_cast<QPushButton *>(w)->click(); }
    static void mouse(FormSequences &f, ListKind k, CanvasMouse::Type t, QPointF at, int modifiers = 0,
                      int button = 1)
    {
        f.mouse().handle(k, CanvasMouse{t, button, modifiers, float(at.x()), float(at.y())});
    }
    // A press and release at the picture point of drawing point (x, y).
    static void clickAt(FormSequences &f, ListKind k, double x, double y, int modifiers = 0)
    {
        const QPointF at = f.mapping(k).toPicture(x, y);
        mouse(f, k, CanvasMouse::Press, at, modifiers);
        mouse(f, k, CanvasMouse::Release, at, modifiers);
    }

    std::function<void(FormSequences &)> script;
    int shown = 0;
};

} // namespace

TEST_F(SequenceWindow, ADrawingOfSeveralContoursOpensTheWindowAndTheValidatedAssemblyBecomesTheProfile)
{
    script = [](FormSequences &f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Choix de séquences"));
        ASSERT_EQ(f.document().initial().size(), 3u);
        f.ui().upper.numbers[size_t(byWidth(f.document().initial(), 100))]->clicked(); // the plate's number
        click(f.ui().cmdQuelquesSequences);
        click(f.ui().cmdValiderSequence);
    };
    openFile(0, plate());
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(platform.messages().empty());
    ASSERT_TRUE(st().ProjetCharge);
    EXPECT_EQ(st().doc.NbPointsE(), 5);
    EXPECT_FLOAT_EQ(st().lusBounds.xMax - st().lusBounds.xMin, 100);
    EXPECT_FLOAT_EQ(st().lusBounds.yMax - st().lusBounds.yMin, 20);
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("100.0"));
}

TEST_F(SequenceWindow, LeavingTheWindowWithoutValidatingEndsTheOpenWithTheDocumentAsItWas)
{
    openFile(0, write(QStringLiteral("seul.dxf"), dxfRectangles({{0, 0, 8, 2}})));
    EXPECT_EQ(shown, 0); // one contour opens directly
    const orv::Profils before = st().doc;
    const int32_t history = st().history.count();
    const std::vector<ContourPoint> read = st().PointsLus;
    script = [](FormSequences &f) {
        f.ui().upper.numbers[0]->clicked();
        click(f.ui().cmdQuelquesSequences);
        f.close();
    };
    openFile(0, plate());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(st().doc, before);
    EXPECT_EQ(st().history.count(), history);
    EXPECT_EQ(st().PointsLus.size(), read.size());
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("seul.dxf"));
}

TEST_F(SequenceWindow, ValidatingAnEmptyAssemblyIsRefusedAndTheWindowStaysOpen)
{
    script = [this](FormSequences &f) {
        click(f.ui().cmdValiderSequence);
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(f.assembled());
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0],
                  "Assemblage impossible|L'assemblage est vide : copiez au moins une séquence dans la "
                  "figure du bas avant de le valider.");
        f.close();
    };
    openFile(0, plate());
    EXPECT_FALSE(st().ProjetCharge);
    EXPECT_EQ(st().doc.NbPointsE(), 0);
}

TEST_F(SequenceWindow, OrderingWithTheLastSequenceSelectedShowsItsMessageWordForWordAndChangesNothing)
{
    script = [this](FormSequences &f) {
        click(f.ui().cmdSelectionSequence[0]);
        click(f.ui().cmdQuelquesSequences);
        const orv::SequenceList before = f.document().final();
        click(f.ui().cmdOrdreSequence[0]);
        EXPECT_EQ(f.document().final(), before);
        ASSERT_EQ(platform.messages().size(), 1u);
        const orv::RecordedMessage &m = platform.messages()[0];
        EXPECT_EQ(m.text,
                  QStringLiteral("Il faut au moins deux séquences et la dernière séquence ne doit pas être "
                                 "sélectionnée pour pouvoir utiliser cet outil"));
        EXPECT_EQ(m.title, QStringLiteral("Opération impossible"));
        EXPECT_EQ(m.style, orv::MessageStyle::CriticalOk);
        f.close();
    };
    openFile(0, plate());
}

TEST_F(SequenceWindow, ChainingWeldingAndUndoWorkFromTheButtons)
{
    script = [this](FormSequences &f) {
        // The two holes, chained in the drawing's order.
        f.ui().upper.numbers[size_t(byWidth(f.document().initial(), 10))]->clicked();
        f.ui().upper.numbers[size_t(byWidth(f.document().initial(), 20))]->clicked();
        click(f.ui().cmdInsererSequence[0]);
        const orv::SequenceList &fin = f.document().final();
        ASSERT_EQ(fin.size(), 2u);
        EXPECT_NEAR(fin[0].MinX - fin[1].MaxX, 0.1f * fin[1].Width, 1e-4); // a tenth of the second's width
        f.ui().lower.numbers[0]->clicked(); // both copies were selected: one is left
        click(f.ui().cmdSouderSequences);
        ASSERT_EQ(platform.messages().size(), 1u);
        EXPECT_EQ(platform.messages()[0].text,
                  QStringLiteral("Il faut sélectionner au moins deux séquences de "
                                 "l'assemblage pour pouvoir les souder."));
        click(f.ui().cmdSelectionSequenceFinal[0]);
        const int32_t points = fin[0].PointCount() + fin[1].PointCount();
        click(f.ui().cmdSouderSequences);
        ASSERT_EQ(fin.size(), 1u);
        EXPECT_EQ(fin[0].PointCount(), points);
        click(f.ui().cmdUndoSequence);
        EXPECT_EQ(fin.size(), 2u);
        click(f.ui().cmdValiderSequence);
    };
    openFile(0, plate());
    EXPECT_EQ(st().doc.NbPointsE(), int32_t(st().PointsLus.size()));
    EXPECT_GE(st().PointsLus.size(), 8u); // both holes, near points merged
}

TEST_F(SequenceWindow, GesturesSelectMoveAndPickPointsOnPlainEvents)
{
    script = [this](FormSequences &f) {
        const orv::SequenceList &in = f.document().initial();
        const int plate = byWidth(in, 100), hole = byWidth(in, 10);
        // A click on the plate's lower edge selects it and makes it current.
        clickAt(f, ListKind::Initial, 50, 0);
        EXPECT_TRUE(in[size_t(plate)].isSelected());
        EXPECT_EQ(f.current(ListKind::Initial), plate);
        // A rectangle around the first hole selects it, not the plate.
        const QPointF a = f.mapping(ListKind::Initial).toPicture(5, 18),
                      b = f.mapping(ListKind::Initial).toPicture(25, 2);
        mouse(f, ListKind::Initial, CanvasMouse::Press, a);
        mouse(f, ListKind::Initial, CanvasMouse::Move, b);
        EXPECT_TRUE(f.mouse().band(ListKind::Initial).has_value());
        mouse(f, ListKind::Initial, CanvasMouse::Release, b);
        EXPECT_FALSE(f.mouse().band(ListKind::Initial).has_value());
        EXPECT_TRUE(in[size_t(hole)].isSelected());
        EXPECT_FALSE(in[size_t(byWidth(in, 20))].isSelected());
        click(f.ui().cmdQuelquesSequences);
        const orv::SequenceList &fin = f.document().final();
        ASSERT_EQ(fin.size(), 2u);
        const size_t copy = size_t(byWidth(fin, 10)), plateCopy = size_t(byWidth(fin, 100));

        // Ctrl drag of the selected (both copies) by 10 mm to the right.
        const orv::PictureMapping &m = f.mapping(ListKind::Final);
        const QPointF from = m.toPicture(50, 10), to = m.toPicture(60, 10);
        mouse(f, ListKind::Final, CanvasMouse::Press, from, 2);
        mouse(f, ListKind::Final, CanvasMouse::Move, to, 2, 1);
        EXPECT_NE(f.mouse().dragOffset(), QPointF());
        EXPECT_FLOAT_EQ(fin[copy].MinX, 10); // nothing moves before the release
        mouse(f, ListKind::Final, CanvasMouse::Release, to, 2);
        EXPECT_NEAR(fin[copy].MinX, 20, 1e-3);
        EXPECT_NEAR(fin[plateCopy].MaxX, 110, 1e-3);

        // Alt hover over the hole's corner (now at 20, 5), then Alt click at (22, 3).
        const orv::PictureMapping &m2 = f.mapping(ListKind::Final);
        mouse(f, ListKind::Final, CanvasMouse::Move, m2.toPicture(20, 5), 4, 0);
        EXPECT_FALSE(f.mouse().hoverMarks().empty());
        ASSERT_TRUE(f.mouse().pointUnderCursor().valid());
        EXPECT_EQ(f.mouse().pointUnderCursor().sequence, int(copy));
        clickAt(f, ListKind::Final, 22, 3, 4);
        EXPECT_NEAR(fin[copy].MinX, 20, 1e-3);
        EXPECT_NEAR(fin[copy].MinY, 3, 1e-2);
        EXPECT_TRUE(platform.messages().empty());

        // A point shown, then the cursor moved on without Alt: nothing is shown
        // any more, and an Alt click has no point to move.
        mouse(f, ListKind::Final, CanvasMouse::Move, m2.toPicture(22, 3), 4, 0);
        EXPECT_TRUE(f.mouse().pointUnderCursor().valid());
        mouse(f, ListKind::Final, CanvasMouse::Move, m2.toPicture(60, 30), 0, 0);
        EXPECT_TRUE(f.mouse().hoverMarks().empty());
        clickAt(f, ListKind::Final, 200, 200, 4);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0], "Opération impossible|Pas de point sélectionné sur la figure");
        click(f.ui().cmdUndoSequence);
        EXPECT_NEAR(fin[copy].MinY, 5, 1e-3);
        f.close();
    };
    openFile(0, plate());
}

TEST_F(SequenceWindow, HeldButtonsRepeatEveryHundredMillisecondsUntilReleasedAndUndoAsOneStep)
{
    script = [this](FormSequences &f) {
        click(f.ui().cmdSelectionSequence[0]);
        click(f.ui().cmdQuelquesSequences);
        f.ui().lower.numbers[0]->clicked(); // the first left out: the gaps before the others widen
        const orv::SequenceList before = f.document().final();
        orv::TestTimer *timer = platform.timer(QStringLiteral("Timer_Ecartement1"));
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), 100);
        EXPECT_FALSE(timer->isActive());
        emit f.ui().cmdIntervale[0]->pressed();
        const float once = f.document().final()[0].MinX;
        EXPECT_GT(once, before[0].MinX);
        platform.advance(100);
        const float twice = f.document().final()[0].MinX;
        EXPECT_GT(twice, once);
        emit f.ui().cmdIntervale[0]->released();
        EXPECT_FALSE(timer->isActive());
        platform.advance(500);
        EXPECT_EQ(f.document().final()[0].MinX, twice);
        click(f.ui().cmdUndoSequence);
        EXPECT_EQ(f.document().final(), before);

        orv::TestTimer *renumber = platform.timer(QStringLiteral("Timer_Renumerotation1"));
        ASSERT_NE(renumber, nullptr);
        emit f.ui().cmdPremierPointSequence[0]->pressed();
        EXPECT_TRUE(renumber->isActive());
        platform.advance(200);
        emit f.ui().cmdPremierPointSequence[0]->released();
        EXPECT_FALSE(renumber->isActive());
        EXPECT_EQ(f.document().final()[1].Points.front().X, before[1].Points[3].X); // three steps along
        f.close();
    };
    openFile(0, plate());
}

TEST_F(SequenceWindow, TheWindowOpensItsOwnDrawingsAndRefusesOneThatCannotBeRead)
{
    script = [this](FormSequences &f) {
        platform.queueFile(path(QStringLiteral("absent.dxf")));
        click(f.ui().cmdOuvrirFichierSequences);
        ASSERT_EQ(platform.dialogs().size(), 2u);
        const orv::RecordedDialog &d = platform.dialogs()[1];
        EXPECT_EQ(d.filter, QStringLiteral(
                                "DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Plotter (*.plt)|*.plt|Projet Orvalis "
                                "(*.orv)|*.orv|Tous les fichiers connus|*.dxf;*.dat;*.plt;*.orv"));
        EXPECT_EQ(d.folder, folder() + QLatin1Char('/'));
        ASSERT_EQ(platform.messages().size(), 1u);
        EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Lecture impossible"));
        EXPECT_EQ(f.document().initial().size(), 3u); // the drawing it had
        platform.queueFile(write(QStringLiteral("deux.dxf"), dxfRectangles({{0, 0, 5, 5}, {10, 0, 5, 5}})));
        click(f.ui().cmdOuvrirFichierSequences);
        EXPECT_EQ(f.document().initial().size(), 2u);
        f.close();
    };
    openFile(0, plate());
}

TEST_F(SequenceWindow, HelpTextHelpButtonAndControlNames)
{
    script = [this](FormSequences &f) {
        EXPECT_EQ(
            f.ui().lblAideSequences->text(),
            QStringLiteral(
                "Clic gauche en haut et en bas = Sélection d'une séquence par clic simple ou rectangle\n"
                "Ctrl + clic gauche en bas = saisir les séquences sélectionnées pour les déplacer\n"
                "Alt + déplacement en bas = afficher le point sous le curseur\n"
                "Alt + clic en bas = déplacer le point affiché sous le curseur"));
        f.ui().chkAideSequences->setChecked(false);
        EXPECT_FALSE(f.ui().lblAideSequences->isVisible());
        click(f.ui().cmdAideSequences);
        EXPECT_EQ(platform.helpRequests(), 1);
        EXPECT_EQ(f.ui().cmdAideSequences->text(), QStringLiteral("Aide (F1)"));
        EXPECT_EQ(f.ui().cmdValiderSequence->text(), QStringLiteral("Valider l'assemblage"));
        for (const char *name : {"pctSequences",
                                 "pctSequencesFinal",
                                 "vscSequences",
                                 "vscSequencesFinal",
                                 "lblNumSequence_4",
                                 "lblNumSequenceFinal_0",
                                 "cadreCompteur",
                                 "cadreCompteurFinal",
                                 "cmdSelectionSequence_1",
                                 "cmdSelectionSequenceFinal_0",
                                 "frmSelectionInitial",
                                 "frmSelectionFinal",
                                 "frmVisuSequences",
                                 "chkVisuSens",
                                 "cmdInsererSequence_1",
                                 "cmdQuelquesSequences",
                                 "cmdOrdreSequence_1",
                                 "cmdSensSequence",
                                 "cmdInverserFinal",
                                 "cmdPremierPointSequence_1",
                                 "cmdRotationSequence_0",
                                 "cmdRotation90",
                                 "cmdSymetrieSequence",
                                 "cmdTaille_1",
                                 "cmdIntervale_1",
                                 "cmdEffacer",
                                 "cmdInsererPointSequence",
                                 "cmdUndoSequence",
                                 "cmdSouderSequences",
                                 "cmdOuvrirFichierSequences"})
            EXPECT_NE(f.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
        EXPECT_EQ(f.findChild<QWidget *>(QStringLiteral("cmdRotationSequence_1"))->toolTip(),
                  QStringLiteral("Rotation +10°"));
        EXPECT_EQ(f.findChild<QWidget *>(QStringLiteral("cmdPremierPointSequence_1"))->toolTip(),
                  QStringLiteral("Reculer le point d'entrée"));
        // The root's select buttons; a picture draws without fault.
        EXPECT_TRUE(f.ui().cmdSelectionSequence[0]->isVisible());
        EXPECT_FALSE(f.ui().cmdSelectionSequence[1]->isVisible());
        f.ui().chkVisuSens->setChecked(true);
        EXPECT_FALSE(f.ui().lower.picture->picture().isNull());
        f.close();
    };
    openFile(0, plate());
}

TEST_F(SequenceWindow, TheLightenedRibSampleAssemblesIntoARootAndATipDrawingOpensForTheTip)
{
    script = [](FormSequences &f) {
        EXPECT_EQ(f.side(), orv::Emplanture);
        ASSERT_EQ(f.document().initial().size(), 6u);
        // The outline, the three round holes and the spar slot; the open mark stays out.
        const orv::SequenceList &in = f.document().initial();
        for (size_t k = 0; k < in.size(); ++k)
            if (in[k].isClosed())
                f.document().toggle(ListKind::Initial, int(k));
        click(f.ui().cmdQuelquesSequences);
        ASSERT_EQ(f.document().final().size(), 5u);
        click(f.ui().cmdSelectionSequenceFinal[0]);
        click(f.ui().cmdInsererPointSequence);
        EXPECT_EQ(f.document().final().size(), 9u);
        click(f.ui().cmdValiderSequence);
    };
    openFile(0, QString::fromStdString(sample("nervure_allegee.dxf")));
    ASSERT_TRUE(st().ProjetCharge);
    EXPECT_NEAR(st().doc.C.E.Corde, 250, 0.5);
    EXPECT_GT(st().doc.NbPointsE(), 100);

    script = [](FormSequences &f) {
        EXPECT_EQ(f.side(), orv::Saumon);
        EXPECT_FALSE(f.ui().cmdSelectionSequence[0]->isVisible());
        EXPECT_TRUE(f.ui().cmdSelectionSequence[1]->isVisible());
        click(f.ui().cmdSelectionSequence[1]);
        click(f.ui().cmdInsererSequence[1]);
        click(f.ui().cmdValiderSequence);
    };
    const int32_t rootPoints = st().doc.NbPointsE();
    openFile(1, plate(), 4);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(st().doc.NbPointsE(), rootPoints);
    EXPECT_EQ(st().doc.NbPointsS(), int32_t(st().PointsLus.size()));
}
