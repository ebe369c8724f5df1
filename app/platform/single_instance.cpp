// The lock that keeps a second copy of the program from running.
#include "platform/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace orv {

SingleInstance::SingleInstance(const QString &folder)
{
    QString where =
        folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : folder;
    // The shared temporary folder gets a folder per user: one user's copy must
    // not keep another user's from starting.
    if (where.isEmpty())
        where = QDir::tempPath() + QStringLiteral("/orvalis-") + QString::number(::getuid());
    QDir().mkpath(where);
    m_path = QDir(where).filePath(QStringLiteral("orvalis.lock"));
    m_lock = std::make_unique<QLockFile>(m_path);
    // Staleness by the owner's process only: by age, a copy running for more
    // than the default 30 s would lose its lock to a second start.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        m_anotherIsRunning = m_lock->error() == QLockFile::LockFailedError;
}

SingleInstance::~SingleInstance() = default;

} // namespace orv
