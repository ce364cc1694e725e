// Presence update, status poller ownership, battery and connection display, and the follow-up
// of changes made on the mouse.
//
// The two pauses of the presence update are timers, so the user-interface thread never sleeps:
// the set-up of a first mouse (200 ms) and the reopen of a half-present attachment (500 ms).
// While a write owns the device, whatever touches the handles (the presence update, the set-up,
// the reopen), the stores or the settings files (status reports still queued from the poller)
// waits and runs when the write is over, in the order it came.
#include "app/presence.h"
#include "app/log.h"

#include "app/devicelink.h"
#include "device/batterylevel.h"
#include "device/devicetable.h"
#include "device/discovery.h"
#include "platform/pointerspeed.h"
#include "profile/paths.h"
#include "profile/profiledata.h"
#include "profile/profilefile.h"
#include "profile/rawtodpi.h"
#include "profile/settings.h"
#include "widgets/kivmessagebox.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QProcess>

#include <utility>

namespace mc {

namespace {

constexpr int kBarFontSize = 16;
constexpr int kFullBattery = 100;

bool isRateCode(int iRate)
{
    return iRate == 1 || iRate == 2 || iRate == 4 || iRate == 8;
}

FirmwareHooks defaultFirmwareHooks()
{
    FirmwareHooks h;
    h.ask = [](int iKind, const QString &message) {
        return KivMessageBox::ask(iKind, QObject::tr("Warning"), message);
    };
    h.startDetached = [](const QString &program) { return QProcess::startDetached(program, {}); };
    h.exit = [](int code) { QCoreApplication::exit(code); };
    return h;
}

} // namespace

ConnectionDisplay connectionDisplayFor(bool bCable, bool bReceiver, bool bCharging)
{
    ConnectionDisplay d;
    if (bReceiver)
        d.state = (bCable || bCharging) ? 1 : 2;
    else
        d.state = bCable ? 0 : 3;
    d.receiverShown = bReceiver;
    d.barShown = d.state == 2 || d.state == 3;
    d.batteryFrame = d.state <= 1 ? QStringLiteral("bat2.png") : QStringLiteral("bat1.png");
    return d;
}

QString batteryBarStyle(bool bMouseOff, const QColor &theme, double scaleFactor)
{
    const QString text = QStringLiteral("QProgressBar{text-align: center;font-size:%1px;"
                                        "font-weight:bold;color: rgb(255, 255, 255);}")
                             .arg(int(kBarFontSize * scaleFactor));
    if (bMouseOff) {
        return QStringLiteral("QProgressBar{border:none;background-color: rgb(100,100,100);"
                              "border-radius:2px;}"
                              "QProgressBar::chunk{background-color:rgb(100,100,100);"
                              "border-radius:2px;}") +
               text;
    }
    return QStringLiteral("QProgressBar{border:none;background-color: #FFFFFF;border-radius:2px;}"
                          "QProgressBar::chunk{background-color:rgb(%1,%2,%3);"
                          "border-radius:2px;}")
               .arg(theme.red())
               .arg(theme.green())
               .arg(theme.blue()) +
           text;
}

QString rateAnnouncement(int iRate)
{
    switch (iRate) {
    case 8:
        return QObject::tr("125 HZ");
    case 4:
        return QObject::tr("250 HZ");
    case 2:
        return QObject::tr("500 HZ");
    case 1:
        return QObject::tr("1000 HZ");
    default:
        return QString();
    }
}

DevicePresence::DevicePresence(HidBackend *hid, ProfileStore &store,
                               std::function<int()> currentSlot, QObject *parent)
    : QObject(parent), m_store(store), m_currentSlot(std::move(currentSlot)),
      m_setPointerSpeed([](int speed) { setSystemPointerSpeedValue(speed); }),
      m_firmware(defaultFirmwareHooks()), m_connection(hid ? std::make_unique<MouseConnection>(*hid)
                                                           : std::make_unique<MouseConnection>())
{
    qRegisterMetaType<mc::StatusDisplay>();
    for (QTimer *t : {&m_setUpTimer, &m_warnTimer, &m_reopenTimer}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_setUpTimer, &QTimer::timeout, this, &DevicePresence::slotWarnClose);
    connect(&m_warnTimer, &QTimer::timeout, this, &DevicePresence::slotWarning);
    connect(&m_reopenTimer, &QTimer::timeout, this, &DevicePresence::reopen);

    StatusPoller *poller = &m_connection->poller();
    connect(poller, &StatusPoller::RefreshBatteryStatus, this,
            &DevicePresence::slotRefreshBatteryStatus);
    connect(poller, &StatusPoller::RefreshStatus, this, &DevicePresence::slotRefreshStatus);
    connect(poller, &StatusPoller::RefreshWriteStatus, this,
            &DevicePresence::slotRefreshWriteStatus);

    m_display.barStyle = batteryBarStyle(false, themeColour(), scaleFactor());
    m_display.barFormat = QStringLiteral("%p%");
}

DevicePresence::~DevicePresence()
{
    m_connection->stopPoller(); // its loop ends before the connection closes the handles
}

void DevicePresence::setPointerSpeedSetter(std::function<void(int)> setter)
{
    m_setPointerSpeed = std::move(setter);
}

void DevicePresence::setRateEditProbe(std::function<bool(int)> probe)
{
    m_rateEdited = std::move(probe);
}

void DevicePresence::setFirmwareHooks(FirmwareHooks hooks)
{
    m_firmware = std::move(hooks);
}

int DevicePresence::slot() const
{
    const int s = m_currentSlot ? m_currentSlot() : int(m_store.ProfileID);
    return (s >= 0 && s < kSlotCount) ? s : 0;
}

void DevicePresence::begin()
{
    const QString unreadable = settingsUnreadableText(m_connection->state());
    if (!unreadable.isEmpty())
        emit deviceProblem(unreadable);
    updateMouseList();
    m_hasDevice = m_mice > 0;
    if (m_hasDevice)
        openCurrent();
    m_connection->startPoller();
    // The level shown until the mouse reports its own. It is no reading, so the stored level
    // (Config/Battery) stays as the last report left it.
    m_storeLevel = false;
    slotRefreshBatteryStatus(0, 1, 1);
    m_storeLevel = true;
}

void DevicePresence::stop()
{
    m_held = true;
}

void DevicePresence::start()
{
    m_held = false;
    const QVector<std::function<void()>> calls = std::exchange(m_heldCalls, {});
    for (const std::function<void()> &call : calls)
        call();
    // What waited for the device is rescheduled from now, with its own pause.
    if (std::exchange(m_setUpHeld, false))
        m_setUpTimer.start(kSetUpDelayMs);
    if (std::exchange(m_reopenHeld, false))
        m_reopenTimer.start(kReopenDelayMs);
    m_connection->startPoller();
}

bool DevicePresence::heldForWrite(std::function<void()> call)
{
    if (!m_held)
        return false;
    m_heldCalls.append(std::move(call));
    return true;
}

void DevicePresence::openCurrent()
{
    OpenDeviceByName(*m_connection, currentProduct());
    const QString failure = openFailureText(m_connection->state());
    if (!failure.isEmpty())
        emit deviceProblem(failure);
}

void DevicePresence::closeAll()
{
    m_connection->stopPoller();
    CloseDevices(*m_connection);
}

QByteArray DevicePresence::currentProduct() const
{
    const QByteArray stored = readCurrentProduct().toUtf8();
    if (!stored.isEmpty() || !m_connection->state().settingsUnreadable)
        return stored;
    // Nothing can be stored while Config.ini cannot be read: the present mouse is the current.
    const QStringList names = presentProductNames(*m_connection);
    return names.isEmpty() ? QByteArray() : names.first().toUtf8();
}

void DevicePresence::updateMouseList()
{
    const QStringList names = presentProductNames(*m_connection);
    m_mice = names.size();
    const QString current = readCurrentProduct();
    QString wanted = current;
    if (names.size() == 1) {
        qCDebug(lcApp, "mouse found: %s", qUtf8Printable(names.first()));
        wanted = names.first();
    } else if (names.isEmpty()) {
        wanted.clear();
    } else if (!names.contains(current)) {
        wanted = names.first();
    }
    if (wanted != current)
        writeCurrentProduct(wanted);
    emit mouseListChanged(names);
}

void DevicePresence::onInterfaceChanged(bool bArrival, int vid, int pid, int kind,
                                        const QByteArray &path)
{
    const HotplugEvent e{bArrival, vid, pid, kind, path};
    if (!heldForWrite([this, e] { presenceUpdate(e); }))
        presenceUpdate(e);
}

void DevicePresence::presenceUpdate(const HotplugEvent &e)
{
    const int miceBefore = m_mice;
    const QByteArray current = currentProduct();
    const InterfaceMatch match{e.vid, e.pid, e.kind};
    const QVector<InterfaceOutcome> outcomes =
        e.bArrival ? NoteInterfaceArrival(*m_connection, match, e.path)
                   : NoteInterfaceRemoval(*m_connection, match);
    bool reloaded = false;
    bool openedNow = false;
    for (const InterfaceOutcome &o : outcomes) {
        const bool isCurrent =
            m_connection->state().entries[size_t(o.entry)].productName == current;
        if (e.bArrival && o.completedNow) {
            // The list is settled in both cases: a program started without a mouse holds the
            // empty product name, and the set-up opens the product the list names.
            updateMouseList();
            m_reopenTimer.stop(); // the open below, or the set-up, opens the attachment
            if (miceBefore > 0) {
                m_connection->stopPoller();
                openCurrent();
                openedNow = true;
            } else {
                m_setUpTimer.start(kSetUpDelayMs);
            }
        } else if (!e.bArrival && o.lostLast) {
            m_mice = presentProductCount(*m_connection);
            if (m_mice > 0) {
                updateMouseList();
                if (isCurrent) {
                    closeAll();
                    openCurrent();
                    m_connection->startPoller();
                    setUp();
                    reloaded = true;
                }
            } else {
                closeAll();
                m_hasDevice = false;
                m_setUpTimer.stop(); // the mouse it would set up has gone again
                m_reopenTimer.stop();
                m_arrivedNew = false;
                m_warningOpen = true;
                m_warnTimer.start(kWarningDelayMs);
                emit mouseGone();
            }
        }
        // One collection of the current product's attachment is here and the other is not:
        // close, and open again once the system has settled.
        if (isCurrent && o.attachmentFound && !o.complete && !reloaded) {
            closeAll();
            m_reopenTimer.start(kReopenDelayMs);
            openedNow = false;
        }
        if (e.bArrival && o.arrivalNew) {
            writeDiff(1); // the next write sends every setting
            m_arrivedNew = true;
        }
    }
    updateConnectionDisplay();
    m_connection->startPoller();
    if (openedNow)
        connectedIfNew();
}

void DevicePresence::connectedIfNew()
{
    if (!std::exchange(m_arrivedNew, false))
        return;
    emit mouseConnected();
}

void DevicePresence::reopen()
{
    if (m_held) {
        m_reopenHeld = true;
        return;
    }
    closeAll();
    openCurrent();
    m_connection->startPoller();
    updateConnectionDisplay();
    if (m_mice > 0)
        connectedIfNew();
}

void DevicePresence::setUp()
{
    m_hasDevice = true;
    emit reloadRequested();
    emit warningCloseRequested();
}

void DevicePresence::slotWarnClose()
{
    if (m_held) {
        m_setUpHeld = true;
        return;
    }
    m_connection->stopPoller();
    openCurrent();
    m_connection->startPoller();
    setUp();
    connectedIfNew();
}

void DevicePresence::slotWarning()
{
    emit warningRequested();
}

void DevicePresence::updateConnectionDisplay()
{
    m_display.connection = connectionDisplayFor(cableConnected(*m_connection),
                                                receiverCommandFound(*m_connection), m_charging);
    m_display.chargingShown = false;
    emit displayChanged(m_display);
}

void DevicePresence::slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte)
{
    if (heldForWrite([=] { slotRefreshBatteryStatus(iCharge, iLowByte, iHiByte); }))
        return;
    if (iCharge == 0 && iLowByte == 0 && iHiByte == 0) {
        const QString off = QObject::tr("MOUSE OFF");
        m_display.barFormat = off;
        m_display.barText = off;
        m_display.barTextVisible = false;
        m_display.barStyle = batteryBarStyle(true, themeColour(), scaleFactor());
        m_display.chargingShown = false;
        m_mouseOff = true;
        emit displayChanged(m_display);
        return;
    }
    const bool cable = cableConnected(*m_connection);
    m_display.barText.clear();
    m_display.barTextVisible = true;
    m_display.barFormat = cable ? QString() : QStringLiteral("%p%");
    m_mouseOff = false;
    m_display.barStyle = batteryBarStyle(false, themeColour(), scaleFactor());
    m_charging = iCharge != 0;

    if (m_batteryFull < 0)
        m_batteryFull = readBatteryFull();
    const int percent = batteryPercent(batteryMillivolts(iLowByte, iHiByte), m_batteryFull);
    if (percent != m_lastPercent && m_storeLevel) {
        m_lastPercent = percent;
        writeBattery(percent);
    }
    m_display.barValue = cable ? kFullBattery : percent;
    updateConnectionDisplay();
}

void DevicePresence::slotRefreshWriteStatus(quint8 iStatus)
{
    if (heldForWrite([=] { slotRefreshWriteStatus(iStatus); }))
        return;
    if (iStatus == 0)
        writeDiff(1);
}

void DevicePresence::slotRefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode)
{
    if (heldForWrite([=] { slotRefreshStatus(iProfile, iDPI, iRate, iMode); }))
        return;
    qCDebug(lcApp, "change on the mouse: profile %x, stage %x, rate %x, mode %x", iProfile, iDPI,
            iRate, iMode);
    // A slot the store does not have names no record to compare with.
    if (iProfile >= kSlotCount)
        return;
    if (iProfile != slot())
        slotRefreshProfile(iProfile);
    const ProfileData &record = m_store.profiles[iProfile];
    if (iDPI != record.dpi)
        refreshStage(iProfile, iDPI);
    if (iRate != record.pollrate && iRate != m_unknownRate)
        refreshRate(iProfile, iRate);
}

void DevicePresence::slotRefreshProfile(quint8 iProfile)
{
    if (iProfile >= kSlotCount)
        return;
    emit slotSelectRequested(iProfile);
    m_setPointerSpeed(m_store.profiles[iProfile].mousespeed);
}

void DevicePresence::slotRefreshDPIStage(quint8 iDPI)
{
    refreshStage(slot(), iDPI);
}

void DevicePresence::slotRefreshRate(quint8 iRate)
{
    refreshRate(slot(), iRate);
}

void DevicePresence::refreshStage(int iSlot, quint8 iDPI)
{
    if (iDPI >= kStageCount) {
        qCDebug(lcApp, "stage %d reported by the mouse is out of range", iDPI);
        return;
    }
    ProfileData &record = m_store.profiles[size_t(iSlot)];
    record.dpi = iDPI;
    WriteStageKey(m_store.names[size_t(iSlot)], iDPI);
    emit stageSelected(iDPI);
    // The figure the DPI panel shows for the stage.
    const int dpi = RawToDpi(record.stages[iDPI].y, readSensorCode());
    emit announce(QObject::tr("DPI") + QString::asprintf(" %d:%d", iDPI + 1, dpi));
}

void DevicePresence::refreshRate(int iSlot, quint8 iRate)
{
    // A code that is no report rate is announced (as an empty text) but never stored: the store
    // and the rate panel hold only the four rates.
    if (isRateCode(iRate) && m_rateEdited && m_rateEdited(iSlot)) {
        // The user's choice is not thrown away by the mouse's report: it stays pending, and
        // Apply sends it.
        if (m_rateKeptAgainst[size_t(iSlot)] == iRate)
            return;
        m_rateKeptAgainst[size_t(iSlot)] = iRate;
        qCDebug(lcApp, "slot %d: rate %x reported, the rate not yet applied is kept", iSlot + 1,
                iRate);
        emit announce(rateAnnouncement(iRate));
        return;
    }
    m_rateKeptAgainst[size_t(iSlot)] = 0;
    if (isRateCode(iRate)) {
        m_store.profiles[size_t(iSlot)].pollrate = iRate;
        m_unknownRate = 0;
        emit rateShown(iRate);
    } else {
        m_unknownRate = iRate;
    }
    emit announce(rateAnnouncement(iRate));
}

} // namespace mc
