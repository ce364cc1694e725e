// Single instance on Linux: a QLockFile in the user's runtime folder. A lock whose owner process
// no longer runs is stale and is taken over, so a crash does not lock the user out; so is a lock
// file that names no process at all (cut short by a full disk or a crash while it was written),
// which nobody else could have put in a folder that is the user's alone.
#include "platform/log.h"
#include "platform/singleinstance.h"

#include "platform/runtimedir.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>

#include <optional>

namespace mc {

struct SingleInstance::Private
{
    QString path;
    std::optional<QLockFile> lock;
};

SingleInstance::SingleInstance(const QString &mutexName, QObject *parent)
    : QObject(parent), d(std::make_unique<Private>()), m_serverName(serverName(mutexName))
{
    d->path = lockFilePath(mutexName);
    if (!d->path.isEmpty()) {
        d->lock.emplace(d->path);
        d->lock->setStaleLockTime(0);
    }
}

SingleInstance::~SingleInstance()
{
    stopListening(); // before the lock goes, so the socket of a next holder is never removed
    if (d->lock && d->lock->isLocked())
        d->lock->unlock();
}

bool SingleInstance::acquireLock()
{
    m_error.clear();
    if (!d->lock) {
        QString why;
        userRuntimeDir(&why);
        m_error = QCoreApplication::translate("SingleInstance",
                                              "The program cannot make sure that it runs only "
                                              "once: %1.")
                      .arg(why);
        return false;
    }
    if (d->lock->tryLock(0))
        return true;
    qint64 pid = 0;
    QString host;
    QString app;
    if (d->lock->error() == QLockFile::LockFailedError &&
        !d->lock->getLockInfo(&pid, &host, &app)) {
        qCDebug(lcPlatform, "single instance: %s names no process; taken over",
                qPrintable(d->path));
        QFile::remove(d->path);
        if (d->lock->tryLock(0))
            return true;
    }
    if (d->lock->error() == QLockFile::LockFailedError)
        return false; // another instance of this user runs
    const QString why =
        d->lock->error() == QLockFile::PermissionError
            ? QCoreApplication::translate("SingleInstance", "permission denied")
            : QCoreApplication::translate("SingleInstance",
                                          "it is not a file this user can create or replace");
    m_error = QCoreApplication::translate("SingleInstance",
                                          "The program cannot make sure that it runs only "
                                          "once: its lock %1 cannot be written (%2).")
                  .arg(d->path, why);
    return false;
}

bool SingleInstance::held() const
{
    return d->lock && d->lock->isLocked();
}

} // namespace mc
