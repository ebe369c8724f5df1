// Finding and starting the system-information tool.
#include "platform/system_info.h"

#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>

namespace orv {

QStringList systemInfoCandidates()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("hardinfo2"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor")};
}

QString findSystemInfoTool(const QString &pathVariable)
{
    const QStringList folders = pathVariable.split(u':', Qt::SkipEmptyParts);
    for (const QString &tool : systemInfoCandidates()) {
        for (const QString &folder : folders) {
            if (!QDir::isAbsolutePath(folder))
                continue;
            const QFileInfo info(QDir(folder).filePath(tool));
            if (info.isFile() && info.isExecutable())
                return info.absoluteFilePath();
        }
    }
    return {};
}

bool showSystemInformation(Platform &platform, const QString &title)
{
    const QString tool = platform.findSystemInfoTool();
    if (!tool.isEmpty() && platform.startProgram(tool))
        return true;
    platform.messageBox(kSystemInfoUnavailable, title, MessageStyle::PlainOk);
    return false;
}

} // namespace orv
