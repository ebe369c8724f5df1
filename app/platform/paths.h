// Path routines shared by the file commands. Paths split at "/" and also at
// "\" so that names coming from the older platform give their parts too.
#pragma once

#include <QString>

namespace orv {

// Index of the last "/" or "\" in the path, or -1.
qsizetype lastSeparator(const QString &path);

// The text after the last separator; empty when the path has none or ends
// with one.
QString fileNameOf(const QString &path);

// The text after the last "." of the path's last part (the part after the
// last separator, the whole text when there is none); empty without a ".".
QString extensionOf(const QString &path);

// The path without its extension and its "."; a "." in a folder name is not
// an extension, so such a path comes back whole.
QString withoutExtension(const QString &path);

// The path up to and including its last separator; empty when it has none.
QString folderOf(const QString &path);

} // namespace orv
