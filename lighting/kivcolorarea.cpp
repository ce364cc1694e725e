// The colour dialog: its parts, their wiring and keeping them showing one colour.
#include "lighting/kivcolorarea.h"

#include "lighting/colorareas.h"
#include "lighting/hexcolor.h"
#include "widgets/kivlabel.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QSpinBox>

namespace mc {

namespace {

enum Box
{
    H = 0,
    S,
    V,
    R,
    G,
    B
};
constexpr char kLetters[] = "HSVRGB";

constexpr int kDialogWidth = 520;
constexpr int kDialogHeight = 330;
// Origin of the swatch row's group; swatch k sits at (24 k, 74) within it.
constexpr int kSwatchX = 340;
constexpr int kSwatchY = 140;
constexpr int kSwatchStep = 24;
constexpr int kSwatchSide = 23;
constexpr int kSwatchRowY = 74;

const std::array<QColor, KivColorArea::kSwatchCount> kPresets = {
    QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(0, 0, 255),     QColor(0, 255, 255),
    QColor(255, 255, 0), QColor(255, 0, 255), QColor(255, 255, 255),
};

const char kFieldStyle[] = "QSpinBox, QLineEdit { background-color: rgb(29, 29, 29); color: white;"
                           " border: 1px solid rgb(80, 80, 80); selection-background-color: "
                           "rgb(%1, %2, %3); }";

void place(QWidget *w, int x, int y, int width, int height)
{
    w->setGeometry(scaledRect(x, y, width, height));
}

// The hue of a colour's HSV form; a grey has none, and then the current hue stays.
int hueOr(const QColor &c, int iCurrent)
{
    const int h = c.hsvHue();
    return h < 0 ? iCurrent : h;
}

} // namespace

KivColorArea::KivColorArea(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    build();
    wire();
    setTexts();
    layoutParts();
    setColour(Qt::black);
}

QColor KivColorArea::presetColour(int k)
{
    return kPresets.at(size_t(k));
}

QSpinBox *KivColorArea::box(char letter) const
{
    for (int i = 0; i < 6; ++i) {
        if (kLetters[i] == letter)
            return m_boxes[size_t(i)];
    }
    return nullptr;
}

void KivColorArea::build()
{
    m_caption = new KivLabel(this);
    m_hueArea = new HColorArea(this);
    m_svArea = new SVColorArea(this);
    m_preview = new PreviewColorArea(this);
    for (int i = 0; i < 6; ++i) {
        auto *b = new QSpinBox(this);
        b->setRange(0, i == H ? 360 : 255);
        b->setButtonSymbols(QAbstractSpinBox::NoButtons);
        b->setPrefix(i >= R ? QString(QLatin1Char(kLetters[i])) + QLatin1Char(' ') : QString());
        m_boxes[size_t(i)] = b;
    }
    m_hex = new QLineEdit(this);
    m_hex->setMaxLength(6);
    m_hex->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9a-fA-F]{0,6}")), m_hex));
    for (int k = 0; k < kSwatchCount; ++k)
        m_swatches[size_t(k)] = new DefaultColorArea(kPresets[size_t(k)], this);
    const QStringList images = {skinPath(QStringLiteral("tabbutton-1.png")),
                                skinPath(QStringLiteral("tabbutton-3.png")),
                                skinPath(QStringLiteral("tabbutton-2.png"))};
    m_ok = new KivPushButton(images, this);
    m_cancel = new KivPushButton(images, this);
    m_apply = new KivPushButton(images, this);
    for (KivPushButton *b : {m_ok, m_cancel, m_apply}) {
        b->setThemeHighlight(true);
        // Reached by Tab and pressed by Space; Enter is the dialog's: it accepts, Esc rejects.
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoDefault(false);
    }
    m_ok->setDefault(true);
}

void KivColorArea::wire()
{
    connect(m_hueArea, &HColorArea::hueChangedSignal, m_svArea, &SVColorArea::hueChangedSlot);
    connect(m_svArea, &SVColorArea::svChangedSignal, m_preview, &PreviewColorArea::svChangedSlot);
    connect(m_preview, &PreviewColorArea::svChangedSignal, this, &KivColorArea::updateEditData);
    connect(m_hex, &QLineEdit::textEdited, this, &KivColorArea::editChangedSlot);
    connect(m_hex, &QLineEdit::editingFinished, this, &KivColorArea::editFinishedSlot);
    using Slot = void (KivColorArea::*)(int);
    const std::array<Slot, 6> handlers = {
        &KivColorArea::hValueChangedSlot, &KivColorArea::sValueChangedSlot,
        &KivColorArea::vValueChangedSlot, &KivColorArea::rValueChangedSlot,
        &KivColorArea::gValueChangedSlot, &KivColorArea::bValueChangedSlot,
    };
    for (int i = 0; i < 6; ++i)
        connect(m_boxes[size_t(i)], QOverload<int>::of(&QSpinBox::valueChanged), this,
                handlers[size_t(i)]);
    connect(m_hueArea, &HColorArea::mouseReleaseSignal, this, &KivColorArea::MouseReleaseSlot);
    connect(m_svArea, &SVColorArea::mouseReleaseSignal, this, &KivColorArea::MouseReleaseSlot);
    for (DefaultColorArea *s : m_swatches)
        connect(s, &DefaultColorArea::ClickedSignal, this, &KivColorArea::color_clicked);
    connect(m_ok, &QPushButton::released, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::released, this, &QDialog::reject);
    connect(m_apply, &QPushButton::released, this, [this] { emit ApplyColor(m_colour); });
}

void KivColorArea::setTexts()
{
    m_caption->setText(QObject::tr("Color Edit"));
    m_ok->setText(QObject::tr("OK"));
    m_cancel->setText(QObject::tr("Cancel"));
    m_apply->setText(QObject::tr("APPLY"));
}

void KivColorArea::layoutParts()
{
    setFixedSize(scaled(kDialogWidth), scaled(kDialogHeight));
    place(m_caption, 20, 10, 300, 24);
    place(m_svArea, 20, 44, SVColorArea::kSide + 1, SVColorArea::kSide + 1);
    place(m_hueArea, 286, 44, 46, 256);
    place(m_preview, 340, 44, 160, 40);
    for (int i = 0; i < 6; ++i)
        place(m_boxes[size_t(i)], i < R ? 340 : 424, 94 + 30 * (i % 3), 76, 24);
    place(m_hex, 340, 186, 160, 24);
    for (int k = 0; k < kSwatchCount; ++k)
        place(m_swatches[size_t(k)], kSwatchX + kSwatchStep * k, kSwatchY + kSwatchRowY,
              kSwatchSide, kSwatchSide);
    place(m_apply, 340, 250, 160, 28);
    place(m_ok, 340, 288, 76, 28);
    place(m_cancel, 424, 288, 76, 28);

    const QColor t = themeColour();
    const QFont font = sharedFont();
    for (QSpinBox *b : m_boxes) {
        b->setFont(font);
        b->setStyleSheet(QString::fromLatin1(kFieldStyle).arg(t.red()).arg(t.green()).arg(t.blue()));
    }
    QFont mono(QStringLiteral("Consolas"));
    mono.setPixelSize(std::max(1, scaled(14)));
    m_hex->setFont(mono);
    m_hex->setStyleSheet(m_boxes[0]->styleSheet());
}

void KivColorArea::paintEvent(QPaintEvent *)
{
    paintDialogBackground(this);
}

void KivColorArea::setColour(const QColor &colour)
{
    const QColor c = colour.isValid() ? colour : QColor(Qt::black);
    m_colour = QColor(c.red(), c.green(), c.blue());
    m_h = hueOr(m_colour, 0);
    m_s = m_colour.hsvSaturation();
    m_v = m_colour.value();
    showCurrent(FromNone);
}

void KivColorArea::showCurrent(int iSource)
{
    m_updating = true;
    if (iSource != FromAreas) {
        m_hueArea->setHue(m_h);
        m_svArea->hueChangedSlot(m_h);
        m_svArea->setSV(m_s, m_v);
        m_preview->setColour(m_colour);
    }
    if (iSource != FromHsvBoxes) {
        m_boxes[H]->setValue(m_h);
        m_boxes[S]->setValue(m_s);
        m_boxes[V]->setValue(m_v);
    }
    if (iSource != FromRgbBoxes) {
        m_boxes[R]->setValue(m_colour.red());
        m_boxes[G]->setValue(m_colour.green());
        m_boxes[B]->setValue(m_colour.blue());
    }
    if (iSource != FromHex)
        m_hex->setText(hexTextOf(m_colour));
    m_updating = false;
}

void KivColorArea::hsvChanged()
{
    m_colour = colourOfHsv(m_h, m_s, m_v);
    showCurrent(FromHsvBoxes);
}

void KivColorArea::rgbChanged()
{
    m_colour = QColor(m_boxes[R]->value(), m_boxes[G]->value(), m_boxes[B]->value());
    m_h = hueOr(m_colour, m_h);
    m_s = m_colour.hsvSaturation();
    m_v = m_colour.value();
    showCurrent(FromRgbBoxes);
}

void KivColorArea::hValueChangedSlot(int iValue)
{
    if (m_updating)
        return;
    m_h = iValue;
    hsvChanged();
}

void KivColorArea::sValueChangedSlot(int iValue)
{
    if (m_updating)
        return;
    m_s = iValue;
    hsvChanged();
}

void KivColorArea::vValueChangedSlot(int iValue)
{
    if (m_updating)
        return;
    m_v = iValue;
    hsvChanged();
}

void KivColorArea::rValueChangedSlot(int)
{
    if (!m_updating)
        rgbChanged();
}

void KivColorArea::gValueChangedSlot(int)
{
    if (!m_updating)
        rgbChanged();
}

void KivColorArea::bValueChangedSlot(int)
{
    if (!m_updating)
        rgbChanged();
}

void KivColorArea::color_clicked()
{
    const auto *s = qobject_cast<DefaultColorArea *>(sender());
    if (!s)
        return;
    const QColor c = s->colour();
    // All three boxes first, then one change: a swatch whose blue equals the current blue
    // would otherwise change nothing.
    m_updating = true;
    m_boxes[R]->setValue(c.red());
    m_boxes[G]->setValue(c.green());
    m_boxes[B]->setValue(c.blue());
    m_updating = false;
    rgbChanged();
    emit KivChangeColor(m_colour);
}

void KivColorArea::updateEditData(int iH, int iS, int iV)
{
    if (m_updating)
        return;
    m_h = iH;
    m_s = iS;
    m_v = iV;
    m_colour = colourOfHsv(iH, iS, iV);
    showCurrent(FromAreas);
}

void KivColorArea::editChangedSlot(const QString &text)
{
    if (m_updating)
        return;
    m_colour = colourFromHexText(text);
    m_h = hueOr(m_colour, m_h);
    m_s = m_colour.hsvSaturation();
    m_v = m_colour.value();
    showCurrent(FromHex);
}

void KivColorArea::editFinishedSlot()
{
    const QString done = completeHexText(m_hex->text());
    if (done != m_hex->text())
        m_hex->setText(done);
}

void KivColorArea::MouseReleaseSlot()
{
    emit KivChangeColor(m_colour);
}

} // namespace mc
