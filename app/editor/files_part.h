// Profile files, projects and exports: open, close, export of the root, the
// tip and the intermediate profile, the project file and the 3-D DXF.
#pragma once

#include "editor/part.h"

namespace orv {

class FormOrvalis;

class FilesPart : public Part {
public:
    FilesPart(Editor &ed, FormOrvalis &window);
    void cmdOuvrirProfil_Click(int index);
    void cmdFermerProfil_Click(int index);
    void cmdSauveProfil_Click(int index);
    void openProject(const QString &path);

private:
    FormOrvalis &m_window;
};

} // namespace orv
