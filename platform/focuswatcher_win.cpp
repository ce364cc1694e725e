// The application in front on Windows: a WinEvent hook for EVENT_SYSTEM_FOREGROUND, out of
// context, so the system calls back on the thread that set it, from its message loop (the Qt
// event loop), and no thread of ours is involved. The window's class and its process's
// executable describe it. The running applications are the visible top-level windows' owners.
#include "platform/focuswatcher.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <windows.h>

#include <tlhelp32.h>

#include <iterator>

namespace mc {

namespace {

QString executableOf(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return QString();
    wchar_t path[MAX_PATH * 2];
    DWORD size = DWORD(std::size(path));
    QString name;
    if (QueryFullProcessImageNameW(process, 0, path, &size))
        name = QFileInfo(QString::fromWCharArray(path, int(size))).fileName();
    CloseHandle(process);
    return name;
}

FocusReport describe(HWND window)
{
    FocusReport r;
    if (!window)
        return r;
    wchar_t className[256];
    const int length = GetClassNameW(window, className, int(std::size(className)));
    if (length > 0)
        r.windowClass = QString::fromWCharArray(className, length);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    r.pid = pid;
    r.executable = executableOf(pid);
    return r;
}

class WinFocusWatcher;
WinFocusWatcher *g_watcher = nullptr; // the hook's callback has no context argument

class WinFocusWatcher final : public FocusWatcher
{
public:
    ~WinFocusWatcher() override
    {
        if (m_hook)
            UnhookWinEvent(m_hook);
        if (g_watcher == this)
            g_watcher = nullptr;
    }

    bool open(QString *reason)
    {
        if (g_watcher) {
            *reason = QStringLiteral("another focus watcher runs in this process");
            return false;
        }
        m_hook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                 &WinFocusWatcher::onEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
        if (!m_hook) {
            *reason = QStringLiteral("SetWinEventHook failed: %1").arg(GetLastError());
            return false;
        }
        g_watcher = this;
        setInitialFront(describe(GetForegroundWindow()));
        return true;
    }

    bool available() const override { return true; }

    QVector<FocusReport> runningApplications() const override
    {
        QVector<FocusReport> reports;
        EnumWindows(&WinFocusWatcher::addWindow, reinterpret_cast<LPARAM>(&reports));
        return distinctApplications(reports);
    }

private:
    static BOOL CALLBACK addWindow(HWND window, LPARAM list)
    {
        if (IsWindowVisible(window) && !GetWindow(window, GW_OWNER))
            reinterpret_cast<QVector<FocusReport> *>(list)->append(describe(window));
        return TRUE;
    }

    static void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD,
                                 DWORD)
    {
        if (!g_watcher || event != EVENT_SYSTEM_FOREGROUND || object != OBJID_WINDOW)
            return;
        // The display program and this program's dialogs are passed over there.
        g_watcher->reportFront(describe(window));
    }

    HWINEVENTHOOK m_hook = nullptr;
};

} // namespace

std::unique_ptr<FocusWatcher> createSystemFocusWatcher(QString *reason)
{
    auto watcher = std::make_unique<WinFocusWatcher>();
    if (watcher->open(reason))
        return watcher;
    return nullptr;
}

QVector<FocusReport> runningProcesses()
{
    QVector<FocusReport> reports;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return reports;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        FocusReport r;
        r.pid = entry.th32ProcessID;
        r.executable = QString::fromWCharArray(entry.szExeFile);
        reports.append(r);
    }
    CloseHandle(snapshot);
    return distinctApplications(reports);
}

} // namespace mc
