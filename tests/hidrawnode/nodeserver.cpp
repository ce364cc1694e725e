// The far side of a simulated hidraw node: the emulated receiver, served on a sequenced-packet
// socket that the preloaded node shim connects each open of the node to, and the sysfs entries
// a receiver's node has (hidraw device, its HID device with the report descriptor, the USB
// interface and device), written into a folder the test mounts over /sys. Every open is one
// handle of the emulated mouse's interface node: it receives every input report of the
// interface (pointer, keyboard, consumer keys, the mouse's answers), in a queue that drops new
// reports while full, as hidraw's does.
//
//   mousecfg-hidraw-node --data-dir DIR --sysfs DIR --socket PATH --out FILE
//
// Prints "ready" once the tree is written and the socket listens. On SIGTERM or SIGINT it
// writes FILE: every report the host wrote ("> " hex), the refused and commit counts, and
// exits. MOUSECFG_EMULATE_MOTION and MOUSECFG_EMULATOR_CONTROL drive the mouse as they do the
// program's own emulated mouse.
#include "emulator/emulatedmouse.h"
#include "emulator/emulatorcontrol.h"
#include "profile/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <linux/sockios.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace mc;
using A = EmulatedMouse::Attachment;
using C = EmulatedMouse::Collection;

namespace {

// The receiver's interface 0: pointer (report 1), keyboard (2), consumer keys (3) and the
// vendor command collection on Generic Desktop usage 0 (5), as the emulated mouse sends them.
const char kDescriptorHex[] =
    // pointer: eight buttons, X and Y of 16 bits, wheel, pan
    "05010902a10185010901a10005091901290815002501950875018102050116018026ff7f751095020930093181"
    "061581257f7508950109388106050c0a380295018106c0c0"
    // keyboard: modifiers, a reserved byte, six keys
    "05010906a1018502050719e029e71500250175019508810295017508810195067508150026ff00050719002aff"
    "008100c0"
    // consumer keys: one usage of 16 bits
    "050c0901a1018503150026ff0319002aff03751095018100c0"
    // command collection: 32 bytes each way
    "05010900a10185050600ff0901150026ff0075089520810209019102c0";

// The emulated mouse names the receiver's node /dev/hidraw3.
constexpr int kNodeMinor = 3;
// hidraw's ring of 64 entries always keeps one free.
constexpr int kRingReports = 63;

int g_chargePerReport = 0;

int g_signalPipe[2] = {-1, -1};

// What the socket charges for one unread report, or 0 when a 1-byte and a 64-byte report are
// charged differently (then unread reports cannot be counted).
int measureChargePerReport()
{
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) < 0)
        return 0;
    const uint8_t bytes[64] = {};
    int one = 0, both = 0;
    const bool ok = ::send(pair[0], bytes, 1, 0) == 1 && ::ioctl(pair[0], SIOCOUTQ, &one) == 0 &&
                    ::send(pair[0], bytes, 64, 0) == 64 && ::ioctl(pair[0], SIOCOUTQ, &both) == 0;
    ::close(pair[0]);
    ::close(pair[1]);
    return ok && one > 0 && both == 2 * one ? one : 0;
}

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The sysfs entries of one receiver whose interface 0 is /dev/hidrawN, under root (mounted
// over /sys by the test, so the links name their targets as seen there).
bool writeSysfs(const QString &root, int vid, int pid, const QByteArray &product,
                const QByteArray &descriptor)
{
    const QString ids = QStringLiteral("%1:%2")
                            .arg(vid, 4, 16, QLatin1Char('0'))
                            .arg(pid, 4, 16, QLatin1Char('0'))
                            .toUpper();
    const QString usbDevice = QStringLiteral("devices/pci0000:00/0000:00:14.0/usb1/1-2");
    const QString usbInterface = usbDevice + QStringLiteral("/1-2:1.0");
    const QString hid = usbInterface + QStringLiteral("/0003:%1.0007").arg(ids);
    const QString raw = hid + QStringLiteral("/hidraw/hidraw%1").arg(kNodeMinor);
    QDir dir(root);
    for (const QString &d : {QStringLiteral("bus/usb"), QStringLiteral("bus/hid"),
                             QStringLiteral("class/hidraw"), raw}) {
        if (!dir.mkpath(d))
            return false;
    }
    auto link = [&](const QString &target, const QString &name) {
        return QFile::link(target, dir.filePath(name));
    };
    const QByteArray hex4 = QByteArray::number(vid, 16).rightJustified(4, '0');
    const QByteArray pid4 = QByteArray::number(pid, 16).rightJustified(4, '0');
    const QByteArray hidId = "0003:0000" + hex4.toUpper() + ":0000" + pid4.toUpper();
    return writeFile(dir.filePath(usbDevice + "/uevent"),
                     "MAJOR=189\nMINOR=1\nDEVNAME=bus/usb/001/002\nDEVTYPE=usb_device\n"
                     "PRODUCT=" + hex4 + "/" + pid4 + "/100\nTYPE=0/0/0\nBUSNUM=001\n"
                     "DEVNUM=002\n") &&
           writeFile(dir.filePath(usbDevice + "/idVendor"), hex4 + "\n") &&
           writeFile(dir.filePath(usbDevice + "/idProduct"), pid4 + "\n") &&
           writeFile(dir.filePath(usbDevice + "/bcdDevice"), "0100\n") &&
           writeFile(dir.filePath(usbDevice + "/manufacturer"), "Mousecfg Test\n") &&
           writeFile(dir.filePath(usbDevice + "/product"), product + "\n") &&
           link(QStringLiteral("/sys/bus/usb"), usbDevice + "/subsystem") &&
           writeFile(dir.filePath(usbInterface + "/uevent"),
                     "DEVTYPE=usb_interface\nPRODUCT=" + hex4 + "/" + pid4 +
                         "/100\nTYPE=0/0/0\nINTERFACE=3/1/2\n") &&
           writeFile(dir.filePath(usbInterface + "/bInterfaceNumber"), "00\n") &&
           link(QStringLiteral("/sys/bus/usb"), usbInterface + "/subsystem") &&
           writeFile(dir.filePath(hid + "/uevent"),
                     "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=" + product +
                         "\nHID_PHYS=usb-0000:00:14.0-2/input0\nHID_UNIQ=\n"
                         "MODALIAS=hid:b0003g0001v0000" + hex4.toUpper() + "p0000" +
                         pid4.toUpper() + "\n") &&
           writeFile(dir.filePath(hid + "/report_descriptor"), descriptor) &&
           link(QStringLiteral("/sys/bus/hid"), hid + "/subsystem") &&
           writeFile(dir.filePath(raw + "/uevent"),
                     QByteArray("MAJOR=243\nMINOR=") + QByteArray::number(kNodeMinor) +
                         "\nDEVNAME=hidraw" + QByteArray::number(kNodeMinor) + "\n") &&
           writeFile(dir.filePath(raw + "/dev"), "243:" + QByteArray::number(kNodeMinor) + "\n") &&
           link(QStringLiteral("/sys/class/hidraw"), raw + "/subsystem") &&
           link(QStringLiteral("/sys/") + hid, raw + "/device") &&
           link(QStringLiteral("/sys/") + raw,
                QStringLiteral("class/hidraw/hidraw%1").arg(kNodeMinor));
}

// One open of the node: the host's writes go to the mouse, the handle's reports to the host.
class Connection
{
public:
    Connection(EmulatedMouse &mouse, int socket, const QByteArray &path)
        : m_mouse(mouse), m_socket(socket), m_handle(mouse.open(path))
    {
        m_writer = std::thread([this] { takeWrites(); });
        m_reader = std::thread([this] { passReports(); });
    }
    ~Connection()
    {
        m_stop = true;
        ::shutdown(m_socket, SHUT_RDWR);
        m_writer.join();
        m_reader.join();
        m_mouse.close(m_handle);
        ::close(m_socket);
    }

private:
    void takeWrites()
    {
        uint8_t report[4096];
        while (!m_stop) {
            const ssize_t n = ::recv(m_socket, report, sizeof report, 0);
            if (n <= 0) {
                m_stop = true; // the host closed the node
                break;
            }
            m_mouse.write(m_handle, report, size_t(n));
        }
    }

    // The handle's queue is only a hand-over: the reports wait in the socket, where the host
    // reads them at once, as from a hidraw node's ring, and a report that finds 63 of them
    // unread there is dropped, as the ring drops it.
    void passReports()
    {
        uint8_t report[64];
        while (!m_stop) {
            const int n = m_mouse.readTimeout(m_handle, report, sizeof report, 20);
            if (n < 0)
                break;
            if (n == 0 || unread() >= kRingReports)
                continue;
            if (::send(m_socket, report, size_t(n), MSG_NOSIGNAL | MSG_DONTWAIT) < 0 &&
                errno != EAGAIN)
                break;
        }
    }

    // Reports the host has not read yet: the socket charges each one the same, whatever its
    // size up to 64 bytes (measured at start).
    int unread() const
    {
        int bytes = 0;
        if (::ioctl(m_socket, SIOCOUTQ, &bytes) < 0)
            return kRingReports;
        return (bytes + g_chargePerReport - 1) / g_chargePerReport;
    }

    EmulatedMouse &m_mouse;
    int m_socket;
    HidHandle m_handle;
    std::atomic<bool> m_stop{false};
    std::thread m_writer;
    std::thread m_reader;
};

QByteArray descriptorBytes()
{
    return QByteArray::fromHex(kDescriptorHex);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    const QStringList args = applyDataDirOption(app.arguments(), &error);
    QString sysfs, socketPath, outPath;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--sysfs"))
            sysfs = args[i + 1];
        else if (args[i] == QLatin1String("--socket"))
            socketPath = args[i + 1];
        else if (args[i] == QLatin1String("--out"))
            outPath = args[i + 1];
    }
    if (!error.isEmpty() || sysfs.isEmpty() || socketPath.isEmpty() || outPath.isEmpty()) {
        std::fprintf(stderr, "usage: mousecfg-hidraw-node --data-dir DIR --sysfs DIR "
                             "--socket PATH --out FILE\n");
        return 2;
    }

    g_chargePerReport = measureChargePerReport();
    if (g_chargePerReport == 0) {
        std::fprintf(stderr, "unread reports cannot be counted on this system's sockets\n");
        return 1;
    }
    EmulatedMouse mouse;
    mouse.setNodeLayout(EmulatedMouse::NodeLayout::PerInterface);
    mouse.setPathStyle(EmulatedMouse::PathStyle::Linux);
    mouse.plug(A::Receiver);
    const int motion = qEnvironmentVariableIntValue("MOUSECFG_EMULATE_MOTION");
    if (motion > 0)
        mouse.setMotion(motion);
    const QString control = qEnvironmentVariable("MOUSECFG_EMULATOR_CONTROL");
    if (!control.isEmpty())
        new EmulatorControl(mouse, control, &app);
    const QByteArray nodePath = mouse.collectionPath(A::Receiver, C::Command);

    if (!writeSysfs(sysfs, mouse.vendorId(A::Receiver), mouse.productId(A::Receiver),
                    mouse.productName(), descriptorBytes())) {
        std::fprintf(stderr, "cannot write the sysfs tree under %s\n", qPrintable(sysfs));
        return 1;
    }

    const int listener = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    if (listener < 0 || size_t(encoded.size()) >= sizeof address.sun_path) {
        std::perror("socket");
        return 1;
    }
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    ::unlink(address.sun_path);
    if (::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) < 0 ||
        ::listen(listener, 8) < 0 || ::pipe2(g_signalPipe, O_CLOEXEC) < 0) {
        std::perror("listen");
        return 1;
    }
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);

    std::mutex connectionsMutex;
    std::vector<std::unique_ptr<Connection>> connections;
    QSocketNotifier incoming(listener, QSocketNotifier::Read);
    QObject::connect(&incoming, &QSocketNotifier::activated, &app, [&] {
        const int s = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (s >= 0) {
            std::lock_guard<std::mutex> lock(connectionsMutex);
            connections.push_back(std::make_unique<Connection>(mouse, s, nodePath));
        }
    });
    QSocketNotifier stop(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    std::printf("ready %s %04x:%04x\n", nodePath.constData(), mouse.vendorId(A::Receiver),
                mouse.productId(A::Receiver));
    std::fflush(stdout);
    app.exec();

    connections.clear(); // every pump thread joined before the mouse goes
    ::close(listener);
    ::unlink(address.sun_path);

    QByteArray out;
    for (const QByteArray &r : mouse.writtenReports())
        out += "> " + r.toHex(' ') + '\n';
    out += "refused " + QByteArray::number(mouse.refusedCount()) + '\n';
    out += "commits " + QByteArray::number(mouse.commitCount()) + '\n';
    if (!writeFile(outPath, out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(outPath));
        return 1;
    }
    return 0;
}
