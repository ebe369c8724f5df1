// The main window `formOrvalis`: a thin composition of parts that share the
// document through one Editor, with the window's life and its settings.
#pragma once

#include "editor/main_window_ui.h"

#include <QMainWindow>

#include <memory>

namespace orv {

class Editor;
class Platform;
class VextraLibrary;
class DrawingPart;
class ViewPart;
class CursorsPart;
class HistoryPart;
class FilesPart;
class CommentPart;
class LayoutPart;
class SelectionPart;
class TransformsPart;
class PointEditingPart;
class GeometryPart;
class FormAbout;
class IniDocument;
class ClipboardPart;
class MousePart;
class ExchangePart;
class InsertionPart;
class MachinePart;

struct EditorEnvironment {
    QString programFolder; // Orvalis.ini, exchange files
    QString helpFile;      // Aide_Orvalis.html
    QString commandLine;   // the arguments joined by single spaces
};

class FormOrvalis : public QMainWindow {
    Q_OBJECT
public:
    FormOrvalis(Platform &platform, VextraLibrary &library, EditorEnvironment env, QWidget *parent = nullptr);
    ~FormOrvalis() override;

    Editor &editor() { return *m_editor; }
    MainWindowUi &ui() { return m_ui; }
    FilesPart &files() { return *m_files; }
    // The parts, for tests and benchmarks ("Part" in the names keeps them
    // clear of QWidget::layout() and QWidget::geometry()).
    DrawingPart &drawingPart() { return *m_drawing; }
    ViewPart &viewPart() { return *m_view; }
    CursorsPart &cursorsPart() { return *m_cursors; }
    HistoryPart &historyPart() { return *m_history; }
    CommentPart &commentPart() { return *m_comment; }
    LayoutPart &layoutPart() { return *m_layout; }
    SelectionPart &selectionPart() { return *m_selection; }
    TransformsPart &transformsPart() { return *m_transforms; }
    PointEditingPart &pointEditingPart() { return *m_editing; }
    GeometryPart &geometryPart() { return *m_geometry; }
    ClipboardPart &clipboardPart() { return *m_clipboard; }
    MousePart &mousePart() { return *m_mouse; }
    ExchangePart &exchangePart() { return *m_exchange; }
    InsertionPart &insertionPart() { return *m_insertion; }
    MachinePart &machinePart() { return *m_machine; }
    const EditorEnvironment &environment() const { return m_env; }
    QString settingsPath() const;

    // The window's own load: settings, initial state, version check and
    // command line, in that order.
    void load();
    // The load again without the command line, whose project would otherwise
    // be opened once more (the profile insertion reloads the window).
    void reload();
    // "Fenêtre": the place and size when the window is neither minimised nor
    // maximised, then "WindowState".
    void storeWindowPlace();
    // Twips of this screen.
    double twipsPerPixel() const;

    void showHelp();
    void showAbout();
    // The about window, not yet shown.
    std::unique_ptr<FormAbout> makeAbout();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void loadWindow();
    void readWindowSettings();
    void writeWindowSettings();
    void writeWindowPlace(IniDocument &d);
    void initialState();
    void checkLibraryVersion();
    void openFromCommandLine();

    MainWindowUi m_ui;
    EditorEnvironment m_env;
    Platform &m_platform;
    VextraLibrary &m_library;
    std::unique_ptr<Editor> m_editor;
    std::unique_ptr<DrawingPart> m_drawing;
    std::unique_ptr<ViewPart> m_view;
    std::unique_ptr<CursorsPart> m_cursors;
    std::unique_ptr<HistoryPart> m_history;
    std::unique_ptr<FilesPart> m_files;
    std::unique_ptr<CommentPart> m_comment;
    std::unique_ptr<LayoutPart> m_layout;
    std::unique_ptr<SelectionPart> m_selection;
    std::unique_ptr<TransformsPart> m_transforms;
    std::unique_ptr<PointEditingPart> m_editing;
    std::unique_ptr<GeometryPart> m_geometry;
    std::unique_ptr<ClipboardPart> m_clipboard;
    std::unique_ptr<MousePart> m_mouse;
    std::unique_ptr<ExchangePart> m_exchange;
    std::unique_ptr<InsertionPart> m_insertion;
    std::unique_ptr<MachinePart> m_machine;
};

} // namespace orv
