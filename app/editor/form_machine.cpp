// The machine window: its controls, the checks of OK and the hand-back of the
// settings.
#include "editor/form_machine.h"

#include "editor/numeric_entry_box.h"
#include "editor/widgets.h"
#include "platform/platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace orv {

namespace {

const QString kTitle = QStringLiteral("Machine de découpe");
constexpr std::string_view kFmtMachine = "#####0.0##";

NumericBox *box(const QString &name, KeyFilter filter, const QString &tip)
{
    auto *b = new NumericBox(filter);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setFixedWidth(80);
    b->setAlignment(Qt::AlignRight);
    return b;
}

QGroupBox *group(const QString &name, const QString &title, QGridLayout *&grid)
{
    auto *g = new QGroupBox(title);
    g->setObjectName(name);
    grid = new QGridLayout(g);
    return g;
}

// A labelled row: caption, box, unit.
void row(QGridLayout *grid, const QString &caption, QWidget *control, const QString &unit = {})
{
    const int r = grid->rowCount();
    grid->addWidget(new QLabel(caption), r, 0);
    grid->addWidget(control, r, 1);
    if (!unit.isEmpty())
        grid->addWidget(new QLabel(unit), r, 2);
}

QString sideCaption(int side, const std::string &axes)
{
    const QString a = QString::fromStdString(axes);
    return side == 0 ? QStringLiteral("Tour 1 (%1 %2)").arg(a[0]).arg(a[1])
                     : QStringLiteral("Tour 2 (%1 %2)").arg(a[2]).arg(a[3]);
}

} // namespace

FormMachine::FormMachine(Platform &platform, const MachineSettings &settings,
                         std::function<void(const MachineSettings &)> apply, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_apply(std::move(apply))
{
    setObjectName(QStringLiteral("frmMachine"));
    setWindowTitle(kTitle);
    auto *v = new QVBoxLayout(this);

    QGridLayout *g = nullptr;
    v->addWidget(group(QStringLiteral("frmTours"), QStringLiteral("Tours"), g));
    m_towers = box(QStringLiteral("txtDistanceTours"), KeyFilter::Unsigned,
                   QStringLiteral("Distance entre les plans des deux tours"));
    row(g, QStringLiteral("Distance entre les tours"), m_towers, QStringLiteral("mm"));
    m_rootSide = new QComboBox;
    m_rootSide->setObjectName(QStringLiteral("cboCoteEmplanture"));
    m_rootSide->setToolTip(QStringLiteral("La tour depuis laquelle la position de l'emplanture est mesurée"));
    m_rootSide->addItems({QString(), QString()});
    row(g, QStringLiteral("Emplanture du côté de la"), m_rootSide);
    m_rootPos = box(QStringLiteral("txtPositionEmplanture"), KeyFilter::Unsigned,
                    QStringLiteral("Distance entre le plan de cette tour et la face d'emplanture du bloc"));
    row(g, QStringLiteral("Position de l'emplanture"), m_rootPos, QStringLiteral("mm"));
    m_axes = new QComboBox;
    m_axes->setObjectName(QStringLiteral("cboAxes"));
    m_axes->setToolTip(QStringLiteral("Lettres des axes : tour 1 puis tour 2"));
    for (const std::string &a : kAxisSets)
        m_axes->addItem(QString::fromStdString(a));
    row(g, QStringLiteral("Axes"), m_axes);

    v->addWidget(group(QStringLiteral("frmCoupe"), QStringLiteral("Coupe"), g));
    m_feed = box(QStringLiteral("txtVitesse"), KeyFilter::Unsigned,
                 QStringLiteral("Vitesse de la face la plus rapide"));
    row(g, QStringLiteral("Vitesse de coupe"), m_feed, QStringLiteral("mm/min"));
    m_kerfRoot = box(QStringLiteral("txtSaignement_0"), KeyFilter::Signed,
                     QStringLiteral("Saignée du fil à l'emplanture : positive à droite du sens de coupe"));
    row(g, QStringLiteral("Saignée emplanture"), m_kerfRoot, QStringLiteral("mm"));
    m_kerfTip = box(QStringLiteral("txtSaignement_1"), KeyFilter::Signed,
                    QStringLiteral("Saignée du fil au saumon : positive à droite du sens de coupe"));
    row(g, QStringLiteral("Saignée saumon"), m_kerfTip, QStringLiteral("mm"));
    m_heat = box(QStringLiteral("txtChauffe"), KeyFilter::Unsigned,
                 QStringLiteral("Valeur S de la commande M3 ; 0 : pas de commande de chauffe"));
    row(g, QStringLiteral("Chauffe (M3 S)"), m_heat);
    m_dwell = box(QStringLiteral("txtTemporisation"), KeyFilter::Unsigned,
                  QStringLiteral("Pause (G4) après la mise en chauffe"));
    row(g, QStringLiteral("Temporisation"), m_dwell, QStringLiteral("s"));
    m_approach = new QCheckBox(QStringLiteral("Approche et retour"));
    m_approach->setObjectName(QStringLiteral("chkApproche"));
    m_approach->setToolTip(QStringLiteral("Entrer dans le bloc et en sortir par le premier point"));
    g->addWidget(m_approach, g->rowCount(), 0, 1, 3);
    m_decimals = box(QStringLiteral("txtDecimales"), KeyFilter::Unsigned,
                     QStringLiteral("Nombre de décimales des coordonnées écrites (0 à 6)"));
    row(g, QStringLiteral("Décimales"), m_decimals);

    v->addWidget(group(QStringLiteral("frmCourses"), QStringLiteral("Courses des axes (0 et 0 : sans limite)"), g));
    g->addWidget(new QLabel(QStringLiteral("min")), 0, 1);
    g->addWidget(new QLabel(QStringLiteral("max")), 0, 2);
    for (int axis = 0; axis < 4; ++axis) {
        m_axisLabels[size_t(axis)] = new QLabel;
        m_axisLabels[size_t(axis)]->setObjectName(QStringLiteral("lblAxe_%1").arg(axis));
        g->addWidget(m_axisLabels[size_t(axis)], axis + 1, 0);
        for (int end = 0; end < 2; ++end) {
            const int k = 2 * axis + end;
            m_limits[size_t(k)] = box(QStringLiteral("txtCourse_%1").arg(k), KeyFilter::Signed,
                                      end == 0 ? QStringLiteral("Position minimale de l'axe")
                                               : QStringLiteral("Position maximale de l'axe"));
            g->addWidget(m_limits[size_t(k)], axis + 1, end + 1);
        }
        g->addWidget(new QLabel(QStringLiteral("mm")), axis + 1, 3);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"));
    cancel->setObjectName(QStringLiteral("cmdAnnuler"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    v->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_axes, &QComboBox::currentIndexChanged, this, [this] { axesChanged(); });

    show(settings);
}

void FormMachine::show(const MachineSettings &m)
{
    entry::write(m_towers, m.towers, kFmtMachine);
    entry::write(m_rootPos, m.rootPos, kFmtMachine);
    entry::write(m_feed, m.feed, kFmtMachine);
    entry::write(m_kerfRoot, m.kerfRoot, kFmtMachine);
    entry::write(m_kerfTip, m.kerfTip, kFmtMachine);
    entry::write(m_heat, m.heat, kFmtMachine);
    entry::write(m_dwell, m.dwell, kFmtMachine);
    entry::write(m_decimals, m.decimals, "0");
    for (size_t k = 0; k < m_limits.size(); ++k)
        entry::write(m_limits[k], m.limits[k], kFmtMachine);
    const int axes = m_axes->findText(QString::fromStdString(m.axes));
    m_axes->setCurrentIndex(axes < 0 ? 0 : axes);
    axesChanged();
    m_rootSide->setCurrentIndex(m.rootSide == 1 ? 1 : 0);
    m_approach->setChecked(m.approach);
}

void FormMachine::axesChanged()
{
    const std::string axes = m_axes->currentText().toStdString();
    for (int axis = 0; axis < 4; ++axis)
        m_axisLabels[size_t(axis)]->setText(QString(QChar::fromLatin1(axes[size_t(axis)])));
    for (int side = 0; side < 2; ++side)
        m_rootSide->setItemText(side, sideCaption(side, axes));
}

bool FormMachine::refuse(NumericBox *b, const QString &text)
{
    m_platform.messageBox(text, kTitle, MessageStyle::CriticalOk);
    b->setFocus();
    b->selectAllText();
    return false;
}

bool FormMachine::cmdOK_Click()
{
    std::vector<NumericBox *> boxes = {m_towers, m_rootPos, m_feed, m_kerfRoot, m_kerfTip, m_heat, m_dwell, m_decimals};
    boxes.insert(boxes.end(), m_limits.begin(), m_limits.end());
    for (NumericBox *b : boxes)
        if (!entry::validate(m_platform, b)) {
            b->setFocus();
            return false;
        }
    MachineSettings m;
    m.towers = entry::parse(m_towers->text());
    m.rootPos = entry::parse(m_rootPos->text());
    m.rootSide = m_rootSide->currentIndex();
    m.axes = m_axes->currentText().toStdString();
    m.feed = entry::parse(m_feed->text());
    m.kerfRoot = entry::parse(m_kerfRoot->text());
    m.kerfTip = entry::parse(m_kerfTip->text());
    m.heat = entry::parse(m_heat->text());
    m.dwell = entry::parse(m_dwell->text());
    m.approach = m_approach->isChecked();
    const float decimals = entry::parse(m_decimals->text());
    for (size_t k = 0; k < m_limits.size(); ++k)
        m.limits[k] = entry::parse(m_limits[k]->text());

    if (!(m.towers > 0))
        return refuse(m_towers, QStringLiteral("La distance entre les tours doit être supérieure à 0 mm."));
    if (!(m.rootPos >= 0 && m.rootPos < m.towers))
        return refuse(m_rootPos, QStringLiteral("L'emplanture doit se trouver entre les deux tours : sa position doit "
                                                "être inférieure à la distance entre les tours."));
    if (!(m.feed > 0))
        return refuse(m_feed, QStringLiteral("La vitesse de coupe doit être supérieure à 0 mm/min."));
    if (!(m.heat >= 0))
        return refuse(m_heat, QStringLiteral("La chauffe ne peut pas être négative."));
    if (!(m.dwell >= 0))
        return refuse(m_dwell, QStringLiteral("La temporisation ne peut pas être négative."));
    if (decimals != std::floor(decimals) || decimals < 0 || decimals > kMaxDecimals)
        return refuse(m_decimals, QStringLiteral("Le nombre de décimales doit être un entier de 0 à %1.").arg(kMaxDecimals));
    m.decimals = int32_t(decimals);
    for (int axis = 0; axis < 4; ++axis)
        if (m.limits[size_t(2 * axis)] > m.limits[size_t(2 * axis + 1)])
            return refuse(m_limits[size_t(2 * axis)],
                          QStringLiteral("La course de l'axe %1 est inversée : le minimum dépasse le maximum.")
                              .arg(QChar::fromLatin1(m.axes[size_t(axis)])));
    if (m_apply)
        m_apply(m);
    accept();
    return true;
}

} // namespace orv
