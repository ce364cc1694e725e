// One running instance per product and user: the first process takes a named lock for its
// lifetime; a second process of the same user sees the lock, asks the first to bring its window
// to the front and ends. Another user's instance never stands in the way. Windows: a named mutex
// (per session). Linux: a lock file named after the mutex name in the user's runtime folder
// (runtimedir.h; a lock left by a process that died is taken over). The holder also listens on
// a local socket of the same name beside it, where a second start delivers its request; it
// serves a few clients at a time, drops idle ones, and listens again should the socket ever be
// lost. Main thread only.
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
    // when another instance holds it, or when the lock could not be taken at all (then
    // errorString() says why, for the user).
    bool tryAcquire();
    bool held() const;
    QString errorString() const { return m_error; }

    // Called by a second start: asks the instance holding mutexName to bring its window to the
    // front. True when the request was delivered; false when nobody listens (an instance that
    // could not listen, or one that is gone).
    static bool askHolderToShow(const QString &mutexName, int timeoutMs = 2000);

    // The lock file used on Linux for a mutex name, in the user's runtime folder: characters
    // that cannot appear in a file name are replaced, so a product name cannot point the lock
    // anywhere else. Empty when the runtime folder cannot be used.
    static QString lockFilePath(const QString &mutexName);
    // The local socket (Linux: its full path beside the lock) or pipe (Windows) name of the
    // holder, made safe the same way.
    static QString serverName(const QString &mutexName);

signals:
    // A second start asked for the window. Delivered from the event loop.
    void showRequested();

private:
    bool acquireLock(); // per system
    void listen();
    void stopListening();
    void onConnection();
    void keepListening();

    struct Private;
    std::unique_ptr<Private> d;
    QString m_serverName;
    QLocalServer *m_server = nullptr;
    QString m_error;
};

// The mutex name of a product: product name + " Wireless Gaming Mouse Mutex1".
QString instanceMutexName(const QString &productName);

} // namespace mc
