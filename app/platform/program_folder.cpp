// Where the settings, the exchange files, the help and the samples are.
#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace orv {

namespace {
bool isWritableFolder(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() &&
           ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString cleaned(const QString &folder)
{
    return QDir::cleanPath(folder);
}

const QString kHelpFile = QStringLiteral("Aide_Orvalis.html");

bool holdsHelp(const QString &folder)
{
    return QFileInfo(folder + u'/' + kHelpFile).isFile();
}
} // namespace

QString resolveProgramFolder(const ProgramFolderInputs &inputs)
{
    QString folder;
    if (!inputs.orvalisHome.isEmpty()) {
        folder = cleaned(inputs.orvalisHome);
    } else if (inputs.portable && isWritableFolder(inputs.executableFolder)) {
        return cleaned(inputs.executableFolder);
    } else {
        // The XDG rules ignore a relative $XDG_CONFIG_HOME.
        const QString config =
            QDir::isAbsolutePath(inputs.xdgConfigHome)
                ? inputs.xdgConfigHome
                : (inputs.home.isEmpty() ? QDir::homePath() : inputs.home) + QStringLiteral("/.config");
        folder = cleaned(config + QStringLiteral("/Orvalis"));
    }
    QDir().mkpath(folder);
    return folder;
}

QString resolveDataFolder(const QString &executableFolder)
{
    if (holdsHelp(executableFolder))
        return cleaned(executableFolder);
    const QString shared = cleaned(executableFolder + QStringLiteral("/../share/orvalis"));
    return holdsHelp(shared) ? shared : cleaned(executableFolder);
}

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString programFolder()
{
    const QString exe = executableFolder();
    return resolveProgramFolder({qEnvironmentVariable("ORVALIS_HOME"), exe, qEnvironmentVariable("XDG_CONFIG_HOME"),
                                 qEnvironmentVariable("HOME"), holdsHelp(exe)});
}

QString dataFolder()
{
    return resolveDataFolder(executableFolder());
}

QString settingsFilePath()
{
    return programFolder() + QStringLiteral("/Orvalis.ini");
}

QString helpFilePath()
{
    return dataFolder() + u'/' + kHelpFile;
}

QString samplesFolder()
{
    return dataFolder() + QStringLiteral("/samples");
}

QString exchangeFilePath(QChar side)
{
    return programFolder() + QStringLiteral("/Temp") + side + QStringLiteral(".dat");
}

} // namespace orv
