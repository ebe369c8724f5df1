// Every control of the sequence window, created with its name, caption and
// tool tip; control arrays keep their index in the object name.
#pragma once

#include <array>

class QCheckBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace orv {

class ClickableLabel;
class ProfileCanvas;

// One picture with its list of numbers (upper: the drawing, lower: the assembly).
struct SequencePictureUi {
    ProfileCanvas *picture = nullptr;
    QScrollBar *bar = nullptr;
    std::array<ClickableLabel *, 5> numbers{};
    QFrame *counter = nullptr; // cadreCompteur / cadreCompteurFinal
};

struct SequencesUi {
    SequencePictureUi upper; // pctSequences, vscSequences, lblNumSequence
    SequencePictureUi lower; // pctSequencesFinal, vscSequencesFinal, lblNumSequenceFinal

    QPushButton *cmdOuvrirFichierSequences = nullptr;
    QGroupBox *frmSelectionInitial = nullptr, *frmSelectionFinal = nullptr;
    std::array<QPushButton *, 2> cmdSelectionSequence{};
    std::array<QPushButton *, 2> cmdSelectionSequenceFinal{};
    QGroupBox *frmVisuSequences = nullptr;
    QCheckBox *chkVisuSens = nullptr;
    QCheckBox *chkAideSequences = nullptr;
    QLabel *lblAideSequences = nullptr;
    QPushButton *cmdAideSequences = nullptr;
    QPushButton *cmdValiderSequence = nullptr;

    std::array<QPushButton *, 2> cmdInsererSequence{};
    QPushButton *cmdQuelquesSequences = nullptr;
    std::array<QPushButton *, 2> cmdOrdreSequence{};
    QPushButton *cmdSensSequence = nullptr;
    QPushButton *cmdInverserFinal = nullptr;
    std::array<QPushButton *, 2> cmdPremierPointSequence{};
    std::array<QPushButton *, 2> cmdRotationSequence{};
    QPushButton *cmdRotation90 = nullptr;
    QPushButton *cmdSymetrieSequence = nullptr;
    std::array<QPushButton *, 2> cmdTaille{};
    std::array<QPushButton *, 2> cmdIntervale{};
    QPushButton *cmdEffacer = nullptr;
    QPushButton *cmdInsererPointSequence = nullptr;
    QPushButton *cmdUndoSequence = nullptr;
    QPushButton *cmdSouderSequences = nullptr;

    void setup(QDialog *window);
};

// The four lines of lblAideSequences.
extern const char *const kSequenceHelpLines[4];

} // namespace orv
