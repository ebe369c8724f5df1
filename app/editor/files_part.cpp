// Opening and closing profiles: the open dialog, the read through Vextra, the
// merge of near points of drawings, the chord of airfoil files, and the
// folders the dialogs remember.
#include "editor/files_part.h"

#include "core/characteristics.h"
#include "core/cleaning.h"
#include "core/numeric_entry.h"
#include "editor/exchange_part.h"
#include "editor/files_texts.h"
#include "editor/form_orvalis.h"
#include "platform/ini_document.h"
#include "platform/paths.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <vector>

namespace orv {

namespace {

const QString kFiles = QStringLiteral("Fichiers");
const QString kOpenTitle = QStringLiteral("Choisissez un fichier profil (.dat, .dxf, .plt)");
const QString kOpenFilterRoot = QStringLiteral(
    "DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Plotter (*.plt)|*.plt|Dessin SVG (*.svg)|*.svg|Projet Orvalis "
    "(*.orv)|*.orv|Projet Sorvane (*.sv)|*.sv|Tous les fichiers connus|*.dxf;*.dat;*.plt;*.svg;*.orv;*.sv");
const QString kOpenFilterTip =
    QStringLiteral("DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Plotter (*.plt)|*.plt|Dessin SVG (*.svg)|*.svg|Tous "
                   "les fichiers saumon|*.dxf;*.dat;*.plt;*.svg");

// Extensions compare exactly: a mixed-case one matches none of the forms.
bool extensionIs(const QString &ext, std::initializer_list<const char *> forms)
{
    return std::any_of(forms.begin(), forms.end(), [&ext](const char *f) { return ext == QLatin1String(f); });
}

// The first and last records name different contours.
bool severalContours(const std::vector<ContourPoint> &records)
{
    const ContourPoint &a = records.front(), &b = records.back();
    return (a.Tag[0] & 0xFF) != (b.Tag[0] & 0xFF) || (a.Tag[1] & 0xFF) != (b.Tag[1] & 0xFF);
}

// The starting spacing from the root chord.
float spacingForChord(float chord)
{
    if (chord < 6)
        return 5;
    if (chord < 11)
        return 10;
    if (chord < 51)
        return 50;
    return 100;
}

} // namespace

FilesPart::FilesPart(Editor &ed, FormOrvalis &window) : Part(ed), m_window(window)
{
    MainWindowUi &u = ui();
    for (int i = 0; i < 2; ++i) {
        QObject::connect(u.cmdOuvrirProfil[size_t(i)], &QToolButton::clicked, this,
                         [this, i] { cmdOuvrirProfil_Click(i); });
        QObject::connect(u.cmdFermerProfil[size_t(i)], &QToolButton::clicked, this,
                         [this, i] { cmdFermerProfil_Click(i); });
    }
    for (int i = 0; i < 4; ++i)
        QObject::connect(u.cmdSauveProfil[size_t(i)], &QToolButton::clicked, this,
                         [this, i] { cmdSauveProfil_Click(i); });
}

// ---- dialogs and folders

void FilesPart::rememberFolder(const QString &key, QString &folder, const QString &path)
{
    folder = folderOf(path);
    IniFile ini(m_window.settingsPath());
    if (ini.document().find(kFiles, key) == folder)
        return; // the settings file is only rewritten for a new folder
    writeSetting(ini.document(), kFiles, key, folder);
    ini.save();
}

std::optional<FileChoice> FilesPart::openDialog(const FileDialogRequest &request)
{
    std::optional<FileChoice> choice = m_ed.platform.openFileDialog(request);
    if (choice)
        rememberFolder(QStringLiteral("Ouverture"), st().DossierOuverture, choice->path);
    return choice;
}

std::optional<FileChoice> FilesPart::saveDialog(FileDialogRequest request)
{
    {
        const IniFile ini(m_window.settingsPath());
        st().DossierSauvegarde = readSetting(ini.document(), kFiles, QStringLiteral("Sauvegarde"),
                                             m_window.environment().programFolder);
    }
    request.folder = st().DossierSauvegarde;
    request.overwritePrompt = true;
    std::optional<FileChoice> choice = m_ed.platform.saveFileDialog(request);
    if (choice)
        rememberFolder(QStringLiteral("Sauvegarde"), st().DossierSauvegarde, choice->path);
    return choice;
}

// ---- open

void FilesPart::cmdOuvrirProfil_Click(int index)
{
    if (index != Emplanture && index != Saumon)
        return;
    const Side side = Side(index);
    if (side == Saumon && !st().ProjetCharge) {
        m_ed.show(critical("Il faut d'abord charger un profil d'emplanture.", "Action impossible"));
        return;
    }
    FileDialogRequest request;
    request.title = kOpenTitle;
    request.filter = side == Emplanture ? kOpenFilterRoot : kOpenFilterTip;
    request.filterIndex = side == Emplanture ? 7 : 5;
    request.folder = st().DossierOuverture;
    request.overwritePrompt = false;
    const std::optional<FileChoice> choice = openDialog(request);
    if (choice)
        openChosen(side, choice->path);
}

void FilesPart::openRootFile(const QString &path)
{
    const FileProblem problem = fileProblem(path);
    if (problem != FileProblem::None) {
        m_ed.show(commandLineFileRefused(path, problem));
        return;
    }
    openChosen(Emplanture, path);
}

void FilesPart::openChosen(Side side, const QString &path)
{
    const QString ext = extensionOf(path);
    if (side == Emplanture && extensionIs(ext, {"ORV", "orv"})) {
        openProject(path);
        return;
    }
    if (side == Emplanture && extensionIs(ext, {"SV", "sv"})) {
        m_window.exchangePart().openSorvaneProject(path);
        return;
    }
    openProfile(side, path);
}

ContourRead readContourFile(const VextraLibrary &library, const QString &path)
{
    ContourRead r;
    ContourArray buffer(library, 1);
    r.code = library.lireFichier(path, r.title, buffer, r.bounds);
    if (r.code > 0 && buffer.count() > 0) {
        const auto got = buffer.elements().first(size_t(std::min(r.code, buffer.count())));
        r.records.assign(got.begin(), got.end());
    }
    return r;
}

void FilesPart::openProfile(Side side, const QString &path)
{
    EditorState &s = st();
    ContourRead read = readContourFile(m_ed.library, path);
    // Nothing of the document changes before a read has given points.
    if (read.records.empty()) {
        m_ed.show(readFailure(path, read.code));
        return;
    }
    std::vector<ContourPoint> records = std::move(read.records);
    Bounds bounds = read.bounds;
    const QString &title = read.title;

    // Several contours are assembled into one in the sequence window; left
    // without validating, the open ends with the document as it was.
    if (severalContours(records)) {
        if (!m_ed.assembleSequences) {
            m_ed.show(assemblyNotAvailable(path));
            return;
        }
        if (!m_ed.assembleSequences(side, records, bounds))
            return;
    }
    s.PointsLus = std::move(records);
    s.lusBounds = bounds;

    const QString ext = extensionOf(path);
    int32_t n = int32_t(s.PointsLus.size());
    if (extensionIs(ext, {"dxf", "DXF", "plt", "PLT", "svg", "SVG"})) {
        s.ToleranceLecture =
            std::max(std::abs(bounds.xMax - bounds.xMin), std::abs(bounds.yMax - bounds.yMin)) /
            s.DiviseurTolerance;
        n = thinList(s.PointsLus, s.ToleranceLecture);
    }

    std::vector<PointProfil> points(static_cast<size_t>(n));
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = {s.PointsLus[i].X, s.PointsLus[i].Y, 0};
    const ProfilePoints loaded(points);
    s.doc.PointsS = loaded;
    if (side == Emplanture)
        s.doc.PointsE = loaded;
    computeCharacteristics(s.doc);

    const std::vector<Side> sides =
        side == Emplanture ? std::vector<Side>{Emplanture, Saumon} : std::vector<Side>{Saumon};
    if (extensionIs(ext, {"dat", "DAT"})) {
        for (Side t : sides) {
            const float chord = s.doc.C.side(t).Corde;
            // A profile without width (one point, a vertical line) keeps its size.
            if (chord > 0) {
                s.doc.points(t).forEachEdit([chord](int32_t, PointProfil &p) {
                    p.X = p.X / chord * 100.0f;
                    p.Y = p.Y / chord * 100.0f;
                });
            }
            m_ed.setBox(ui().side[size_t(t)].txtCorde, chord > 0 ? 100.0 : double(chord), kFmtBox);
        }
        const QString line = QStringLiteral("Commentaire profil: ") + title + QStringLiteral("\r\n");
        CommentBox *box = ui().txtCommentaire;
        if (side == Emplanture) {
            box->clear();
            box->setTextCrLf(line);
            ui().chkVoirCommentaires->setChecked(true);
        } else {
            box->setTextCrLf(box->textCrLf() + line);
        }
    } else {
        for (Side t : sides)
            m_ed.setBox(ui().side[size_t(t)].txtCorde, s.doc.C.side(t).Corde, kFmtBox);
    }

    const QString name = fileNameOf(path);
    if (side == Emplanture) {
        m_ed.enableEditing(true);
        computeCharacteristics(s.doc);
        s.doc.Ecartement = spacingForChord(s.doc.C.E.Corde);
        m_ed.setBox(ui().txtEcartementZ, s.doc.Ecartement, kFmtBox);
        for (Side t : kSides) {
            s.fileNames[size_t(t)] = name;
            ui().side[size_t(t)].lblNomFichier->setText(name);
        }
        m_ed.setBox(ui().lblFleche, s.doc.C.E.XMax - s.doc.C.S.XMax, kFmtBox);
        m_ed.setBox(ui().lblDiedre, s.doc.C.E.YMax - s.doc.C.S.YMax, kFmtBox);
        s.ProjetCharge = true;
        m_ed.setCaption(QStringLiteral("Profils Orvalis - Nouveau projet"));
    } else {
        s.fileNames[Saumon] = name;
        ui().side[Saumon].lblNomFichier->setText(name);
    }
    s.storedFileNames = s.fileNames;
    m_ed.finish({.reapplyLayout = true, .cursors = true, .view = Finish::View::Rebuild});
}

// ---- close

void FilesPart::cmdFermerProfil_Click(int index)
{
    if (index != Emplanture && index != Saumon)
        return;
    const Side side = Side(index);
    ProfilePoints &points = st().doc.points(side);
    const int32_t n = points.count();
    if (n == 0)
        return; // nothing loaded yet: the buttons are disabled then
    const PointProfil first = points[1];
    const PointProfil &last = points[n];
    if (first.X == last.X && first.Y == last.Y) {
        m_ed.show(information(side == Emplanture ? "Le profil d'emplanture est déjà fermé"
                                                 : "Le profil de saumon est déjà fermé",
                              "Opération impossible"));
    } else {
        m_ed.snapshot();
        points.append(first);
    }
    m_ed.finish({.cursors = true, .view = Finish::View::KeepZoom});
}

} // namespace orv
