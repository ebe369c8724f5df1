// French messages of the file commands and the intermediate profile's report.
#include "editor/files_texts.h"

#include "core/numeric_entry.h"
#include "platform/vextra_binding.h"

#include <vextra.h>

namespace orv {

namespace {

const std::string kReadTitle = "Lecture impossible";
const std::string kExportTitle = "Exportation impossible";
const std::string kProjectTitle = "Ouverture du projet impossible";

std::string text(const QString &s)
{
    return s.toStdString();
}

} // namespace

Notice readFailure(const QString &path, int32_t code)
{
    const QString f = quoted(path);
    QString t;
    switch (code) {
    case 0:
    case VX_ERR_NO_POINT:
        t = QStringLiteral("Le fichier %1 ne contient aucun point utilisable.").arg(f);
        break;
    case VX_ERR_EXTENSION:
        t = QStringLiteral("Le fichier %1 n'est pas d'un format connu (.dat, .dxf, .plt, .prn, .hpgl, .eps, "
                           ".drd, .drl, .svg).")
                .arg(f);
        break;
    case VX_ERR_OPEN:
        t = QStringLiteral("Le fichier %1 ne peut pas être ouvert.").arg(f);
        break;
    case VX_ERR_SIZE:
        t = QStringLiteral("La taille du fichier %1 ne peut pas être lue.").arg(f);
        break;
    case VX_ERR_READ:
        t = QStringLiteral("Le fichier %1 ne peut pas être lu, ou ce n'est pas un fichier texte.").arg(f);
        break;
    case VX_ERR_ARRAY_FREE:
    case VX_ERR_ARRAY_ALLOC:
    case VX_ERR_MEMORY:
        t = QStringLiteral("La mémoire manque pour lire le fichier %1.").arg(f);
        break;
    case VX_ERR_ARRAY_LOCK:
        t = QStringLiteral("Le fichier %1 n'a pas pu être lu : la liste de points est inutilisable.").arg(f);
        break;
    case kVextraUnavailable:
        t = QStringLiteral("La bibliothèque Vextra n'est pas disponible : le fichier %1 ne peut pas être lu.")
                .arg(f);
        break;
    default:
        t = QStringLiteral("Le fichier %1 n'a pas pu être lu (code %2).").arg(f).arg(code);
        break;
    }
    return critical(text(t), kReadTitle);
}

Notice writeFailure(const QString &path, int32_t code)
{
    const QString f = quoted(path);
    QString t;
    switch (code) {
    case VX_ERR_EXTENSION:
        t = QStringLiteral(
                "Le fichier %1 n'a pas été écrit : choisissez un nom qui se termine par .dat ou .dxf.")
                .arg(f);
        break;
    case VX_ERR_CREATE:
        t = QStringLiteral("Le fichier %1 n'a pas pu être créé ou écrit.").arg(f);
        break;
    case VX_ERR_COUNT_MISMATCH:
        t = QStringLiteral(
                "Le fichier %1 n'a pas été écrit : l'emplanture et le saumon n'ont pas le même nombre de "
                "points.")
                .arg(f);
        break;
    case VX_ERR_ARRAY_LOCK:
        t = QStringLiteral("Le fichier %1 n'a pas été écrit : la liste de points est inutilisable.").arg(f);
        break;
    case kVextraUnavailable:
        t = QStringLiteral("La bibliothèque Vextra n'est pas disponible : le fichier %1 n'a pas été écrit.")
                .arg(f);
        break;
    default:
        t = QStringLiteral("Le fichier %1 n'a pas pu être écrit (code %2).").arg(f).arg(code);
        break;
    }
    return critical(text(t), kExportTitle);
}

Notice projectMissing(const QString &path)
{
    return critical(text(QStringLiteral("Le projet %1 est introuvable.").arg(quoted(path))), kProjectTitle);
}

Notice projectUnreadable(const QString &path)
{
    return critical(text(QStringLiteral("Le projet %1 ne peut pas être lu.").arg(quoted(path))),
                    kProjectTitle);
}

Notice commandLineFileRefused(const QString &path, FileProblem problem)
{
    const QString f = quoted(path);
    switch (problem) {
    case FileProblem::Missing:
        return critical(text(QStringLiteral("Le fichier %1 est introuvable.").arg(f)), kReadTitle);
    case FileProblem::Folder:
        return critical(text(QStringLiteral("%1 est un dossier, pas un fichier.").arg(f)), kReadTitle);
    case FileProblem::Unreadable:
    case FileProblem::None:
        break;
    }
    return critical(text(QStringLiteral("Le fichier %1 ne peut pas être lu.").arg(f)),
                    kReadTitle);
}

Notice projectRefused(const QString &path, ProjectRefusal refusal)
{
    const QString f = quoted(path);
    QString t;
    switch (refusal) {
    case ProjectRefusal::NotAProject:
        t = QStringLiteral("Le fichier %1 n'est pas un projet Orvalis.").arg(f);
        break;
    case ProjectRefusal::NoRootPoint:
        t = QStringLiteral("Le projet %1 ne contient aucun point d'emplanture utilisable.").arg(f);
        break;
    case ProjectRefusal::NoTipPoint:
    case ProjectRefusal::None:
        t = QStringLiteral("Le projet %1 ne contient aucun point de saumon utilisable.").arg(f);
        break;
    }
    return critical(text(t + QStringLiteral("\r\nLe projet en cours est conservé.")), kProjectTitle);
}

Notice projectDamaged(const QString &path, const ProjectDamage &damage)
{
    QStringList lines{QStringLiteral("Le projet %1 est endommagé : ce qui était illisible a été ignoré.")
                          .arg(quoted(path))};
    lines << damage.describe();
    return information(text(lines.join(QStringLiteral("\r\n"))), "Projet endommagé");
}

Notice projectNotSaved(const QString &path)
{
    return critical(text(QStringLiteral("Le projet n'a pas pu être enregistré dans %1.\r\n"
                                        "Le fichier existant, s'il y en a un, n'a pas été modifié.")
                             .arg(quoted(path))),
                    "Enregistrement impossible");
}

Notice assemblyNotAvailable(const QString &path)
{
    return critical(text(QStringLiteral("Le dessin %1 contient plusieurs contours et la fenêtre d'assemblage des "
                                        "séquences n'est pas disponible : il n'a pas été lu.")
                             .arg(quoted(path))),
                    kReadTitle);
}

Notice intermediateRefused(int32_t rootCount, int32_t tipCount, int32_t intermediateCount)
{
    QString t;
    if (tipCount < rootCount)
        t = QStringLiteral(
                "Le saumon a moins de points que l'emplanture (%1 contre %2) : le profil intermédiaire ne "
                "peut pas être exporté.")
                .arg(tipCount)
                .arg(rootCount);
    else
        t = QStringLiteral(
                "Le profil intermédiaire (%1 points) ne correspond plus à l'emplanture (%2 points) : "
                "entrez à nouveau son écartement.")
                .arg(intermediateCount)
                .arg(rootCount);
    return critical(text(t), kExportTitle);
}

Notice reportNotWritten(const QString &path)
{
    return critical(
        text(QStringLiteral("Le fichier des caractéristiques %1 n'a pas pu être écrit.").arg(quoted(path))),
        kExportTitle);
}

QString intermediateReport(const IntermediateComparison &c, const QString &decimalSeparator)
{
    const std::string sep = decimalSeparator.toStdString();
    auto num = [&sep](float v) { return QString::fromStdString(shortestFloatText(v, sep)); };
    auto gap = [](float v) { return QString::fromStdString(formatForBox(v, kFmtBoxInit)); };
    const Caracteristiques &a = c.rootToIntermediate;
    const Caracteristiques &b = c.intermediateToTip;
    const QString rule = QStringLiteral("-----------------------------------------");
    const QStringList lines{
        QStringLiteral("Caractéristiques du profil intermédiaire ") + c.chosenPath,
        rule,
        QStringLiteral("Profil initial à l'emplanture : ") + c.rootFileName,
        QStringLiteral("Corde emplanture (mm) : ") + num(a.E.Corde),
        QStringLiteral("Ecartement entre l'emplanture et le profil intermédiaire (mm) :") +
            gap(c.intermediateSpacing),
        QStringLiteral("Corde profil intermédiaire (mm) : ") + num(a.S.Corde),
        QStringLiteral("Flèche BA du profil intermédiaire par rapport à l'emplanture (mm) : ") +
            num(a.FlecheBA),
        QStringLiteral("Flèche BF du profil intermédiaire par rapport à l'emplanture (mm) : ") +
            num(a.FlecheBF),
        QStringLiteral("Dièdre intrados du profil intermédiaire par rapport à l'emplanture (mm) : ") +
            num(a.DiedreMm),
        rule,
        QStringLiteral("Profil initial au saumon : ") + c.tipFileName,
        QStringLiteral("Corde saumon (mm) : ") + num(b.S.Corde),
        QStringLiteral("Ecartement entre le profil intermédiaire et le saumon (mm) :") +
            gap(c.spacing - c.intermediateSpacing),
        QStringLiteral("Corde profil intermédiaire (mm) : ") + num(b.E.Corde),
        QStringLiteral("Flèche BA du profil saumon par rapport au profil intermédiaire (mm) : ") +
            num(b.FlecheBA),
        QStringLiteral("Flèche BF du profil saumon par rapport au profil intermédiaire (mm) : ") +
            num(b.FlecheBF),
        QStringLiteral("Dièdre intrados du profil saumon par rapport au profil intermédiaire (mm) : ") +
            num(b.DiedreMm),
    };
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace orv
