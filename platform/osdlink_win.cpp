// The display link on Windows: the display program's window is found by its title and given
// the block as WM_COPYDATA. SendMessageTimeoutW bounds the wait, so a hung display program
// costs at most kSendTimeoutMs and never hangs the window; a missing one is started and looked
// for again by a timer, never by sleeping.
#include "platform/osdlink.h"
#include "platform/log.h"

#include <QTimer>

#include <windows.h>

namespace mc {

namespace {
constexpr UINT kSendTimeoutMs = 200;

HWND findOsdWindow()
{
    return FindWindowW(nullptr, reinterpret_cast<LPCWSTR>(osdServerName().utf16()));
}

void sendBlock(HWND window, QByteArray block)
{
    COPYDATASTRUCT data = {};
    data.dwData = 0;
    data.cbData = DWORD(block.size());
    data.lpData = block.data();
    DWORD_PTR answer = 0;
    const LRESULT sent =
        SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                            SMTO_ABORTIFHUNG | SMTO_NORMAL, kSendTimeoutMs, &answer);
    if (sent == 0 || answer == 0)
        qCDebug(lcPlatform, "SendMessage failed");
}
} // namespace

struct OsdLink::Private
{
    QTimer retry;
    std::function<bool()> launcher = startOsdProgram;
    QByteArray pending; // the newest message not yet handed over
    int attempt = 0;
};

OsdLink::OsdLink(QObject *parent) : QObject(parent), d(std::make_unique<Private>())
{
    d->retry.setSingleShot(true);
    connect(&d->retry, &QTimer::timeout, this, [this] {
        if (HWND window = findOsdWindow()) {
            sendBlock(window, d->pending);
            d->pending.clear();
            emit delivered();
            return;
        }
        const int delay = osdRetryDelayMs(d->attempt++);
        if (delay < 0) {
            qCDebug(lcPlatform, "On-screen display: the display program did not answer, message dropped");
            d->pending.clear();
            return;
        }
        d->retry.start(delay);
    });
}

OsdLink::~OsdLink() = default;

void OsdLink::setServerName(const QString &)
{
    // The display program is found by its window title; there is no server to name.
}

void OsdLink::setLauncher(std::function<bool()> launcher)
{
    d->launcher = std::move(launcher);
}

void OsdLink::announce(const QString &text, const QColor &colour)
{
    const QByteArray block = osdMessageBlock(text, colour);
    if (d->retry.isActive()) {
        d->pending = block; // a started program is being waited for
        return;
    }
    if (HWND window = findOsdWindow()) {
        sendBlock(window, block);
        emit delivered();
        return;
    }
    if (!d->launcher())
        return;
    d->pending = block;
    d->attempt = 0;
    d->retry.start(osdRetryDelayMs(d->attempt++));
}

} // namespace mc
