// The French texts of the file commands: the refusals and failures of opening,
// exporting and saving, and the report written beside an intermediate profile.
#pragma once

#include "core/document.h"
#include "core/notice.h"
#include "editor/project_file.h"
#include "platform/command_line.h"

#include <QString>
#include <QStringList>

namespace orv {

// A path as the messages show it: « path ».
inline QString quoted(const QString &path)
{
    return QStringLiteral("« ") + path + QStringLiteral(" »");
}
// A read that gave no point (code 0) or failed (a negative library code).
Notice readFailure(const QString &path, int32_t code);
// An export that the library refused or could not write.
Notice writeFailure(const QString &path, int32_t code);
// A project that cannot be opened at all: absent, unreadable, or refused.
Notice projectMissing(const QString &path);
Notice projectUnreadable(const QString &path);
Notice projectRefused(const QString &path, ProjectRefusal refusal);
// A project opened with parts skipped or mended.
Notice projectDamaged(const QString &path, const ProjectDamage &damage);
Notice projectNotSaved(const QString &path);
// A file named on the command line that is not there, a folder, or unreadable.
Notice commandLineFileRefused(const QString &path, FileProblem problem);
// A drawing of several contours while the sequence window is not installed.
Notice assemblyNotAvailable(const QString &path);
Notice intermediateRefused(int32_t rootCount, int32_t tipCount, int32_t intermediateCount);
Notice reportNotWritten(const QString &path);

// What the report of an intermediate profile compares.
struct IntermediateComparison {
    QString chosenPath;
    QString rootFileName, tipFileName;
    float intermediateSpacing = 0;       // from the root
    float spacing = 0;                   // root to tip
    Caracteristiques rootToIntermediate; // the root as root, the intermediate as tip
    Caracteristiques intermediateToTip;  // the intermediate as root, the tip as tip
};

// The 17 lines of the report, each ending with CR LF. The spacings carry the
// boxes' pattern; every other number is the shortest text of its float with
// the given decimal separator (the system's own).
QString intermediateReport(const IntermediateComparison &c, const QString &decimalSeparator);

} // namespace orv
