// The sequence window: controls wired to the document's commands, the two
// pictures and their number lists, the repeat timers and the hand-over.
#include "sequences/form_sequences.h"

#include "editor/editor.h"
#include "editor/files_part.h"
#include "editor/files_texts.h"
#include "editor/form_orvalis.h"
#include "editor/icons.h"
#include "editor/profile_canvas.h"
#include "platform/ini_document.h"
#include "platform/platform.h"
#include "platform/vextra_binding.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

namespace orv {

namespace {

const QString kOpenFilter =
    QStringLiteral("DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Plotter (*.plt)|*.plt|Projet "
                   "Orvalis (*.orv)|*.orv|Tous les fichiers connus|*.dxf;*.dat;*.plt;*.orv");
constexpr int kRepeatMs = 100;

} // namespace

FormSequences::FormSequences(Platform &platform, VextraLibrary &library, QString settingsPath,
                             QWidget *parent)
    : QDialog(parent), m_platform(platform), m_library(library), m_settingsPath(std::move(settingsPath))
{
    m_ui.setup(this);
    makeRepeat(m_entryRepeat, QStringLiteral("Timer_Renumerotation1"),
               [this](int direction, bool record) { return m_doc.entryPoint(direction, record); });
    makeRepeat(m_spacingRepeat, QStringLiteral("Timer_Ecartement1"), [this](int direction, bool record) {
        // The timer's steps need three sequences; the press's own step does not.
        if (!record && m_doc.final().size() < 3)
            return Outcome::done(false);
        return m_doc.spacing(direction, record);
    });
    makeRepeat(m_rotationRepeat, QStringLiteral("Timer_rotation1"), [this](int direction, bool record) {
        return m_doc.rotate((direction == 0 ? -10 : 10) * M_PI / 180, record);
    });
    connectControls();
    resize(1100, 760);
}

FormSequences::~FormSequences() = default;

void FormSequences::connectControls()
{
    SequencesUi &u = m_ui;
    auto click = [this](QPushButton *b, auto handler) { connect(b, &QPushButton::clicked, this, handler); };
    click(u.cmdOuvrirFichierSequences, [this] { cmdOuvrirFichierSequences_Click(); });
    for (int i = 0; i < 2; ++i) {
        const size_t k = size_t(i);
        click(u.cmdInsererSequence[k], [this, i] { cmdInsererSequence_Click(i); });
        click(u.cmdOrdreSequence[k], [this, i] { cmdOrdreSequence_Click(i); });
        connect(u.cmdRotationSequence[k], &QPushButton::pressed, this,
                [this, i] { cmdRotationSequence_MouseDown(i); });
        connect(u.cmdRotationSequence[k], &QPushButton::released, this,
                [this] { cmdRotationSequence_MouseUp(); });
        click(u.cmdTaille[k], [this, i] { cmdTaille_Click(i); });
        click(u.cmdSelectionSequence[k], [this] { selectAll(ListKind::Initial); });
        click(u.cmdSelectionSequenceFinal[k], [this] { selectAll(ListKind::Final); });
        connect(u.cmdPremierPointSequence[k], &QPushButton::pressed, this,
                [this, i] { cmdPremierPointSequence_MouseDown(i); });
        connect(u.cmdPremierPointSequence[k], &QPushButton::released, this,
                [this] { cmdPremierPointSequence_MouseUp(); });
        connect(u.cmdIntervale[k], &QPushButton::pressed, this, [this, i] { cmdIntervale_MouseDown(i); });
        connect(u.cmdIntervale[k], &QPushButton::released, this, [this] { cmdIntervale_MouseUp(); });
    }
    click(u.cmdQuelquesSequences, [this] { cmdQuelquesSequences_Click(); });
    click(u.cmdSensSequence, [this] { cmdSensSequence_Click(); });
    click(u.cmdInverserFinal, [this] { cmdInverserFinal_Click(); });
    click(u.cmdRotation90, [this] { cmdRotation90_Click(); });
    click(u.cmdSymetrieSequence, [this] { cmdSymetrieSequence_Click(); });
    click(u.cmdEffacer, [this] { cmdEffacer_Click(); });
    click(u.cmdInsererPointSequence, [this] { cmdInsererPointSequence_Click(); });
    click(u.cmdUndoSequence, [this] { cmdUndoSequence_Click(); });
    click(u.cmdSouderSequences, [this] { cmdSouderSequences_Click(); });
    click(u.cmdValiderSequence, [this] { cmdValiderSequence_Click(); });
    click(u.cmdAideSequences, [this] { m_platform.showHelp(); });
    connect(u.chkAideSequences, &QCheckBox::toggled, u.lblAideSequences, &QLabel::setVisible);
    connect(u.chkVisuSens, &QCheckBox::toggled, this, [this] {
        redrawPicture(ListKind::Initial);
        redrawPicture(ListKind::Final);
    });
    for (ListKind kind : {ListKind::Initial, ListKind::Final}) {
        SequencePictureUi &p = pictureUi(kind);
        p.picture->drawPicture = [this, kind](QPainter &painter) { drawPicture(kind, painter); };
        p.picture->drawOverlay = [this, kind](QPainter &painter) { drawOverlay(kind, painter); };
        p.picture->mouse = [this, kind](const CanvasMouse &m) { m_mouse.handle(kind, m); };
        p.picture->resized = [this] { fitPictures(); };
        connect(p.bar, &QScrollBar::valueChanged, this, [this, kind] {
            refreshNumbers(kind);
            redrawPicture(kind);
        });
        for (int i = 0; i < 5; ++i)
            connect(p.numbers[size_t(i)], &ClickableLabel::clicked, this,
                    [this, kind, i] { lblNumSequence_Click(kind, i); });
    }
}

void FormSequences::begin(Side side, std::span<const ContourPoint> buffer)
{
    m_side = side;
    m_assembled = false;
    for (int i = 0; i < 2; ++i) {
        const QIcon icon = Icons::swatch(side == Emplanture ? Qt::red : Qt::blue);
        for (QPushButton *b :
             {m_ui.cmdSelectionSequence[size_t(i)], m_ui.cmdSelectionSequenceFinal[size_t(i)]}) {
            b->setIcon(icon);
            b->setVisible(i == int(side));
        }
    }
    loadDrawing(buffer);
}

void FormSequences::loadDrawing(std::span<const ContourPoint> buffer)
{
    m_doc.load(buffer);
    m_drawingExtent = extentOf(m_doc.initial());
    m_ui.upper.bar->setValue(0);
    refresh();
}

// ---- pictures and number lists

int FormSequences::current(ListKind picture) const
{
    const SequencePictureUi &p = picture == ListKind::Initial ? m_ui.upper : m_ui.lower;
    return m_doc.list(picture).empty() ? -1 : p.bar->value();
}

void FormSequences::fitPictures()
{
    const DrawingExtent finalExtent = extentOf(m_doc.final());
    m_maps[0].fit(m_drawingExtent, m_ui.upper.picture->widthTwips(), m_ui.upper.picture->heightTwips());
    m_maps[1].fit(m_doc.final().empty() ? m_drawingExtent : united(m_drawingExtent, finalExtent),
                  m_ui.lower.picture->widthTwips(), m_ui.lower.picture->heightTwips());
    redrawPicture(ListKind::Initial);
    redrawPicture(ListKind::Final);
}

void FormSequences::refresh()
{
    for (ListKind kind : {ListKind::Initial, ListKind::Final}) {
        QScrollBar *bar = pictureUi(kind).bar;
        const QSignalBlocker quiet(bar);
        bar->setRange(0, std::max(0, int(m_doc.list(kind).size()) - 1));
        refreshNumbers(kind);
    }
    fitPictures();
}

void FormSequences::refreshNumbers(ListKind kind)
{
    SequencePictureUi &p = pictureUi(kind);
    const SequenceList &list = m_doc.list(kind);
    for (int i = 0; i < 5; ++i) {
        ClickableLabel *l = p.numbers[size_t(i)];
        const int k = p.bar->value() + i;
        if (k >= int(list.size())) {
            l->clear();
            continue;
        }
        l->setText(QString::number(k + 1));
        const int16_t sel = list[size_t(k)].Selected;
        l->setStyleSheet(sel == kSequenceSelected ? QStringLiteral("color: rgb(0,176,10); font-weight: bold;")
                         : sel == kLinkingPoint   ? QStringLiteral("font-style: italic;")
                                                  : QString());
    }
}

void FormSequences::redrawPicture(ListKind picture)
{
    pictureUi(picture).picture->invalidatePicture();
}

void FormSequences::updateOverlay(ListKind picture)
{
    pictureUi(picture).picture->updateOverlay();
}

void FormSequences::setCurrent(ListKind picture, int sequence)
{
    pictureUi(picture).bar->setValue(sequence);
}

void FormSequences::drawPicture(ListKind picture, QPainter &p)
{
    PictureOptions o;
    o.tipColours = m_side == Saumon;
    o.showDirection = m_ui.chkVisuSens->isChecked();
    o.current = current(picture);
    o.finalPicture = picture == ListKind::Final;
    if (picture == ListKind::Final)
        o.dragOffset = m_mouse.dragOffset();
    drawSequences(p, m_doc.list(picture), mapping(picture), o);
}

void FormSequences::drawOverlay(ListKind picture, QPainter &p)
{
    if (const std::optional<QRectF> band = m_mouse.band(picture)) {
        QPen pen(Qt::black, 1, Qt::DotLine);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.drawRect(*band);
    }
    if (picture == ListKind::Final && !m_mouse.hoverMarks().empty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (const QPointF &m : m_mouse.hoverMarks())
            p.drawEllipse(m, 30, 30);
    }
}

// ---- commands

void FormSequences::apply(const Outcome &o)
{
    if (o.refusal)
        m_platform.messageBox(*o.refusal);
    else if (o.changed)
        refresh();
}

void FormSequences::cmdOuvrirFichierSequences_Click()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Choisissez un dessin à assembler (.dxf, .dat, .plt)");
    request.filter = kOpenFilter;
    request.filterIndex = 5;
    {
        const IniFile ini(m_settingsPath);
        request.folder = readSetting(ini.document(), QStringLiteral("Fichiers"), QStringLiteral("Ouverture"),
                                     QFileInfo(m_settingsPath).absolutePath());
    }
    request.overwritePrompt = false;
    const std::optional<FileChoice> choice = m_platform.openFileDialog(request);
    if (!choice)
        return;
    const ContourRead read = readContourFile(m_library, choice->path);
    // A failed read keeps the drawing and the assembly the window had.
    if (read.records.empty()) {
        m_platform.messageBox(readFailure(choice->path, read.code));
        return;
    }
    loadDrawing(read.records);
}

void FormSequences::cmdInsererSequence_Click(int)
{
    apply(m_doc.chain());
}
void FormSequences::cmdQuelquesSequences_Click()
{
    apply(m_doc.copyInPlace());
}
void FormSequences::cmdOrdreSequence_Click(int index)
{
    apply(m_doc.order(index));
}
void FormSequences::cmdSensSequence_Click()
{
    apply(m_doc.reverse(ListKind::Initial));
}
void FormSequences::cmdInverserFinal_Click()
{
    apply(m_doc.reverse(ListKind::Final));
}

void FormSequences::makeRepeat(RepeatButton &button, const QString &timerName,
                               std::function<Outcome(int direction, bool record)> step)
{
    button.step = std::move(step);
    button.timer = m_platform.createTimer(
        kRepeatMs, [this, &button] { apply(button.step(button.direction, false)); }, TimerMode::Repeating,
        timerName);
}

void FormSequences::press(RepeatButton &button, int index)
{
    button.direction = index;
    apply(button.step(index, true));
    button.timer->setEnabled(true);
}

void FormSequences::cmdPremierPointSequence_MouseDown(int index) { press(m_entryRepeat, index); }
void FormSequences::cmdPremierPointSequence_MouseUp() { m_entryRepeat.timer->setEnabled(false); }
void FormSequences::cmdRotationSequence_MouseDown(int index) { press(m_rotationRepeat, index); }
void FormSequences::cmdRotationSequence_MouseUp() { m_rotationRepeat.timer->setEnabled(false); }
void FormSequences::cmdIntervale_MouseDown(int index) { press(m_spacingRepeat, index); }
void FormSequences::cmdIntervale_MouseUp() { m_spacingRepeat.timer->setEnabled(false); }

void FormSequences::cmdRotation90_Click()
{
    apply(m_doc.rotate(90 * M_PI / 180));
}
void FormSequences::cmdSymetrieSequence_Click()
{
    apply(m_doc.mirror());
}
void FormSequences::cmdTaille_Click(int index)
{
    apply(m_doc.scale(index));
}

void FormSequences::cmdEffacer_Click()
{
    apply(m_doc.erase());
}
void FormSequences::cmdInsererPointSequence_Click()
{
    apply(m_doc.insertLinkingPoints());
}
void FormSequences::cmdSouderSequences_Click()
{
    apply(m_doc.weld());
}

void FormSequences::cmdUndoSequence_Click()
{
    if (m_doc.undo())
        refresh();
}

void FormSequences::selectAll(ListKind list)
{
    m_doc.selectAll(list);
    refresh();
}

void FormSequences::lblNumSequence_Click(ListKind list, int label)
{
    const int k = pictureUi(list).bar->value() + label;
    if (k >= int(m_doc.list(list).size()))
        return;
    m_doc.toggle(list, k);
    refresh();
}

// ---- hand-over

void FormSequences::cmdValiderSequence_Click()
{
    std::vector<ContourPoint> buffer;
    DrawingExtent bounds;
    const Outcome o = m_doc.validate(buffer, bounds);
    if (o.refusal) {
        m_platform.messageBox(*o.refusal);
        return;
    }
    m_assembly = std::move(buffer);
    m_assemblyBounds = bounds;
    m_assembled = true;
    accept();
}

void FormSequences::done(int result)
{
    for (RepeatButton *button : {&m_entryRepeat, &m_spacingRepeat, &m_rotationRepeat})
        button->timer->setEnabled(false);
    QDialog::done(result);
}

void installSequenceWindow(FormOrvalis &window, SequenceWindowRunner run)
{
    if (!run)
        run = [](FormSequences &form) { form.exec(); };
    Editor &ed = window.editor();
    ed.assembleSequences = [&window, &ed, run](Side side, std::vector<ContourPoint> &buffer, Bounds &bounds) {
        FormSequences form(ed.platform, ed.library, window.settingsPath(), &window);
        form.begin(side, buffer);
        run(form);
        if (!form.assembled())
            return false;
        buffer = form.assembly();
        const DrawingExtent e = form.assemblyBounds();
        bounds = {e.xMin, e.xMax, e.yMin, e.yMax};
        return true;
    };
}

} // namespace orv
