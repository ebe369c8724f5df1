// The project commands of the window: the document gathered into a project
// and written in one save, and a project read back into the window with its
// check boxes, view and comment.
#include "editor/files_part.h"

#include "core/characteristics.h"
#include "editor/files_texts.h"
#include "editor/project_file.h"
#include "platform/ini_document.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>

namespace orv {

ProjectData FilesPart::projectData() const
{
    const EditorState &s = m_ed.st;
    const MainWindowUi &u = m_ed.ui;
    ProjectData d;
    for (Side side : kSides) {
        d.fileNames[size_t(side)] = u.side[size_t(side)].lblNomFichier->text();
        d.points[size_t(side)] = s.doc.points(side);
    }
    d.Ecartement = s.doc.Ecartement;
    // The last ticked box of a group gives its index.
    for (int i = 0; i < 3; ++i)
        if (u.chkFleche[size_t(i)]->isChecked())
            d.boutonFleche = i;
    for (int i = 0; i < 5; ++i)
        if (u.chkDiedre[size_t(i)]->isChecked())
            d.boutonDiedre = i;
    d.boutonAligner = u.chkAligner->isChecked() ? 1 : -1;
    d.CoeffZoom = s.view.state.CoeffZoom;
    d.XCentreZoom = s.view.state.XCentreZoom;
    d.YCentreZoom = s.view.state.YCentreZoom;
    d.omega = u.hscOmega->value();
    d.alpha = u.hscAlpha->value();
    d.comment = u.txtCommentaire->textCrLf();
    return d;
}

bool FilesPart::saveProject(const QString &path)
{
    computeCharacteristics(st().doc);
    // Loaded first so that the sections of other programs in the file stay;
    // the save writes a new file beside it and renames it over the old one.
    IniFile file(path);
    bool saved = file.readable();
    if (saved) {
        writeProject(file.document(), projectData());
        saved = file.save();
    }
    if (!saved) {
        m_ed.show(projectNotSaved(path));
        return false;
    }
    m_ed.setCaption(QStringLiteral("Profils Orvalis - ") + path);
    return true;
}

bool FilesPart::openProject(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        m_ed.show(projectMissing(path));
        return false;
    }
    const IniFile file(path);
    if (!file.readable()) {
        m_ed.show(projectUnreadable(path));
        return false;
    }
    ProjectRead read = readProject(file.document());
    if (read.refusal != ProjectRefusal::None) {
        m_ed.show(projectRefused(path, read.refusal));
        return false;
    }
    ProjectData &d = read.data;
    EditorState &s = st();
    MainWindowUi &u = ui();

    m_ed.enableEditing(true);
    for (Side side : kSides) {
        s.fileNames[size_t(side)] = d.fileNames[size_t(side)];
        u.side[size_t(side)].lblNomFichier->setText(d.fileNames[size_t(side)]);
        s.doc.points(side) = std::move(d.points[size_t(side)]);
    }
    s.doc.Ecartement = d.Ecartement;
    m_ed.resetCursors();

    // The boxes run their own handlers, as a click would.
    for (QCheckBox *box : u.chkFleche)
        box->setChecked(false);
    u.chkAligner->setChecked(false);
    for (QCheckBox *box : u.chkDiedre)
        box->setChecked(false);
    if (d.boutonAligner == 1)
        u.chkAligner->setChecked(true);
    if (d.boutonFleche >= 0)
        u.chkFleche[size_t(d.boutonFleche)]->setChecked(true);
    if (d.boutonDiedre >= 0)
        u.chkDiedre[size_t(d.boutonDiedre)]->setChecked(true);

    // The view is refitted below: the bars only need their values.
    m_ed.setBarQuietly(u.hscOmega, d.omega);
    m_ed.setBarQuietly(u.hscAlpha, d.alpha);
    s.view.setAngles(u.hscOmega->value(), u.hscAlpha->value());
    s.view.state.CoeffZoom = d.CoeffZoom;
    s.view.state.XCentreZoom = d.XCentreZoom;
    s.view.state.YCentreZoom = d.YCentreZoom;

    if (!d.comment.isEmpty()) {
        u.txtCommentaire->setTextCrLf(d.comment);
        u.chkVoirCommentaires->setChecked(true);
    }

    s.ProjetCharge = true;
    m_ed.setCaption(QStringLiteral("Profils Orvalis - ") + path);
    computeCharacteristics(s.doc);
    s.layout.storedSweep = s.doc.C.FlecheBA;
    s.layout.storedDihedral = s.doc.C.DiedreMm;
    s.layout.shownAngle = s.doc.C.DiedreDeg;
    s.storedFileNames = s.fileNames;
    // The snapshot lets an undo step back to the document this one replaced
    // and a redo come back to the project.
    m_ed.finish({.chords = true, .layoutBoxes = true, .view = Finish::View::Rebuild});

    if (read.damage.any())
        m_ed.show(projectDamaged(path, read.damage));
    return true;
}

} // namespace orv
