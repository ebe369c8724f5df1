// The window `formSequences` ("Choix de séquences"): the contours of a drawing
// assembled into one. A thin composition over its SequenceDocument: the
// controls, the two pictures, the repeat timers and the hand-over.
#pragma once

#include "core/document.h"
#include "sequences/sequence_document.h"
#include "sequences/sequence_mouse.h"
#include "sequences/sequence_picture.h"
#include "sequences/sequences_ui.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace orv {

class Editor;
class FormOrvalis;
class Platform;
class Timer;
class VextraLibrary;

class FormSequences : public QDialog {
    Q_OBJECT
public:
    FormSequences(Platform &platform, VextraLibrary &library, QString settingsPath,
                  QWidget *parent = nullptr);
    ~FormSequences() override;

    // The profile served (root "E" or tip "S") and the read buffer handed over.
    void begin(Side side, std::span<const ContourPoint> buffer);
    // After the window closed: whether an assembly was validated, and then
    // the assembly as a read buffer with its bounds.
    bool assembled() const { return m_assembled; }
    const std::vector<ContourPoint> &assembly() const { return m_assembly; }
    DrawingExtent assemblyBounds() const { return m_assemblyBounds; }

    SequencesUi &ui() { return m_ui; }
    SequenceDocument &document() { return m_doc; }
    SequenceMouse &mouse() { return m_mouse; }
    const PictureMapping &mapping(ListKind picture) const { return m_maps[index(picture)]; }
    int current(ListKind picture) const;
    Side side() const { return m_side; }

    // ---- handlers
    void cmdOuvrirFichierSequences_Click();
    void cmdInsererSequence_Click(int index);
    void cmdQuelquesSequences_Click();
    void cmdOrdreSequence_Click(int index);
    void cmdSensSequence_Click();
    void cmdInverserFinal_Click();
    void cmdPremierPointSequence_MouseDown(int index);
    void cmdPremierPointSequence_MouseUp();
    void cmdRotationSequence_MouseDown(int index);
    void cmdRotationSequence_MouseUp();
    void cmdRotation90_Click();
    void cmdSymetrieSequence_Click();
    void cmdTaille_Click(int index);
    void cmdIntervale_MouseDown(int index);
    void cmdIntervale_MouseUp();
    void cmdEffacer_Click();
    void cmdInsererPointSequence_Click();
    void cmdUndoSequence_Click();
    void cmdSouderSequences_Click();
    void cmdValiderSequence_Click();
    void selectAll(ListKind list);
    void lblNumSequence_Click(ListKind list, int label);

    // ---- services of the gestures and the commands
    // Shows a refusal, or redraws after a change.
    void apply(const Outcome &o);
    // Both pictures refitted and redrawn, both number lists refreshed.
    void refresh();
    void redrawPicture(ListKind picture);
    void updateOverlay(ListKind picture);
    void setCurrent(ListKind picture, int sequence);

protected:
    // Every way out (validation, close box, Escape) stops the repeat timers.
    void done(int result) override;

private:
    static size_t index(ListKind k) { return k == ListKind::Initial ? 0 : 1; }
    SequencePictureUi &pictureUi(ListKind k) { return k == ListKind::Initial ? m_ui.upper : m_ui.lower; }
    void connectControls();
    // A new drawing in the upper picture, shown from its start.
    void loadDrawing(std::span<const ContourPoint> buffer);
    void fitPictures();
    void drawPicture(ListKind picture, QPainter &p);
    void drawOverlay(ListKind picture, QPainter &p);
    void refreshNumbers(ListKind picture);
    // A held button: one step at the press, recorded for undo, then one
    // step every 100 ms without a record until the release.
    struct RepeatButton {
        std::unique_ptr<Timer> timer;
        int direction = 0; // the index of the pressed button
        std::function<Outcome(int direction, bool record)> step;
    };
    void makeRepeat(RepeatButton &button, const QString &timerName,
                    std::function<Outcome(int direction, bool record)> step);
    void press(RepeatButton &button, int index);

    Platform &m_platform;
    VextraLibrary &m_library;
    QString m_settingsPath;
    SequencesUi m_ui;
    SequenceDocument m_doc;
    SequenceMouse m_mouse{*this};
    PictureMapping m_maps[2];
    DrawingExtent m_drawingExtent;
    Side m_side = Emplanture;
    RepeatButton m_entryRepeat;    // cmdPremierPointSequence, Timer_Renumerotation1
    RepeatButton m_spacingRepeat;  // cmdIntervale (Ecarter 0, Rapprocher 1), Timer_Ecartement1
    RepeatButton m_rotationRepeat; // cmdRotationSequence (-10° 0, +10° 1), Timer_rotation1
    bool m_assembled = false;
    std::vector<ContourPoint> m_assembly;
    DrawingExtent m_assemblyBounds;
};

// How the editor shows the window: modally by default; tests pass a script
// that drives it and validates or closes it.
using SequenceWindowRunner = std::function<void(FormSequences &)>;
// Makes the main window's open hand drawings of several contours to this window.
void installSequenceWindow(FormOrvalis &window, SequenceWindowRunner run = {});

} // namespace orv
