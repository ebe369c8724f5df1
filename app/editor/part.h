// A part of the main window: it owns the handlers of one area (files, view,
// layout, selection, ...) and reaches the document through the Editor.
#pragma once

#include "editor/editor.h"

#include <QObject>

namespace orv {

class Part : public QObject {
public:
    explicit Part(Editor &ed) : m_ed(ed) {}

protected:
    Editor &m_ed;
    EditorState &st() { return m_ed.st; }
    MainWindowUi &ui() { return m_ed.ui; }
};

} // namespace orv
