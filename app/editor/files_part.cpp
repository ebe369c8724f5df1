#include "editor/files_part.h"

#include "editor/form_orvalis.h"

namespace orv {

FilesPart::FilesPart(Editor &ed, FormOrvalis &window) : Part(ed), m_window(window) {}

void FilesPart::cmdOuvrirProfil_Click(int) {}
void FilesPart::cmdFermerProfil_Click(int) {}
void FilesPart::cmdSauveProfil_Click(int) {}
void FilesPart::openProject(const QString &) {}

} // namespace orv
