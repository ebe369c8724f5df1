// The machine settings kept in Orvalis.ini, the settings window, the G-code
// export with its refusals and report, and the machine view's box.
#include "editor/machine_part.h"

#include "core/numeric_entry.h"
#include "editor/files_part.h"
#include "editor/files_texts.h"
#include "editor/form_machine.h"
#include "editor/form_orvalis.h"
#include "platform/ini_document.h"
#include "platform/paths.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include <cmath>

namespace orv {

namespace {

const QString kSection = QStringLiteral("Machine");
const QString kFilter = QStringLiteral("Programme G-code (*.ngc;*.gcode;*.nc)|*.ngc;*.gcode;*.nc");
const std::string kRefusedTitle = "Exportation G-code impossible";
const std::string kDoneTitle = "Exportation G-code";

struct NumberKey {
    const char *key;
    float MachineSettings::*field;
};
constexpr NumberKey kNumbers[] = {
    {"DistanceTours", &MachineSettings::towers},   {"PositionEmplanture", &MachineSettings::rootPos},
    {"Vitesse", &MachineSettings::feed},           {"SaigneeEmplanture", &MachineSettings::kerfRoot},
    {"SaigneeSaumon", &MachineSettings::kerfTip},  {"Chauffe", &MachineSettings::heat},
    {"Temporisation", &MachineSettings::dwell},
};

QString limitKey(size_t k) { return QStringLiteral("Axe%1%2").arg(k / 2 + 1).arg(k % 2 ? "Max" : "Min"); }

std::optional<double> number(const IniDocument &ini, const QString &key)
{
    const std::optional<QString> text = ini.find(kSection, key);
    if (!text || !isDecimal(text->trimmed().toStdString()))
        return std::nullopt;
    const double v = parseLenient(text->trimmed().toStdString());
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

QString text(double v) { return QString::fromStdString(shortestFloatText(float(v), ".")); }

QString length(double mm) { return QString::fromStdString(formatForBox(mm, "#####0.0")); }

QString duration(double seconds)
{
    const long s = std::lround(seconds);
    if (s >= 3600)
        return QStringLiteral("%1 h %2 min %3 s").arg(s / 3600).arg(s % 3600 / 60, 2, 10, QChar(u'0')).arg(s % 60, 2, 10, QChar(u'0'));
    return QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60, 2, 10, QChar(u'0'));
}

QString failureReason(int32_t code, const MachineSettings &m, float span)
{
    switch (code) {
    case VX_ERR_GCODE_COUNTS:
        return QStringLiteral("l'emplanture et le saumon n'ont pas le même nombre de points.");
    case VX_ERR_GCODE_TOO_FEW:
        return QStringLiteral("il faut au moins deux points à l'emplanture et au saumon.");
    case VX_ERR_GCODE_SPAN:
        return QStringLiteral("l'écartement entre l'emplanture et le saumon (%1 mm) et la distance entre les tours "
                              "(%2 mm) doivent être supérieurs à 0.")
            .arg(length(span), length(m.towers));
    case VX_ERR_GCODE_FACE:
        return QStringLiteral("le bloc ne tient pas entre les tours : l'emplanture à %1 mm de sa tour plus "
                              "l'écartement de %2 mm dépassent la distance entre les tours (%3 mm).")
            .arg(length(m.rootPos), length(span), length(m.towers));
    case VX_ERR_GCODE_LIMITS:
        return QStringLiteral("une position des chariots, saignée ou approche comprise, sort de la course d'un axe.");
    case VX_ERR_GCODE_MACHINE:
        return QStringLiteral("les réglages de la machine de découpe ne sont pas valables.");
    case VX_ERR_GCODE_POINT:
        return QStringLiteral("un point a une coordonnée qui n'est pas un nombre.");
    case VX_ERR_CREATE:
        return QStringLiteral("il n'a pas pu être créé ou écrit.");
    case VX_ERR_ARRAY_FREE:
    case VX_ERR_ARRAY_ALLOC:
    case VX_ERR_ARRAY_LOCK:
    case VX_ERR_MEMORY:
        return QStringLiteral("la mémoire manque, ou la liste de points est inutilisable.");
    case kVextraUnavailable:
        return QStringLiteral("la bibliothèque Vextra ne sait pas écrire de G-code.");
    default:
        return QStringLiteral("erreur de la bibliothèque Vextra (code %1).").arg(code);
    }
}

} // namespace

MachineSettings readMachineSettings(const IniDocument &ini)
{
    MachineSettings m;
    const MachineSettings defaults;
    for (const NumberKey &n : kNumbers)
        if (const std::optional<double> v = number(ini, QString::fromLatin1(n.key)))
            m.*n.field = float(*v);
    // A value the settings window would refuse falls back to its default.
    if (!(m.towers > 0))
        m.towers = defaults.towers;
    if (!(m.rootPos >= 0 && m.rootPos < m.towers))
        m.rootPos = defaults.rootPos < m.towers ? defaults.rootPos : 0;
    if (!(m.feed > 0))
        m.feed = defaults.feed;
    if (!(m.heat >= 0))
        m.heat = defaults.heat;
    if (!(m.dwell >= 0))
        m.dwell = defaults.dwell;
    if (const std::optional<double> v = number(ini, QStringLiteral("CoteEmplanture")); v && (*v == 0 || *v == 1))
        m.rootSide = int32_t(*v);
    if (const std::optional<double> v = number(ini, QStringLiteral("Approche")); v && (*v == 0 || *v == 1))
        m.approach = *v == 1;
    if (const std::optional<double> v = number(ini, QStringLiteral("Decimales"));
        v && *v >= 0 && *v <= kMaxDecimals && *v == std::floor(*v))
        m.decimals = int32_t(*v);
    const std::string axes = ini.value(kSection, QStringLiteral("Axes")).toUpper().toStdString();
    for (const std::string &a : kAxisSets)
        if (axes == a)
            m.axes = a;
    for (size_t k = 0; k < m.limits.size(); ++k)
        if (const std::optional<double> v = number(ini, limitKey(k)))
            m.limits[k] = float(*v);
    for (size_t k = 0; k < m.limits.size(); k += 2)
        if (m.limits[k] > m.limits[k + 1])
            m.limits[k] = m.limits[k + 1] = 0;
    return m;
}

void writeMachineSettings(IniDocument &ini, const MachineSettings &m)
{
    for (const NumberKey &n : kNumbers)
        writeSetting(ini, kSection, QString::fromLatin1(n.key), text(m.*n.field));
    writeSetting(ini, kSection, QStringLiteral("CoteEmplanture"), QString::number(m.rootSide));
    writeSetting(ini, kSection, QStringLiteral("Axes"), QString::fromStdString(m.axes));
    writeSetting(ini, kSection, QStringLiteral("Approche"), QString::number(m.approach ? 1 : 0));
    writeSetting(ini, kSection, QStringLiteral("Decimales"), QString::number(m.decimals));
    for (size_t k = 0; k < m.limits.size(); ++k)
        writeSetting(ini, kSection, limitKey(k), text(m.limits[k]));
}

MachinePart::MachinePart(Editor &ed, FormOrvalis &window, FilesPart &files)
    : Part(ed), m_window(window), m_files(files)
{
    QObject::connect(ui().cmdMachine, &QToolButton::clicked, this, [this] { cmdMachine_Click(); });
    QObject::connect(ui().cmdExporterGCode, &QToolButton::clicked, this, [this] { cmdExporterGCode_Click(); });
    QObject::connect(ui().chkVisuMachine, &QCheckBox::toggled, this, [this] { chkVisuMachine_Click(); });
}

MachineSettings MachinePart::storedSettings() const
{
    const IniFile ini(m_window.settingsPath());
    return readMachineSettings(ini.document());
}

std::unique_ptr<FormMachine> MachinePart::makeMachineDialog()
{
    return std::make_unique<FormMachine>(m_ed.platform, storedSettings(),
                                         [this](const MachineSettings &m) { apply(m); }, m_ed.window);
}

void MachinePart::cmdMachine_Click() { makeMachineDialog()->exec(); }

void MachinePart::apply(const MachineSettings &m)
{
    IniFile ini(m_window.settingsPath());
    writeMachineSettings(ini.document(), m);
    if (!ini.save())
        m_ed.show(critical(QStringLiteral("Les réglages de la machine n'ont pas pu être enregistrés dans %1.")
                               .arg(quoted(ini.path()))
                               .toStdString(),
                           "Machine de découpe"));
    st().machine = m;
    if (ui().chkVisuMachine->isChecked())
        m_ed.refreshKeepingZoom();
}

void MachinePart::chkVisuMachine_Click()
{
    if (ui().chkVisuMachine->isChecked())
        st().machine = storedSettings();
    m_ed.refreshKeepingZoom();
}

bool MachinePart::exportable(const MachineSettings &m)
{
    if (!m_ed.library.hasGCode()) {
        m_ed.show(critical("Cette version de la bibliothèque Vextra ne contient pas la fonction « EcrireGCode » : "
                           "installez une version plus récente pour exporter en G-code.",
                           kRefusedTitle));
        return false;
    }
    const Profils &doc = st().doc;
    if (doc.NbPointsE() != doc.NbPointsS()) {
        m_ed.show(critical(QStringLiteral("L'emplanture a %1 points et le saumon %2 : le fil passe en même temps par "
                                          "les points de même numéro, il en faut autant des deux côtés.\r\n"
                                          "Utilisez d'abord la « Synchronisation optimale ».")
                               .arg(doc.NbPointsE())
                               .arg(doc.NbPointsS())
                               .toStdString(),
                           kRefusedTitle));
        return false;
    }
    // The carriage paths are worked out only when an axis has a travel.
    const std::optional<LimitBreach> breach =
        anyAxisLimited(m) ? firstLimitBreach(carriagePaths(doc, m), m) : std::nullopt;
    if (breach) {
        const QChar axis = QChar::fromLatin1(m.axes[size_t(breach->axis)]);
        const QString where = breach->point == 0 ? QStringLiteral("À l'origine de l'approche")
                                                 : QStringLiteral("Au point %1").arg(breach->point);
        m_ed.show(critical(QStringLiteral("%1, l'axe %2 irait à %3 mm, hors de sa course (%4 à %5 mm).\r\n"
                                          "Modifiez la position de l'emplanture ou les courses dans « Machine de "
                                          "découpe ».")
                               .arg(where)
                               .arg(axis)
                               .arg(length(breach->value), length(breach->min), length(breach->max))
                               .toStdString(),
                           kRefusedTitle));
        return false;
    }
    return true;
}

void MachinePart::cmdExporterGCode_Click()
{
    const MachineSettings m = storedSettings();
    if (!exportable(m))
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Enregistrer le programme G-code...");
    request.filter = kFilter;
    request.fileName = withoutExtension(ui().side[0].lblNomFichier->text());
    const std::optional<FileChoice> choice = m_files.saveDialog(request);
    if (!choice)
        return;
    const Profils &doc = st().doc;
    const float span = doc.Ecartement;
    ContourArray root = contourArray(m_ed.library, doc.PointsE, doc.NbPointsE());
    ContourArray tip = contourArray(m_ed.library, doc.PointsS, doc.NbPointsS());
    const int32_t result = root.isValid() && tip.isValid()
                               ? m_ed.library.ecrireGCode(root, tip, choice->path, toVxMachine(m, span))
                               : VX_ERR_MEMORY;
    if (result < 0) {
        m_ed.show(critical(QStringLiteral("Le programme G-code %1 n'a pas été écrit : %2")
                               .arg(quoted(choice->path), failureReason(result, m, span))
                               .toStdString(),
                           kRefusedTitle));
        return;
    }
    const CutEstimate e = estimateCut(doc, m);
    m_ed.show(information(QStringLiteral("Le programme G-code %1 est écrit : %2 déplacements.\r\n"
                                         "Longueur de coupe : %3 mm à l'emplanture, %4 mm au saumon.\r\n"
                                         "Durée estimée de la coupe : %5 à %6 mm/min.")
                              .arg(quoted(choice->path), QString::number(result), length(e.rootLength),
                                   length(e.tipLength), duration(e.seconds), length(m.feed))
                              .toStdString(),
                          kDoneTitle));
}

} // namespace orv
