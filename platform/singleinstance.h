// One running instance per product: the first process takes a named lock for its lifetime;
// a second process sees the lock, asks the first to bring its window to the front and ends.
// Windows: a named mutex. Linux: a lock file in the temporary folder named after the mutex name
// (a lock left by a process that died is taken over). The holder also listens on a local socket
// of the same name, where a second start delivers its request. Main thread only.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace mc {

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &mutexName, QObject *parent = nullptr);
    ~SingleInstance() override; // releases the lock if it was taken
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this process now holds the lock (and then listens for later starts); false
    // when another instance holds it.
    bool tryAcquire();
    bool held() const;

    // Called by a second start: asks the instance holding mutexName to bring its window to the
    // front. True when the request was delivered; false when nobody listens (an instance that
    // could not listen, or one that is gone).
    static bool askHolderToShow(const QString &mutexName, int timeoutMs = 2000);

    // The lock file used on Linux for a mutex name: characters that cannot appear in a file
    // name are replaced, so a product name cannot point the lock anywhere else.
    static QString lockFilePath(const QString &mutexName);
    // The local socket (Linux) or pipe (Windows) name of the holder, made safe the same way.
    static QString serverName(const QString &mutexName);

signals:
    // A second start asked for the window. Delivered from the event loop.
    void showRequested();

private:
    bool acquireLock(); // per system
    void listen();
    void stopListening();
    void onConnection();

    struct Private;
    std::unique_ptr<Private> d;
    QString m_serverName;
    QLocalServer *m_server = nullptr;
};

// The mutex name of a product: product name + " Wireless Gaming Mouse Mutex1".
QString instanceMutexName(const QString &productName);

} // namespace mc
