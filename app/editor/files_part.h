// Profile files, projects and exports: open, close, export of the root, the
// tip and the intermediate profile, the project file and the 3-D DXF.
#pragma once

#include "editor/part.h"

#include <QString>

#include <optional>
#include <vector>

namespace orv {

class FormOrvalis;
struct ProjectData;

// The first `count` points as library records; Pen and Tag stay empty, so the
// library takes them as one contour.
ContourArray contourArray(const VextraLibrary &library, const ProfilePoints &points, int32_t count);

// A file read by the library: its records (none when the read failed, `code`
// then tells why), its title and its bounds.
struct ContourRead {
    std::vector<ContourPoint> records;
    QString title;
    Bounds bounds;
    int32_t code = 0;
};
ContourRead readContourFile(const VextraLibrary &library, const QString &path);

class FilesPart : public Part {
public:
    FilesPart(Editor &ed, FormOrvalis &window);

    // 0 root, 1 tip; other indexes do nothing.
    void cmdOuvrirProfil_Click(int index);
    void cmdFermerProfil_Click(int index);
    // 0 root, 1 tip, 2 project or 3-D DXF, 3 intermediate profile.
    void cmdSauveProfil_Click(int index);
    // Opens a project into the document (root open dialog, command line).
    // Returns false when the project was refused and the document kept.
    bool openProject(const QString &path);
    // Opens a file named on the command line as the root, as the root's open
    // command does with a chosen file; a missing, folder or unreadable path
    // gets one message and leaves the document alone.
    void openRootFile(const QString &path);
    // Writes the document as a project; false (after a message) on failure.
    bool saveProject(const QString &path);

    // The document as a project holds it (boxes and view included).
    ProjectData projectData() const;

    // The save dialog of every export: overwrite prompt, start folder
    // remembered in Orvalis.ini.
    std::optional<FileChoice> saveDialog(FileDialogRequest request);

private:
    std::optional<FileChoice> openDialog(const FileDialogRequest &request);
    void rememberFolder(const QString &key, QString &folder, const QString &path);

    void openChosen(Side side, const QString &path);
    void openProfile(Side side, const QString &path);
    void exportSide(Side side);
    void exportIntermediate();
    void saveProjectOr3d();
    void export3d(const QString &path);
    // Shows the export's failure; true when the library reported success.
    bool exported(const QString &path, int32_t result);

    FormOrvalis &m_window;
};

} // namespace orv
