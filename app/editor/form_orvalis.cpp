#include "editor/form_orvalis.h"

#include "about/form_about.h"
#include "about/help_window.h"
#include "core/numeric_entry.h"
#include "editor/clipboard_part.h"
#include "editor/comment_part.h"
#include "editor/cursors_part.h"
#include "editor/drawing.h"
#include "editor/editor.h"
#include "editor/exchange_part.h"
#include "editor/files_part.h"
#include "editor/geometry_part.h"
#include "editor/history_part.h"
#include "editor/icons.h"
#include "editor/insertion_part.h"
#include "editor/layout_part.h"
#include "editor/machine_part.h"
#include "editor/mouse_part.h"
#include "editor/point_editing_part.h"
#include "editor/profile_canvas.h"
#include "editor/selection_part.h"
#include "editor/transforms_part.h"
#include "editor/view_part.h"
#include "platform/command_line.h"
#include "platform/ini_document.h"
#include "platform/platform.h"
#include "platform/system_info.h"
#include "platform/vextra_binding.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include <cmath>

namespace orv {

namespace {
const QString kWindow = QStringLiteral("Fenêtre");
const QString kFiles = QStringLiteral("Fichiers");
constexpr int kDefaultWidth = 15525, kDefaultHeight = 10965;

int settingInt(const IniDocument &ini, const QString &key, const QString &def)
{
    const double v = parseLenient(readSetting(ini, kWindow, key, def).toStdString());
    return static_cast<int>(std::lround(v));
}
} // namespace

FormOrvalis::FormOrvalis(Platform &platform, VextraLibrary &library, EditorEnvironment env, QWidget *parent)
    : QMainWindow(parent), m_env(std::move(env)), m_platform(platform), m_library(library)
{
    setWindowIcon(Icons::application());
    m_ui.setup(this);
    m_editor = std::make_unique<Editor>(m_ui, platform, library, this);
    m_drawing = std::make_unique<DrawingPart>(*m_editor);
    m_view = std::make_unique<ViewPart>(*m_editor);
    m_cursors = std::make_unique<CursorsPart>(*m_editor);
    m_history = std::make_unique<HistoryPart>(*m_editor);
    m_comment = std::make_unique<CommentPart>(*m_editor);
    m_files = std::make_unique<FilesPart>(*m_editor, *this);
    m_layout = std::make_unique<LayoutPart>(*m_editor);
    m_selection = std::make_unique<SelectionPart>(*m_editor);
    m_transforms = std::make_unique<TransformsPart>(*m_editor);
    m_editing = std::make_unique<PointEditingPart>(*m_editor);
    m_geometry = std::make_unique<GeometryPart>(*m_editor);
    m_clipboard = std::make_unique<ClipboardPart>(*m_editor, *m_editing);
    m_mouse = std::make_unique<MousePart>(*m_editor, *m_drawing);
    m_exchange = std::make_unique<ExchangePart>(*m_editor, *this);
    m_insertion = std::make_unique<InsertionPart>(*m_editor, *this);
    m_machine = std::make_unique<MachinePart>(*m_editor, *this, *m_files);
    m_drawing->background = &m_view->background();

    connect(m_ui.cmdAide, &QToolButton::clicked, this, &FormOrvalis::showHelp);
    connect(m_ui.cmdAPropos, &QToolButton::clicked, this, &FormOrvalis::showAbout);
    resize(static_cast<int>(kDefaultWidth / twipsPerPixel()), static_cast<int>(kDefaultHeight / twipsPerPixel()));
}

FormOrvalis::~FormOrvalis() = default;

QString FormOrvalis::settingsPath() const { return m_env.programFolder + QStringLiteral("/Orvalis.ini"); }

double FormOrvalis::twipsPerPixel() const { return 1440.0 / logicalDpiX(); }

void FormOrvalis::load()
{
    loadWindow();
    openFromCommandLine();
}

void FormOrvalis::reload() { loadWindow(); }

void FormOrvalis::loadWindow()
{
    m_ui.pctImageHidden->setVisible(false);
    if (!m_ui.chkInsertionProfils->isChecked())
        readWindowSettings();
    m_ui.lblInsertionProfils->setVisible(m_ui.chkInsertionProfils->isChecked());
    initialState();
    m_comment->hideComment();
    m_editor->st.sel.SelectionActive = kSelected;
    m_ui.optSelection[0]->setChecked(true);
    m_editor->enableEditing(false);
    checkLibraryVersion();
}

void FormOrvalis::readWindowSettings()
{
    IniFile ini(settingsPath());
    IniDocument &d = ini.document();
    if (!ini.existed()) {
        writeSetting(d, kWindow, QStringLiteral("Left"), QStringLiteral("0"));
        writeSetting(d, kWindow, QStringLiteral("Top"), QStringLiteral("0"));
        writeSetting(d, kWindow, QStringLiteral("Width"), QString::number(kDefaultWidth));
        writeSetting(d, kWindow, QStringLiteral("Height"), QString::number(kDefaultHeight));
        writeSetting(d, kWindow, QStringLiteral("WindowState"), QStringLiteral("0"));
        writeSetting(d, kFiles, QStringLiteral("Sauvegarde"), m_env.programFolder);
        writeSetting(d, kFiles, QStringLiteral("Ouverture"), m_env.programFolder);
        ini.save();
    }
    const int state = settingInt(d, QStringLiteral("WindowState"), QStringLiteral("0"));
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    else if (state == 1)
        setWindowState(Qt::WindowMinimized);
    else {
        setWindowState(Qt::WindowNoState);
        const double t = twipsPerPixel();
        const int left = settingInt(d, QStringLiteral("Left"), QStringLiteral("0"));
        const int top = settingInt(d, QStringLiteral("Top"), QStringLiteral("0"));
        const int width = settingInt(d, QStringLiteral("Width"), QString::number(kDefaultWidth));
        const int height = settingInt(d, QStringLiteral("Height"), QString::number(kDefaultHeight));
        move(static_cast<int>(std::lround(left / t)), static_cast<int>(std::lround(top / t)));
        resize(std::max(200, static_cast<int>(std::lround(width / t))), std::max(150, static_cast<int>(std::lround(height / t))));
    }
    m_editor->st.DossierSauvegarde = readSetting(d, kFiles, QStringLiteral("Sauvegarde"), m_env.programFolder);
    m_editor->st.DossierOuverture = readSetting(d, kFiles, QStringLiteral("Ouverture"), m_env.programFolder);
}

void FormOrvalis::storeWindowPlace()
{
    IniFile ini(settingsPath());
    writeWindowPlace(ini.document());
    ini.save();
}

void FormOrvalis::writeWindowSettings()
{
    IniFile ini(settingsPath());
    IniDocument &d = ini.document();
    writeWindowPlace(d);
    writeSetting(d, kFiles, QStringLiteral("Sauvegarde"), m_editor->st.DossierSauvegarde);
    writeSetting(d, kFiles, QStringLiteral("Ouverture"), m_editor->st.DossierOuverture);
    ini.save();
}

void FormOrvalis::writeWindowPlace(IniDocument &d)
{
    const int state = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    if (state == 0) {
        const double t = twipsPerPixel();
        const QRect g = geometry();
        writeSetting(d, kWindow, QStringLiteral("Left"), QString::number(std::lround(g.x() * t)));
        writeSetting(d, kWindow, QStringLiteral("Top"), QString::number(std::lround(g.y() * t)));
        writeSetting(d, kWindow, QStringLiteral("Width"), QString::number(std::lround(g.width() * t)));
        writeSetting(d, kWindow, QStringLiteral("Height"), QString::number(std::lround(g.height() * t)));
    }
    writeSetting(d, kWindow, QStringLiteral("WindowState"), QString::number(state));
}

void FormOrvalis::initialState()
{
    Editor &ed = *m_editor;
    EditorState &st = ed.st;
    st.ProjetCharge = false;
    st.view.state = ViewState{};
    st.view.state.GardeZoom = true;
    st.layout = LayoutState{};
    st.EcartementIntermediaire = 0;
    st.history.clear();
    st.history.AnnulationEnCours = false;
    st.clipboard = Clipboard{};
    st.DiviseurTolerance = 5000.0f;
    st.fileNames = {};
    m_ui.side[0].lblNomFichier->clear();
    m_ui.side[1].lblNomFichier->clear();
    for (QLineEdit *box : {static_cast<QLineEdit *>(m_ui.txtFleche), static_cast<QLineEdit *>(m_ui.txtEcartementZ),
                           static_cast<QLineEdit *>(m_ui.txtEcartementIntermediaire),
                           static_cast<QLineEdit *>(m_ui.txtDiedreMm), static_cast<QLineEdit *>(m_ui.side[0].txtCorde),
                           static_cast<QLineEdit *>(m_ui.side[1].txtCorde), static_cast<QLineEdit *>(m_ui.txtDeplacer[0]),
                           static_cast<QLineEdit *>(m_ui.txtDeplacer[1]), static_cast<QLineEdit *>(m_ui.txtTourner),
                           static_cast<QLineEdit *>(m_ui.txtDecaler), static_cast<QLineEdit *>(m_ui.txtEcartementAiles)})
        ed.setBox(box, 0, kFmtBoxInit);
    ed.setBox(m_ui.txtDiedreDeg, 0, kFmtAngleInit);
    for (NumericBox *box : m_ui.txtEtirer)
        ed.setBox(box, 100, kFmtBoxInit);
    m_view->initialState();
    m_ui.cmdSauveProfil[3]->setEnabled(false);
    m_ui.txtEcartementIntermediaire->setEnabled(false);
    ed.resetCursors();
    ed.redraw();
    st.view.state.GardeZoom = false;
}

void FormOrvalis::checkLibraryVersion()
{
    if (m_library.version() < 30)
        m_platform.messageBox(QStringLiteral("Le numéro de version de Vextra.dll est insuffisant pour bénéficier de toutes "
                                             "les fonctionnalités\r\nVous devez utiliser au moins Vextra.dll v0.30"),
                              QStringLiteral("Numero de version de Vextra.dll"), MessageStyle::CriticalOk);
}

void FormOrvalis::openFromCommandLine()
{
    if (const std::optional<QString> project = projectOnCommandLine(m_env.commandLine))
        m_files->openProject(*project);
    else if (const std::optional<QString> file = fileOnCommandLine(m_env.commandLine))
        m_files->openRootFile(*file);
}

void FormOrvalis::closeEvent(QCloseEvent *event)
{
    // The first document of an insertion lives only in the insertion part:
    // finish the insertion so that the question below offers to save it.
    if (m_insertion->inProgress())
        m_ui.chkInsertionProfils->setChecked(false);
    if (m_editor->st.ProjetCharge) {
        const MessageButton answer = m_platform.messageBox(QStringLiteral("Voulez-vous effectuer une sauvegarde du projet en cours?"),
                                                           QStringLiteral("Fermeture de Orvalis"),
                                                           MessageStyle::ExclamationYesNoCancel);
        if (answer == MessageButton::Cancel) {
            event->ignore();
            return;
        }
        if (answer == MessageButton::Yes)
            m_files->cmdSauveProfil_Click(2);
    }
    writeWindowSettings();
    event->accept();
}

void FormOrvalis::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        showHelp();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void FormOrvalis::showHelp() { m_platform.showHelp(); }

std::unique_ptr<FormAbout> FormOrvalis::makeAbout()
{
    return std::make_unique<FormAbout>(m_library.version(),
                                       [this] { showSystemInformation(m_platform, FormAbout::applicationTitle()); }, this);
}

void FormOrvalis::showAbout() { makeAbout()->exec(); }

} // namespace orv
