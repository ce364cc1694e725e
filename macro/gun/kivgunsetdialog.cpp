// The "GUN SET" dialog.
#include "macro/gun/kivgunsetdialog.h"

#include "macro/macrodb.h"
#include "profile/paths.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivlistitem.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>

#include <cstdlib>

namespace mc {

namespace {

constexpr char kContext[] = "KivGunsetDialog";

// Design geometry: the shot table on the left, the step list on the right.
constexpr int kWidth = 580;
constexpr int kHeight = 450;
constexpr int kLeft = 24;
constexpr int kFieldX = 150;
constexpr int kRowH = 28;
constexpr int kNameY = 88;
constexpr int kBulletsY = 124;
constexpr int kCaptionY = 166;
constexpr int kFirstRowY = 196;
constexpr int kRowStep = 36;
constexpr int kDelayX = 56;
constexpr int kVerticalX = 146;
constexpr int kHorizontalX = 236;
constexpr int kBoxW = 82;
constexpr int kListX = 340;
constexpr int kListW = kWidth - kListX - kLeft;
constexpr int kStepRowH = 30;

constexpr int kMaxDelay = 999;
constexpr int kDefaultDelay = 100;
// GUNFILE NAME becomes a file name; the few characters left for _2, _3 ... keep it within the
// file system's limit.
constexpr int kMaxNameLength = 64;

QString gunText(const char *text)
{
    return QCoreApplication::translate(kContext, text);
}

// What the step list says of a step: the click, the correction with its direction, the pause.
QString stepText(const MacroAction &a, int iUnit)
{
    switch (macro::kindOf(a)) {
    case macro::kKindMouseButton:
        return gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "LEFT CLICK")) +
               (macro::isPress(a) ? gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", " DOWN"))
                                  : gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", " UP")));
    case macro::kKindMove: {
        const int dy = macro::moveY(a);
        const int dx = macro::moveX(a);
        const char *dir = dy > 0   ? QT_TRANSLATE_NOOP("KivGunsetDialog", "MOVE DOWN")
                          : dy < 0 ? QT_TRANSLATE_NOOP("KivGunsetDialog", "MOVE UP")
                          : dx < 0 ? QT_TRANSLATE_NOOP("KivGunsetDialog", "MOVE LEFT")
                                   : QT_TRANSLATE_NOOP("KivGunsetDialog", "MOVE RIGHT");
        return gunText(dir) + QLatin1Char(' ') + QString::number(std::abs(dy != 0 ? dy : dx));
    }
    case macro::kKindDelay:
        return QString::asprintf("%d ms", macro::delayMsOf(a, iUnit));
    default:
        return QString();
    }
}

QString stepIcon(const MacroAction &a)
{
    switch (macro::kindOf(a)) {
    case macro::kKindMouseButton:
        return skinPath(macro::isPress(a) ? QStringLiteral("keydown.png")
                                          : QStringLiteral("keyup.png"));
    case macro::kKindMove:
        return skinPath(QStringLiteral("mouse_move.png"));
    case macro::kKindDelay:
        return skinPath(QStringLiteral("icondelay.png"));
    default:
        return QString();
    }
}

QString fieldStyle(const char *widget)
{
    return QStringLiteral("%1{background-color:rgb(30,30,30);color:white;border:1px solid %2;"
                          "padding:0px 4px;selection-background-color:%2}"
                          "%1:disabled{color:rgb(100,100,100);border:1px solid rgb(60,60,60)}")
        .arg(QLatin1String(widget), themeColour().name());
}

} // namespace

KivGunsetDialog::KivGunsetDialog(int iDelayUnit, QWidget *parent)
    : KivDialogFrame(kWidth, kHeight, parent), m_unit(macro::sanitizeDelayUnit(iDelayUnit))
{
    setTitleText(gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "GUN SET")));
    setWindowTitle(gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "Gun Set")));
    setButtonTexts(gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "Yes")),
                   gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "No")));
    okButton()->setObjectName(QStringLiteral("msgBoxYesBtn"));
    cancelButton()->setObjectName(QStringLiteral("msgBoxNoBtn"));
    okButton()->setThemeHighlight(true);
    cancelButton()->setThemeHighlight(true);
    buildHead();
    buildRows();
    onBulletChosen(1);
}

void KivGunsetDialog::buildHead()
{
    makeLabel(gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "GUNFILE NAME")))
        ->setGeometry(scaledRect(kLeft, kNameY, kFieldX - kLeft, kRowH));
    m_name = new KivLineEdit(this);
    m_name->setMaxLength(kMaxNameLength);
    m_name->setFont(sharedFont());
    m_name->setStyleSheet(fieldStyle("QLineEdit"));
    m_name->setGeometry(scaledRect(kFieldX, kNameY, kHorizontalX + kBoxW - kFieldX, kRowH));

    makeLabel(gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "BULLETS")))
        ->setGeometry(scaledRect(kLeft, kBulletsY, kFieldX - kLeft, kRowH));
    m_bulletBtn = makeButton(QString());
    m_bulletBtn->setThemeHighlight(true);
    m_bulletBtn->setGeometry(scaledRect(kFieldX, kBulletsY, kBoxW, kRowH));
    m_bulletMenu = new QMenu(this);
    styleMenu(m_bulletMenu);
    m_bulletMenu->setFixedWidth(scaled(kBoxW));
    for (int n = 1; n <= kMaxGunShots; ++n) {
        QAction *a = m_bulletMenu->addAction(QString::number(n));
        connect(a, &QAction::triggered, this, [this, n] { onBulletChosen(n); });
    }
    m_bulletBtn->setMenu(m_bulletMenu);

    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The rows draw black text and icons made for a light ground.
    m_list->setStyleSheet(QStringLiteral("QListWidget{background-color:rgb(214,215,220);"
                                         "border:1px solid %1}")
                              .arg(themeColour().name()));
    m_list->setGeometry(
        scaledRect(kListX, kNameY, kListW, kFirstRowY + 4 * kRowStep + kRowH - kNameY));
}

void KivGunsetDialog::buildRows()
{
    const struct
    {
        const char *text;
        int x;
    } captions[] = {{QT_TRANSLATE_NOOP("KivGunsetDialog", "DELAY(MS)"), kDelayX},
                    {QT_TRANSLATE_NOOP("KivGunsetDialog", "VERTICAL"), kVerticalX},
                    {QT_TRANSLATE_NOOP("KivGunsetDialog", "HORIZONTAL"), kHorizontalX}};
    for (const auto &c : captions) {
        KivLabel *l = makeLabel(gunText(c.text));
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(scaledRect(c.x - 4, kCaptionY, kBoxW + 8, kRowH));
    }
    const QString delayTip = gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "Pause after the shot"));
    const QString verticalTip =
        gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "Positive moves down, negative up"));
    const QString horizontalTip =
        gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "Positive moves right, negative left"));
    for (int i = 0; i < kMaxGunShots; ++i) {
        ShotRow &r = m_rows[size_t(i)];
        const int y = kFirstRowY + i * kRowStep;
        r.number = makeLabel(QString::number(i + 1));
        QPalette pal = r.number->palette();
        pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(100, 100, 100));
        r.number->setPalette(pal);
        r.number->setGeometry(scaledRect(kLeft, y, kDelayX - kLeft, kRowH));
        // The pause is kept in the product's delay units: the box steps by one and snaps a
        // typed figure down to whole units, so the box shows what the file gets.
        r.delay = makeSpinBox(m_unit, kMaxDelay, wholeUnits(kDefaultDelay), delayTip);
        r.delay->setSingleStep(m_unit);
        QSpinBox *box = r.delay;
        connect(box, &QSpinBox::editingFinished, this,
                [this, box] { box->setValue(wholeUnits(box->value())); });
        r.delay->setGeometry(scaledRect(kDelayX, y, kBoxW, kRowH));
        r.vertical = makeSpinBox(-macro::kMaxMoveStep, macro::kMaxMoveStep, 0, verticalTip);
        r.vertical->setGeometry(scaledRect(kVerticalX, y, kBoxW, kRowH));
        r.horizontal = makeSpinBox(-macro::kMaxMoveStep, macro::kMaxMoveStep, 0, horizontalTip);
        r.horizontal->setGeometry(scaledRect(kHorizontalX, y, kBoxW, kRowH));
    }
}

QSpinBox *KivGunsetDialog::makeSpinBox(int iMin, int iMax, int iValue, const QString &tip)
{
    auto *b = new QSpinBox(this);
    b->setRange(iMin, iMax);
    b->setValue(iValue);
    b->setAlignment(Qt::AlignCenter);
    // Typed, wheeled or stepped with the arrow keys, as the colour dialog's boxes are.
    b->setButtonSymbols(QAbstractSpinBox::NoButtons);
    b->setFont(sharedFont());
    b->setStyleSheet(fieldStyle("QSpinBox"));
    b->setToolTip(tip);
    connect(b, QOverload<int>::of(&QSpinBox::valueChanged), this, &KivGunsetDialog::refreshSteps);
    return b;
}

int KivGunsetDialog::wholeUnits(int iMs) const
{
    return qMax(m_unit, iMs - iMs % m_unit);
}

QSpinBox *KivGunsetDialog::delayBox(int iShot) const
{
    return iShot >= 0 && iShot < kMaxGunShots ? m_rows[size_t(iShot)].delay : nullptr;
}

QSpinBox *KivGunsetDialog::verticalBox(int iShot) const
{
    return iShot >= 0 && iShot < kMaxGunShots ? m_rows[size_t(iShot)].vertical : nullptr;
}

QSpinBox *KivGunsetDialog::horizontalBox(int iShot) const
{
    return iShot >= 0 && iShot < kMaxGunShots ? m_rows[size_t(iShot)].horizontal : nullptr;
}

QString KivGunsetDialog::name() const
{
    return m_name->text().trimmed();
}

QVector<GunShot> KivGunsetDialog::shots() const
{
    QVector<GunShot> shots;
    for (int i = 0; i < m_bullets; ++i) {
        const ShotRow &r = m_rows[size_t(i)];
        shots.append({r.delay->value(), r.vertical->value(), r.horizontal->value()});
    }
    return shots;
}

QVector<MacroAction> KivGunsetDialog::steps() const
{
    QVector<MacroAction> steps;
    for (int i = 0; i < m_list->count(); ++i) {
        if (auto *row = qobject_cast<KivListItem *>(m_list->itemWidget(m_list->item(i))))
            steps.append({row->map(), row->dataH(), row->dataL()});
    }
    return steps;
}

// Rows beyond the number of shots take no part in the gun file, so they are not offered for
// editing.
void KivGunsetDialog::onBulletChosen(int iCount)
{
    m_bullets = qBound(1, iCount, kMaxGunShots);
    m_bulletBtn->setText(QString::number(m_bullets));
    for (int i = 0; i < kMaxGunShots; ++i) {
        const ShotRow &r = m_rows[size_t(i)];
        const bool used = i < m_bullets;
        for (QWidget *w :
             {static_cast<QWidget *>(r.number), static_cast<QWidget *>(r.delay),
              static_cast<QWidget *>(r.vertical), static_cast<QWidget *>(r.horizontal)})
            w->setEnabled(used);
    }
    refreshSteps();
}

// The list follows every edit, so the steps can be checked before the file is made. Its rows
// are generated, not edited in place: "Yes" builds them afresh from the description.
void KivGunsetDialog::refreshSteps()
{
    m_list->clear();
    const QVector<MacroAction> steps = gunSteps(shots(), m_unit);
    for (const MacroAction &a : steps) {
        auto *item = new QListWidgetItem(m_list);
        item->setSizeHint(QSize(scaled(kListW - 20), scaled(kStepRowH)));
        auto *row =
            new KivListItem(0, a.Map, a.DataH, a.DataL, stepText(a, m_unit), stepIcon(a), m_list);
        row->setDelayUnit(m_unit);
        m_list->setItemWidget(item, row);
    }
}

void KivGunsetDialog::warn(const QString &text)
{
    KivMessageBox::ask(KivMessageBox::Notice,
                       gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "Warning")), text, this);
}

void KivGunsetDialog::accept()
{
    const QString wanted = name();
    if (wanted.isEmpty()) {
        warn(gunText(QT_TRANSLATE_NOOP("KivGunsetDialog", "Please input file name.")));
        return;
    }
    // A name that could reach outside the macro folder is refused here, while it can still be
    // corrected.
    if (!isSafeFileName(wanted)) {
        warn(macroOutcomeText(MacroOutcome::InvalidName));
        return;
    }
    refreshSteps();
    QDialog::accept();
}

void KivGunsetDialog::paintEvent(QPaintEvent *)
{
    paintDialogBackground(this, QStringLiteral("dlg_gun.png"));
}

} // namespace mc
