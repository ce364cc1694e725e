// Single instance on Linux: a QLockFile. A lock whose owner process no longer runs is stale
// and is taken over, so a crash does not lock the user out.
#include "platform/singleinstance.h"

#include <QLockFile>

namespace mc {

struct SingleInstance::Private
{
    explicit Private(const QString &path) : lock(path) {}
    QLockFile lock;
};

SingleInstance::SingleInstance(const QString &mutexName, QObject *parent)
    : QObject(parent), d(std::make_unique<Private>(lockFilePath(mutexName))),
      m_serverName(serverName(mutexName))
{
    d->lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    stopListening(); // before the lock goes, so the socket of a next holder is never removed
    if (d->lock.isLocked())
        d->lock.unlock();
}

bool SingleInstance::acquireLock()
{
    return d->lock.tryLock(0);
}

bool SingleInstance::held() const
{
    return d->lock.isLocked();
}

} // namespace mc
