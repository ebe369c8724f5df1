// The program's command line: its own options, Qt's, and the file to open (a
// project path, quoted or not, or a profile or drawing).
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orv {

enum class StartAction { Run, Help, Version, BadOption };

// What the arguments after the program name ask for.
struct StartRequest {
    StartAction action = StartAction::Run;
    QStringList files;       // every argument that is no option, in order
    QStringList qtArguments; // Qt's own options with their values, for QApplication
    QString badOption;       // the first option neither Orvalis nor Qt knows
};

// -h/--help and -v/--version win over everything after them; "--" ends the
// options; Qt's options ("-style fusion", "--platform=xcb", "-session id"...)
// are kept for Qt; any other text starting with "-" is a bad option.
StartRequest parseStartArguments(const QStringList &arguments);

// The French texts of --help (which names the samples folder unless it is
// empty), --version and a bad option; each ends with "\n".
QString helpText(const QString &samplesFolder);
QString versionText(const QString &version);
QString badOptionText(const QString &option);

// The arguments after the program name, joined with single spaces, as the
// older platform handed the command line over.
QString joinedCommandLine(const QStringList &arguments);

// The project the command line names: a text in double quotes whose last five
// characters are ".orv"" or ".ORV"" gives the text between the quotes; else a
// text ending in ".orv" or ".ORV" is the path itself. Any other text, and a
// mixed-case extension such as ".Orv", names nothing.
std::optional<QString> projectOnCommandLine(const QString &commandLine);

// The file a command line that names no project points at: the text without
// its surrounding double quotes; nothing for an empty line or one that ends in
// a mixed-case ".orv", which the project rules ignore.
std::optional<QString> fileOnCommandLine(const QString &commandLine);

// Why a file named on the command line cannot be opened at all; anything but
// a regular file that opens for reading (a pipe, a device) is unreadable.
enum class FileProblem { None, Missing, Folder, Unreadable };
FileProblem fileProblem(const QString &path);

} // namespace orv
