// Key response, wheel speed and the shared sensor options, in the arrangement of the product.
#include "performance/kivpointspeed.h"
#include "performance/log.h"

#include "performance/kivoptionbuttons.h"
#include "profile/settings.h"
#include "widgets/kivlabel.h"
#include "widgets/kivslider.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QSpinBox>

namespace mc {

namespace {

constexpr int kDebounceMin = 1;
constexpr int kDebounceMax = 255;
constexpr int kScrollMin = 1;
constexpr int kScrollMax = 20;

const char *const kCaptionTexts[] = {
    QT_TRANSLATE_NOOP("QObject", "Key Response"), QT_TRANSLATE_NOOP("QObject", "SCROLL SPEED"),
    QT_TRANSLATE_NOOP("QObject", "Enable sync"),  QT_TRANSLATE_NOOP("QObject", "Lift Distance"),
    QT_TRANSLATE_NOOP("QObject", "Angle Snapping"), QT_TRANSLATE_NOOP("QObject", "Jitter")};

const char *const kBoxTexts[KivPointSpeed::PairCount][2] = {
    {QT_TRANSLATE_NOOP("QObject", "ON"), QT_TRANSLATE_NOOP("QObject", "OFF")},
    {QT_TRANSLATE_NOOP("QObject", "1mm"), QT_TRANSLATE_NOOP("QObject", "2mm")},
    {QT_TRANSLATE_NOOP("QObject", "ON"), QT_TRANSLATE_NOOP("QObject", "OFF")},
    {QT_TRANSLATE_NOOP("QObject", "ON"), QT_TRANSLATE_NOOP("QObject", "OFF")}};

} // namespace

KivPointSpeed::KivPointSpeed(QWidget *parent)
    : QWidget(parent), m_slider(new KivSlider(Qt::Horizontal, this)),
      m_valueLabel(new KivLabel(this)), m_spin(new QSpinBox(this))
{
    for (KivLabel *&c : m_captions)
        c = new KivLabel(this);
    m_slider->setRange(kDebounceMin, kDebounceMax);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(1);
    m_slider->setFocusPolicy(Qt::NoFocus);
    connect(m_slider, &QSlider::valueChanged, this, &KivPointSpeed::onSliderChanged);
    m_valueLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_spin->setRange(kScrollMin, kScrollMax);
    m_spin->setAlignment(Qt::AlignCenter);
    connect(m_spin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &KivPointSpeed::sValueChangedSlot);
    for (auto &pair : m_boxes) {
        for (KivCheckBox *&b : pair) {
            b = new KivCheckBox(this);
            connect(b, &QAbstractButton::clicked, this, &KivPointSpeed::checkbtn_clicked);
        }
    }
    showPairs();
    retranslate();
    layoutPanel();
}

void KivPointSpeed::refresh(ProfileData &profile, quint8 sync, quint8 lift, quint8 angle,
                            quint8 jitter, quint8 debounce)
{
    m_spin->setFont(sharedFont());
    // Cleared first, so that showing the new record's wheel speed writes nothing into the old.
    m_record = nullptr;
    // A debounce of 0 (a damaged file) is shown and kept as the slider's lowest value: what the
    // panel shows is what "Apply" sends.
    m_debounce = quint8(qBound(kDebounceMin, int(debounce), kDebounceMax));
    m_slider->blockSignals(true);
    m_slider->setValue(m_debounce);
    m_slider->blockSignals(false);
    m_valueLabel->setNumber(m_debounce);
    m_spin->blockSignals(true);
    m_spin->setValue(profile.scrollspeed);
    m_spin->blockSignals(false);
    m_record = &profile;
    m_sync = sync;
    m_lift = lift;
    m_angle = angle;
    m_jitter = jitter;
    showPairs();
    layoutPanel();
}

void KivPointSpeed::setLift(quint8 iLift)
{
    m_lift = iLift;
    showPairs();
}

void KivPointSpeed::collect(ProfileStore &store) const
{
    store.Sync = m_sync;
    store.LiftHigh = m_lift;
    store.AngleValue = m_angle;
    store.Jitter = m_jitter;
    store.Debounce = m_debounce;
    if (m_record)
        m_record->scrollspeed = quint8(m_spin->value());
}

void KivPointSpeed::onSliderChanged(int v)
{
    m_debounce = quint8(qBound(kDebounceMin, v, kDebounceMax));
    m_valueLabel->setNumber(m_debounce);
}

void KivPointSpeed::sValueChangedSlot(int s)
{
    if (m_record)
        m_record->scrollspeed = quint8(qBound(kScrollMin, s, kScrollMax));
}

quint8 KivPointSpeed::valueOf(Pair pair, int box)
{
    switch (pair) {
    case SyncPair:
        return box == 0 ? 1 : 0;
    case LiftPair:
        return box == 0 ? 1 : 2;
    case AnglePair:
    case JitterPair:
        // Stored 0 means the filter is on.
        return box == 0 ? 0 : 1;
    case PairCount:
        break;
    }
    return 0;
}

void KivPointSpeed::checkbtn_clicked()
{
    for (int p = 0; p < PairCount; ++p) {
        for (int i = 0; i < 2; ++i) {
            if (sender() != m_boxes[p][i])
                continue;
            const quint8 v = valueOf(Pair(p), i);
            switch (Pair(p)) {
            case SyncPair:
                m_sync = v;
                break;
            case LiftPair:
                m_lift = v;
                break;
            case AnglePair:
                m_angle = v;
                break;
            case JitterPair:
                m_jitter = v;
                break;
            case PairCount:
                break;
            }
            // The pair acts like two radio buttons: a click never leaves both unchecked.
            m_boxes[p][i]->setChecked(true);
            m_boxes[p][1 - i]->setChecked(false);
            return;
        }
    }
}

void KivPointSpeed::showPairs()
{
    const bool first[PairCount] = {m_sync != 0, m_lift == 1, m_angle == 0, m_jitter == 0};
    for (int p = 0; p < PairCount; ++p) {
        m_boxes[p][0]->setChecked(first[p]);
        m_boxes[p][1]->setChecked(!first[p]);
    }
}

void KivPointSpeed::retranslate()
{
    for (int i = 0; i < kCaptionCount; ++i)
        m_captions[i]->setText(QCoreApplication::translate("QObject", kCaptionTexts[i]));
    for (int p = 0; p < PairCount; ++p) {
        for (int i = 0; i < 2; ++i)
            m_boxes[p][i]->setText(QCoreApplication::translate("QObject", kBoxTexts[p][i]));
    }
}

void KivPointSpeed::layoutPanel()
{
    // Arrangements by PROFILE/Sync, each showing what that product's mouse takes. The lift-off
    // distance is chosen in the report-rate panel beside this one, so its pair here follows
    // that choice (setLift) rather than offering it a second time.
    const int variant = readProductSyncAsWritten();
    bool shown[PairCount] = {false, false, false, false};
    if (variant == 1)
        shown[SyncPair] = true;
    if (variant == 2)
        shown[SyncPair] = shown[AnglePair] = shown[JitterPair] = true;

    const QColor theme = themeColour();
    m_spin->setStyleSheet(
        QStringLiteral("QSpinBox{background-color:rgb(30,30,30);color:white;"
                       "border:1px solid rgb(%1,%2,%3);border-radius:%4px;padding:0px %4px}")
            .arg(theme.red())
            .arg(theme.green())
            .arg(theme.blue())
            .arg(qMax(2, scaled(3))));
    m_slider->setStyleSheet(
        QStringLiteral("QSlider{background-color:rgba(0,0,0,0)}"
                       "QSlider::groove:horizontal{height:%1px;background:rgb(70,70,70);"
                       "border-radius:%2px}"
                       "QSlider::sub-page:horizontal{background:rgb(%3,%4,%5);border-radius:%2px}"
                       "QSlider::handle:horizontal{background:rgb(235,235,235);width:%6px;"
                       "margin:-%7px 0;border-radius:%8px}")
            .arg(qMax(2, scaled(4)))
            .arg(qMax(1, scaled(2)))
            .arg(theme.red())
            .arg(theme.green())
            .arg(theme.blue())
            .arg(qMax(8, scaled(12)))
            .arg((qMax(8, scaled(12)) - qMax(2, scaled(4))) / 2)
            .arg(qMax(4, scaled(6))));

    // Common to every arrangement: key response, then the wheel speed.
    constexpr int kLeft = 10;
    constexpr int kWidth = 209;
    m_captions[0]->setGeometry(scaledRect(kLeft, 10, kWidth, 20));
    m_slider->setGeometry(scaledRect(kLeft, 34, 160, 22));
    m_valueLabel->setGeometry(scaledRect(kLeft + 164, 34, 45, 22));
    m_captions[1]->setGeometry(scaledRect(kLeft, 70, 130, 24));
    m_spin->setGeometry(scaledRect(kLeft + 145, 70, 64, 24));

    int y = 110;
    for (int p = 0; p < PairCount; ++p) {
        KivLabel *c = m_captions[2 + p];
        // Placed before shown: a child shown without a size is measured by Qt for nothing.
        if (shown[p]) {
            c->setGeometry(scaledRect(kLeft, y, kWidth, 20));
            m_boxes[p][0]->setGeometry(scaledRect(kLeft, y + 24, 96, 20));
            m_boxes[p][1]->setGeometry(scaledRect(kLeft + 104, y + 24, 96, 20));
            y += 56;
        }
        c->setVisible(shown[p]);
        m_boxes[p][0]->setVisible(shown[p]);
        m_boxes[p][1]->setVisible(shown[p]);
    }
}

} // namespace mc
