// The layout of the sequence window: the two pictures on the left, each with
// its number list, the commands on the right.
#include "sequences/sequences_ui.h"

#include "editor/profile_canvas.h"
#include "editor/widgets.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orv {

const char *const kSequenceHelpLines[4] = {
    "Clic gauche en haut et en bas = Sélection d'une séquence par clic simple ou rectangle",
    "Ctrl + clic gauche en bas = saisir les séquences sélectionnées pour les déplacer",
    "Alt + déplacement en bas = afficher le point sous le curseur",
    "Alt + clic en bas = déplacer le point affiché sous le curseur",
};

namespace {

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// A command button: its caption is the given text, its tool tip the given tip
// (the caption when there is none).
QPushButton *button(const QString &name, const QString &text, const QString &tip = {})
{
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setToolTip(tip.isEmpty() ? text : tip);
    b->setAutoDefault(false);
    return b;
}

QGroupBox *frame(const QString &name, const QString &title, QLayout *content)
{
    auto *g = new QGroupBox(title);
    g->setObjectName(name);
    g->setLayout(content);
    content->setContentsMargins(4, 2, 4, 2);
    content->setSpacing(3);
    return g;
}

QWidget *picturePanel(SequencePictureUi &p, const char *picture, const char *bar, const char *number,
                      const char *counter)
{
    auto *panel = new QWidget;
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    p.picture = new ProfileCanvas;
    p.picture->setObjectName(QLatin1String(picture));
    row->addWidget(p.picture, 1);
    p.counter = new QFrame;
    p.counter->setObjectName(QLatin1String(counter));
    p.counter->setFrameShape(QFrame::Box);
    auto *numbers = new QVBoxLayout(p.counter);
    numbers->setContentsMargins(2, 2, 2, 2);
    for (int i = 0; i < 5; ++i) {
        auto *l = new ClickableLabel;
        l->setObjectName(indexed(number, i));
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(40);
        l->setToolTip(QStringLiteral("Cliquer pour sélectionner ou désélectionner cette séquence"));
        p.numbers[size_t(i)] = l;
        numbers->addWidget(l);
    }
    numbers->addStretch(1);
    p.bar = new QScrollBar(Qt::Vertical);
    p.bar->setObjectName(QLatin1String(bar));
    p.bar->setRange(0, 0);
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(p.counter);
    listRow->addWidget(p.bar);
    row->addLayout(listRow);
    return panel;
}

} // namespace

void SequencesUi::setup(QDialog *window)
{
    window->setObjectName(QStringLiteral("formSequences"));
    window->setWindowTitle(QStringLiteral("Choix de séquences"));
    auto *main = new QHBoxLayout(window);

    auto *pictures = new QVBoxLayout;
    pictures->addWidget(
        picturePanel(upper, "pctSequences", "vscSequences", "lblNumSequence", "cadreCompteur"), 1);
    pictures->addWidget(picturePanel(lower, "pctSequencesFinal", "vscSequencesFinal", "lblNumSequenceFinal",
                                     "cadreCompteurFinal"),
                        1);
    lblAideSequences = new QLabel;
    lblAideSequences->setObjectName(QStringLiteral("lblAideSequences"));
    QStringList lines;
    for (const char *line : kSequenceHelpLines)
        lines << QString::fromUtf8(line);
    lblAideSequences->setText(lines.join(QLatin1Char('\n')));
    pictures->addWidget(lblAideSequences);
    main->addLayout(pictures, 1);

    auto *side = new QVBoxLayout;
    cmdOuvrirFichierSequences =
        button(QStringLiteral("cmdOuvrirFichierSequences"), QStringLiteral("Ouvrir un dessin..."));
    side->addWidget(cmdOuvrirFichierSequences);

    auto *selUpper = new QHBoxLayout;
    auto *selLower = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        cmdSelectionSequence[size_t(i)] =
            button(indexed("cmdSelectionSequence", i), QStringLiteral("Tout sélectionner"));
        cmdSelectionSequenceFinal[size_t(i)] =
            button(indexed("cmdSelectionSequenceFinal", i), QStringLiteral("Tout sélectionner"));
        selUpper->addWidget(cmdSelectionSequence[size_t(i)]);
        selLower->addWidget(cmdSelectionSequenceFinal[size_t(i)]);
    }
    frmSelectionInitial = frame(QStringLiteral("frmSelectionInitial"), QStringLiteral("Sélection"), selUpper);
    frmSelectionFinal = frame(QStringLiteral("frmSelectionFinal"), QStringLiteral("Sélection"), selLower);

    auto *drawing = new QGridLayout;
    for (int i = 0; i < 2; ++i)
        cmdInsererSequence[size_t(i)] =
            button(indexed("cmdInsererSequence", i),
                   i == 0 ? QStringLiteral("Enchaîner") : QStringLiteral("Enchaîner à gauche"),
                   QStringLiteral("Ajouter les séquences sélectionnées à la suite de l'assemblage"));
    cmdQuelquesSequences =
        button(QStringLiteral("cmdQuelquesSequences"), QStringLiteral("Copier sur place"),
               QStringLiteral("Copier les séquences sélectionnées dans l'assemblage sans les déplacer"));
    cmdSensSequence = button(QStringLiteral("cmdSensSequence"), QStringLiteral("Inverser le sens"));
    drawing->addWidget(frmSelectionInitial, 0, 0, 1, 2);
    drawing->addWidget(cmdInsererSequence[0], 1, 0);
    drawing->addWidget(cmdInsererSequence[1], 1, 1);
    drawing->addWidget(cmdQuelquesSequences, 2, 0);
    drawing->addWidget(cmdSensSequence, 2, 1);
    side->addWidget(frame(QStringLiteral("frmDessin"), QStringLiteral("Dessin"), drawing));

    auto *assembly = new QGridLayout;
    int row = 0;
    assembly->addWidget(frmSelectionFinal, row++, 0, 1, 2);
    auto pair = [&](std::array<QPushButton *, 2> &b, const char *name, const QString &t0, const QString &t1,
                    const QString &tip0 = {}, const QString &tip1 = {}) {
        b[0] = button(indexed(name, 0), t0, tip0);
        b[1] = button(indexed(name, 1), t1, tip1);
        assembly->addWidget(b[0], row, 0);
        assembly->addWidget(b[1], row++, 1);
    };
    const QString order = QStringLiteral("Modifier l'ordre des séquences");
    pair(cmdOrdreSequence, "cmdOrdreSequence", QStringLiteral("Plus tard"), QStringLiteral("Plus tôt"), order,
         order);
    pair(cmdPremierPointSequence, "cmdPremierPointSequence", QStringLiteral("Avancer le point d'entrée"),
         QStringLiteral("Reculer le point d'entrée"));
    pair(cmdRotationSequence, "cmdRotationSequence", QStringLiteral("Rotation -10°"),
         QStringLiteral("Rotation +10°"));
    pair(cmdTaille, "cmdTaille", QStringLiteral("Agrandir"), QStringLiteral("Rétrécir"));
    pair(cmdIntervale, "cmdIntervale", QStringLiteral("Ecarter"), QStringLiteral("Rapprocher"));
    cmdRotation90 = button(QStringLiteral("cmdRotation90"), QStringLiteral("Rotation 90°"));
    cmdSymetrieSequence = button(QStringLiteral("cmdSymetrieSequence"), QStringLiteral("Symétrie"),
                                 QStringLiteral("Symétrie gauche-droite"));
    assembly->addWidget(cmdRotation90, row, 0);
    assembly->addWidget(cmdSymetrieSequence, row++, 1);
    cmdInverserFinal = button(QStringLiteral("cmdInverserFinal"), QStringLiteral("Inverser le sens"));
    cmdEffacer = button(QStringLiteral("cmdEffacer"), QStringLiteral("Supprimer"));
    assembly->addWidget(cmdInverserFinal, row, 0);
    assembly->addWidget(cmdEffacer, row++, 1);
    cmdInsererPointSequence =
        button(QStringLiteral("cmdInsererPointSequence"), QStringLiteral("Point de liaison"),
               QStringLiteral("Insérer un point entre séquences"));
    cmdSouderSequences =
        button(QStringLiteral("cmdSouderSequences"), QStringLiteral("Souder"),
               QStringLiteral("Réunir les séquences sélectionnées en une seule, dans l'ordre de "
                              "l'assemblage"));
    assembly->addWidget(cmdInsererPointSequence, row, 0);
    assembly->addWidget(cmdSouderSequences, row++, 1);
    cmdUndoSequence = button(QStringLiteral("cmdUndoSequence"), QStringLiteral("Annuler"),
                             QStringLiteral("Annuler la dernière modification de l'assemblage"));
    assembly->addWidget(cmdUndoSequence, row++, 0, 1, 2);
    side->addWidget(frame(QStringLiteral("frmAssemblage"), QStringLiteral("Assemblage"), assembly));

    auto *visu = new QVBoxLayout;
    chkVisuSens = new QCheckBox(QStringLiteral("Sens de parcours"));
    chkVisuSens->setObjectName(QStringLiteral("chkVisuSens"));
    chkVisuSens->setToolTip(QStringLiteral("Montrer le sens et le point d'entrée des séquences"));
    visu->addWidget(chkVisuSens);
    frmVisuSequences = frame(QStringLiteral("frmVisuSequences"), QStringLiteral("Visu"), visu);
    side->addWidget(frmVisuSequences);

    chkAideSequences = new QCheckBox(QStringLiteral("Aide"));
    chkAideSequences->setObjectName(QStringLiteral("chkAideSequences"));
    chkAideSequences->setToolTip(QStringLiteral("Afficher ou masquer l'aide sous les figures"));
    chkAideSequences->setChecked(true);
    cmdAideSequences = button(QStringLiteral("cmdAideSequences"), QStringLiteral("Aide (F1)"));
    auto *helpRow = new QHBoxLayout;
    helpRow->addWidget(chkAideSequences);
    helpRow->addWidget(cmdAideSequences);
    side->addLayout(helpRow);
    side->addStretch(1);
    cmdValiderSequence = button(QStringLiteral("cmdValiderSequence"), QStringLiteral("Valider l'assemblage"));
    side->addWidget(cmdValiderSequence);
    main->addLayout(side);
}

} // namespace orv
