// File name, extension, path without extension and folder of a path.
#include "platform/paths.h"

#include <algorithm>

namespace orv {

namespace {
// The "." that starts the extension of the last part, or -1.
qsizetype extensionDot(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > lastSeparator(path) ? dot : -1;
}
} // namespace

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

QString fileNameOf(const QString &path)
{
    const qsizetype sep = lastSeparator(path);
    return sep < 0 ? QString() : path.mid(sep + 1);
}

QString extensionOf(const QString &path)
{
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? QString() : path.mid(dot + 1);
}

QString withoutExtension(const QString &path)
{
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? path : path.left(dot);
}

QString folderOf(const QString &path)
{
    return path.left(lastSeparator(path) + 1);
}

} // namespace orv
