// Reading the command line: options, Qt's options, the project or file to open.
#include "platform/command_line.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace orv {

namespace {

// Qt's own options: those that take a value (as the next argument or after
// "=") and those that stand alone.
constexpr std::array kQtValued{
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "qmljsdebugger", "dialogs", "fontengine"};
constexpr std::array kQtFlags{"reverse", "widgetcount", "nograb", "dograb", "sync"};

template <std::size_t N> bool listed(const std::array<const char *, N> &names, const QString &name)
{
    for (const char *n : names)
        if (name == QLatin1String(n))
            return true;
    return false;
}

} // namespace

StartRequest parseStartArguments(const QStringList &arguments)
{
    StartRequest request;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (optionsEnded || arg.size() < 2 || !arg.startsWith(u'-')) {
            request.files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            request.action = StartAction::Help;
            return request;
        }
        if (arg == QLatin1String("-v") || arg == QLatin1String("--version")) {
            request.action = StartAction::Version;
            return request;
        }
        // Qt reads "--style" as "-style".
        const QString bare = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = bare.indexOf(u'=');
        const QString name = equals < 0 ? bare : bare.left(equals);
        if (listed(kQtFlags, name) && equals < 0) {
            request.qtArguments << arg;
        } else if (listed(kQtValued, name) && (equals >= 0 || i + 1 < arguments.size())) {
            request.qtArguments << arg;
            if (equals < 0)
                request.qtArguments << arguments[++i];
        } else if (request.badOption.isEmpty()) {
            request.badOption = arg;
            request.action = StartAction::BadOption;
        }
    }
    return request;
}

QString helpText(const QString &samplesFolder)
{
    return QStringLiteral(
               "Utilisation : orvalis [OPTION]... [FICHIER]\n"
               "Prépare les panneaux d'aile pour la découpe au fil chaud : profils d'emplanture et de\n"
               "saumon, synchronisation point à point, disposition de l'aile et export.\n"
               "\n"
               "FICHIER est un projet Orvalis (.orv ou .ORV), ou un profil ou un dessin que la\n"
               "bibliothèque Vextra lit (.dat, .dxf, .plt, .prn, .hpgl, .eps, .drd, .drl...), ouvert\n"
               "comme emplanture. Un nom qui contient des espaces peut aussi être mis entre guillemets.\n"
               "\n"
               "Options :\n"
               "  -h, --help     affiche cette aide et quitte\n"
               "  -v, --version  affiche la version et quitte\n"
               "  --             la suite est le nom du fichier, même s'il commence par « - »\n"
               "Les options de Qt (-style, -platform, -reverse...) sont acceptées.\n"
               "\n"
               "Orvalis garde ses réglages (Orvalis.ini) et les fichiers d'échange TempE.dat et\n"
               "TempS.dat dans ~/.config/Orvalis, ou dans le dossier que nomme la variable\n"
               "ORVALIS_HOME. Une seule copie du programme tourne à la fois pour chaque utilisateur.\n"
               "\n"
               "%1"
               "Aide complète : touche F1 dans Orvalis, ou « man orvalis ».\n"
               "\n"
               "Code de sortie : 0 en fin normale, 1 quand la bibliothèque Vextra manque,\n"
               "2 pour une option inconnue.\n")
        .arg(samplesFolder.isEmpty() ? QString() : QStringLiteral("Exemples : ") + samplesFolder + u'\n');
}

QString versionText(const QString &version)
{
    return QStringLiteral("Orvalis %1\n"
                          "Licence GPL-3.0 ou ultérieure : logiciel libre, fourni sans aucune garantie.\n")
        .arg(version);
}

QString badOptionText(const QString &option)
{
    return QStringLiteral("orvalis : option inconnue « %1 »\n"
                          "Essayez « orvalis --help » pour en savoir plus.\n")
        .arg(option);
}

QString joinedCommandLine(const QStringList &arguments)
{
    return arguments.join(u' ');
}

std::optional<QString> projectOnCommandLine(const QString &commandLine)
{
    if (commandLine.isEmpty())
        return std::nullopt;
    if (commandLine.startsWith(u'"') && commandLine.size() >= 6 &&
        (commandLine.endsWith(QStringLiteral(".orv\"")) || commandLine.endsWith(QStringLiteral(".ORV\""))))
        return commandLine.mid(1, commandLine.size() - 2);
    if (commandLine.endsWith(QStringLiteral(".orv")) || commandLine.endsWith(QStringLiteral(".ORV")))
        return commandLine;
    return std::nullopt;
}

std::optional<QString> fileOnCommandLine(const QString &commandLine)
{
    QString path = commandLine;
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        path = path.mid(1, path.size() - 2);
    if (path.isEmpty() || path.endsWith(QLatin1String(".orv"), Qt::CaseInsensitive))
        return std::nullopt;
    return path;
}

FileProblem fileProblem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileProblem::Missing;
    if (info.isDir())
        return FileProblem::Folder;
    // A pipe or a device would block the start or never end.
    if (!info.isFile())
        return FileProblem::Unreadable;
    // Opening settles it: permission bits do not tell everything (ACLs, root).
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileProblem::Unreadable;
    return FileProblem::None;
}

} // namespace orv
