// Single instance on Windows: a named mutex, created initially owned with default security; it
// stays open for the life of the process.
#include "platform/singleinstance.h"

#include <windows.h>

#include <string>

namespace mc {

struct SingleInstance::Private
{
    std::wstring name;
    HANDLE handle = nullptr;
};

SingleInstance::SingleInstance(const QString &mutexName, QObject *parent)
    : QObject(parent), d(std::make_unique<Private>()), m_serverName(serverName(mutexName))
{
    // A backslash would make Windows read the name as a namespace path and refuse it, and a
    // refused mutex must not look like another running instance.
    QString safe = mutexName;
    safe.replace(QLatin1Char('\\'), QLatin1Char('_'));
    d->name = safe.toStdWString();
}

SingleInstance::~SingleInstance()
{
    stopListening(); // before the lock goes, so the socket of a next holder is never removed
    if (d->handle)
        CloseHandle(d->handle);
}

bool SingleInstance::acquireLock()
{
    HANDLE h = CreateMutexW(nullptr, TRUE, d->name.c_str());
    if (!h) {
        m_error = QStringLiteral("The program cannot make sure that it runs only once: the "
                                 "system refused its mutex (error %1).")
                      .arg(GetLastError());
        return false;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return false;
    }
    d->handle = h;
    return true;
}

bool SingleInstance::held() const
{
    return d->handle != nullptr;
}

} // namespace mc
