// The firmware update of the presence: asked for from the window, run by the product's updater.
#include "app/log.h"
#include "app/presence.h"

#include "app/devicelink.h"
#include "device/discovery.h"
#include "profile/paths.h"
#include "profile/settings.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mc {

void DevicePresence::onFirmwareRequested()
{
    if (cableFirmwareRelease(*m_connection) == 0) {
        m_firmware.ask(2, QObject::tr("To update the firmware, please connect to the computer "
                                      "with a cable."));
        return;
    }
    if (!m_firmware.ask(1, QObject::tr("Do you want to upgrade the firmware?")))
        return;
    m_connection->stopPoller();
    const QString updater =
        skinDir() + (uiLanguage() == 0 ? QStringLiteral("/mouse/bin/K552-8871-20230727-en.exe")
                                       : QStringLiteral("/mouse/bin/K552-8871-20230727.exe"));
    // Leaving is only right once the updater runs: otherwise the user would lose the program
    // for nothing.
    if (m_firmware.startDetached(updater)) {
        m_firmware.exit(0);
        return;
    }
    // The updater comes with the product's Windows files; a program without them, and any
    // system that cannot run them, must say so rather than seem to ignore the click.
    qCDebug(lcApp, "firmware updater did not start: %s", qPrintable(updater));
    m_connection->startPoller();
    const QString text =
        QFileInfo::exists(updater)
            ? QObject::tr("The firmware updater could not be started:\n%1")
            : QObject::tr("The firmware updater is not installed. It is looked for at:\n%1");
    m_firmware.ask(2, text.arg(QDir::toNativeSeparators(updater)));
}

} // namespace mc
