// Desktop-wide keys on X11 through the RECORD extension, on two connections of our own: one that
// controls the context and one that carries the recorded events. The data connection is read
// through a socket notifier on the user-interface thread, so no thread is involved and nothing
// outlives the last installed hook.
#include "platform/keyboardhook_x11.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#ifdef MC_HAVE_X11
#include <X11/Xlib.h>
// record.h uses the types of Xlib.h without including it.
#include <X11/extensions/record.h>
#endif

namespace mc {

#ifdef MC_HAVE_X11

namespace {

class XRecordKeys final : public DesktopKeys
{
public:
    bool open()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return false;
        m_control = XOpenDisplay(nullptr);
        m_data = XOpenDisplay(nullptr);
        int major = 0;
        int minor = 0;
        if (!m_control || !m_data || !XRecordQueryVersion(m_control, &major, &minor))
            return false;
        XRecordRange *range = XRecordAllocRange();
        if (!range)
            return false;
        range->device_events.first = KeyPress;
        range->device_events.last = KeyRelease;
        XRecordClientSpec clients = XRecordAllClients;
        m_context = XRecordCreateContext(m_control, 0, &clients, 1, &range, 1);
        XFree(range);
        if (!m_context)
            return false;
        XSync(m_control, False);
        if (!XRecordEnableContextAsync(m_data, m_context, &XRecordKeys::onRecord,
                                       reinterpret_cast<XPointer>(this)))
            return false;
        m_enabled = true;
        m_notifier = new QSocketNotifier(ConnectionNumber(m_data), QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated,
                         [this] { XRecordProcessReplies(m_data); });
        XRecordProcessReplies(m_data);
        return true;
    }

    ~XRecordKeys() override
    {
        delete m_notifier;
        if (m_enabled) {
            XRecordDisableContext(m_control, m_context);
            XSync(m_control, False);
        }
        if (m_context)
            XRecordFreeContext(m_control, m_context);
        if (m_data)
            XCloseDisplay(m_data);
        if (m_control)
            XCloseDisplay(m_control);
    }

private:
    static void onRecord(XPointer self, XRecordInterceptData *data)
    {
        auto *me = reinterpret_cast<XRecordKeys *>(self);
        if (data->category == XRecordFromServer && data->data && data->data_len >= 1) {
            const auto *bytes = reinterpret_cast<const unsigned char *>(data->data);
            const int type = bytes[0] & 0x7F;
            // Keys typed into our own windows come through the application's filter, which can
            // swallow them; taking them here too would count each twice.
            HookKeyEvent e;
            if ((type == KeyPress || type == KeyRelease) &&
                x11KeyToHookEvent(bytes[1], type == KeyRelease, me->m_alt, e) &&
                QGuiApplication::applicationState() != Qt::ApplicationActive)
                KeyboardHook::dispatch(e);
        }
        XRecordFreeData(data);
    }

    Display *m_control = nullptr;
    Display *m_data = nullptr;
    XRecordContext m_context = 0;
    bool m_enabled = false;
    QSocketNotifier *m_notifier = nullptr;
    X11AltState m_alt;
};

} // namespace

std::unique_ptr<DesktopKeys> DesktopKeys::start()
{
    auto keys = std::make_unique<XRecordKeys>();
    if (!keys->open())
        return nullptr;
    return keys;
}

bool DesktopKeys::available()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    int major = 0;
    int minor = 0;
    const bool ok = XRecordQueryVersion(display, &major, &minor);
    XCloseDisplay(display);
    return ok;
}

#else

std::unique_ptr<DesktopKeys> DesktopKeys::start()
{
    return nullptr;
}

bool DesktopKeys::available()
{
    return false;
}

#endif

} // namespace mc
