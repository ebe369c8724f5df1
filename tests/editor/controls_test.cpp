// Every control that the handlers and the tests address exists under its
// name, with its French caption or tool tip.
#include "editor_test_support.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

using namespace orvtest;

namespace {

class Controls : public WindowTest {
protected:
    QWidget *find(const QString &name) { return window().findChild<QWidget *>(name); }
    QString caption(const QString &name)
    {
        QWidget *w = find(name);
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            return b->text();
        if (auto *g = qobject_cast<QGroupBox *>(w))
            return g->title();
        if (auto *l = qobject_cast<QLabel *>(w))
            return l->text();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            return e->text();
        return {};
    }
};

QStringList indexed(const QString &base, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QStringLiteral("%1_%2").arg(base).arg(i);
    return out;
}

} // namespace

TEST_F(Controls, EveryNamedControlExists)
{
    start();
    QStringList names = {
        QStringLiteral("cmdInverserSelection"), QStringLiteral("txtTourner"), QStringLiteral("lblDegres"),
        QStringLiteral("cmdSupprimer"), QStringLiteral("cmdInsererPoint"), QStringLiteral("cmdIntersection"),
        QStringLiteral("cmdRenumeroter"), QStringLiteral("cmdLisser"), QStringLiteral("txtDecaler"),
        QStringLiteral("cmdSynchroOptimale"), QStringLiteral("cmdNettoyage"), QStringLiteral("cmdCopier"),
        QStringLiteral("cmdCouper"), QStringLiteral("cmdColler"), QStringLiteral("txtEcartementZ"),
        QStringLiteral("txtFleche"), QStringLiteral("lblFleche"), QStringLiteral("txtDiedreMm"),
        QStringLiteral("txtDiedreDeg"), QStringLiteral("lblMm"), QStringLiteral("lblDiedre"),
        QStringLiteral("chkAligner"), QStringLiteral("txtEcartementAiles"), QStringLiteral("chkProfilIntermediaire"),
        QStringLiteral("txtEcartementIntermediaire"), QStringLiteral("pctProfils"), QStringLiteral("hscOmega"),
        QStringLiteral("hscAlpha"), QStringLiteral("hscZoom"), QStringLiteral("lblZoom"), QStringLiteral("cmdZoom_2"),
        QStringLiteral("cmdRAZPerspective"), QStringLiteral("cmdRAZVueCote"), QStringLiteral("chkFil"),
        QStringLiteral("chkSurface"), QStringLiteral("chkZoomSelection"), QStringLiteral("frmVisu"),
        QStringLiteral("frmImage"), QStringLiteral("chkImageFond"), QStringLiteral("pctImageHidden"),
        QStringLiteral("cmdAide"), QStringLiteral("stbProfils"), QStringLiteral("txtCommentaire"),
        QStringLiteral("txtTitreCommentaire"), QStringLiteral("chkVoirCommentaires"),
        QStringLiteral("chkInsertionProfils"), QStringLiteral("lblInsertionProfils"), QStringLiteral("frmAligner"),
        QStringLiteral("frmDiedre"), QStringLiteral("frmAiles"), QStringLiteral("frmFleche"),
        QStringLiteral("frmEcartement"), QStringLiteral("frmEtirer"), QStringLiteral("frmTourner"),
        QStringLiteral("frmDeplacer"), QStringLiteral("frmDecaler")};
    names << indexed(QStringLiteral("cmdOuvrirProfil"), 2) << indexed(QStringLiteral("cmdFermerProfil"), 2)
          << indexed(QStringLiteral("cmdSauveProfil"), 4) << indexed(QStringLiteral("lblNomFichier"), 2)
          << indexed(QStringLiteral("txtCorde"), 2) << indexed(QStringLiteral("vscPointsE"), 2)
          << indexed(QStringLiteral("vscPointsS"), 2) << indexed(QStringLiteral("lblCoordPtE"), 10)
          << indexed(QStringLiteral("lblCoordPtS"), 10) << indexed(QStringLiteral("lblNumPtE"), 5)
          << indexed(QStringLiteral("lblNumPtS"), 5) << indexed(QStringLiteral("cmdRAZSelection"), 2)
          << indexed(QStringLiteral("cmdSelectAll"), 2) << indexed(QStringLiteral("cmdSelectionAuto"), 4)
          << indexed(QStringLiteral("cmdSelectionAngle"), 2) << indexed(QStringLiteral("chkAfficherProfil"), 2)
          << indexed(QStringLiteral("chkAfficherPoints"), 2) << indexed(QStringLiteral("optSelection"), 3)
          << indexed(QStringLiteral("cmdSymetrie"), 2) << indexed(QStringLiteral("txtEtirer"), 3)
          << indexed(QStringLiteral("txtDeplacer"), 2) << indexed(QStringLiteral("cmdUndo"), 2)
          << indexed(QStringLiteral("chkFleche"), 3) << indexed(QStringLiteral("chkDiedre"), 5)
          << indexed(QStringLiteral("cmdDupliquer"), 2);
    for (const QString &name : names)
        EXPECT_NE(find(name), nullptr) << name.toStdString();
    EXPECT_EQ(window().objectName(), QStringLiteral("formOrvalis"));
}

TEST_F(Controls, CaptionsAndToolTipsAreTheFrenchOnes)
{
    start();
    const std::vector<std::pair<QString, QString>> captions = {
        {QStringLiteral("optSelection_0"), QStringLiteral("Sélection Normale")},
        {QStringLiteral("optSelection_1"), QStringLiteral("Sélection Points Réf.")},
        {QStringLiteral("optSelection_2"), QStringLiteral("Points de Synchro")},
        {QStringLiteral("cmdRAZSelection_0"), QStringLiteral("Tout déselectionner")},
        {QStringLiteral("cmdSelectAll_1"), QStringLiteral("Tout sélectionner")},
        {QStringLiteral("cmdSelectionAuto_0"), QStringLiteral("Sélection Xmin Xmax")},
        {QStringLiteral("cmdSelectionAuto_3"), QStringLiteral("Sélection Ymin Ymax")},
        {QStringLiteral("cmdSelectionAngle_1"), QStringLiteral("Sélection >30°")},
        {QStringLiteral("cmdInverserSelection"), QStringLiteral("Inverser le sens")},
        {QStringLiteral("cmdIntersection"), QStringLiteral("Créer intersection")},
        {QStringLiteral("cmdRenumeroter"), QStringLiteral("Renuméroter")},
        {QStringLiteral("cmdLisser"), QStringLiteral("Lisser (spline)")},
        {QStringLiteral("cmdSynchroOptimale"), QStringLiteral("Synchronisation optimale")},
        {QStringLiteral("cmdNettoyage"), QStringLiteral("Nettoyer")},
        {QStringLiteral("cmdUndo_0"), QStringLiteral("Undo")},
        {QStringLiteral("cmdUndo_1"), QStringLiteral("Redo")},
        {QStringLiteral("chkFleche_0"), QStringLiteral("Aligner les BA")},
        {QStringLiteral("chkFleche_1"), QStringLiteral("Aligner les milieux")},
        {QStringLiteral("chkFleche_2"), QStringLiteral("Aligner les BF")},
        {QStringLiteral("chkDiedre_0"), QStringLiteral("Aligner les extrados")},
        {QStringLiteral("chkDiedre_1"), QStringLiteral("Aligner Bords d'Attaques")},
        {QStringLiteral("chkDiedre_2"), QStringLiteral("Aligner les milieux")},
        {QStringLiteral("chkDiedre_3"), QStringLiteral("Aligner les Bords de Fuite")},
        {QStringLiteral("chkDiedre_4"), QStringLiteral("Aligner les intrados")},
        {QStringLiteral("lblZoom"), QStringLiteral("- Zoom +")},
        {QStringLiteral("chkVoirCommentaires"), QStringLiteral("Bla - bla")},
        {QStringLiteral("txtTitreCommentaire"), QStringLiteral("Commentaires - Explications (256 caractères maxi)")},
        {QStringLiteral("frmEmplanture"), QStringLiteral("Emplanture")},
        {QStringLiteral("frmSaumon"), QStringLiteral("Saumon")},
        {QStringLiteral("frmEcartement"), QStringLiteral("Ecartement")},
        {QStringLiteral("frmFleche"), QStringLiteral("Flèche")},
        {QStringLiteral("frmDiedre"), QStringLiteral("Dièdre")},
        {QStringLiteral("frmAligner"), QStringLiteral("Aligner")},
        {QStringLiteral("frmAiles"), QStringLiteral("Ailes")},
    };
    for (const auto &[name, text] : captions)
        EXPECT_EQ(caption(name), text) << name.toStdString();

    const std::vector<std::pair<QString, QString>> tips = {
        {QStringLiteral("cmdSymetrie_0"), QStringLiteral("Miroir vertical")},
        {QStringLiteral("cmdSymetrie_1"), QStringLiteral("Miroir horizontal")},
        {QStringLiteral("txtEtirer_0"), QStringLiteral("Etirer suivant X")},
        {QStringLiteral("txtEtirer_1"), QStringLiteral("Etirer suivant Y")},
        {QStringLiteral("txtEtirer_2"), QStringLiteral("Etirer proportionnellement")},
        {QStringLiteral("txtTourner"), QStringLiteral("Rotation de la sélection")},
        {QStringLiteral("txtDeplacer_0"), QStringLiteral("Translation suivant X")},
        {QStringLiteral("txtDeplacer_1"), QStringLiteral("Translation suivant Y")},
        {QStringLiteral("txtCorde_0"), QStringLiteral("Corde du profil")},
        {QStringLiteral("txtFleche"), QStringLiteral("Flèche BA")},
        {QStringLiteral("lblFleche"), QStringLiteral("Flèche BF")},
        {QStringLiteral("frmAiles"), QStringLiteral("Deux ailes dans le bloc")},
        {QStringLiteral("chkVoirCommentaires"), QStringLiteral("Commentaires")},
        {QStringLiteral("txtTitreCommentaire"), QStringLiteral("Cliquer pour modifier")},
        {QStringLiteral("cmdIntersection"), QStringLiteral("Créer intersection")},
    };
    for (const auto &[name, tip] : tips)
        EXPECT_EQ(find(name)->toolTip(), tip) << name.toStdString();
}

TEST_F(Controls, NothingIsCutOffAtTheDefaultSize)
{
    start();
    // The default size is the outer size of the window; leave room for a frame.
    const QSize min = window().minimumSizeHint();
    const double t = window().twipsPerPixel();
    EXPECT_LE(min.width(), qRound(15525 / t) - 16);
    EXPECT_LE(min.height(), qRound(10965 / t) - 36);
}
