// Every control of the main window, created with its name, caption and tool
// tip. Control arrays keep their index in the object name ("txtCorde_1").
#pragma once

#include "widgets.h"

#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMainWindow;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class QToolButton;
class QWidget;

namespace orv {

class ProfileCanvas;

struct SidePanel {
    QGroupBox *frame = nullptr;           // "Emplanture" / "Saumon"
    NumericBox *txtCorde = nullptr;       // txtCorde(0/1)
    QScrollBar *vscUnits = nullptr;       // vscPointsE(0) / vscPointsS(0)
    QScrollBar *vscThousands = nullptr;   // vscPointsE(1) / vscPointsS(1)
    std::array<ClickableLabel *, 5> lblNumPt{};    // lblNumPtE / lblNumPtS
    std::array<ClickableLabel *, 10> lblCoordPt{}; // 0-4 X column, 5-9 Y column
    QLabel *lblNomFichier = nullptr;
};

struct MainWindowUi {
    QWidget *central = nullptr;
    ProfileCanvas *pctProfils = nullptr;
    QLabel *pctImageHidden = nullptr;
    QStatusBar *stbProfils = nullptr;
    std::array<QLabel *, 3> stbPanels{};

    // Files
    std::array<QToolButton *, 2> cmdOuvrirProfil{};
    std::array<QToolButton *, 2> cmdFermerProfil{};
    std::array<QToolButton *, 4> cmdSauveProfil{};
    QToolButton *cmdTransfertSorvane = nullptr, *cmdImportSorvane = nullptr;
    QToolButton *cmdMachine = nullptr, *cmdExporterGCode = nullptr;
    std::array<QToolButton *, 2> cmdUndo{};
    QToolButton *cmdCopier = nullptr, *cmdCouper = nullptr, *cmdColler = nullptr;
    QToolButton *cmdAide = nullptr, *cmdAPropos = nullptr;

    // Both sides
    std::array<SidePanel, 2> side;
    std::array<QPushButton *, 2> cmdRAZSelection{};
    std::array<QPushButton *, 2> cmdSelectAll{};
    std::array<QPushButton *, 4> cmdSelectionAuto{}; // 0 tip X, 1 root X, 2 tip Y, 3 root Y
    std::array<QPushButton *, 2> cmdSelectionAngle{}; // 0 tip, 1 root
    std::array<QCheckBox *, 2> chkAfficherProfil{};
    std::array<QCheckBox *, 2> chkAfficherPoints{};

    // Selection and editing
    std::array<QRadioButton *, 3> optSelection{};
    QToolButton *cmdInverserSelection = nullptr;
    std::array<QToolButton *, 2> cmdSymetrie{};
    std::array<NumericBox *, 3> txtEtirer{};
    NumericBox *txtTourner = nullptr;
    std::array<NumericBox *, 2> txtDeplacer{};
    NumericBox *txtDecaler = nullptr;
    QToolButton *cmdSupprimer = nullptr, *cmdInsererPoint = nullptr, *cmdIntersection = nullptr;
    QToolButton *cmdRenumeroter = nullptr, *cmdLisser = nullptr;
    QToolButton *cmdSynchroOptimale = nullptr, *cmdNettoyage = nullptr;

    // View
    QScrollBar *hscOmega = nullptr, *hscAlpha = nullptr, *hscZoom = nullptr;
    QLabel *lblZoom = nullptr;
    QPushButton *cmdRAZPerspective = nullptr, *cmdRAZVueCote = nullptr;
    QPushButton *cmdZoomFit = nullptr; // cmdZoom(2)
    QCheckBox *chkZoomSelection = nullptr;
    QGroupBox *frmVisu = nullptr;
    QCheckBox *chkFil = nullptr, *chkSurface = nullptr, *chkVisuMachine = nullptr;
    QGroupBox *frmImage = nullptr;
    QCheckBox *chkImageFond = nullptr;

    // Wing layout
    QGroupBox *frmEcartement = nullptr;
    NumericBox *txtEcartementZ = nullptr;
    QGroupBox *frmFleche = nullptr;
    NumericBox *txtFleche = nullptr;
    QLabel *lblFleche = nullptr;
    std::array<QCheckBox *, 3> chkFleche{};
    QGroupBox *frmDiedre = nullptr;
    NumericBox *txtDiedreMm = nullptr, *txtDiedreDeg = nullptr;
    QLabel *lblDiedre = nullptr;
    std::array<QCheckBox *, 5> chkDiedre{};
    QGroupBox *frmAligner = nullptr;
    QCheckBox *chkAligner = nullptr;
    QGroupBox *frmAiles = nullptr;
    std::array<QPushButton *, 2> cmdDupliquer{};
    NumericBox *txtEcartementAiles = nullptr;
    QCheckBox *chkProfilIntermediaire = nullptr;
    NumericBox *txtEcartementIntermediaire = nullptr;
    QCheckBox *chkInsertionProfils = nullptr;
    QLabel *lblInsertionProfils = nullptr;

    // Comment
    QCheckBox *chkVoirCommentaires = nullptr;
    QLineEdit *txtTitreCommentaire = nullptr;
    CommentBox *txtCommentaire = nullptr;

    // Every control that works on a loaded document (enabled after a load).
    std::vector<QWidget *> editingControls;

    void setup(QMainWindow *window);
};

} // namespace orv
