#include "main_window_ui.h"

#include "icons.h"
#include "profile_canvas.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace orv {

namespace {

QString indexed(const char *name, int index) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index); }

template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QToolButton *toolButton(const QString &name, const QString &text, const QString &tip, const QIcon &icon)
{
    auto *b = named(new QToolButton, name);
    b->setText(text);
    b->setToolTip(tip);
    b->setIcon(icon);
    b->setAutoRaise(true);
    b->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    return b;
}

QPushButton *pushButton(const QString &name, const QString &text, const QString &tip = {})
{
    auto *b = named(new QPushButton(text), name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

NumericBox *numberBox(const QString &name, KeyFilter filter, const QString &tip = {}, int width = 58)
{
    auto *b = named(new NumericBox(filter), name);
    b->setToolTip(tip);
    b->setFixedWidth(width);
    b->setAlignment(Qt::AlignRight);
    return b;
}

// A small picture with a tool tip, standing for the box beside it.
QLabel *iconLabel(const QIcon &icon, const QString &tip)
{
    auto *l = new QLabel;
    l->setPixmap(icon.pixmap(18, 18));
    l->setToolTip(tip);
    return l;
}

QLabel *unitLabel(const QString &name, const QString &text)
{
    return named(new QLabel(text), name);
}

QGroupBox *frame(const QString &name, const QString &title)
{
    auto *g = named(new QGroupBox(title), name);
    return g;
}

void compact(QLayout *l)
{
    l->setContentsMargins(4, 2, 4, 2);
    l->setSpacing(3);
}

QWidget *sidePanel(MainWindowUi &ui, int s)
{
    SidePanel &p = ui.side[static_cast<size_t>(s)];
    const bool root = s == 0;
    const char letter = root ? 'E' : 'S';
    p.frame = frame(root ? QStringLiteral("frmEmplanture") : QStringLiteral("frmSaumon"),
                    root ? QStringLiteral("Emplanture") : QStringLiteral("Saumon"));
    auto *v = new QVBoxLayout(p.frame);
    compact(v);

    auto *chordRow = new QHBoxLayout;
    chordRow->addWidget(iconLabel(Icons::chord(), QStringLiteral("Corde du profil")));
    p.txtCorde = numberBox(indexed("txtCorde", s), KeyFilter::Unsigned, QStringLiteral("Corde du profil"), 70);
    chordRow->addWidget(p.txtCorde);
    chordRow->addWidget(unitLabel(QStringLiteral("lblMm_%1").arg(s), QStringLiteral("mm")));
    p.lblNomFichier = named(new QLabel, indexed("lblNomFichier", s));
    p.lblNomFichier->setToolTip(QStringLiteral("Fichier du profil"));
    p.lblNomFichier->setTextInteractionFlags(Qt::TextSelectableByMouse);
    p.lblNomFichier->setMinimumWidth(40);
    p.lblNomFichier->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    chordRow->addWidget(p.lblNomFichier, 1);
    v->addLayout(chordRow);
    ui.chkAfficherProfil[static_cast<size_t>(s)] = named(new QCheckBox(QStringLiteral("Profil")), indexed("chkAfficherProfil", s));
    ui.chkAfficherProfil[static_cast<size_t>(s)]->setToolTip(QStringLiteral("Afficher le profil"));
    ui.chkAfficherPoints[static_cast<size_t>(s)] = named(new QCheckBox(QStringLiteral("Points")), indexed("chkAfficherPoints", s));
    ui.chkAfficherPoints[static_cast<size_t>(s)]->setToolTip(QStringLiteral("Afficher les points"));

    // The five-line point list with the two point cursors beside it.
    auto *listRow = new QHBoxLayout;
    auto *grid = new QGridLayout;
    grid->setSpacing(1);
    for (int line = 0; line < 5; ++line) {
        auto make = [&](const char *base, int index, int width) {
            auto *l = named(new ClickableLabel, QStringLiteral("%1%2_%3").arg(QLatin1String(base)).arg(letter).arg(index));
            l->setAutoFillBackground(true);
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            l->setMinimumWidth(width);
            l->setFrameShape(QFrame::Panel);
            l->setFrameShadow(QFrame::Sunken);
            l->setCursor(Qt::PointingHandCursor);
            return l;
        };
        p.lblNumPt[static_cast<size_t>(line)] = make("lblNumPt", line, 40);
        p.lblCoordPt[static_cast<size_t>(line)] = make("lblCoordPt", line, 62);
        p.lblCoordPt[static_cast<size_t>(line + 5)] = make("lblCoordPt", line + 5, 62);
        grid->addWidget(p.lblNumPt[static_cast<size_t>(line)], line, 0);
        grid->addWidget(p.lblCoordPt[static_cast<size_t>(line)], line, 1);
        grid->addWidget(p.lblCoordPt[static_cast<size_t>(line + 5)], line, 2);
    }
    listRow->addLayout(grid);
    const QString cursorName = root ? QStringLiteral("vscPointsE") : QStringLiteral("vscPointsS");
    p.vscThousands = named(new QScrollBar(Qt::Vertical), cursorName + QStringLiteral("_1"));
    p.vscThousands->setToolTip(QStringLiteral("Milliers de points"));
    p.vscUnits = named(new QScrollBar(Qt::Vertical), cursorName + QStringLiteral("_0"));
    p.vscUnits->setToolTip(QStringLiteral("Point courant (Ctrl : sélectionner en passant)"));
    listRow->addWidget(p.vscThousands);
    listRow->addWidget(p.vscUnits);
    v->addLayout(listRow);

    // Selection commands of this side (the corner and extreme-point arrays
    // number the tip before the root).
    auto *buttons = new QGridLayout;
    buttons->setSpacing(2);
    ui.cmdSelectAll[static_cast<size_t>(s)] = pushButton(indexed("cmdSelectAll", s), QStringLiteral("Tout sélectionner"));
    ui.cmdRAZSelection[static_cast<size_t>(s)] = pushButton(indexed("cmdRAZSelection", s), QStringLiteral("Tout déselectionner"));
    const int autoX = root ? 1 : 0, autoY = root ? 3 : 2, angle = root ? 1 : 0;
    ui.cmdSelectionAuto[static_cast<size_t>(autoX)] = pushButton(indexed("cmdSelectionAuto", autoX), QStringLiteral("Sélection Xmin Xmax"));
    ui.cmdSelectionAuto[static_cast<size_t>(autoY)] = pushButton(indexed("cmdSelectionAuto", autoY), QStringLiteral("Sélection Ymin Ymax"));
    ui.cmdSelectionAngle[static_cast<size_t>(angle)] = pushButton(indexed("cmdSelectionAngle", angle), QStringLiteral("Sélection >30°"),
                                                                  QStringLiteral("Sélectionner les angles de plus de 30°"));
    buttons->addWidget(ui.cmdSelectAll[static_cast<size_t>(s)], 0, 0);
    buttons->addWidget(ui.cmdRAZSelection[static_cast<size_t>(s)], 0, 1);
    buttons->addWidget(ui.cmdSelectionAuto[static_cast<size_t>(autoX)], 1, 0);
    buttons->addWidget(ui.cmdSelectionAuto[static_cast<size_t>(autoY)], 1, 1);
    buttons->addWidget(ui.cmdSelectionAngle[static_cast<size_t>(angle)], 2, 0);
    auto *show = new QHBoxLayout;
    show->addWidget(ui.chkAfficherProfil[static_cast<size_t>(s)]);
    show->addWidget(ui.chkAfficherPoints[static_cast<size_t>(s)]);
    buttons->addLayout(show, 2, 1);
    for (int i = 0; i < buttons->count(); ++i)
        if (auto *w = buttons->itemAt(i)->widget())
            w->setStyleSheet(QStringLiteral("padding: 1px 4px;"));
    v->addLayout(buttons);
    return p.frame;
}

QWidget *layoutColumn(MainWindowUi &ui)
{
    auto *column = new QWidget;
    auto *v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);

    ui.frmEcartement = frame(QStringLiteral("frmEcartement"), QStringLiteral("Ecartement"));
    auto *e = new QHBoxLayout(ui.frmEcartement);
    compact(e);
    ui.txtEcartementZ = numberBox(QStringLiteral("txtEcartementZ"), KeyFilter::Unsigned,
                                  QStringLiteral("Ecartement entre l'emplanture et le saumon"), 70);
    e->addWidget(ui.txtEcartementZ);
    e->addWidget(unitLabel(QStringLiteral("lblMm_2"), QStringLiteral("mm")));
    e->addStretch();
    v->addWidget(ui.frmEcartement);

    ui.frmFleche = frame(QStringLiteral("frmFleche"), QStringLiteral("Flèche"));
    auto *f = new QGridLayout(ui.frmFleche);
    compact(f);
    ui.txtFleche = numberBox(QStringLiteral("txtFleche"), KeyFilter::Signed, QStringLiteral("Flèche BA"), 70);
    ui.lblFleche = named(new QLabel, QStringLiteral("lblFleche"));
    ui.lblFleche->setToolTip(QStringLiteral("Flèche BF"));
    f->addWidget(ui.txtFleche, 0, 0);
    f->addWidget(unitLabel(QStringLiteral("lblMm_3"), QStringLiteral("mm")), 0, 1);
    f->addWidget(ui.lblFleche, 0, 2);
    const char *sweep[] = {"Aligner les BA", "Aligner les milieux", "Aligner les BF"};
    for (int i = 0; i < 3; ++i) {
        ui.chkFleche[static_cast<size_t>(i)] = named(new QCheckBox(QString::fromUtf8(sweep[i])), indexed("chkFleche", i));
        f->addWidget(ui.chkFleche[static_cast<size_t>(i)], i + 1, 0, 1, 3);
    }
    v->addWidget(ui.frmFleche);

    ui.frmDiedre = frame(QStringLiteral("frmDiedre"), QStringLiteral("Dièdre"));
    auto *d = new QGridLayout(ui.frmDiedre);
    compact(d);
    ui.txtDiedreMm = numberBox(QStringLiteral("txtDiedreMm"), KeyFilter::Signed, QStringLiteral("Dièdre en mm (intrados)"), 56);
    ui.txtDiedreDeg = numberBox(QStringLiteral("txtDiedreDeg"), KeyFilter::Signed, QStringLiteral("Dièdre en degrés"), 50);
    ui.lblDiedre = named(new QLabel, QStringLiteral("lblDiedre"));
    ui.lblDiedre->setToolTip(QStringLiteral("Ymax emplanture - Ymax saumon"));
    auto *values = new QHBoxLayout;
    values->setSpacing(2);
    values->addWidget(ui.txtDiedreMm);
    values->addWidget(unitLabel(QStringLiteral("lblMm"), QStringLiteral("mm")));
    values->addSpacing(4);
    values->addWidget(ui.txtDiedreDeg);
    values->addWidget(unitLabel(QStringLiteral("lblDegres"), QStringLiteral("°")));
    values->addStretch();
    values->addWidget(ui.lblDiedre);
    d->addLayout(values, 0, 0);
    const char *dihedral[] = {"Aligner les extrados", "Aligner Bords d'Attaques", "Aligner les milieux",
                              "Aligner les Bords de Fuite", "Aligner les intrados"};
    for (int i = 0; i < 5; ++i) {
        ui.chkDiedre[static_cast<size_t>(i)] = named(new QCheckBox(QString::fromUtf8(dihedral[i])), indexed("chkDiedre", i));
        d->addWidget(ui.chkDiedre[static_cast<size_t>(i)], i + 1, 0);
    }
    v->addWidget(ui.frmDiedre);

    ui.frmAligner = frame(QStringLiteral("frmAligner"), QStringLiteral("Aligner"));
    auto *a = new QHBoxLayout(ui.frmAligner);
    compact(a);
    ui.chkAligner = named(new QCheckBox(QStringLiteral("Points de référence")), QStringLiteral("chkAligner"));
    ui.chkAligner->setToolTip(QStringLiteral("Aligner le saumon sur l'emplanture par leurs points de référence"));
    a->addWidget(ui.chkAligner);
    v->addWidget(ui.frmAligner);

    ui.frmVisu = frame(QStringLiteral("frmVisu"), QStringLiteral("Visualisation"));
    auto *vis = new QHBoxLayout(ui.frmVisu);
    compact(vis);
    ui.chkFil = named(new QCheckBox(QStringLiteral("Fil")), QStringLiteral("chkFil"));
    ui.chkFil->setToolTip(QStringLiteral("Fil entre les points courants"));
    ui.chkSurface = named(new QCheckBox(QStringLiteral("Surface")), QStringLiteral("chkSurface"));
    ui.chkSurface->setToolTip(QStringLiteral("Lignes entre les points correspondants"));
    ui.chkVisuMachine = named(new QCheckBox(QStringLiteral("Machine")), QStringLiteral("chkVisuMachine"));
    ui.chkVisuMachine->setToolTip(QStringLiteral("Trajectoires des chariots dans les plans des tours"));
    vis->addWidget(ui.chkFil);
    vis->addWidget(ui.chkSurface);
    vis->addWidget(ui.chkVisuMachine);
    vis->addStretch();
    v->addWidget(ui.frmVisu);

    ui.frmImage = frame(QStringLiteral("frmImage"), QStringLiteral("Image"));
    auto *im = new QHBoxLayout(ui.frmImage);
    compact(im);
    ui.chkImageFond = named(new QCheckBox(QStringLiteral("Fond")), QStringLiteral("chkImageFond"));
    ui.chkImageFond->setToolTip(QStringLiteral("Afficher en fond l'image du presse-papiers"));
    ui.chkVoirCommentaires = named(new QCheckBox(QStringLiteral("Bla - bla")), QStringLiteral("chkVoirCommentaires"));
    ui.chkVoirCommentaires->setToolTip(QStringLiteral("Commentaires"));
    im->addWidget(ui.chkImageFond);
    im->addWidget(ui.chkVoirCommentaires);
    im->addStretch();
    v->addWidget(ui.frmImage);

    ui.frmAiles = frame(QStringLiteral("frmAiles"), QStringLiteral("Ailes"));
    ui.frmAiles->setToolTip(QStringLiteral("Deux ailes dans le bloc"));
    auto *w = new QGridLayout(ui.frmAiles);
    compact(w);
    ui.cmdDupliquer[0] = pushButton(QStringLiteral("cmdDupliquer_0"), QString(),
                                    QStringLiteral("Deux ailes dans le bloc, l'une sous l'autre"));
    ui.cmdDupliquer[0]->setIcon(Icons::twoWings(false));
    ui.cmdDupliquer[1] = pushButton(QStringLiteral("cmdDupliquer_1"), QString(),
                                    QStringLiteral("Deux ailes dans le bloc, tête-bêche"));
    ui.cmdDupliquer[1]->setIcon(Icons::twoWings(true));
    ui.txtEcartementAiles = numberBox(QStringLiteral("txtEcartementAiles"), KeyFilter::Signed,
                                      QStringLiteral("Ecartement entre les deux ailes"), 56);
    w->addWidget(ui.cmdDupliquer[0], 0, 0);
    w->addWidget(ui.cmdDupliquer[1], 0, 1);
    w->addWidget(ui.txtEcartementAiles, 0, 2);
    w->addWidget(new QLabel(QStringLiteral("mm")), 0, 3);
    v->addWidget(ui.frmAiles);

    auto *inter = frame(QStringLiteral("frmIntermediaire"), QStringLiteral("Profil intermédiaire"));
    auto *in = new QHBoxLayout(inter);
    compact(in);
    ui.chkProfilIntermediaire = named(new QCheckBox(QStringLiteral("à")), QStringLiteral("chkProfilIntermediaire"));
    ui.chkProfilIntermediaire->setToolTip(QStringLiteral("Profil intermédiaire"));
    ui.txtEcartementIntermediaire = numberBox(QStringLiteral("txtEcartementIntermediaire"), KeyFilter::Unsigned,
                                              QStringLiteral("Distance depuis l'emplanture"), 60);
    in->addWidget(ui.chkProfilIntermediaire);
    in->addWidget(ui.txtEcartementIntermediaire);
    in->addWidget(new QLabel(QStringLiteral("mm")));
    in->addStretch();
    v->addWidget(inter);

    v->addStretch();

    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("scrDisposition"));
    scroll->setWidget(column);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedWidth(column->sizeHint().width() + 14);
    return scroll;
}

QWidget *viewBar(MainWindowUi &ui)
{
    auto *bar = new QWidget;
    auto *g = new QGridLayout(bar);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(1);
    ui.cmdRAZPerspective = pushButton(QStringLiteral("cmdRAZPerspective"), QStringLiteral("Perspective"),
                                      QStringLiteral("Revenir à la perspective standard"));
    ui.hscOmega = named(new QScrollBar(Qt::Horizontal), QStringLiteral("hscOmega"));
    ui.hscOmega->setToolTip(QStringLiteral("Rotation de la vue"));
    ui.hscAlpha = named(new QScrollBar(Qt::Horizontal), QStringLiteral("hscAlpha"));
    ui.hscAlpha->setToolTip(QStringLiteral("Inclinaison de la vue"));
    ui.cmdRAZVueCote = pushButton(QStringLiteral("cmdRAZVueCote"), QStringLiteral("Vue de côté"),
                                  QStringLiteral("Profils superposés, vus de côté"));
    ui.cmdZoomFit = pushButton(QStringLiteral("cmdZoom_2"), QStringLiteral("Ajuster"), QStringLiteral("Tout voir"));
    ui.chkZoomSelection = named(new QCheckBox(QStringLiteral("Zoom rectangle")), QStringLiteral("chkZoomSelection"));
    ui.chkZoomSelection->setToolTip(QStringLiteral("Le prochain rectangle tracé au bouton gauche zoome"));
    ui.lblZoom = named(new QLabel(QStringLiteral("- Zoom +")), QStringLiteral("lblZoom"));
    ui.hscZoom = named(new QScrollBar(Qt::Horizontal), QStringLiteral("hscZoom"));
    ui.hscZoom->setToolTip(QStringLiteral("Zoom + et - par clic sur les flèches"));
    for (QScrollBar *s : {ui.hscOmega, ui.hscAlpha, ui.hscZoom})
        s->setMinimumWidth(70);
    g->addWidget(ui.cmdRAZPerspective, 0, 0);
    g->addWidget(ui.hscOmega, 0, 1);
    g->addWidget(ui.hscAlpha, 0, 2);
    g->addWidget(ui.cmdRAZVueCote, 0, 3);
    g->addWidget(ui.cmdZoomFit, 1, 0);
    g->addWidget(ui.chkZoomSelection, 1, 1);
    auto *zoom = new QHBoxLayout;
    zoom->addWidget(ui.lblZoom);
    zoom->addWidget(ui.hscZoom, 1);
    g->addLayout(zoom, 1, 2, 1, 2);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(2, 1);
    return bar;
}

} // namespace

void MainWindowUi::setup(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("formOrvalis"));
    window->setWindowTitle(QStringLiteral("Profils Orvalis"));

    auto toolbar = [&](const QString &name, const QString &title) {
        auto *t = named(new QToolBar(title), name);
        t->setMovable(false);
        t->setFloatable(false);
        t->setIconSize(QSize(20, 20));
        return t;
    };
    // A caption and its boxes on one line: the toolbars stay one row high.
    auto inlineFrame = [&](QToolBar *bar, const QString &name, const QString &title,
                           const std::vector<std::pair<QWidget *, QWidget *>> &items, const QString &unit) {
        auto *f = named(new QFrame, name);
        f->setAccessibleName(title);
        f->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        auto *h = new QHBoxLayout(f);
        h->setContentsMargins(4, 0, 4, 0);
        h->setSpacing(2);
        auto *caption = new QLabel(title);
        caption->setStyleSheet(QStringLiteral("font-weight: bold;"));
        h->addWidget(caption);
        for (auto [icon, box] : items) {
            if (icon)
                h->addWidget(icon);
            h->addWidget(box);
        }
        if (!unit.isEmpty())
            h->addWidget(new QLabel(unit));
        bar->addWidget(f);
        return f;
    };

    // First row: files, history, clipboard, help, then the transforms.
    auto *files = toolbar(QStringLiteral("tlbFichiers"), QStringLiteral("Fichiers"));
    cmdOuvrirProfil[0] = toolButton(QStringLiteral("cmdOuvrirProfil_0"), QStringLiteral("Ouvrir emplanture"),
                                    QStringLiteral("Ouvrir un profil d'emplanture ou un projet"), Icons::openRoot());
    cmdOuvrirProfil[1] = toolButton(QStringLiteral("cmdOuvrirProfil_1"), QStringLiteral("Ouvrir saumon"),
                                    QStringLiteral("Ouvrir un profil de saumon"), Icons::openTip());
    cmdFermerProfil[0] = toolButton(QStringLiteral("cmdFermerProfil_0"), QStringLiteral("Fermer emplanture"),
                                    QStringLiteral("Fermer le profil d'emplanture"), Icons::closeContour(QColor(255, 0, 0)));
    cmdFermerProfil[1] = toolButton(QStringLiteral("cmdFermerProfil_1"), QStringLiteral("Fermer saumon"),
                                    QStringLiteral("Fermer le profil de saumon"), Icons::closeContour(QColor(0, 0, 255)));
    cmdSauveProfil[0] = toolButton(QStringLiteral("cmdSauveProfil_0"), QStringLiteral("Exporter emplanture"),
                                   QStringLiteral("Enregistrer le profil emplanture en .dxf ou en .dat"), Icons::exportSide(QColor(255, 0, 0)));
    cmdSauveProfil[1] = toolButton(QStringLiteral("cmdSauveProfil_1"), QStringLiteral("Exporter saumon"),
                                   QStringLiteral("Enregistrer le profil saumon en .dxf ou en .dat"), Icons::exportSide(QColor(0, 0, 255)));
    cmdSauveProfil[2] = toolButton(QStringLiteral("cmdSauveProfil_2"), QStringLiteral("Enregistrer"),
                                   QStringLiteral("Enregistrer le projet ou l'image 3D"), Icons::save());
    cmdSauveProfil[3] = toolButton(QStringLiteral("cmdSauveProfil_3"), QStringLiteral("Exporter intermédiaire"),
                                   QStringLiteral("Enregistrer le profil intermédiaire en .dxf ou en .dat"), Icons::exportSide(QColor(0, 176, 10)));
    cmdTransfertSorvane = toolButton(QStringLiteral("cmdTransfertSorvane"), QStringLiteral("Vers Sorvane"),
                                     QStringLiteral("Transférer le panneau au programme de découpe Sorvane"),
                                     Icons::cutterExchange(true));
    cmdImportSorvane = toolButton(QStringLiteral("cmdImportSorvane"), QStringLiteral("Depuis Sorvane"),
                                  QStringLiteral("Importer le panneau du programme de découpe Sorvane"),
                                  Icons::cutterExchange(false));
    cmdMachine = toolButton(QStringLiteral("cmdMachine"), QStringLiteral("Machine de découpe"),
                            QStringLiteral("Régler la machine de découpe"), Icons::machine());
    cmdExporterGCode = toolButton(QStringLiteral("cmdExporterGCode"), QStringLiteral("Exporter G-code"),
                                  QStringLiteral("Enregistrer le programme G-code de la découpe"), Icons::exportGCode());
    cmdUndo[0] = toolButton(QStringLiteral("cmdUndo_0"), QStringLiteral("Undo"), QStringLiteral("Annuler (Undo)"), Icons::undo());
    cmdUndo[1] = toolButton(QStringLiteral("cmdUndo_1"), QStringLiteral("Redo"), QStringLiteral("Rétablir (Redo)"), Icons::redo());
    cmdCopier = toolButton(QStringLiteral("cmdCopier"), QStringLiteral("Copier"), QStringLiteral("Copier les points sélectionnés"), Icons::copy());
    cmdCouper = toolButton(QStringLiteral("cmdCouper"), QStringLiteral("Couper"), QStringLiteral("Couper les points sélectionnés"), Icons::cut());
    cmdColler = toolButton(QStringLiteral("cmdColler"), QStringLiteral("Coller"),
                           QStringLiteral("Coller sur chaque point sélectionné"), Icons::paste());
    cmdAide = toolButton(QStringLiteral("cmdAide"), QStringLiteral("Aide"), QStringLiteral("Aide (F1)"), Icons::help());
    cmdAPropos = toolButton(QStringLiteral("cmdAPropos"), QStringLiteral("À propos"), QStringLiteral("À propos de Orvalis"), Icons::about());
    cmdInverserSelection = toolButton(QStringLiteral("cmdInverserSelection"), QStringLiteral("Inverser le sens"),
                                      QStringLiteral("Inverser le sens"), Icons::reverse());
    cmdSymetrie[0] = toolButton(QStringLiteral("cmdSymetrie_0"), QStringLiteral("Miroir vertical"), QStringLiteral("Miroir vertical"),
                                Icons::mirror(false));
    cmdSymetrie[1] = toolButton(QStringLiteral("cmdSymetrie_1"), QStringLiteral("Miroir horizontal"), QStringLiteral("Miroir horizontal"),
                                Icons::mirror(true));
    for (QToolButton *b : {cmdOuvrirProfil[0], cmdOuvrirProfil[1], cmdFermerProfil[0], cmdFermerProfil[1]})
        files->addWidget(b);
    files->addSeparator();
    for (QToolButton *b : cmdSauveProfil)
        files->addWidget(b);
    files->addWidget(cmdTransfertSorvane);
    files->addWidget(cmdImportSorvane);
    for (QToolButton *b : {cmdMachine, cmdExporterGCode})
        files->addWidget(b);
    files->addSeparator();
    for (QToolButton *b : {cmdUndo[0], cmdUndo[1], cmdCopier, cmdCouper, cmdColler})
        files->addWidget(b);
    files->addSeparator();
    for (QToolButton *b : {cmdAide, cmdAPropos})
        files->addWidget(b);
    files->addSeparator();
    for (QToolButton *b : {cmdInverserSelection, cmdSymetrie[0], cmdSymetrie[1]})
        files->addWidget(b);

    txtEtirer[0] = numberBox(indexed("txtEtirer", 0), KeyFilter::Unsigned, QStringLiteral("Etirer suivant X"), 46);
    txtEtirer[1] = numberBox(indexed("txtEtirer", 1), KeyFilter::Unsigned, QStringLiteral("Etirer suivant Y"), 46);
    txtEtirer[2] = numberBox(indexed("txtEtirer", 2), KeyFilter::Unsigned, QStringLiteral("Etirer proportionnellement"), 46);
    inlineFrame(files, QStringLiteral("frmEtirer"), QStringLiteral("Etirer"),
                {{iconLabel(Icons::stretch(0), QStringLiteral("Etirer suivant X")), txtEtirer[0]},
                 {iconLabel(Icons::stretch(1), QStringLiteral("Etirer suivant Y")), txtEtirer[1]},
                 {iconLabel(Icons::stretch(2), QStringLiteral("Etirer proportionnellement")), txtEtirer[2]}},
                QStringLiteral("%"));
    txtTourner = numberBox(QStringLiteral("txtTourner"), KeyFilter::Signed, QStringLiteral("Rotation de la sélection"), 46);
    auto *tourner = inlineFrame(files, QStringLiteral("frmTourner"), QStringLiteral("Tourner"), {{nullptr, txtTourner}}, QString());
    tourner->layout()->addWidget(unitLabel(QStringLiteral("lblDegres_1"), QStringLiteral("°")));

    // Second row: the move boxes, then the point commands.
    auto *commands = toolbar(QStringLiteral("tlbPoints"), QStringLiteral("Points"));
    txtDeplacer[0] = numberBox(indexed("txtDeplacer", 0), KeyFilter::Signed, QStringLiteral("Translation suivant X"), 46);
    txtDeplacer[1] = numberBox(indexed("txtDeplacer", 1), KeyFilter::Signed, QStringLiteral("Translation suivant Y"), 46);
    inlineFrame(commands, QStringLiteral("frmDeplacer"), QStringLiteral("Déplacer"),
                {{iconLabel(Icons::move(0), QStringLiteral("Translation suivant X")), txtDeplacer[0]},
                 {iconLabel(Icons::move(1), QStringLiteral("Translation suivant Y")), txtDeplacer[1]}},
                QStringLiteral("mm"));
    commands->addSeparator();
    cmdSupprimer = toolButton(QStringLiteral("cmdSupprimer"), QStringLiteral("Supprimer"), QStringLiteral("Supprimer les points sélectionnés"),
                              Icons::remove());
    cmdInsererPoint = toolButton(QStringLiteral("cmdInsererPoint"), QStringLiteral("Insérer"),
                                 QStringLiteral("Insérer un point au milieu de chaque segment sélectionné"), Icons::insert());
    cmdIntersection = toolButton(QStringLiteral("cmdIntersection"), QStringLiteral("Créer intersection"),
                                 QStringLiteral("Créer intersection"), Icons::intersection());
    cmdRenumeroter = toolButton(QStringLiteral("cmdRenumeroter"), QStringLiteral("Renuméroter"),
                                QStringLiteral("Faire du point courant le premier point du contour"), Icons::renumber());
    cmdLisser = toolButton(QStringLiteral("cmdLisser"), QStringLiteral("Lisser (spline)"),
                           QStringLiteral("Lisser les points sélectionnés par une spline"), Icons::smooth());
    cmdSynchroOptimale = toolButton(QStringLiteral("cmdSynchroOptimale"), QStringLiteral("Synchronisation optimale"),
                                    QStringLiteral("Mettre l'emplanture et le saumon au même nombre de points correspondants"),
                                    Icons::synchronize());
    cmdNettoyage = toolButton(QStringLiteral("cmdNettoyage"), QStringLiteral("Nettoyer"),
                              QStringLiteral("Supprimer les points superflus"), Icons::clean());
    for (QToolButton *b : {cmdSupprimer, cmdInsererPoint})
        commands->addWidget(b);
    for (QToolButton *b : {cmdIntersection, cmdRenumeroter, cmdLisser, cmdSynchroOptimale, cmdNettoyage}) {
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        commands->addWidget(b);
    }
    window->addToolBar(Qt::TopToolBarArea, files);
    window->addToolBarBreak(Qt::TopToolBarArea);
    window->addToolBar(Qt::TopToolBarArea, commands);

    // Central area: both sides on the left, the drawing in the middle, the
    // wing layout on the right.
    central = new QWidget;
    central->setObjectName(QStringLiteral("centralZone"));
    auto *h = new QHBoxLayout(central);
    h->setContentsMargins(4, 2, 4, 2);
    h->setSpacing(4);
    auto *sides = new QVBoxLayout;
    sides->setSpacing(2);
    sides->addWidget(sidePanel(*this, 0));
    sides->addWidget(sidePanel(*this, 1));
    auto *layers = frame(QStringLiteral("frmSelection"), QStringLiteral("Sélection"));
    auto *lv = new QVBoxLayout(layers);
    compact(lv);
    const char *layerNames[] = {"Sélection Normale", "Sélection Points Réf.", "Points de Synchro"};
    const QColor layerColours[] = {QColor(0, 176, 10), QColor(240, 0, 225), QColor(0, 207, 169)};
    for (int i = 0; i < 3; ++i) {
        optSelection[static_cast<size_t>(i)] = named(new QRadioButton(QString::fromUtf8(layerNames[i])), indexed("optSelection", i));
        optSelection[static_cast<size_t>(i)]->setIcon(Icons::swatch(layerColours[i]));
        lv->addWidget(optSelection[static_cast<size_t>(i)]);
    }
    sides->addWidget(layers);
    auto *offset = frame(QStringLiteral("frmDecaler"), QStringLiteral("Décaler"));
    auto *oh = new QHBoxLayout(offset);
    compact(oh);
    txtDecaler = numberBox(QStringLiteral("txtDecaler"), KeyFilter::Signed,
                           QStringLiteral("Décaler les points sélectionnés (épaisseur du fil)"), 60);
    oh->addWidget(txtDecaler);
    oh->addWidget(new QLabel(QStringLiteral("mm")));
    oh->addStretch();
    sides->addWidget(offset);
    auto *ins = frame(QStringLiteral("frmInsertion"), QStringLiteral("Insertion"));
    auto *il = new QVBoxLayout(ins);
    compact(il);
    chkInsertionProfils = named(new QCheckBox(QStringLiteral("Insérer des profils")), QStringLiteral("chkInsertionProfils"));
    chkInsertionProfils->setToolTip(QStringLiteral("Insérer un autre couple de profils au point sélectionné"));
    lblInsertionProfils = named(new QLabel(QStringLiteral("Insertion en cours : chargez les profils à insérer")),
                                   QStringLiteral("lblInsertionProfils"));
    lblInsertionProfils->setWordWrap(true);
    lblInsertionProfils->setVisible(false);
    il->addWidget(chkInsertionProfils);
    il->addWidget(lblInsertionProfils);
    sides->addWidget(ins);
    sides->addStretch();
    h->addLayout(sides);

    auto *middle = new QVBoxLayout;
    middle->setSpacing(2);
    txtTitreCommentaire = named(new QLineEdit(QStringLiteral("Commentaires - Explications (256 caractères maxi)")),
                                QStringLiteral("txtTitreCommentaire"));
    txtTitreCommentaire->setReadOnly(true);
    txtTitreCommentaire->setToolTip(QStringLiteral("Cliquer pour modifier"));
    txtCommentaire = named(new CommentBox(256), QStringLiteral("txtCommentaire"));
    txtCommentaire->setFixedHeight(64);
    middle->addWidget(txtTitreCommentaire);
    middle->addWidget(txtCommentaire);
    pctProfils = named(new ProfileCanvas, QStringLiteral("pctProfils"));
    middle->addWidget(pctProfils, 1);
    middle->addWidget(viewBar(*this));
    h->addLayout(middle, 1);
    h->addWidget(layoutColumn(*this));
    window->setCentralWidget(central);

    pctImageHidden = named(new QLabel(window), QStringLiteral("pctImageHidden"));
    pctImageHidden->setVisible(false);

    stbProfils = named(new QStatusBar, QStringLiteral("stbProfils"));
    for (size_t i = 0; i < 3; ++i) {
        stbPanels[i] = named(new QLabel, QStringLiteral("stbProfils_%1").arg(i + 1));
        stbProfils->addWidget(stbPanels[i], i == 2 ? 0 : 1);
    }
    window->setStatusBar(stbProfils);

    // Everything that needs a loaded document; the root open command stays usable.
    editingControls = {cmdOuvrirProfil[1], cmdFermerProfil[0], cmdFermerProfil[1], cmdSauveProfil[0], cmdSauveProfil[1],
                       cmdSauveProfil[2], cmdTransfertSorvane, cmdUndo[0], cmdUndo[1], cmdCopier, cmdCouper, cmdColler, cmdInverserSelection,
                       cmdSymetrie[0], cmdSymetrie[1], txtEtirer[0], txtEtirer[1], txtEtirer[2], txtTourner, txtDeplacer[0],
                       txtDeplacer[1], txtDecaler, cmdSupprimer, cmdInsererPoint, cmdIntersection, cmdRenumeroter, cmdLisser,
                       cmdSynchroOptimale, cmdNettoyage, hscOmega, hscAlpha, hscZoom, cmdRAZPerspective, cmdRAZVueCote,
                       cmdZoomFit, chkZoomSelection, frmVisu, frmImage, frmEcartement, frmFleche, frmDiedre, frmAligner,
                       frmAiles, chkProfilIntermediaire, pctProfils};
    for (int i = 0; i < 3; ++i)
        editingControls.push_back(optSelection[static_cast<size_t>(i)]);
    for (int s = 0; s < 2; ++s) {
        const SidePanel &p = side[static_cast<size_t>(s)];
        editingControls.push_back(p.txtCorde);
        editingControls.push_back(p.vscUnits);
        editingControls.push_back(p.vscThousands);
        editingControls.push_back(cmdRAZSelection[static_cast<size_t>(s)]);
        editingControls.push_back(cmdSelectAll[static_cast<size_t>(s)]);
        editingControls.push_back(cmdSelectionAngle[static_cast<size_t>(s)]);
        editingControls.push_back(chkAfficherProfil[static_cast<size_t>(s)]);
        editingControls.push_back(chkAfficherPoints[static_cast<size_t>(s)]);
        for (auto *l : p.lblCoordPt)
            editingControls.push_back(l);
        for (auto *l : p.lblNumPt)
            editingControls.push_back(l);
    }
    for (auto *b : cmdSelectionAuto)
        editingControls.push_back(b);
    // The machine settings and the G-code export follow the exports.
    editingControls.push_back(cmdMachine);
    editingControls.push_back(cmdExporterGCode);
}

} // namespace orv
