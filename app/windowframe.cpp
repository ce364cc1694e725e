// The frame around the main window: scale factor and screen changes, the image-shaped
// background with the battery frame, dragging, the tray icon, the show request with the
// "Dongle Disconnect!" box, and the language switch.
#include "app/devicelink.h"
#include "app/diagnostics.h"
#include "app/log.h"
#include "app/mousecfgwidget.h"
#include "app/pendingguard.h"
#include "app/presence.h"
#include "app/profilelibrary.h"
#include "app/reapply.h"
#include "app/titlemenu.h"
#include "app/userprompts.h"
#include "platform/autostart.h"
#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/settings.h"
#include "widgets/kivaction.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivprocessbar.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

namespace mc {

namespace {

bool systemTrayProbe()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

// How long a start at log-in waits for the desktop's tray before it shows the window.
constexpr int kTrayWaitMs = 5000;
constexpr int kTrayPollMs = 250;

std::function<bool()> &trayProbe()
{
    static std::function<bool()> probe = systemTrayProbe;
    return probe;
}

// A window larger than the screen's free area keeps its top-left corner (logo, drag area and
// the first bar) on screen instead of being centred past the edges; one that fits stays wholly
// inside.
QPoint keepInside(const QRect &area, QPoint at, const QSize &size)
{
    at.setX(qMax(area.left(), qMin(at.x(), area.x() + area.width() - size.width())));
    at.setY(qMax(area.top(), qMin(at.y(), area.y() + area.height() - size.height())));
    return at;
}

// The step the screen's dots per inch ask for, or a smaller one when that window would not fit
// the screen's free area (a 1366 x 768 screen at 120 dpi would cut "Apply" off).
ScaleStep fittingScale(QScreen *screen)
{
    if (!screen)
        return scaleForDpi(96.0);
    const QSize area = screen->availableGeometry().size();
    return fitScaleStep(scaleForDpi(screen->logicalDotsPerInch()), area.width(), area.height());
}

} // namespace

void MousecfgWidget::setupScale()
{
#ifndef Q_OS_WIN
    // The rounded shape is drawn with its own alpha. A Wayland compositor ignores the mask for
    // drawing (it only limits input there) and would show an opaque buffer's corners; X11
    // blends them where a compositing manager runs, and elsewhere the mask still cuts them
    // off. Windows keeps the window region alone: a layered window would be redrawn whole for
    // every change. Set before the native window exists, which takes its format from it.
    setAttribute(Qt::WA_TranslucentBackground);
#endif
    QScreen *screen = QGuiApplication::primaryScreen();
    const ScaleStep s = fittingScale(screen);
    m_step = s.step;
    setScaleFactor(s.factor);

    setBaseSize(kDesignWidth, kDesignHeight);
    setMinimumSize(kDesignWidth, kDesignHeight);
    m_firstSize = QSize(scaled(kDesignWidth), scaled(kDesignHeight));
    resize(m_firstSize);
    if (screen) {
        const QRect g = screen->geometry();
        const QPoint centred(g.x() + (g.width() - m_firstSize.width()) / 2,
                             g.y() + (g.height() - m_firstSize.height()) / 2);
        move(keepInside(screen->availableGeometry(), centred, m_firstSize));
    }
}

void MousecfgWidget::loadFrameImages()
{
    fillBackgroundSlot(m_step);
}

namespace {
int g_backgroundStamp = 0; // counts the backgrounds read, so a scaled copy knows it is stale
} // namespace

// One background is kept, at the scale in use (read again at a new scale factor), and as runs of
// equal pixels: as pixels it would cost megabytes for the window's whole life.
void MousecfgWidget::fillBackgroundSlot(int)
{
    ++g_backgroundStamp;
    m_background = RunImage(skinImage(skinPath(QStringLiteral("cfgMainback.png"))));
    m_bat1 = skinPixmap(skinPath(QStringLiteral("bat1.png")));
    m_bat2 = skinPixmap(skinPath(QStringLiteral("bat2.png")));
    setMask(m_background.opaqueRegion());
    m_framedFactor = scaleFactor();
}

bool MousecfgWidget::applyScaleStep(const ScaleStep &s)
{
    // The window is built at the factor in use; the first resize usually confirms it, and
    // reading the background and laying out every panel again would only delay the first frame.
    if (qFuzzyCompare(m_framedFactor, s.factor))
        return true;
    setScaleFactor(s.factor);
    fillBackgroundSlot(s.step);
    retranslate();
    return true;
}

void MousecfgWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_langBtn) // children not built yet
        return;
    QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    ScaleStep s = fittingScale(screen);
    if (s.step != m_step) {
        applyScaleStep(s);
    } else if (size() == m_firstSize) {
        ScaleStep byWidth;
        if (scaleForWidth(width(), byWidth))
            s = byWidth;
        else
            s.factor = scaleFactor();
        applyScaleStep(s);
    }
    m_step = s.step;
    qCDebug(lcApp, "window %d x %d at scale step %d", width(), height(), m_step);
}

QRect MousecfgWidget::batteryFrameRect() const
{
    return scaledRect(69, 581, 86, 47);
}

void MousecfgWidget::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    // A window of another size than the scale's gets a smooth scale of the background, kept
    // until the window changes size again and dropped once the sizes agree.
    static QPixmap cached;
    static QSize cachedFor;
    static int cachedStamp = 0;
    const RunImage &bg = m_background;
    if (!bg.isNull() && bg.size() == size()) {
        cached = QPixmap();
        cachedFor = QSize();
        bg.paint(p, event->rect());
    } else if (!bg.isNull()) {
        if (cachedFor != size() || cachedStamp != g_backgroundStamp) {
            cached = QPixmap::fromImage(
                bg.toImage().scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
            cachedFor = size();
            cachedStamp = g_backgroundStamp;
        }
        p.drawPixmap(0, 0, cached);
    }
    const QPixmap &frame = m_batteryFrame == QLatin1String("bat2.png") ? m_bat2 : m_bat1;
    if (!frame.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(batteryFrameRect(), frame);
    }
    static bool probed = false;
    if (!probed && qEnvironmentVariableIsSet("MOUSECFG_STARTUP_PROBE")) {
        probed = true;
        // Read by the start-up benchmark offscreen, where no server reports the frame: it has
        // been flushed once this paint returns, and a 0-timer runs after that (queued first,
        // so before the work the first frame made wait).
        // "quit" ends the program there, for a profile of the start-up alone.
        const bool quit = qgetenv("MOUSECFG_STARTUP_PROBE") == "quit";
        QTimer::singleShot(0, [quit] {
            std::printf("mousecfg: first paint");
            std::fflush(stdout);
            if (quit)
                QCoreApplication::quit();
        });
    }
    static bool painted = false;
    if (!painted) {
        painted = true;
        // What the start-up worker read and no widget asked for is not kept.
        QTimer::singleShot(0, this, [] { finishSkinPreload(); });
    }
    if (!m_laterPanelsQueued) {
        m_laterPanelsQueued = true;
        // The first frame is out: the panels it did not need are built now.
        QTimer::singleShot(0, this, [this] {
            finishStartup();
            showIcons();
            ensureButtonPanel();
            ensureDpiPanels();
        });
    }
}

void MousecfgWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_drag.press(event->screenPos(), frameGeometry().topLeft());
}

void MousecfgWidget::mouseMoveEvent(QMouseEvent *event)
{
    QPoint to;
    if (m_drag.move(event->screenPos(), to) && !m_drag.handOver(windowHandle()))
        move(to);
}

void MousecfgWidget::mouseReleaseEvent(QMouseEvent *)
{
    m_drag.release();
}

void MousecfgWidget::setupTray()
{
    const QIcon icon(skinPath(QStringLiteral("icon.ico")));
    m_trayMenu = new QMenu(this);
    m_loadAction =
        new QAction(QCoreApplication::translate("MousecfgWidget", "&Load Config"), m_trayMenu);
    connect(m_loadAction, &QAction::triggered, this, &MousecfgWidget::showRequest);

    // The program's menu is the title bar's and the tray's: the same entries either way.
    TitleMenu *menu = m_titleMenu;
    m_trayFocusAction = menu->focusRulesAction();
    m_reapplyAction = menu->reapplyAction();
    m_diagnosticsAction = menu->diagnosticsAction();
    m_quitAction = menu->quitAction();
    connect(menu, &TitleMenu::focusRulesRequested, this, &MousecfgWidget::openFocusRules);
    connect(menu, &TitleMenu::quitRequested, this, &MousecfgWidget::requestQuit);
    menu->setReapplyChecked(m_reapply->enabled());
    connect(menu, &TitleMenu::reapplyToggled, m_reapply, &ReapplyOnConnect::setEnabled);
    connect(m_reapply, &ReapplyOnConnect::enabledChanged, menu, &TitleMenu::setReapplyChecked);
    menu->setRecording(m_diagnostics->recording());
    connect(menu, &TitleMenu::diagnosticsToggled, m_diagnostics,
            &DiagnosticsRecorder::setRecording);
    connect(m_diagnostics, &DiagnosticsRecorder::recordingChanged, menu, &TitleMenu::setRecording);
    menu->setAutostartChecked(autostart::isEnabled());
    connect(menu, &TitleMenu::autostartToggled, this, &MousecfgWidget::setStartAtLogin);
    applyTrayTexts();

    m_trayMenu->addAction(m_loadAction);
    m_trayMenu->addAction(m_trayFocusAction);
    m_trayMenu->addAction(m_reapplyAction);
    m_trayMenu->addAction(m_diagnosticsAction);
    m_trayMenu->addAction(menu->autostartAction());
    m_trayMenu->addAction(m_quitAction);
    styleMenu(m_trayMenu);
    // The desktop's own settings may have removed or switched off the entry meanwhile.
    const auto refresh = [menu] { menu->setAutostartChecked(autostart::isEnabled()); };
    connect(menu, &TitleMenu::aboutToOpen, this, refresh);
    connect(m_trayMenu, &QMenu::aboutToShow, this, refresh);
    m_tray = new QSystemTrayIcon(icon, this);
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, &MousecfgWidget::iconActivated);
    m_tray->setToolTip(readCurrentProduct());
    // A window that is not shown at start has no first frame to wait for.
    if (m_miceAtStart == 0)
        QTimer::singleShot(0, this, &MousecfgWidget::showIcons);
}

void MousecfgWidget::showIcons()
{
    if (!m_tray)
        return;
    // Setting the icon decodes it and asks the desktop for the tray: both wait until the first
    // frame is out, which needs neither.
    if (!m_iconsShown) {
        m_iconsShown = true;
        setWindowIcon(m_tray->icon());
    }
    // Asked again while there is none: at log-in the panel with the tray may come after us.
    if (!m_tray->isVisible() && trayProbe()())
        m_tray->show();
}

void MousecfgWidget::setStartAtLogin(bool bOn)
{
    QString error;
    if (!autostart::setEnabled(bOn, QCoreApplication::applicationFilePath(), &error)) {
        qCWarning(lcApp, "the start at log-in could not be %s: %s", bOn ? "set" : "removed",
                  qUtf8Printable(error));
        windowPrompts(this).tellUser(
            KivMessageBox::Notice,
            (bOn ? QObject::tr("The program cannot be set to start when you log in: %1")
                 : QObject::tr("The program cannot be kept from starting when you log in: %1"))
                .arg(error));
    }
    m_titleMenu->setAutostartChecked(autostart::isEnabled());
}

void MousecfgWidget::startInTray()
{
    m_startInTray = true;
}

void MousecfgWidget::finishStartup()
{
    if (m_startupFinished)
        return;
    m_startupFinished = true;
    m_profiles->takeSystemPointerSpeed();
    // Only read when a profile is added or reset; the write is skipped when nothing changed.
    WriteDefaultProfileFile();
    // Earlier versions kept the first frame's images decoded in the cache folder; the start was
    // no faster for it, and the file held megabytes.
    const QString cache = cacheDir();
    if (QFile::remove(cache + QStringLiteral("/first-frame-images.bin")))
        QDir().rmdir(cache);
}

void MousecfgWidget::startupShowRequest()
{
    finishStartup();
    if (!m_startInTray) {
        slotWarning();
        return;
    }
    // Started by the desktop at log-in: the window stays in the tray, even without a mouse.
    // The tray may come a moment after us; without one by then the window shows, or the user
    // could not reach the program at all.
    if (trayShown())
        return;
    if (m_trayPolls++ < kTrayWaitMs / kTrayPollMs) {
        QTimer::singleShot(kTrayPollMs, this, &MousecfgWidget::startupShowRequest);
        return;
    }
    qCDebug(lcApp, "no system tray after %d ms: the window shows", kTrayWaitMs);
    m_startInTray = false;
    if (!isVisible()) // a second start may have brought it up meanwhile
        showRequest();
}

void MousecfgWidget::setTrayProbe(std::function<bool()> probe)
{
    trayProbe() = probe ? std::move(probe) : systemTrayProbe;
}

void MousecfgWidget::applyTrayTexts()
{
    m_loadAction->setText(QCoreApplication::translate("MousecfgWidget", "&Load Config"));
    m_titleMenu->retranslate();
}

bool MousecfgWidget::trayShown()
{
    // The icon waits for the first frame; a window hidden or closed before then still goes to
    // the tray.
    showIcons();
    return m_tray && m_tray->isVisible();
}

void MousecfgWidget::hideToTray()
{
    if (trayShown())
        hide();
    else
        showMinimized();
}

void MousecfgWidget::closeEvent(QCloseEvent *event)
{
    // With a tray the window only hides and keeps every edit; without one, closing quits.
    if (!trayShown() && !confirmDrop(QObject::tr("QUIT"), PendingGuard::kAll)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    if (event->isAccepted() && !trayShown())
        QCoreApplication::quit();
}

void MousecfgWidget::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick)
        return;
    if (isHidden() || isMinimized()) {
        showRequest();
        return;
    }
    if (!warningOpen())
        hide();
}

void MousecfgWidget::slotWarning()
{
    showRequest();
}

void MousecfgWidget::showRequest()
{
    if (isMinimized())
        showNormal();
    else
        show();
    if (hasDevice()) {
        raise();
        activateWindow();
        return;
    }
    if (m_warningBox)
        return; // one box at a time
    m_presence->setWarningOpen(true);
    // The box closes itself when a mouse is set up (presence's warningCloseRequested).
    KivMessageBox box(4, QString(), QObject::tr("Warning"), QObject::tr("Dongle Disconnect!"), this,
                      false, Qt::FramelessWindowHint | Qt::Dialog);
    m_warningBox = &box;
    if (box.exec() == QDialog::Accepted && !hasDevice())
        hideToTray();
    m_warningBox = nullptr;
    m_presence->setWarningOpen(false);
}

void MousecfgWidget::bringToFront()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal) {
        showRequest();
        return;
    }
    // A box is waiting for the user (its own event loop runs): bring both up, open no other.
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    modal->raise();
    modal->activateWindow();
}

bool MousecfgWidget::loadTranslation(int language)
{
    if (language < 0 || language >= m_langFiles.size())
        return false;
    const QString stem = m_langFiles.at(language);
    // The stem comes from Config.ini: it names a file inside lang/, never a path elsewhere.
    if (!isSafeFileName(stem))
        return false;
    QCoreApplication::removeTranslator(m_translator);
    if (!m_translator->load(langDir() + QLatin1Char('/') + stem + QStringLiteral(".qm")))
        return false;
    QCoreApplication::installTranslator(m_translator);
    return true;
}

void MousecfgWidget::switchLanguage(int i)
{
    if (i < 0 || i >= m_langCount)
        return;
    loadTranslation(i);
    m_language = i;
    setUiLanguage(i);
    m_langBtn->setText(m_langActions.value(i) ? m_langActions.value(i)->text() : QString());
    writeLanguage(i);
    retranslate();
}

} // namespace mc
