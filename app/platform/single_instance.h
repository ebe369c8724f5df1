// One running copy of the program per user: a lock file in the user's
// runtime folder, held for the life of the program.
#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace orv {

class SingleInstance {
public:
    // The lock lives in `folder`, by default the user's runtime folder.
    explicit SingleInstance(const QString &folder = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when another running copy holds the lock: this one should end.
    // A lock left by a copy that died is taken over; a folder where no lock
    // can be made lets the program run.
    bool anotherIsRunning() const { return m_anotherIsRunning; }
    const QString &lockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_anotherIsRunning = false;
};

} // namespace orv
