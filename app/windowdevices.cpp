// The window's wiring to the pieces that do the work: presence and status (DevicePresence), the
// profile library (ProfileLibrary) and the write (WriteController). The window only applies
// what they signal to its widgets and hands them the user's clicks.
#include "app/mousecfgwidget.h"

#include "app/devicelink.h"
#include "app/diagnostics.h"
#include "app/presence.h"
#include "app/profilelibrary.h"
#include "app/reapply.h"
#include "app/userprompts.h"
#include "app/writecontroller.h"
#include "buttons/ui/kivbtnwindow.h"
#include "device/discovery.h"
#include "device/hidbackend.h"
#include "device/hotplugsource.h"
#include "lighting/kivcolorwindow.h"
#include "performance/kivdpiwindow.h"
#include "performance/kivpointspeed.h"
#include "performance/kivreportrate.h"
#include "platform/hotplugwatcher.h"
#include "platform/osdlink.h"
#include "profile/settings.h"
#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivprocessbar.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace mc {

namespace {
// Past the start-up's show request (200 ms), which raises the window over what is open.
constexpr int kProblemDelayMs = 500;
constexpr int kProblemTries = 10; // 5 s

void tellWhenShown(QWidget *window, const QString &text, int triesLeft)
{
    QTimer::singleShot(kProblemDelayMs, window, [window, text, triesLeft] {
        if (!window->isVisible() && triesLeft > 0)
            tellWhenShown(window, text, triesLeft - 1);
        else
            windowPrompts(window).tell(2, text);
    });
}
} // namespace

void MousecfgWidget::createWorkers()
{
    // The process's backend, followed: a diagnostics tracer put in front later sees the reports.
    m_presence = new DevicePresence(
        nullptr, m_store, [this] { return m_slot; }, this);
    m_profiles = new ProfileLibrary(m_store, this);
    m_writer = new WriteController(m_presence->connection(), m_store, m_lastStore, this);
    // What the window shows, collected as Apply collects it.
    m_reapply = new ReapplyOnConnect(
        [this] {
            collectPanels();
            m_writer->writeInBackground();
        },
        this);
    m_diagnostics = new DiagnosticsRecorder(this);
    m_osd = new OsdLink(this);
    const UserPrompts prompts = windowPrompts(this);
    m_profiles->setPrompts(prompts);
    m_writer->setPrompts(prompts);
    m_reapply->setPrompts(prompts);
    m_diagnostics->setPrompts(prompts);
    m_writer->setDialogParent(this);
}

void MousecfgWidget::wireWorkers()
{
    DevicePresence *p = m_presence;
    connect(p, &DevicePresence::mouseListChanged, this, &MousecfgWidget::rebuildMouseMenu);
    connect(p, &DevicePresence::reloadRequested, this, &MousecfgWidget::slotWarnClose);
    connect(p, &DevicePresence::warningRequested, this, &MousecfgWidget::slotWarning);
    connect(p, &DevicePresence::warningCloseRequested, this, [this] {
        if (m_warningBox)
            m_warningBox->accept();
    });
    connect(p, &DevicePresence::displayChanged, this, &MousecfgWidget::applyStatusDisplay);
    connect(
        p, &DevicePresence::slotSelectRequested, m_profiles,
        [this](int iSlot) { m_profiles->selectSlot(iSlot, false); }, Qt::DirectConnection);
    connect(p, &DevicePresence::announce, this, &MousecfgWidget::announce);
    // Said once the window is up, so that the box comes in front of it; a window that stays in
    // the tray gets the box on its own after a while.
    connect(p, &DevicePresence::deviceProblem, this,
            [this](const QString &text) { tellWhenShown(this, text, kProblemTries); });
    connect(p->poller(), &StatusPoller::RefreshBatteryStatus, m_writer,
            &WriteController::slotRefreshBatteryStatus);
    // Hot-plug: the backend's own events (the emulated mouse), else the system's.
    if (HotplugSource *source = p->connection().hid().hotplugSource()) {
        connect(source, &HotplugSource::interfaceChanged, p, &DevicePresence::onInterfaceChanged);
    } else {
        HidInterfaceClassifier classify;
#ifdef Q_OS_WIN
        classify = [](const HidInterfaceNote &note) {
            const InterfaceMatch m = MatchInterfaceName(note.name);
            return m.kind == kKindNone ? QVector<HidCollection>{}
                                       : QVector<HidCollection>{{m.vid, m.pid, m.kind}};
        };
        const quintptr window = winId();
#else
        const quintptr window = 0; // Linux listens to udev, not to a window
#endif
        m_watcher = new HotplugWatcher(classify, this);
        connect(m_watcher, &HotplugWatcher::interfaceChanged, p,
                &DevicePresence::onInterfaceChanged);
        m_watcher->start(window);
    }

    // A finished recording is a success: said on the confirmation line (the tray's own note
    // while the window is hidden), with the file's place to send it from.
    connect(m_diagnostics, &DiagnosticsRecorder::recorded, this, [this](const QString &path) {
        const QString text =
            QObject::tr("The diagnostics were recorded in %1").arg(QDir::toNativeSeparators(path));
        m_feedback->setToolTip(QDir::toNativeSeparators(path));
        showFeedback(text);
        if (!isVisible() && m_tray)
            m_tray->showMessage(QObject::tr("Record diagnostics..."), text,
                                QSystemTrayIcon::Information);
    });

    // The write owns the device and the stores while it runs.
    connect(
        m_writer, &WriteController::busyChanged, p,
        [p](bool bBusy) { bBusy ? p->stop() : p->start(); }, Qt::DirectConnection);

    // A mouse that connects is given what the window shows, once it is awake.
    ReapplyOnConnect *r = m_reapply;
    connect(p, &DevicePresence::mouseConnected, r, &ReapplyOnConnect::onMouseConnected);
    connect(p, &DevicePresence::mouseGone, r, &ReapplyOnConnect::onMouseGone);
    connect(p->poller(), &StatusPoller::RefreshBatteryStatus, r,
            &ReapplyOnConnect::slotRefreshBatteryStatus);
    connect(m_writer, &WriteController::writeFinished, r, &ReapplyOnConnect::onWriteFinished);
    connect(m_writer, &WriteController::backgroundWriteFinished, r,
            &ReapplyOnConnect::onBackgroundWriteFinished);
    // The window stays usable to the eye; the cursor says the mouse is being written.
    connect(m_writer, &WriteController::backgroundWriteChanged, this, [this](bool bRunning) {
        if (bRunning)
            setCursor(Qt::BusyCursor);
        else
            unsetCursor();
    });

    ProfileLibrary *l = m_profiles;
    connect(l, &ProfileLibrary::currentChanged, this, &MousecfgWidget::showCurrentProfile);
    connect(l, &ProfileLibrary::libraryChanged, this, [this](const QStringList &names) {
        m_library = names;
        rebuildLibraryMenu();
    });
    connect(l, &ProfileLibrary::panelsRefreshRequested, this, &MousecfgWidget::refreshPanels);
    connect(l, &ProfileLibrary::textsReapplyRequested, this, &MousecfgWidget::retranslate);
    connect(l, &ProfileLibrary::configurationLoaded, this, [this] {
        switchTab(0);
        setHotspotImages();
    });
    connect(l, &ProfileLibrary::writeRequested, m_writer, &WriteController::write);
    connect(l, &ProfileLibrary::selectOnMouseRequested, m_writer, &WriteController::selectProfile,
            Qt::DirectConnection);

    for (int i = 0; i < kSlotCount; ++i) {
        connect(m_slotActions[size_t(i)], &QAction::triggered, l, [l, i] { l->chooseSlot(i); });
    }
    connect(m_libraryMenu, &QMenu::triggered, this, [this](QAction *a) {
        m_profiles->chooseLibraryEntry(m_libraryMenu->actions().indexOf(a));
    });
}

bool MousecfgWidget::dispatchProfileButton(KivPushButton *b)
{
    ProfileLibrary *l = m_profiles;
    if (b == m_libraryBtn)
        l->rename(m_nameEdit->text(), false);
    else if (b == m_addBtn)
        l->addProfile();
    else if (b == m_delBtn)
        l->deleteProfile();
    else if (b == m_copyBtn)
        l->copyProfile();
    else if (b == m_resetBtn)
        l->resetProfile();
    else if (b == m_resetAllBtn)
        l->resetAll();
    else if (b == m_exportBtn) // its picture is the one of loading a file
        l->importProfile();
    else if (b == m_importBtn)
        l->exportProfile();
    else if (b == m_saveBtn)
        l->saveConfiguration();
    else if (b == m_loadBtn)
        l->loadConfiguration();
    else if (b == m_okBtn) {
        m_writer->write(false);
        hideToTray();
    } else if (b == m_cancelBtn) {
        hideToTray();
        l->selectSlot(m_slot, true);
    } else if (b == m_applyBtn) {
        collectPanels();
        m_writer->write(false);
    } else {
        return false;
    }
    return true;
}

void MousecfgWidget::slotProfileNameChange()
{
    m_profiles->rename(m_nameEdit->text(), true);
}

void MousecfgWidget::showCurrentProfile(int iProfile, const QString &name)
{
    m_slot = iProfile;
    m_slotSelector->setText(m_slotActions[size_t(iProfile)]->text());
    m_nameEdit->setText(name);
}

void MousecfgWidget::refreshPanels()
{
    // Every panel shows the current slot's record; the window's own share is the slot
    // highlight.
    for (int i = 0; i < kSlotCount; ++i)
        m_slotBtns[size_t(i)]->setState(i == m_slot ? 1 : 0);
    ProfileData &record = m_store.profiles[size_t(m_slot)];
    refreshDpiPanels();
    m_colorWindow->setProfileData(&record);
    if (m_btnWindow)
        m_btnWindow->SetProfileRecord(&record);
}

void MousecfgWidget::refreshDpiPanels()
{
    if (!m_dpiPanel)
        return; // they show the record when they are built
    ProfileData &record = m_store.profiles[size_t(m_slot)];
    // Stages and buttons reach the mouse from slot 0 alone: the panels show and edit those.
    m_dpiPanel->refresh(record, m_store.profiles[0], readSensorCode());
    m_pointerPanel->refresh(record, m_store.Sync, m_store.LiftHigh, m_store.AngleValue,
                            m_store.Jitter, m_store.Debounce);
    m_ratePanel->refresh(record, m_store.LiftHigh);
}

void MousecfgWidget::collectPanels()
{
    // What is written passes through the panels as it always has, built or not yet.
    ensureDpiPanels();
    // The other panels edit the working store directly.
    ProfileData &record = m_store.profiles[size_t(m_slot)];
    m_dpiPanel->collect(record);
    m_dpiPanel->collectStages(m_store.profiles[0]);
    m_pointerPanel->collect(m_store);
    m_ratePanel->collect(record);
}

void MousecfgWidget::applyStatusDisplay(const StatusDisplay &d)
{
    // Every status answer comes here; the bar is restyled only when its look changes.
    setStyleOnce(m_battery, d.barStyle);
    m_battery->setFormat(d.barFormat);
    m_battery->setOwnText(d.barText);
    m_battery->setTextVisible(d.barTextVisible);
    m_battery->setValue(d.barValue);
    m_chargePic->setVisible(d.chargingShown);
    m_donglePic->setVisible(d.connection.receiverShown);
    m_battery->setVisible(d.connection.barShown);
    // The window itself draws only the battery's frame, which tells a cable from the receiver;
    // repainting the whole window at every status answer took some 20 ms of an idle window.
    if (m_batteryFrame != d.connection.batteryFrame) {
        m_batteryFrame = d.connection.batteryFrame;
        update(batteryFrameRect());
    }
}

void MousecfgWidget::announce(const QString &text)
{
    m_osd->announce(text, themeColour());
}

void MousecfgWidget::onFirmwareClicked()
{
    m_firmwareBtn->setState(0);
    m_presence->onFirmwareRequested();
}

} // namespace mc
