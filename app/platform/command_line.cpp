// Reading the project path from the command line.
#include "platform/command_line.h"

namespace orv {

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

} // namespace orv
