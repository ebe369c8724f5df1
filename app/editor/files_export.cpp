// The exports of cmdSauveProfil: the root or tip profile, the project or the
// 3-D DXF of the panel, and the intermediate profile with its report.
#include "editor/files_part.h"

#include "core/characteristics.h"
#include "core/numeric_entry.h"
#include "editor/files_texts.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

#include <QLabel>
#include <QLocale>
#include <QSaveFile>

namespace orv {

namespace {

const QString kSaveFilterProfile =
    QStringLiteral("DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Tous les fichiers (*.*)|*.*");
const QString kSaveFilterProject =
    QStringLiteral("Projet Orvalis(*.orv)|*.orv|DAO 3D (*.dxf)|*.dxf|Tous les fichiers (*.*)|*.*");
const QString kIntermediateTitle =
    QStringLiteral("ProfilIntermédiare - Caractéristiques dans le fichier datas.txt créé en même temps");

QString three(float v)
{
    return QString::fromStdString(formatForBox(v, kFmtFile3));
}

} // namespace

ContourArray contourArray(const VextraLibrary &library, const ProfilePoints &points, int32_t count)
{
    ContourArray array(library, count);
    if (!array.isValid())
        return array;
    ContourPoint *out = array.data();
    points.forEachRun([&](int32_t first, std::span<const PointProfil> run) {
        for (size_t k = 0; k < run.size() && first + int32_t(k) <= count; ++k) {
            out[first - 1 + int32_t(k)].X = run[k].X;
            out[first - 1 + int32_t(k)].Y = run[k].Y;
        }
    });
    return array;
}

void FilesPart::cmdSauveProfil_Click(int index)
{
    switch (index) {
    case 0:
    case 1:
        exportSide(Side(index));
        break;
    case 2:
        saveProjectOr3d();
        break;
    case 3:
        exportIntermediate();
        break;
    default:
        break;
    }
}

bool FilesPart::exported(const QString &path, int32_t result)
{
    if (result >= 0)
        return true;
    m_ed.show(writeFailure(path, result));
    return false;
}

void FilesPart::exportSide(Side side)
{
    const QString shown = ui().side[size_t(side)].lblNomFichier->text();
    FileDialogRequest request;
    request.title = side == Emplanture
                        ? QStringLiteral("Enregistrer le profil emplanture en .dxf ou en .dat...")
                        : QStringLiteral("Enregistrer le profil saumon en .dxf ou en .dat...");
    request.filter = kSaveFilterProfile;
    request.fileName = withoutExtension(shown);
    request.filterIndex = extensionOf(shown).toLower() == QLatin1String("dat") ? 2 : 1;
    const std::optional<FileChoice> choice = saveDialog(request);
    if (!choice)
        return;
    Profils &doc = st().doc;
    const ProfilePoints &points = doc.points(side);
    ContourArray array = contourArray(m_ed.library, points, points.count());
    if (!array.isValid()) {
        exported(choice->path, VX_ERR_MEMORY);
        return;
    }
    computeCharacteristics(doc);
    const Caracteristiques &c = doc.C;
    const QString title = side == Emplanture
                              ? QStringLiteral("Corde: ") + three(c.E.Corde)
                              : QStringLiteral("Corde: ") + three(c.S.Corde) + QStringLiteral(" Flèche: ") +
                                    three(c.FlecheBA) + QStringLiteral(" Cale dièdre: ") + three(c.DiedreMm);
    exported(choice->path, m_ed.library.ecrireFichier(array, choice->path, title));
}

void FilesPart::saveProjectOr3d()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Enregistrer le projet ou l'image 3D...");
    request.filter = kSaveFilterProject;
    request.filterIndex = 1;
    const std::optional<FileChoice> choice = saveDialog(request);
    if (!choice)
        return;
    if (choice->filterIndex == 1)
        saveProject(choice->path);
    else if (choice->filterIndex == 2)
        export3d(choice->path);
}

void FilesPart::export3d(const QString &path)
{
    Profils &doc = st().doc;
    if (doc.NbPointsE() != doc.NbPointsS()) {
        m_ed.show(
            critical("Pour le .dxf 3D, l'emplanture et le saumon doivent avoir le même nombre de points.",
                     "Sauvegarde en .dxf 3D impossible"));
        return;
    }
    ContourArray root = contourArray(m_ed.library, doc.PointsE, doc.NbPointsE());
    ContourArray tip = contourArray(m_ed.library, doc.PointsS, doc.NbPointsS());
    if (!root.isValid() || !tip.isValid()) {
        exported(path, VX_ERR_MEMORY);
        return;
    }
    computeCharacteristics(doc);
    exported(path, m_ed.library.ecrireFichier3D(root, tip, path, doc.Ecartement));
}

void FilesPart::exportIntermediate()
{
    const Profils &doc = st().doc;
    const ProfilePoints &intermediate = st().intermediate;
    const int32_t n = doc.NbPointsE();
    // The profile pairs root and tip points by number: a shorter tip or a
    // profile built before the counts changed would be read past its end.
    if (n == 0 || doc.NbPointsS() < n || intermediate.count() < n) {
        m_ed.show(intermediateRefused(n, doc.NbPointsS(), intermediate.count()));
        return;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Enregistrer le profil intermédiaire en .dxf ou en .dat...");
    request.filter = kSaveFilterProfile;
    request.filterIndex = 1;
    const std::optional<FileChoice> choice = saveDialog(request);
    if (!choice)
        return;
    const QString &path = choice->path;
    ContourArray array = contourArray(m_ed.library, intermediate, n);
    if (!exported(path, array.isValid() ? m_ed.library.ecrireFichier(array, path, kIntermediateTitle)
                                        : VX_ERR_MEMORY))
        return;

    Profils first;
    first.PointsE = doc.PointsE;
    first.PointsS = intermediate;
    first.Ecartement = st().EcartementIntermediaire;
    computeCharacteristics(first);
    Profils second;
    second.PointsE = intermediate;
    second.PointsS = doc.PointsS;
    second.Ecartement = doc.Ecartement - st().EcartementIntermediaire;
    computeCharacteristics(second);

    IntermediateComparison c;
    c.chosenPath = path;
    c.rootFileName = ui().side[0].lblNomFichier->text();
    c.tipFileName = ui().side[1].lblNomFichier->text();
    c.intermediateSpacing = st().EcartementIntermediaire;
    c.spacing = doc.Ecartement;
    c.rootToIntermediate = first.C;
    c.intermediateToTip = second.C;
    const QString reportPath = path + QStringLiteral("_datas.txt");
    QSaveFile report(reportPath);
    const QByteArray bytes = encodeText(intermediateReport(c, QLocale::system().decimalPoint()));
    if (!report.open(QIODevice::WriteOnly) || report.write(bytes) != bytes.size() || !report.commit())
        m_ed.show(reportNotWritten(reportPath));
}

} // namespace orv
