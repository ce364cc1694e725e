// Drawing and placing the on-screen display.
#include "osd/osdwindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#ifdef MC_HAVE_LAYERSHELLQT
#include <LayerShellQt/Window>
#endif

namespace {
constexpr int kPadding = 24;
constexpr int kCornerRadius = 16;
constexpr QColor kBackdrop{0, 0, 0, 150};
// The window's bottom edge sits this fraction of the screen's height above the screen's bottom.
constexpr double kBottomMargin = 0.12;
} // namespace

OsdWindow::OsdWindow(bool layerShell, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
                          Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus),
      m_layerShell(layerShell)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QLatin1String(mc::kOsdWindowTitle));
    m_hideTimer.setSingleShot(true);
    connect(&m_hideTimer, &QTimer::timeout, this, [this] {
        hide();
        emit hidden();
    });
}

QFont OsdWindow::messageFont() const
{
    QFont font(m_message.fontFamily);
    font.setPixelSize(m_message.fontSize);
    font.setBold(true);
    return font;
}

void OsdWindow::showMessage(const mc::OsdMessage &message)
{
    m_message = message;
    const QSize textSize = QFontMetrics(messageFont()).size(Qt::TextSingleLine, message.text);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // A text wider than the screen is cut by the window, not the window by the screen.
    const QSize size(qMin(textSize.width() + 2 * kPadding, area.width()),
                     textSize.height() + 2 * kPadding);
    resize(size);
    if (m_layerShell)
        setUpLayerSurface();
    else
        move(area.left() + (area.width() - size.width()) / 2,
             area.bottom() - int(area.height() * kBottomMargin) - size.height());
    update();
    show();
    applyEmptyInputRegion();
    m_hideTimer.start(message.displayTimeMs);
    emit shown(message);
}

void OsdWindow::setUpLayerSurface()
{
#ifdef MC_HAVE_LAYERSHELLQT
    // Read by the shell integration when the surface is made, at each show.
    winId();
    LayerShellQt::Window *surface = LayerShellQt::Window::get(windowHandle());
    if (!surface)
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int height = screen ? screen->geometry().height() : 768;
    surface->setLayer(LayerShellQt::Window::LayerOverlay);
    surface->setAnchors(LayerShellQt::Window::AnchorBottom);
    surface->setMargins(QMargins(0, 0, 0, int(height * kBottomMargin)));
    surface->setKeyboardInteractivity(LayerShellQt::Window::KeyboardInteractivityNone);
    surface->setExclusiveZone(0);
    surface->setScope(QStringLiteral("mousecfg-osd"));
    if (!m_watchingExposure) {
        windowHandle()->installEventFilter(this);
        m_watchingExposure = true;
    }
#endif
}

void OsdWindow::applyEmptyInputRegion()
{
    if (!m_layerShell || !windowHandle())
        return;
    // Qt 5's Wayland windows keep the whole input region even when transparent for input; a
    // region outside the surface leaves none, so every click reaches what is below. Each show
    // makes a new surface, which may come after show() returns: the region is given again when
    // the window is exposed, each time a different one, since Qt passes on only a change.
    m_inputRegionFlip = !m_inputRegionFlip;
    windowHandle()->setMask(QRegion(m_inputRegionFlip ? -2 : -3, -2, 1, 1));
}

bool OsdWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed())
        applyEmptyInputRegion();
    return QWidget::eventFilter(watched, event);
}

void OsdWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath backdrop;
    backdrop.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    painter.fillPath(backdrop, kBackdrop);
    painter.setFont(messageFont());
    painter.setPen(m_message.colour);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_message.text);
}

#ifdef Q_OS_WIN
bool OsdWindow::nativeEvent(const QByteArray &eventType, void *message, NativeResult *result)
{
    const MSG *msg = static_cast<const MSG *>(message);
    if (eventType != "windows_generic_MSG" || msg->message != WM_COPYDATA || !msg->lParam)
        return false;
    const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(msg->lParam);
    mc::OsdMessage parsed;
    const bool ok =
        data->lpData && data->cbData == DWORD(mc::kOsdMessageSize) &&
        mc::parseOsdMessageBlock(
            QByteArray(static_cast<const char *>(data->lpData), int(data->cbData)), &parsed);
    if (ok)
        showMessage(parsed);
    *result = ok ? TRUE : FALSE;
    return true;
}
#endif
