// The link to the on-screen-display program: announce(text, colour) hands the 1044-byte block
// (osdmessage.h) to the display program and returns at once; the user-interface thread never
// waits for the program.
//
// When the program is not running, the link starts it in the background (default: mousecfg-osd
// beside the executable; on Windows OSD.exe, else mousecfg-osd.exe) and keeps only the newest
// message that came meanwhile; it looks for the program again after 25, 50, 100 ... 3200 ms
// (about 6 s in all) and sends that message as soon as the program answers. A program that
// never comes up costs the message and a debug line; the next announcement tries again.
// Linux: a QLocalSocket to the server osdServerName(). Windows: the window titled "TOLQ Wireless
// Mouse OSD", WM_COPYDATA sent with a timeout, so a hung display program cannot hang us either.
// Called on the user-interface thread only.
#pragma once

#include "platform/osdmessage.h"

#include <QObject>

#include <functional>
#include <memory>

namespace mc {

// The local server of the display program on Linux: the window title made a file name, in the
// user's runtime folder (runtimedir.h); empty when that folder cannot be used. (Windows: the
// window title.)
QString osdServerName();

// Starts the display program beside the executable, detached. False when there is none or it
// did not start.
bool startOsdProgram();

// The pause before the n-th look for a display program that was just started (0-based); -1
// when the program has had its time.
int osdRetryDelayMs(int attempt);

class OsdLink final : public QObject
{
    Q_OBJECT
public:
    explicit OsdLink(QObject *parent = nullptr);
    ~OsdLink() override;
    OsdLink(const OsdLink &) = delete;
    OsdLink &operator=(const OsdLink &) = delete;

    void announce(const QString &text, const QColor &colour);

    // Where the display program listens (Linux; Windows looks up the window title). Tests give
    // a private name.
    void setServerName(const QString &name);
    // How the display program is started when it is absent; returns whether it started.
    void setLauncher(std::function<bool()> launcher);

signals:
    // A block was handed to the display program.
    void delivered();

private:
    void connectionFailed(); // Linux: the display program did not take the connection

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace mc
