// Profile insertion: the first document waits in a saved copy while the
// window is reloaded and the contours to insert are loaded.
#include "editor/insertion_part.h"

#include "core/insertion.h"
#include "editor/form_orvalis.h"
#include "editor/profile_canvas.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace orv {

InsertionPart::InsertionPart(Editor &ed, FormOrvalis &window) : Part(ed), m_window(window)
{
    connect(ui().chkInsertionProfils, &QCheckBox::toggled, this, [this] { chkInsertionProfils_Click(); });
}

std::vector<QWidget *> InsertionPart::layoutBoxes()
{
    MainWindowUi &u = ui();
    return {u.side[0].txtCorde, u.side[1].txtCorde, u.txtEcartementZ, u.txtFleche,
            u.lblFleche,        u.txtDiedreMm,      u.txtDiedreDeg,   u.lblDiedre};
}

namespace {
QString textOf(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    return qobject_cast<QLabel *>(w)->text();
}

void setTextOf(QWidget *w, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(text);
    else
        qobject_cast<QLabel *>(w)->setText(text);
}
} // namespace

void InsertionPart::chkInsertionProfils_Click()
{
    m_window.storeWindowPlace();
    if (ui().chkInsertionProfils->isChecked())
        start();
    else
        finishInsertion();
}

void InsertionPart::start()
{
    EditorState &s = st();
    MainWindowUi &u = ui();
    if (m_saved || !m_ed.hasPoints()) {
        // Nothing to insert into (the box is only usable with a loaded document).
        const QSignalBlocker quiet(u.chkInsertionProfils);
        u.chkInsertionProfils->setChecked(m_saved.has_value());
        return;
    }
    m_ed.snapshot();
    u.lblInsertionProfils->setVisible(true);
    for (Side side : kSides)
        m_index[size_t(side)] = firstSelected(s.doc.points(side));
    if (m_index[0] == 0 || m_index[1] == 0) {
        m_ed.show(critical("Si vous ne sélectionnez pas de point d'insertion sur un profil, l'insertion se fera "
                           "sur le dernier point.",
                           "Pas de sélection sur un profil"));
        for (Side side : kSides)
            if (m_index[size_t(side)] == 0)
                m_index[size_t(side)] = s.doc.count(side);
    }
    Saved saved{s.doc, s.fileNames, s.layout, s.history, s.ProjetCharge, u.chkVoirCommentaires->isChecked(), {}};
    for (QWidget *box : layoutBoxes())
        saved.boxTexts.push_back(textOf(box));
    m_saved = std::move(saved);

    m_window.reload();
    u.chkInsertionProfils->setEnabled(true);
}

void InsertionPart::finishInsertion()
{
    if (!m_saved)
        return;
    Saved saved = std::move(*m_saved);
    m_saved.reset();
    EditorState &s = st();
    MainWindowUi &u = ui();
    // An import leaves ProjetCharge as it was but makes the document editable.
    const bool loaded = s.ProjetCharge || u.pctProfils->isEnabled();

    auto restoreNames = [&] {
        s.fileNames = saved.fileNames;
        s.storedFileNames = saved.fileNames;
        for (Side side : kSides)
            u.side[size_t(side)].lblNomFichier->setText(saved.fileNames[size_t(side)]);
    };

    if (!loaded) {
        // The reload emptied the layout boxes and values: a re-application
        // would move the tip, so everything comes back as it was.
        s.doc = std::move(saved.doc);
        s.layout = saved.layout;
        s.history = std::move(saved.history);
        s.ProjetCharge = saved.projetCharge;
        restoreNames();
        m_ed.enableEditing(true);
        const std::vector<QWidget *> boxes = layoutBoxes();
        for (size_t i = 0; i < boxes.size(); ++i)
            setTextOf(boxes[i], saved.boxTexts[i]);
        u.chkVoirCommentaires->setChecked(saved.commentShown);
        u.lblInsertionProfils->setVisible(false);
        m_ed.finish({.cursors = true, .snapshot = false});
        return;
    }

    Profils result = std::move(saved.doc);
    spliceAfter(result.PointsE, m_index[0], s.doc.PointsE);
    spliceAfter(result.PointsS, m_index[1], s.doc.PointsS);
    s.doc = std::move(result);
    s.layout.storedSweep = saved.layout.storedSweep;
    s.layout.storedDihedral = saved.layout.storedDihedral;
    s.layout.shownAngle = saved.layout.shownAngle;
    s.history = std::move(saved.history);
    s.ProjetCharge = s.ProjetCharge || saved.projetCharge;
    restoreNames();
    m_ed.enableEditing(true);
    m_ed.snapshot();
    u.lblInsertionProfils->setVisible(false);
    // The spacing box too: it showed the inserted document's.
    m_ed.finish({.reapplyLayout = true, .chords = true, .layoutBoxes = true, .cursors = true});
}

} // namespace orv
