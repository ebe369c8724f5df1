#include "editor_test_support.h"

#include "core/characteristics.h"
#include "editor/files_part.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>

namespace orvtest {

orv::VextraLibrary &library()
{
    static std::unique_ptr<orv::VextraLibrary> lib = orv::VextraLibrary::open(QStringLiteral(VEXTRA_LIBRARY_PATH));
    return *lib;
}

std::string fixture(const std::string &relative) { return std::string(ORVALIS_FIXTURES) + "/" + relative; }
std::string sample(const std::string &name) { return std::string(ORVALIS_SAMPLES) + "/" + name; }

void WindowTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(library().isLoaded()) << library().errorText().toStdString();
}

void WindowTest::TearDown()
{
    if (m_window) {
        m_window->hide();
        m_window.reset();
    }
}

orv::FormOrvalis &WindowTest::start(const QString &commandLine)
{
    m_window.reset();
    orv::EditorEnvironment env{m_dir.path(), m_dir.filePath(QStringLiteral("Aide_Orvalis.html")), commandLine};
    m_window = std::make_unique<orv::FormOrvalis>(platform, library(), env);
    m_window->load();
    m_window->show();
    return *m_window;
}

QString WindowTest::write(const QString &name, const QByteArray &bytes) const
{
    const QString p = path(name);
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return p;
}

QByteArray WindowTest::read(const QString &p) const
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WindowTest::loadDocument(const std::vector<orv::PointProfil> &root, const std::vector<orv::PointProfil> &tip,
                              float spacing)
{
    st().doc.PointsE.assign(root);
    st().doc.PointsS.assign(tip);
    st().doc.Ecartement = spacing;
    st().ProjetCharge = true;
    ed().enableEditing(true);
    ed().finish({.chords = true, .layoutBoxes = true, .cursors = true, .view = orv::Finish::View::Rebuild});
}

void WindowTest::placeProfiles(orv::ProfilePoints root, orv::ProfilePoints tip, float spacing)
{
    start();
    st().doc.PointsE = std::move(root);
    st().doc.PointsS = std::move(tip);
    st().doc.Ecartement = spacing;
    st().ProjetCharge = true;
    ed().enableEditing(true);
    orv::computeCharacteristics(st().doc);
    st().layout.storedSweep = st().doc.C.FlecheBA;
    st().layout.storedDihedral = st().doc.C.DiedreMm;
}

void WindowTest::openFile(int side, const QString &p, int filterIndex)
{
    platform.queueFile(p, filterIndex);
    m_window->files().cmdOuvrirProfil_Click(side);
}

void WindowTest::type(QWidget *box, const QString &text)
{
    auto *edit = qobject_cast<QLineEdit *>(box);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->setText(text);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(edit, &press);
    QApplication::sendEvent(edit, &release);
}

bool WindowTest::closeWindow(orv::MessageButton answer)
{
    if (st().ProjetCharge)
        platform.queueAnswer(answer);
    return m_window->close();
}

std::vector<std::string> WindowTest::messages() const
{
    std::vector<std::string> out;
    for (const auto &m : platform.messages())
        out.push_back((m.title + QLatin1Char('|') + m.text).toStdString());
    return out;
}

} // namespace orvtest
