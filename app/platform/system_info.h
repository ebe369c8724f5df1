// The system-information program started from the about window: the first
// known tool found on PATH, since there is no registry entry to ask here.
#pragma once

#include <QString>
#include <QStringList>

namespace orv {

class Platform;

// The message shown when no tool can be started.
inline const QString kSystemInfoUnavailable =
    QStringLiteral("Les informations système ne sont pas disponibles actuellement");

// The tools looked for, in order of preference.
QStringList systemInfoCandidates();

// The full path of the first candidate that is an executable file in a
// folder of the PATH list (":"-separated; empty entries are skipped so that
// the current folder is never searched). Empty when none is found.
QString findSystemInfoTool(const QString &pathVariable);

// Starts the tool, or shows the message in a plain OK box with this title
// when there is none or it cannot be started. True when it was started.
bool showSystemInformation(Platform &platform, const QString &title);

} // namespace orv
