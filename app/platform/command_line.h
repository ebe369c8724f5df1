// The program's command line: a project path, quoted or not, the only thing
// the program accepts there.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orv {

// The arguments after the program name, joined with single spaces, as the
// older platform handed the command line over.
QString joinedCommandLine(const QStringList &arguments);

// The project the command line names: a text in double quotes whose last five
// characters are ".orv"" or ".ORV"" gives the text between the quotes; else a
// text ending in ".orv" or ".ORV" is the path itself. Any other text, and a
// mixed-case extension such as ".Orv", names nothing.
std::optional<QString> projectOnCommandLine(const QString &commandLine);

} // namespace orv
