// One running instance per product: the first process takes a named lock for its lifetime;
// a second process sees the lock and ends. Windows: a named mutex. Linux: a lock file in the
// temporary folder named after the mutex name (a lock left by a process that died is taken
// over). Called once on the main thread at start-up.
#pragma once

#include <QString>

#include <memory>

namespace mc {

class SingleInstance
{
public:
    explicit SingleInstance(const QString &mutexName);
    ~SingleInstance(); // releases the lock if it was taken
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this process now holds the lock; false when another instance holds it.
    bool tryAcquire();
    bool held() const;

    // The lock file used on Linux for a mutex name: characters that cannot appear in a file
    // name are replaced, so a product name cannot point the lock anywhere else.
    static QString lockFilePath(const QString &mutexName);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The mutex name of a product: product name + " Wireless Gaming Mouse Mutex1".
QString instanceMutexName(const QString &productName);

} // namespace mc
