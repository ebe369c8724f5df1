// Where the settings, the exchange files and the help file are.
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
} // namespace

QString resolveProgramFolder(const ProgramFolderInputs &inputs)
{
    QString folder;
    if (!inputs.orvalisHome.isEmpty()) {
        folder = cleaned(inputs.orvalisHome);
    } else if (isWritableFolder(inputs.executableFolder)) {
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

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString programFolder()
{
    return resolveProgramFolder({qEnvironmentVariable("ORVALIS_HOME"), executableFolder(),
                                 qEnvironmentVariable("XDG_CONFIG_HOME"), qEnvironmentVariable("HOME")});
}

QString settingsFilePath()
{
    return programFolder() + QStringLiteral("/Orvalis.ini");
}

QString helpFilePath()
{
    return executableFolder() + QStringLiteral("/Aide_Orvalis.html");
}

QString exchangeFilePath(QChar side)
{
    return programFolder() + QStringLiteral("/Temp") + side + QStringLiteral(".dat");
}

} // namespace orv
