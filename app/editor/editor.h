// The editor's shared state and the services every command ends with: the
// undo snapshots, the closing steps, the view refresh and the redraw. Each
// part of the main window (files, view, drawing, layout, selection, ...)
// holds a reference to the one Editor of the window.
#pragma once

#include "core/clipboard.h"
#include "core/document.h"
#include "core/history.h"
#include "core/layout.h"
#include "core/machine.h"
#include "core/notice.h"
#include "core/selection.h"
#include "core/view.h"
#include "editor/main_window_ui.h"
#include "platform/platform.h"
#include "platform/vextra_binding.h"

#include <QString>

#include <array>
#include <functional>
#include <string_view>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QScrollBar;
class QWidget;

namespace orv {

// Module-wide state of the profile editor.
struct EditorState {
    Profils doc;
    bool ProjetCharge = false;
    std::array<QString, 2> fileNames;      // shown by lblNomFichier(0), (1)
    std::array<QString, 2> storedFileNames; // copy made after every load
    LayoutState layout;                    // stored sweep and dihedral, shown angle, modes
    float EcartementIntermediaire = 0;
    ProfilePoints intermediate;            // the intermediate profile, once built
    SelectionState sel;
    std::array<CursorBars, 2> cursors;
    View view;
    MachineSettings machine; // as Orvalis.ini held it when the machine view or window last read it
    History history;
    Clipboard clipboard;
    std::vector<ContourPoint> PointsLus; // the last library read
    Bounds lusBounds;
    float ToleranceLecture = 0;
    float DiviseurTolerance = 5000.0f;
    bool GardeCurseurs = false;
    bool redrawSuspended = false;
    QString DossierSauvegarde, DossierOuverture;
    QString caption = QStringLiteral("Profils Orvalis");
};

// How a command ends; the defaults are the common closing steps.
struct Finish {
    enum class View { KeepZoom, Rebuild, RedrawOnly };
    bool characteristics = true;
    bool reapplyLayout = false;
    bool reapplyFirst = false; // layout re-application before the characteristics (mirror)
    bool chords = false;       // txtCorde(0) and (1) show the chords
    bool layoutBoxes = false;  // sweep, dihedral and spacing boxes and labels show the document
    bool cursors = false;      // point cursors back to point 1 for the new counts
    View view = View::KeepZoom;
    bool snapshot = true;      // record the snapshot after the change
};

class Editor {
public:
    Editor(MainWindowUi &ui, Platform &platform, VextraLibrary &library, QWidget *window);

    EditorState st;
    MainWindowUi &ui;
    Platform &platform;
    VextraLibrary &library;
    QWidget *window;

    // ---- history
    // The window state that a snapshot keeps beside the document.
    WindowState windowState() const;
    // Records a snapshot unless AnnulationEnCours is set.
    void snapshot();
    // The closing steps of a command, in order: characteristics, layout
    // re-application, boxes, view refresh and redraw, snapshot, and the
    // suppression flag cleared.
    void finish(const Finish &f = {});

    // ---- view and drawing
    ShowFlags showFlags() const;
    // Projection, fit and mapping (loads, fit and reset buttons).
    void rebuildView();
    // Projection and mapping with the zoom kept (point edits, angles).
    void refreshKeepingZoom();
    // The whole redraw: availability, picture, status bar, point lists, overlay.
    void redraw();
    // Only the persistent picture (background image changes).
    void redrawPicture();
    // The drawing area's size changed.
    void pictureResized();

    // ---- cursors
    // Current and previous points back to 1 and both cursors fitted to the counts.
    void resetCursors();
    // Cursors fitted to the current counts, each keeping its current point
    // when it still exists (point 1 otherwise).
    void fitCursors();
    // Shows point `index` on a side's cursors without running their handler.
    void moveCursor(Side side, int32_t index);
    // Sets a scroll bar from code without running its handler.
    void setBarQuietly(QScrollBar *bar, int value);
    bool barsBeingSet() const { return m_settingBars; }

    // ---- boxes and messages
    void setBox(QWidget *box, double value, std::string_view pattern);
    // Both chords into txtCorde(0) and txtCorde(1).
    void showChords();
    // Spacing, sweep, dihedral boxes and the two layout labels from the document.
    void showLayoutBoxes();
    MessageButton show(const Notice &notice);
    // Runs the handler of a check box as a user action does, unless it already has the value.
    void setChecked(QAbstractButton *box, bool checked);
    // After a selection change: with the reference layer active and the
    // alignment on, chkAligner goes to 0 and back to 1 so that the alignment
    // runs again on the new reference points.
    void realignRule();

    // ---- document state
    void enableEditing(bool enabled);
    void setCaption(const QString &caption);
    bool hasPoints() const { return st.doc.NbPointsE() > 0 && st.doc.NbPointsS() > 0; }

    // Hooks the parts install.
    std::function<void()> reapplyLayout;     // layout re-application
    std::function<void()> drawPointLists;    // the five-line point lists
    std::function<void()> restoreWindowState; // after an undo restore, once the document is back
    // The sequence window over a read buffer of several contours, shown
    // modally for a side; true when an assembly was validated, which then
    // replaces the buffer and its bounds.
    std::function<bool(Side side, std::vector<ContourPoint> &buffer, Bounds &bounds)> assembleSequences;

private:
    void applyAvailability();
    void writeStatusBar();
    bool m_settingBars = false;
};

} // namespace orv
