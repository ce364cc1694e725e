// The application in front: a watcher reports the foreground window's application whenever it
// changes, and lists the applications that have windows now (for choosing one by name).
// X11: the root window's _NET_ACTIVE_WINDOW property, read when the X connection says it
// changed (a socket notifier on the connection, no polling), with the window's WM_CLASS and
// _NET_WM_PID naming the executable through /proc. Windows: SetWinEventHook with
// EVENT_SYSTEM_FOREGROUND. Elsewhere (a Wayland desktop without an X server, the offscreen
// platform) the watcher is unavailable: it says so and reports nothing.
// Everything here runs on the thread that created the watcher (the user-interface thread of
// the window, the main thread of the command-line tool).
#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <functional>
#include <memory>

namespace mc {

// The application IDs of this program's windows (Wayland app_id, the desktop entry's name) and
// of the on-screen display's.
constexpr char kOwnAppId[] = "org.mousecfg.Mousecfg";
constexpr char kOwnOsdAppId[] = "org.mousecfg.Mousecfg.Osd";

struct FocusReport
{
    QString executable;  // file name of the executable ("xterm", "game.exe"); empty when unknown
    QString windowClass; // X11: WM_CLASS class ("XTerm"); Windows: the window class
    QString instance;    // X11: WM_CLASS instance ("xterm"); empty elsewhere
    qint64 pid = 0;      // 0 when unknown; a report with no window in front has none of these
    bool operator==(const FocusReport &o) const
    {
        return pid == o.pid && executable == o.executable && windowClass == o.windowClass &&
               instance == o.instance;
    }
    bool operator!=(const FocusReport &o) const { return !(*this == o); }
    bool isEmpty() const
    {
        return executable.isEmpty() && windowClass.isEmpty() && instance.isEmpty();
    }
    // The name a rule would use for it: the executable when known, else the window class.
    QString name() const;
};

class FocusWatcher : public QObject
{
    Q_OBJECT
public:
    explicit FocusWatcher(QObject *parent = nullptr);

    // False when the application in front cannot be known here; nothing is reported then.
    virtual bool available() const = 0;
    // Why it is unavailable, one line in English for logs and the command-line tool.
    virtual QString unavailableReason() const { return QString(); }
    // The applications with a window now (X11: the window manager's client list; Windows: the
    // visible top-level windows; elsewhere: the user's processes), without this process, each
    // once, by name.
    virtual QVector<FocusReport> runningApplications() const = 0;

    // How long "no window in front" must last before it is reported: while the focus moves, a
    // window manager names no window for a moment (the window losing it first, then the one
    // gaining it), and the one gaining it may be ours, which is not reported at all.
    static constexpr int kNoneSettleMs = 200;

signals:
    // The application in front changed (an empty report: no window is in front).
    void focusChanged(const mc::FocusReport &report);

protected:
    // Each source calls this with the window now in front (an empty report: none). Windows of
    // this program are passed over (the slot stays as it is; the next application is reported
    // even when it is the one before); "none" is reported once it has lasted kNoneSettleMs; a
    // report equal to the last one is dropped.
    void reportFront(const FocusReport &now);
    // What was in front when the source started (reported to nobody).
    void setInitialFront(const FocusReport &front);

private:
    FocusReport m_last;
    QTimer *m_noneTimer = nullptr;
};

// The system's watcher (an unavailable one where there is none). Tests install their own
// factory; an empty one restores the system's.
using FocusWatcherFactory = std::function<std::unique_ptr<FocusWatcher>()>;
std::unique_ptr<FocusWatcher> createFocusWatcher();
void setFocusWatcherFactory(FocusWatcherFactory factory);

// The system half, one per platform source: nullptr where it cannot run, with the reason.
std::unique_ptr<FocusWatcher> createSystemFocusWatcher(QString *reason);

// True for a window of this program, whichever process shows it: the main window and its
// dialogs (this process, the executable "mousecfg", the application ID "org.mousecfg.Mousecfg"
// or the X11 class Qt gives it) and the on-screen display ("mousecfg-osd"). No watcher reports
// these as the application in front: a switch announced by the display would otherwise bring
// the display to the front, and the display would select another slot.
bool isOwnApplication(const FocusReport &report);

// Each name once (ignoring case), this program's windows left out, in name order.
QVector<FocusReport> distinctApplications(const QVector<FocusReport> &reports);

// The user's processes by executable name, from /proc (Linux) or the system's process list;
// the list offered where no window list is to be had.
QVector<FocusReport> runningProcesses();

} // namespace mc

Q_DECLARE_METATYPE(mc::FocusReport)
