// Transfer to and import from the cutting program, and Sorvane projects. A
// read goes into work copies first: the document changes only once every
// file and every number has been read.
#include "editor/exchange_part.h"

#include "core/characteristics.h"
#include "core/numeric_entry.h"
#include "core/selection.h"
#include "editor/exchange_files.h"
#include "editor/files_part.h"
#include "editor/files_texts.h"
#include "editor/form_orvalis.h"
#include "editor/layout_part.h"
#include "editor/profile_canvas.h"
#include "editor/transforms_part.h"
#include "editor/view_part.h"
#include "platform/text_codec.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include <cmath>

namespace orv {

namespace {

// A chord in a title has three decimals: closer than half the last one is
// the same chord, and the file is read as it is.
constexpr double kChordTolerance = 0.0005;

void scaleToChord(std::vector<PointProfil> &points, float chord)
{
    if (points.empty() || !(chord > 0))
        return;
    float xMin = points.front().X, xMax = xMin;
    for (const PointProfil &p : points) {
        xMin = std::min(xMin, p.X);
        xMax = std::max(xMax, p.X);
    }
    const double measured = double(xMax) - xMin;
    if (measured <= 0 || std::abs(measured - chord) <= kChordTolerance)
        return;
    const double ratio = chord / measured;
    for (PointProfil &p : points) {
        p.X = static_cast<float>(p.X * ratio);
        p.Y = static_cast<float>(p.Y * ratio);
    }
}

} // namespace

ExchangePart::ExchangePart(Editor &ed, FormOrvalis &window) : Part(ed), m_window(window)
{
    connect(ui().cmdTransfertSorvane, &QToolButton::clicked, this, [this] { cmdTransfertSorvane_Click(); });
    connect(ui().cmdImportSorvane, &QToolButton::clicked, this, [this] { cmdImportSorvane_Click(); });
}

QString ExchangePart::exchangePath(Side side) const
{
    return m_window.environment().programFolder + (side == Emplanture ? QStringLiteral("/TempE.dat")
                                                                      : QStringLiteral("/TempS.dat"));
}

// ---- transfer

void ExchangePart::cmdTransfertSorvane_Click()
{
    EditorState &s = st();
    for (Side side : kSides)
        QFile::remove(exchangePath(side));
    computeCharacteristics(s.doc);
    const Caracteristiques &c = s.doc.C;
    const QString titles[2] = {
        rootExchangeTitle(c.E.Corde, ui().side[0].lblNomFichier->text()),
        tipExchangeTitle(c.S.Corde, c.FlecheBA, c.DiedreMm, s.doc.Ecartement, ui().side[1].lblNomFichier->text())};
    for (Side side : kSides) {
        const ProfilePoints &points = s.doc.points(side);
        ContourArray array = contourArray(m_ed.library, points, points.count());
        const QString path = exchangePath(side);
        // The cutting program would otherwise pick up a stale or missing panel.
        const int32_t result = array.isValid() ? m_ed.library.ecrireFichier(array, path, titles[side])
                                               : int32_t(VX_ERR_MEMORY);
        if (result < 0) {
            m_ed.show(writeFailure(path, result));
            return;
        }
    }
}

void ExchangePart::replaceDocument(const std::vector<PointProfil> &root, const std::vector<PointProfil> &tip,
                                   float spacing, const std::array<QString, 2> &names)
{
    EditorState &s = st();
    MainWindowUi &u = ui();
    m_ed.enableEditing(true);
    for (QCheckBox *box : u.chkFleche)
        box->setChecked(false);
    u.chkAligner->setChecked(false);
    for (QCheckBox *box : u.chkDiedre)
        box->setChecked(false);
    s.doc.PointsE = ProfilePoints(root);
    s.doc.PointsS = ProfilePoints(tip);
    s.doc.Ecartement = spacing;
    s.fileNames = names;
    s.storedFileNames = names;
    for (Side side : kSides)
        u.side[size_t(side)].lblNomFichier->setText(names[size_t(side)]);
    computeCharacteristics(s.doc);
    s.layout.storedSweep = s.doc.C.FlecheBA;
    s.layout.storedDihedral = s.doc.C.DiedreMm;
    s.layout.shownAngle = s.doc.C.DiedreDeg;
}

// ---- import

bool ExchangePart::readExchangeFile(const QString &path, std::vector<PointProfil> &points, QString &title)
{
    const ContourRead read = readContourFile(m_ed.library, path);
    if (read.records.empty()) {
        m_ed.show(readFailure(path, read.code));
        return false;
    }
    title = read.title;
    points.clear();
    points.reserve(read.records.size());
    for (const ContourPoint &r : read.records)
        points.push_back({r.X, r.Y, 0});
    return true;
}

void ExchangePart::cmdImportSorvane_Click()
{
    EditorState &s = st();
    MainWindowUi &u = ui();
    // An earlier import leaves the document editable without ProjetCharge:
    // a refusal must not lock it.
    const bool wasEditable = u.pctProfils->isEnabled();
    if (!s.ProjetCharge)
        m_ed.enableEditing(true);
    auto giveUp = [&] {
        if (!wasEditable)
            m_ed.enableEditing(false);
    };
    if (m_ed.show(importQuestion()) != MessageButton::Yes) {
        giveUp();
        return;
    }
    const QString pathE = exchangePath(Emplanture), pathS = exchangePath(Saumon);
    if (!QFileInfo::exists(pathE) || !QFileInfo::exists(pathS)) {
        m_ed.show(importFilesMissing());
        giveUp();
        return;
    }
    std::vector<PointProfil> root, tip;
    QString titleE, titleS;
    if (!readExchangeFile(pathE, root, titleE) || !readExchangeFile(pathS, tip, titleS)) {
        giveUp();
        return;
    }
    const std::optional<float> chordE = rootTitleChord(titleE);
    if (!chordE) {
        m_ed.show(exchangeTitleRefused(pathE));
        giveUp();
        return;
    }
    const std::optional<TipTitle> t = parseTipTitle(titleS);
    if (!t) {
        m_ed.show(exchangeTitleRefused(pathS));
        giveUp();
        return;
    }
    // The library's ".dat" writer brings every profile to chord 1.
    scaleToChord(root, *chordE);
    scaleToChord(tip, t->chord);
    for (PointProfil &p : tip) {
        p.X = static_cast<float>(double(p.X) + t->sweep);
        p.Y = static_cast<float>(double(p.Y) + t->dihedral);
    }

    replaceDocument(root, tip, t->spacing, {QStringLiteral("TempE.dat"), QStringLiteral("TempS.dat")});
    m_ed.finish({.chords = true, .layoutBoxes = true, .cursors = true, .view = Finish::View::Rebuild});
}

// ---- Sorvane projects

bool ExchangePart::openSorvaneProject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_ed.show(sorvaneUnreadable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_ed.show(sorvaneUnreadable(path));
        return false;
    }
    const SorvaneRead read = readSorvaneProject(decodeText(bytes));
    if (!read.project) {
        m_ed.show(sorvaneRefused(path, read.problem));
        return false;
    }
    const SorvaneProject &p = *read.project;
    EditorState &s = st();

    s.ProjetCharge = true;
    m_ed.setCaption(QStringLiteral("Profils Orvalis - ") + path);
    replaceDocument(p.sides[Emplanture].points, p.sides[Saumon].points, static_cast<float>(p.spacing),
                    {p.sides[Emplanture].fileName, p.sides[Saumon].fileName});
    s.history.AnnulationEnCours = true;
    m_ed.finish({.chords = true, .layoutBoxes = true, .cursors = true, .view = Finish::View::Rebuild});

    applySorvaneLayout(p);
    // One snapshot for the whole opening: an undo goes back to the document
    // it replaced.
    m_ed.snapshot();
    s.history.endCommand();
    return true;
}

void ExchangePart::typeInto(QWidget *box, double value)
{
    const std::string separator = QLocale::system().decimalPoint().toStdString();
    qobject_cast<QLineEdit *>(box)->setText(
        QString::fromStdString(shortestFloatText(static_cast<float>(value), separator)));
}

void ExchangePart::onWholeSide(Side side, const std::function<void()> &command)
{
    for (Side t : kSides) {
        if (t == side)
            selectAll(st().doc.points(t), kSelected);
        else
            clearSelection(st().doc.points(t), kSelected);
    }
    st().history.AnnulationEnCours = true;
    command();
    for (Side t : kSides)
        clearSelection(st().doc.points(t), kSelected);
}

void ExchangePart::applySorvaneLayout(const SorvaneProject &p)
{
    TransformsPart &transforms = m_window.transformsPart();
    LayoutPart &layout = m_window.layoutPart();
    MainWindowUi &u = ui();
    for (Side side : kSides)
        if (p.sides[size_t(side)].heightFactor != 1)
            onWholeSide(side, [&] {
                typeInto(u.txtEtirer[1], p.sides[size_t(side)].heightFactor * 100);
                transforms.txtEtirer_KeyUp(1);
            });
    for (Side side : kSides) {
        if (p.sides[size_t(side)].mirrorVertical)
            onWholeSide(side, [&] { transforms.cmdSymetrie_Click(0); });
        if (p.sides[size_t(side)].mirrorHorizontal)
            onWholeSide(side, [&] { transforms.cmdSymetrie_Click(1); });
    }
    for (Side side : kSides)
        if (p.sides[size_t(side)].twist != 0)
            onWholeSide(side, [&] {
                typeInto(u.txtTourner, -p.sides[size_t(side)].twist);
                transforms.txtTourner_KeyUp();
            });
    st().history.AnnulationEnCours = true;
    typeInto(u.txtFleche, p.sweep);
    layout.txtFleche_KeyUp();
    st().history.AnnulationEnCours = true;
    typeInto(u.txtDiedreMm, p.dihedral());
    layout.txtDiedreMm_KeyUp();
    m_window.viewPart().cmdRAZVueCote_Click();
    if (!p.comment.isEmpty()) {
        u.txtCommentaire->setTextCrLf(p.comment.join(QStringLiteral("\r\n")));
        u.chkVoirCommentaires->setChecked(true);
    }
}

} // namespace orv
