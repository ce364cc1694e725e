// "devices": the product sought, and which of its attachments and collections are present.
#include "cli/clicommand.h"
#include "device/discovery.h"
#include "device/mouseconnection.h"

namespace mc::cli {

namespace {
QString found(bool flag)
{
    return flag ? QStringLiteral("found") : QStringLiteral("missing");
}

QString ids(int vid, int pid)
{
    return QStringLiteral("%1:%2")
        .arg(vid, 4, 16, QLatin1Char('0'))
        .arg(pid, 4, 16, QLatin1Char('0'));
}

int runDevices(const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(QStringLiteral("devices takes no arguments"));
    const int opened = openMouse();
    const DeviceState &s = connection().state();
    if (s.count <= 0) {
        printLine(QStringLiteral("Product: (Config.ini names no mouse in Mouse_List/0)"));
        printLine(openFailureText());
        return 1;
    }
    const DeviceEntry &e = s.entries[0];
    printLine(QStringLiteral("Product: %1").arg(QString::fromUtf8(e.productName)));
    printLine(QStringLiteral("Receiver %1: pointer collection %2, command collection %3")
                  .arg(ids(e.receiverVid, e.receiverPid), found(e.receiverPointerFound),
                       found(e.receiverCommandFound)));
    printLine(QStringLiteral("Cable %1: pointer collection %2, command collection %3")
                  .arg(ids(e.cableVid, e.cablePid), found(e.cablePointerFound),
                       found(e.cableCommandFound)));
    if (cableFirmwareRelease(connection()) != 0)
        printLine(QStringLiteral("Cable firmware release: %1")
                      .arg(cableFirmwareRelease(connection()), 4, 16, QLatin1Char('0')));
    const bool cable = s.cableCommand != nullptr;
    const bool receiver = s.receiverCommand != nullptr;
    if (opened != 0 || (!cable && !receiver)) {
        printLine(openFailureText());
        return 1;
    }
    printLine(QStringLiteral("Connected through: %1")
                  .arg(cable && receiver ? QStringLiteral("cable and receiver")
                       : cable           ? QStringLiteral("cable")
                                         : QStringLiteral("receiver")));
    printLine(QStringLiteral("Commands go to: %1")
                  .arg(cable ? QStringLiteral("cable") : QStringLiteral("receiver")));
    return 0;
}

const CommandRegistration registration{
    {"devices", "", "the product and which attachments and collections are present", &runDevices}};
} // namespace

} // namespace mc::cli
