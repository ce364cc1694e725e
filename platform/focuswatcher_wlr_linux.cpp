// The application in front on a wlroots compositor: zwlr_foreign_toplevel_manager_v1 on a
// Wayland connection of our own (so it works whether Qt runs natively or on XWayland). The
// compositor lists every toplevel, native and XWayland alike, with its app_id and its states;
// the one whose states hold "activated" is in front. A socket notifier on the connection wakes
// us when the compositor has something to say; nothing is polled.
#include "platform/focuswatcherroutes.h"
#include "platform/log.h"

#ifdef MC_HAVE_WAYLAND

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <QSocketNotifier>

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace mc {

namespace {

// Version 3 is what the protocol file here describes; later versions only add events.
constexpr uint32_t kManagerVersion = 3;

class WlrFocusWatcher final : public FocusWatcher
{
public:
    ~WlrFocusWatcher() override
    {
        delete m_notifier;
        for (Toplevel *t : m_toplevels) {
            zwlr_foreign_toplevel_handle_v1_destroy(t->handle);
            delete t;
        }
        if (m_manager)
            zwlr_foreign_toplevel_manager_v1_destroy(m_manager);
        if (m_registry)
            wl_registry_destroy(m_registry);
        if (m_display)
            wl_display_disconnect(m_display);
    }

    bool open(QString *reason)
    {
        m_display = wl_display_connect(nullptr);
        if (!m_display) {
            *reason = QStringLiteral("no Wayland compositor can be reached (WAYLAND_DISPLAY)");
            return false;
        }
        m_registry = wl_display_get_registry(m_display);
        static const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};
        wl_registry_add_listener(m_registry, &registryListener, this);
        // The first round trip lists the globals (and binds the manager), the second brings
        // the toplevels that exist now with their first "done".
        if (wl_display_roundtrip(m_display) < 0 || !m_manager) {
            *reason =
                QStringLiteral("the compositor does not offer zwlr_foreign_toplevel_manager_v1");
            return false;
        }
        if (wl_display_roundtrip(m_display) < 0) {
            *reason = QStringLiteral("the Wayland connection failed");
            return false;
        }
        setInitialFront(front());
        m_dirty = false;
        m_notifier = new QSocketNotifier(wl_display_get_fd(m_display), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { onReadable(); });
        return true;
    }

    bool available() const override { return !m_finished; }
    QString unavailableReason() const override
    {
        return m_finished ? QStringLiteral("the compositor stopped listing its windows")
                          : QString();
    }

    QVector<FocusReport> runningApplications() const override
    {
        QVector<FocusReport> reports;
        for (const Toplevel *t : m_toplevels)
            reports.append(reportOf(*t));
        return distinctApplications(reports);
    }

private:
    struct Toplevel
    {
        WlrFocusWatcher *owner = nullptr;
        zwlr_foreign_toplevel_handle_v1 *handle = nullptr;
        QString appId, pendingAppId;
        bool activated = false, pendingActivated = false;
        quint64 activatedAt = 0; // the order in which toplevels became active
    };

    static FocusReport reportOf(const Toplevel &t)
    {
        FocusReport r;
        r.windowClass = t.appId;
        return r;
    }

    // The toplevel in front (the last one to become active), or the empty report.
    FocusReport front() const
    {
        const Toplevel *best = nullptr;
        for (const Toplevel *t : m_toplevels) {
            if (t->activated && (!best || t->activatedAt > best->activatedAt))
                best = t;
        }
        return best ? reportOf(*best) : FocusReport();
    }

    // Run once all events read together have been handled, so that the front is looked at
    // between whole changes of the compositor's state.
    void changed()
    {
        if (!m_dirty)
            return;
        m_dirty = false;
        reportFront(front());
    }

    void onReadable()
    {
        // The notifier said there is something to read: read it without blocking, then run
        // the handlers. prepare_read fails while events are queued; those are run first.
        while (wl_display_prepare_read(m_display) != 0)
            wl_display_dispatch_pending(m_display);
        wl_display_flush(m_display);
        if (wl_display_read_events(m_display) < 0 || wl_display_dispatch_pending(m_display) < 0 ||
            wl_display_get_error(m_display) != 0) {
            // The compositor is gone: a closed socket would wake the notifier for ever.
            m_notifier->setEnabled(false);
            m_finished = true;
            qCDebug(lcPlatform, "The Wayland connection of the focus watcher was lost");
            return;
        }
        wl_display_flush(m_display);
        changed();
    }

    static void onGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface,
                         uint32_t version)
    {
        auto *self = static_cast<WlrFocusWatcher *>(data);
        if (self->m_manager ||
            strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0)
            return;
        self->m_manager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface,
                             std::min(version, kManagerVersion)));
        static const zwlr_foreign_toplevel_manager_v1_listener managerListener = {onToplevel,
                                                                                  onFinished};
        zwlr_foreign_toplevel_manager_v1_add_listener(self->m_manager, &managerListener, self);
    }
    static void onGlobalRemove(void *, wl_registry *, uint32_t) {}

    static void onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *,
                           zwlr_foreign_toplevel_handle_v1 *handle)
    {
        auto *self = static_cast<WlrFocusWatcher *>(data);
        auto *t = new Toplevel;
        t->owner = self;
        t->handle = handle;
        self->m_toplevels.push_back(t);
        static const zwlr_foreign_toplevel_handle_v1_listener handleListener = {
            [](void *, zwlr_foreign_toplevel_handle_v1 *, const char *) {}, // title
            [](void *data, zwlr_foreign_toplevel_handle_v1 *, const char *appId) {
                static_cast<Toplevel *>(data)->pendingAppId = QString::fromUtf8(appId);
            },
            [](void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {}, // output_enter
            [](void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {}, // output_leave
            [](void *data, zwlr_foreign_toplevel_handle_v1 *, wl_array *states) {
                bool active = false;
                const auto *s = static_cast<const uint32_t *>(states->data);
                for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i)
                    active = active || s[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
                static_cast<Toplevel *>(data)->pendingActivated = active;
            },
            onDone,
            onClosed,
            [](void *, zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *) {},
        };
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &handleListener, t);
    }

    static void onDone(void *data, zwlr_foreign_toplevel_handle_v1 *)
    {
        auto *t = static_cast<Toplevel *>(data);
        t->appId = t->pendingAppId;
        if (t->pendingActivated && !t->activated)
            t->activatedAt = ++t->owner->m_activations;
        t->activated = t->pendingActivated;
        t->owner->m_dirty = true;
    }

    static void onClosed(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        auto *t = static_cast<Toplevel *>(data);
        WlrFocusWatcher *self = t->owner;
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
        self->m_toplevels.erase(std::remove(self->m_toplevels.begin(), self->m_toplevels.end(), t),
                                self->m_toplevels.end());
        delete t;
        self->m_dirty = true;
    }

    static void onFinished(void *data, zwlr_foreign_toplevel_manager_v1 *)
    {
        auto *self = static_cast<WlrFocusWatcher *>(data);
        zwlr_foreign_toplevel_manager_v1_destroy(self->m_manager);
        self->m_manager = nullptr;
        self->m_finished = true;
    }

    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    zwlr_foreign_toplevel_manager_v1 *m_manager = nullptr;
    std::vector<Toplevel *> m_toplevels;
    QSocketNotifier *m_notifier = nullptr;
    quint64 m_activations = 0;
    bool m_finished = false;
    bool m_dirty = false; // a toplevel changed since the front was last looked at
};

} // namespace

std::unique_ptr<FocusWatcher> createWlrFocusWatcher(QString *reason)
{
    auto watcher = std::make_unique<WlrFocusWatcher>();
    if (watcher->open(reason))
        return watcher;
    return nullptr;
}

} // namespace mc

#else

namespace mc {
std::unique_ptr<FocusWatcher> createWlrFocusWatcher(QString *reason)
{
    *reason = QStringLiteral("built without Wayland support");
    return nullptr;
}
} // namespace mc

#endif
