// The lighting panel: building, showing a mode, the effect menu and storing what the user sets.
#include "lighting/kivcolorwindow.h"
#include "lighting/log.h"

#include "lighting/colorareas.h"
#include "lighting/kivcolorarea.h"
#include "lighting/lightingmodes.h"
#include "profile/settings.h"
#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "widgets/kivpushbutton.h"
#include "widgets/kivslider.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QtDebug>

#include <algorithm>
#include <climits>

namespace mc {

namespace {

constexpr int kUpperCaptionY = 78;
constexpr int kUpperSliderY = 97;
constexpr int kLowerCaptionY = 137;
constexpr int kLowerSliderY = 156;

int clampMode(int iMode)
{
    return std::clamp(iMode, 0, kLedModeCount - 1);
}

QString modeName(int iMode)
{
    return QCoreApplication::translate("QObject", lighting::kModes[size_t(clampMode(iMode))].name);
}

void place(QWidget *w, int x, int y, int width, int height)
{
    w->setGeometry(scaledRect(x, y, width, height));
}

void hideAway(QWidget *w)
{
    w->setGeometry(0, 0, 0, 0);
}

} // namespace

KivColorWindow::KivColorWindow(ProfileStore &store, QWidget *parent)
    : QWidget(parent), m_store(store)
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("mc--KivColorWindow{background-color: rgba(33,35,35,0.5)}"));
    build();
    setTexts();
    layoutParts();
}

void KivColorWindow::build()
{
    m_effectCaption = new KivLabel(this);
    m_effectBtn = new KivPushButton({skinPath(QStringLiteral("tabbutton-1.png")),
                                     skinPath(QStringLiteral("tabbutton-2.png")),
                                     skinPath(QStringLiteral("tabbutton-3.png"))},
                                    this);
    m_menu = new QMenu(this);
    styleMenu(m_menu);
    m_effectBtn->setMenu(m_menu);

    m_brightCaption = new KivLabel(this);
    m_speedCaption = new KivLabel(this);
    m_colourCaption = new KivLabel(this);
    m_sleepCaption = new KivLabel(this);
    m_minutes = new KivLabel(this);
    m_bright = new KivSlider(Qt::Horizontal, this);
    m_speed = new KivSlider(Qt::Horizontal, this);
    m_sleep = new KivSlider(Qt::Horizontal, this);
    m_bright->setRange(lighting::kBrightMin, lighting::kBrightMax);
    m_speed->setRange(lighting::kSpeedMin, lighting::kSpeedMax);
    const SleepRange sleep = readSleepRange();
    m_sleep->setRange(sleep.min, sleep.max);
    for (KivSlider *s : {m_bright, m_speed, m_sleep}) {
        s->setSingleStep(1);
        s->setPageStep(1);
        connect(s, &QSlider::valueChanged, this, &KivColorWindow::slotSliderMouseChange);
    }
    connect(m_bright, &QSlider::valueChanged, this, &KivColorWindow::onBrightChanged);
    connect(m_speed, &QSlider::valueChanged, this, &KivColorWindow::onSpeedChanged);
    connect(m_sleep, &QSlider::valueChanged, this, &KivColorWindow::onSleepChanged);

    m_swatch = new DefaultColorArea(Qt::black, this);
    connect(m_swatch, &DefaultColorArea::ClickedSignal, this, &KivColorWindow::color_clicked);

    m_moveOff = new QCheckBox(this);
    m_moveOff->setFocusPolicy(Qt::NoFocus);
    useSkinIndicator(m_moveOff);
    connect(m_moveOff, &QCheckBox::clicked, this, &KivColorWindow::checkbtn_clicked);

    m_showSleep = readShowSleep() != 0;
}

QString KivColorWindow::sliderStyle(double s, const QColor &t)
{
    const int groove = int(4 * s);
    // The handle spans the groove and an equal margin above and below, and its radius is at
    // most half of that: otherwise the style draws it square.
    const int margin = (int(8 * s) - groove) / 2;
    const int handle = groove + 2 * margin;
    return QStringLiteral(
               "QSlider { background: transparent; }"
               "QSlider::groove:horizontal { height: %1px; background: qlineargradient(x1: 0, "
               "y1: 0, x2: 1, y2: 0, stop: 0 rgb(%2, %3, %4), stop: 1 rgb(%2, %3, %4)); "
               "border-radius: %5px; }"
               "QSlider::add-page:horizontal { height: %1px; background: rgb(29, 29, 29); "
               "border-radius: %5px; }"
               "QSlider::handle:horizontal { width: %6px; height: %6px; background: rgb(%2, %3, "
               "%4); margin: -%7px 0; border-radius: %8px; }")
        .arg(groove)
        .arg(t.red())
        .arg(t.green())
        .arg(t.blue())
        .arg(groove / 2)
        .arg(handle)
        .arg(margin)
        .arg(handle / 2);
}

void KivColorWindow::layoutParts()
{
    const double s = scaleFactor();
    const QString style = sliderStyle(s, themeColour());
    for (KivSlider *sl : {m_bright, m_speed, m_sleep})
        setStyleOnce(sl, style);
    const QColor t = themeColour();
    QFont font = sharedFont();
    // A new font, even an equal one, restyles the box through its style sheet.
    if (m_moveOff->font() != font)
        m_moveOff->setFont(font);
    setStyleOnce(
        m_moveOff,
        QStringLiteral("QCheckBox { background: transparent; color: white; spacing: %1px; }"
                       "QCheckBox::indicator { width: %2px; height: %2px; }")
            .arg(scaled(8))
            .arg(scaled(18)));
    Q_UNUSED(t)
    m_menu->setFont(font);
    for (KivAction *a : m_actions) {
        if (a)
            a->setFont(font);
    }

    place(m_effectCaption, 30, 14, 201, 18);
    place(m_effectBtn, 30, 36, 200, 30);
    m_menu->setFixedWidth(scaled(200));

    const lighting::ModeInfo &info = lighting::kModes[size_t(m_mode)];
    const bool speedUp = lighting::speedAbove(m_mode);
    const int brightCaptionY = speedUp ? kLowerCaptionY : kUpperCaptionY;
    const int speedCaptionY = speedUp ? kUpperCaptionY : kLowerCaptionY;
    place(m_brightCaption, 30, brightCaptionY, 201, 18);
    place(m_bright, 30, speedUp ? kLowerSliderY : kUpperSliderY, 228, 25);
    place(m_speedCaption, 30, speedCaptionY, 201, 18);
    place(m_speed, 30, speedUp ? kUpperSliderY : kLowerSliderY, 228, 25);
    place(m_colourCaption, 30, 196, 201, 18);
    place(m_swatch, 30, 215, 64, 64);
    for (QWidget *w : {static_cast<QWidget *>(m_brightCaption), static_cast<QWidget *>(m_bright)})
        w->setVisible(info.bright);
    for (QWidget *w : {static_cast<QWidget *>(m_speedCaption), static_cast<QWidget *>(m_speed)})
        w->setVisible(info.speed);
    m_colourCaption->setVisible(info.colour);
    m_swatch->setVisible(info.colour);

    if (m_showSleep) {
        place(m_sleepCaption, 30, 300, 201, 18);
        place(m_sleep, 30, 320, 228, 25);
        place(m_minutes, 265, 323, 100, 18);
        place(m_moveOff, 30, 360, 200, 25);
    } else {
        for (QWidget *w :
             std::initializer_list<QWidget *>{m_sleepCaption, m_sleep, m_minutes, m_moveOff})
            hideAway(w);
    }
}

void KivColorWindow::resizeEvent(QResizeEvent *)
{
    // The window places the panel at every scale change; the children follow.
    layoutParts();
}

void KivColorWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        setTexts();
    QWidget::changeEvent(event);
}

void KivColorWindow::setTexts()
{
    m_effectCaption->setText(QObject::tr("EFFECT"));
    m_brightCaption->setText(QObject::tr("BRIGHTNESS"));
    m_speedCaption->setText(QObject::tr("SPEED"));
    m_colourCaption->setText(QObject::tr("COLOR"));
    m_sleepCaption->setText(QObject::tr("SLEEP TIME"));
    m_moveOff->setText(QObject::tr("MOVE TO LIGHT OFF"));
    m_effectBtn->setText(modeName(m_mode));
    for (int i = 0; i < kLedModeCount; ++i) {
        if (m_actions[size_t(i)])
            m_actions[size_t(i)]->setText(modeName(i));
    }
    showMinutes(m_sleep->value());
}

int KivColorWindow::lightingSlot() const
{
    if (readCurrentProduct() == QLatin1String(lighting::kSharedLightingProduct))
        return 0;
    return std::clamp(int(m_store.ProfileID), 0, kSlotCount - 1);
}

void KivColorWindow::setProfileData(ProfileData *record)
{
    m_ProfileData = record;
    refresh();
}

void KivColorWindow::showMode(int iMode)
{
    m_mode = clampMode(iMode);
    m_effectBtn->setText(modeName(m_mode));
    layoutParts();
}

void KivColorWindow::setSliderQuietly(KivSlider *slider, int iValue)
{
    const bool was = slider->blockSignals(true);
    slider->setValue(iValue);
    slider->blockSignals(was);
}

void KivColorWindow::refresh()
{
    if (!m_ProfileData)
        return;
    // The effect is the lighting slot's own; everything else the mouse takes from slot 0, so
    // that is what the panel shows whatever slot is active.
    const bool shared = readCurrentProduct() == QLatin1String(lighting::kSharedLightingProduct);
    showMode(shared ? m_store.profiles[0].LedMode : m_ProfileData->LedMode);
    showEffectValues();
    const ProfileData &p0 = m_store.profiles[0];
    // A damaged sleep time is shown within the slider's range and kept so: what the panel shows
    // is what "Apply" sends.
    const int sleep = std::clamp(int(p0.LedSleepTime), m_sleep->minimum(), m_sleep->maximum());
    setSliderQuietly(m_sleep, sleep);
    if (sleep != p0.LedSleepTime)
        onSleepChanged(sleep);
    showMinutes(sleep);
    m_moveOff->setChecked(p0.LedMoveOFF == 0);
    rebuildMenu();
}

void KivColorWindow::showEffectValues()
{
    const LedModeInfo &led = m_store.profiles[0].leds[size_t(m_mode)];
    const lighting::ModeInfo &info = lighting::kModes[size_t(m_mode)];
    // Values out of the sliders' ranges (a damaged file) are shown at the nearest end and
    // stored so, for the controls this effect shows.
    const int bright = std::clamp(int(qMin<uint32_t>(led.bright, INT_MAX)), lighting::kBrightMin,
                                  lighting::kBrightMax);
    const int speed = std::clamp(int(qMin<uint32_t>(led.breath, INT_MAX)), lighting::kSpeedMin,
                                 lighting::kSpeedMax);
    setSliderQuietly(m_bright, bright);
    setSliderQuietly(m_speed, speed);
    if (info.bright && uint32_t(bright) != led.bright)
        onBrightChanged(bright);
    if (info.speed && uint32_t(speed) != led.breath)
        onSpeedChanged(speed);
    m_swatch->setColour(led.color);
}

void KivColorWindow::rebuildMenu()
{
    // The fourteen actions live as long as the panel; the menu is refilled with the offered
    // ones. Made anew at every refresh, the four never offered would pile up under the menu.
    if (!m_actions[0]) {
        for (int i = 0; i < kLedModeCount; ++i) {
            auto *a = new KivAction(modeName(i), this);
            a->setFont(m_menu->font());
            connect(a, &QAction::triggered, this, [this, i] { chooseEffect(i); });
            m_actions[size_t(i)] = a;
        }
    }
    std::array<KivAction *, lighting::kMenuEntries> order{};
    for (int i = 0; i < kLedModeCount; ++i) {
        const int place = lighting::kModes[size_t(i)].menuPlace;
        if (place > 0)
            order[size_t(place - 1)] = m_actions[size_t(i)];
    }
    m_menu->clear();
    for (KivAction *a : order)
        m_menu->addAction(a);
}

void KivColorWindow::chooseEffect(int iMode)
{
    const int i = clampMode(iMode);
    showMode(i);
    const int slot = lightingSlot();
    ProfileData &target = m_store.profiles[size_t(slot)];
    target.LedMode = uint8_t(i);
    // The colour box shows the colour of the effect now on screen, as the mouse will get it.
    showEffectValues();
    const LedModeInfo &led = m_store.profiles[0].leds[size_t(i)];
    qCDebug(lcLighting, "slot %d shows effect %d, colour %d,%d,%d", slot, i, led.color.red(),
            led.color.green(), led.color.blue());
}

std::array<LedModeInfo *, 2> KivColorWindow::shownEntries()
{
    LedModeInfo *slot0 = &m_store.profiles[0].leds[size_t(m_mode)];
    LedModeInfo *shown = m_ProfileData ? &m_ProfileData->leds[size_t(m_mode)] : slot0;
    return {shown, slot0};
}

void KivColorWindow::slotSliderMouseChange() {}

void KivColorWindow::onBrightChanged(int iValue)
{
    for (LedModeInfo *led : shownEntries())
        led->bright = uint32_t(iValue);
}

void KivColorWindow::onSpeedChanged(int iValue)
{
    for (LedModeInfo *led : shownEntries())
        led->breath = uint32_t(iValue);
}

void KivColorWindow::onSleepChanged(int iValue)
{
    m_store.profiles[0].LedSleepTime = uint8_t(iValue);
    if (m_ProfileData)
        m_ProfileData->LedSleepTime = uint8_t(iValue);
    showMinutes(iValue);
}

void KivColorWindow::showMinutes(int iValue)
{
    m_minutes->setText(QString::number(iValue) + QObject::tr(" MINUTE"));
}

void KivColorWindow::checkbtn_clicked(bool bChecked)
{
    const uint8_t value = bChecked ? 0 : 255;
    m_store.profiles[0].LedMoveOFF = value;
    if (m_ProfileData)
        m_ProfileData->LedMoveOFF = value;
}

void KivColorWindow::color_clicked()
{
    if (!m_ProfileData)
        return;
    KivColorArea dialog(this);
    dialog.setColour(m_store.profiles[0].leds[size_t(m_mode)].color);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QColor chosen = dialog.colour();
    for (LedModeInfo *led : shownEntries()) {
        led->color = chosen;
        led->h = uint32_t(std::max(0, chosen.hsvHue()));
        led->s = uint32_t(chosen.hsvSaturation());
        led->v = uint32_t(chosen.value());
    }
    m_swatch->setColour(chosen);
}

} // namespace mc
