// Hot-plug on Windows: device-interface notifications of the HID class delivered to the given
// window, picked out of its messages by a native event filter. The filter never handles the
// message, so default processing continues.
#include "platform/hotplugwatcher.h"
#include "platform/log.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

#include <cstddef>
#include <cwchar>
#include <dbt.h>

namespace mc {

namespace {
// GUID_DEVINTERFACE_HID
constexpr GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// The interface name of a broadcast, bounded by the size the broadcast declares.
QString interfaceName(const DEV_BROADCAST_DEVICEINTERFACE_W *b)
{
    const size_t header = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (b->dbcc_size <= header)
        return QString();
    const size_t room = (b->dbcc_size - header) / sizeof(wchar_t);
    return QString::fromWCharArray(b->dbcc_name, int(wcsnlen(b->dbcc_name, room)));
}
} // namespace

struct HotplugWatcher::Backend final : public QAbstractNativeEventFilter
{
    HotplugWatcher *owner = nullptr;
    HWND window = nullptr;
    HDEVNOTIFY handle = nullptr;

    ~Backend() override
    {
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
        if (handle)
            UnregisterDeviceNotification(handle);
    }

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    using NativeResult = qintptr;
#else
    using NativeResult = long;
#endif
    bool nativeEventFilter(const QByteArray &eventType, void *message, NativeResult *) override
    {
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->hwnd != window || msg->message != WM_DEVICECHANGE || !msg->lParam)
            return false;
        const bool arrival = msg->wParam == DBT_DEVICEARRIVAL;
        if (!arrival && msg->wParam != DBT_DEVICEREMOVECOMPLETE)
            return false;
        if (arrival)
            qCDebug(lcPlatform, "DBT_DEVICEARRIVAL");
        const auto *header = reinterpret_cast<const DEV_BROADCAST_HDR *>(msg->lParam);
        if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            const QString full =
                interfaceName(reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W *>(header));
            HidInterfaceNote note;
            note.name = full.mid(4); // without the leading "\\?\"
            note.path = QByteArray("\\\\?\\") + note.name.toLocal8Bit();
            arrival ? owner->noteArrival(note) : owner->noteRemoval(note);
            if (arrival)
                qCDebug(lcPlatform, "%s", qPrintable(note.name));
        }
        if (!arrival)
            qCDebug(lcPlatform, "DBT_DEVICEREMOVECOMPLETE");
        return false;
    }
};

HotplugWatcher::~HotplugWatcher() = default;

void HotplugWatcher::BackendDeleter::operator()(Backend *backend) const
{
    delete backend;
}

bool HotplugWatcher::start(quintptr nativeWindow)
{
    if (m_backend)
        return true;
    if (!nativeWindow || !QCoreApplication::instance()) {
        qCDebug(lcPlatform, "RegisterDeviceNotification failed: no window");
        return false;
    }
    std::unique_ptr<Backend, BackendDeleter> backend(new Backend);
    backend->owner = this;
    backend->window = reinterpret_cast<HWND>(nativeWindow);
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    backend->handle =
        RegisterDeviceNotificationW(backend->window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!backend->handle) {
        qCDebug(lcPlatform, "RegisterDeviceNotification failed: %lu", GetLastError());
        return false;
    }
    QCoreApplication::instance()->installNativeEventFilter(backend.get());
    m_backend = std::move(backend);
    return true;
}

void HotplugWatcher::stop()
{
    m_backend.reset();
}

bool HotplugWatcher::isActive() const
{
    return m_backend != nullptr;
}

} // namespace mc
