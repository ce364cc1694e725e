// The application in front on X11, through a connection of our own to the X server: the root
// window's PropertyNotify events say when _NET_ACTIVE_WINDOW changed, the socket notifier on
// the connection says when events are there, so nothing runs while the front window stays. The
// window's WM_CLASS and _NET_WM_PID (with /proc naming the executable) describe it. Without an
// X server, or with a window manager that does not keep _NET_ACTIVE_WINDOW, the watcher is not
// available. The process list of /proc serves where there is no window list.
#include "platform/focuswatcherroutes.h"
#include "platform/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>

#ifdef MC_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include <unistd.h>

namespace mc {

// The executable's file name; a process whose executable we may not see (another user's)
// still shows its command name, the executable's first 15 characters.
QString executableOfProcess(qint64 pid)
{
    if (pid <= 0)
        return QString();
    const QString base = QStringLiteral("/proc/%1/").arg(pid);
    const QString exe = QFile::symLinkTarget(base + QStringLiteral("exe"));
    if (!exe.isEmpty())
        return QFileInfo(exe.endsWith(QLatin1String(" (deleted)")) ? exe.chopped(10) : exe)
            .fileName();
    QFile comm(base + QStringLiteral("comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.read(64)).trimmed();
}

namespace {

#ifdef MC_HAVE_XCB

constexpr uint32_t kMaxClassWords = 256; // WM_CLASS: two names of up to 1 KiB together
constexpr uint32_t kMaxListWords = 4096; // _NET_SUPPORTED, _NET_CLIENT_LIST

class X11FocusWatcher final : public FocusWatcher
{
public:
    ~X11FocusWatcher() override
    {
        delete m_notifier;
        if (m_conn)
            xcb_disconnect(m_conn);
    }

    bool open(QString *reason)
    {
        int screen = 0;
        m_conn = xcb_connect(nullptr, &screen);
        if (xcb_connection_has_error(m_conn)) {
            *reason = QStringLiteral("no X server can be reached (DISPLAY)");
            return false;
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_conn));
        for (int i = 0; i < screen && it.rem; ++i)
            xcb_screen_next(&it);
        if (!it.rem) {
            *reason = QStringLiteral("the X server has no such screen");
            return false;
        }
        m_root = it.data->root;
        const char *const names[] = {"_NET_ACTIVE_WINDOW", "_NET_WM_PID", "_NET_CLIENT_LIST",
                                     "_NET_SUPPORTED"};
        xcb_intern_atom_cookie_t cookies[4];
        for (int i = 0; i < 4; ++i)
            cookies[i] = xcb_intern_atom(m_conn, 0, uint16_t(strlen(names[i])), names[i]);
        xcb_atom_t atoms[4] = {};
        for (int i = 0; i < 4; ++i) {
            xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(m_conn, cookies[i], nullptr);
            atoms[i] = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
            free(r);
        }
        m_activeAtom = atoms[0];
        m_pidAtom = atoms[1];
        m_clientListAtom = atoms[2];
        // A window manager that lists what it supports and leaves out the active window would
        // never tell us anything. One that lists nothing (or starts after us) gets the benefit
        // of the doubt.
        const QByteArray supported = property(m_root, atoms[3], XCB_ATOM_ATOM, kMaxListWords);
        if (m_activeAtom == XCB_ATOM_NONE ||
            (!supported.isEmpty() && !wordsOf(supported).contains(m_activeAtom))) {
            *reason = QStringLiteral("the window manager does not keep _NET_ACTIVE_WINDOW");
            return false;
        }
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_conn, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_conn);
        setInitialFront(describe({activeWindow()}).value(0));
        m_notifier =
            new QSocketNotifier(xcb_get_file_descriptor(m_conn), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { onReadable(); });
        return true;
    }

    bool available() const override { return true; }

    QVector<FocusReport> runningApplications() const override
    {
        const QVector<uint32_t> windows =
            wordsOf(property(m_root, m_clientListAtom, XCB_ATOM_WINDOW, kMaxListWords));
        return distinctApplications(describe(windows));
    }

private:
    static QVector<uint32_t> wordsOf(const QByteArray &value)
    {
        QVector<uint32_t> words(value.size() / 4);
        memcpy(words.data(), value.constData(), size_t(words.size()) * 4);
        return words;
    }

    // The value of a property in 32-bit words or bytes as the server holds it; empty when the
    // window or the property is gone (a window may close between the event and the request).
    QByteArray property(xcb_window_t w, xcb_atom_t prop, xcb_atom_t type, uint32_t words) const
    {
        return propertyReply(xcb_get_property(m_conn, 0, w, prop, type, 0, words));
    }

    QByteArray propertyReply(xcb_get_property_cookie_t cookie) const
    {
        xcb_generic_error_t *error = nullptr;
        xcb_get_property_reply_t *r = xcb_get_property_reply(m_conn, cookie, &error);
        free(error);
        QByteArray value;
        if (r) {
            const int bytes = xcb_get_property_value_length(r);
            if (bytes > 0)
                value = QByteArray(static_cast<const char *>(xcb_get_property_value(r)), bytes);
            free(r);
        }
        return value;
    }

    xcb_window_t activeWindow() const
    {
        const QVector<uint32_t> w = wordsOf(property(m_root, m_activeAtom, XCB_ATOM_WINDOW, 1));
        return w.isEmpty() ? xcb_window_t(XCB_WINDOW_NONE) : w.first();
    }

    // All requests go out before the first answer is awaited: one round trip for any number of
    // windows. Window 0 describes as the empty report.
    QVector<FocusReport> describe(const QVector<uint32_t> &windows) const
    {
        QVector<QPair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
        for (const uint32_t w : windows) {
            cookies.append({xcb_get_property(m_conn, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0,
                                             kMaxClassWords),
                            xcb_get_property(m_conn, 0, w, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1)});
        }
        QVector<FocusReport> reports;
        for (int i = 0; i < windows.size(); ++i) {
            FocusReport r;
            // WM_CLASS is "instance\0class\0" in Latin-1.
            const QList<QByteArray> names = propertyReply(cookies[i].first).split('\0');
            r.instance = QString::fromLatin1(names.value(0));
            r.windowClass = QString::fromLatin1(names.value(1));
            const QVector<uint32_t> pid = wordsOf(propertyReply(cookies[i].second));
            r.pid = pid.isEmpty() ? 0 : pid.first();
            r.executable = executableOfProcess(r.pid);
            if (windows[i] != XCB_WINDOW_NONE)
                reports.append(r);
            else
                reports.append(FocusReport());
        }
        return reports;
    }

    void onReadable()
    {
        for (;;) {
            bool changed = false;
            while (xcb_generic_event_t *e = xcb_poll_for_event(m_conn)) {
                if ((e->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
                    const auto *p = reinterpret_cast<xcb_property_notify_event_t *>(e);
                    changed = changed || (p->window == m_root && p->atom == m_activeAtom);
                }
                free(e);
            }
            if (xcb_connection_has_error(m_conn)) {
                // The server is gone: a closed socket would wake the notifier for ever.
                m_notifier->setEnabled(false);
                qCDebug(lcPlatform, "The X connection of the focus watcher was lost");
                return;
            }
            if (!changed)
                return;
            // The answers read below may bring events along, which the socket will not
            // announce again: the loop takes them.
            reportFront(describe({activeWindow()}).value(0));
        }
    }

    xcb_connection_t *m_conn = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_activeAtom = XCB_ATOM_NONE;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
    xcb_atom_t m_clientListAtom = XCB_ATOM_NONE;
    QSocketNotifier *m_notifier = nullptr;
};

#endif

} // namespace

std::unique_ptr<FocusWatcher> createX11FocusWatcher(QString *reason)
{
#ifdef MC_HAVE_XCB
    auto watcher = std::make_unique<X11FocusWatcher>();
    if (watcher->open(reason))
        return watcher;
#else
    *reason = QStringLiteral("built without X11 support");
#endif
    return nullptr;
}

QVector<FocusReport> runningProcesses()
{
    // Only the user's own processes: the others are services, not applications to pick.
    QVector<FocusReport> reports;
    const uint uid = uint(getuid());
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || QFileInfo(QStringLiteral("/proc/") + entry).ownerId() != uid)
            continue;
        // Kernel threads have no executable; they are no applications either.
        if (QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)).isEmpty())
            continue;
        FocusReport r;
        r.pid = pid;
        r.executable = executableOfProcess(pid);
        reports.append(r);
    }
    return distinctApplications(reports);
}

} // namespace mc
