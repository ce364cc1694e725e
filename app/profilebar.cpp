// Rows, library menu and layout of the profile bar.
#include "app/profilebar.h"

#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>

namespace mc {

namespace {

void place(QWidget *w, int x, int y, int width, int height)
{
    w->setGeometry(scaledRect(x, y, width, height));
}

const char *const kOperationTexts[ProfileBar::OperationCount] = {
    QT_TRANSLATE_NOOP("QObject", "ADD"),
    QT_TRANSLATE_NOOP("QObject", "COPY"),
    QT_TRANSLATE_NOOP("QObject", "RENAME"),
    QT_TRANSLATE_NOOP("QObject", "RESET"),
    QT_TRANSLATE_NOOP("QObject", "DELETE"),
    QT_TRANSLATE_NOOP("QObject", "IMPORT PROFILE..."),
    QT_TRANSLATE_NOOP("QObject", "EXPORT PROFILE...")};

// Design geometry of the bar's parts (the bar is 165 x 334).
constexpr int kWidth = 165;
constexpr int kRowTop = 20;
constexpr int kRowStep = 25;
constexpr int kRowHeight = 23;

} // namespace

ProfileBarRow::ProfileBarRow(int iSlot, QWidget *parent) : QAbstractButton(parent), m_slot(iSlot)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ProfileBarRow::setName(const QString &name)
{
    m_name = name;
    setToolTip(name);
    update();
}

void ProfileBarRow::setEdited(bool bEdited)
{
    m_edited = bEdited;
    update();
}

void ProfileBarRow::setActive(bool bActive)
{
    m_active = bActive;
    update();
}

void ProfileBarRow::setPending(bool bPending)
{
    m_pending = bPending;
    update();
}

void ProfileBarRow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor theme = themeColour();
    const QRect r = rect();
    QColor fill(38, 40, 46);
    if (m_edited) {
        fill = theme;
        fill.setAlpha(90);
    } else if (m_hover) {
        fill = QColor(60, 63, 70);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(r), scaled(4), scaled(4));
    if (m_edited) {
        // The edited profile: a bar in the theme colour on its left edge as well as the fill,
        // so it shows whatever the theme colour.
        p.setBrush(theme);
        p.drawRect(QRect(0, scaled(3), qMax(2, scaled(3)), r.height() - 2 * scaled(3)));
    }

    const int pad = scaled(8);
    QFont f = sharedFont();
    f.setBold(true);
    p.setFont(f);
    p.setPen(m_edited ? Qt::white : QColor(200, 200, 200));
    const QRect numberBox(pad, 0, scaled(14), r.height());
    p.drawText(numberBox, Qt::AlignLeft | Qt::AlignVCenter, QString::number(m_slot + 1));

    // Right: the mark of the active profile (a dot in the theme colour), and a star for edits
    // that the mouse does not have yet.
    const int dot = qMax(4, scaled(8));
    int right = r.width() - pad;
    if (m_active) {
        p.setPen(Qt::NoPen);
        p.setBrush(theme.lighter(130));
        p.drawEllipse(QRect(right - dot, (r.height() - dot) / 2, dot, dot));
    }
    right -= dot + scaled(4);
    QRect starBox(right - scaled(10), 0, scaled(10), r.height());
    if (m_pending) {
        p.setPen(Qt::white);
        p.drawText(starBox, Qt::AlignCenter, QStringLiteral("*"));
    }
    f.setBold(m_edited);
    p.setFont(f);
    p.setPen(m_edited ? Qt::white : QColor(200, 200, 200));
    const QRect nameBox(numberBox.right() + scaled(4), 0,
                        starBox.left() - numberBox.right() - scaled(6), r.height());
    p.drawText(nameBox, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(m_name, Qt::ElideRight, nameBox.width()));
    if (m_focusMarked && hasFocus())
        paintFocusMark(p, r);
}

void ProfileBarRow::enterEvent(EnterEvent *event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ProfileBarRow::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ProfileBarRow::focusInEvent(QFocusEvent *event)
{
    m_focusMarked = keyboardFocusReason(event->reason());
    QAbstractButton::focusInEvent(event);
    update();
}

void ProfileBarRow::focusOutEvent(QFocusEvent *event)
{
    m_focusMarked = false;
    QAbstractButton::focusOutEvent(event);
    update();
}

void ProfileBarRow::keyPressEvent(QKeyEvent *event)
{
    m_focusMarked = true;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

ProfileBar::ProfileBar(QWidget *parent) : QWidget(parent)
{
    m_caption = new KivLabel(this);
    m_caption->setSizeDecrement(1);
    for (int i = 0; i < kSlotCount; ++i) {
        auto *row = new ProfileBarRow(i, this);
        m_rows[size_t(i)] = row;
        connect(row, &QAbstractButton::clicked, this, [this, i] { emit slotClicked(i); });
    }
    m_nameLabel = new KivLabel(this);
    m_nameLabel->setSizeDecrement(1);
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setStyleSheet(themedLineEditStyle() + QStringLiteral("QLineEdit:focus{border:"
                                                                     "2px solid %1}")
                                                          .arg(themeColour().name()));
    m_nameEdit->setMaxLength(64);
    // Its font from the start (relayout sets it again for a new scale): the names it is given
    // before the first layout would otherwise be laid out once more in another font.
    m_nameEdit->setFont(sharedFont());
    connect(m_nameEdit, &QLineEdit::returnPressed, this,
            [this] { emit renameRequested(m_nameEdit->text()); });
    m_nameLabel->setBuddy(m_nameEdit);

    m_libraryBtn = new KivPushButton({skinPath(QStringLiteral("tabbutton-1.png")),
                                      skinPath(QStringLiteral("tabbutton-3.png")),
                                      skinPath(QStringLiteral("tabbutton-2.png"))},
                                     this);
    m_libraryBtn->setFocusPolicy(Qt::StrongFocus);
    m_libraryMenu = new QMenu(this);
    styleMenu(m_libraryMenu);
    m_libraryBtn->setMenu(m_libraryMenu);
    for (int op = 0; op < OperationCount; ++op) {
        // Owned by the bar: the menu is cleared whenever the library changes.
        auto *a = new KivAction(this);
        m_operations[size_t(op)] = a;
        connect(a, &QAction::triggered, this, [this, op] {
            if (op == Rename) {
                m_nameEdit->setFocus(Qt::ShortcutFocusReason);
                m_nameEdit->selectAll();
            }
            emit operationRequested(op);
        });
    }
    m_note = new KivLabel(this);
    m_note->setWordWrap(true);
    m_note->setSizeDecrement(2);
    m_note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    retranslate();
    rebuildLibraryMenu();
}

void ProfileBar::setNames(const std::array<QString, kSlotCount> &names)
{
    for (int i = 0; i < kSlotCount; ++i)
        m_rows[size_t(i)]->setName(names[size_t(i)]);
    if (m_nameEdit->text() != names[size_t(m_edited)] && !m_nameEdit->hasFocus())
        m_nameEdit->setText(names[size_t(m_edited)]);
}

void ProfileBar::setEditedSlot(int iSlot)
{
    if (iSlot < 0 || iSlot >= kSlotCount)
        return;
    m_edited = iSlot;
    for (int i = 0; i < kSlotCount; ++i)
        m_rows[size_t(i)]->setEdited(i == iSlot);
    m_nameEdit->setText(m_rows[size_t(iSlot)]->name());
}

void ProfileBar::setActiveSlot(int iSlot)
{
    m_active = iSlot;
    for (int i = 0; i < kSlotCount; ++i) {
        m_rows[size_t(i)]->setActive(i == iSlot);
        m_rows[size_t(i)]->setAccessibleDescription(i == iSlot ? QObject::tr("Active on the mouse")
                                                               : QString());
    }
}

void ProfileBar::setPending(int iBits)
{
    for (int i = 0; i < kSlotCount; ++i)
        m_rows[size_t(i)]->setPending((iBits & (1 << i)) != 0);
}

void ProfileBar::setLibrary(const QStringList &names, const QString &current)
{
    m_library = names;
    m_current = current;
    rebuildLibraryMenu();
}

void ProfileBar::rebuildLibraryMenu()
{
    m_libraryMenu->clear();
    for (int n = 0; n < m_library.size(); ++n) {
        auto *a = new KivAction(m_library.at(n), m_libraryMenu);
        a->setCheckable(true);
        a->setChecked(m_library.at(n) == m_current);
        connect(a, &QAction::triggered, this, [this, n] { emit libraryEntryChosen(n); });
        m_libraryMenu->addAction(a);
    }
    m_libraryMenu->addSeparator();
    for (QAction *a : m_operations)
        m_libraryMenu->addAction(a);
    styleMenu(m_libraryMenu);
    m_libraryMenu->setFixedWidth(scaled(kWidth));
}

void ProfileBar::retranslate()
{
    m_caption->setText(QObject::tr("ON-BOARD PROFILES"));
    m_nameLabel->setText(QObject::tr("NAME"));
    m_nameEdit->setToolTip(QObject::tr("Press Enter To Apply"));
    m_libraryBtn->setText(QObject::tr("PROFILE LIBRARY"));
    for (int op = 0; op < OperationCount; ++op)
        m_operations[size_t(op)]->setText(QObject::tr(kOperationTexts[op]));
    for (int i = 0; i < kSlotCount; ++i)
        m_rows[size_t(i)]->setAccessibleName(QObject::tr("Profile") +
                                             QString::asprintf(" %d", i + 1));
    m_note->setText(
        QObject::tr("* NOT YET APPLIED\nOWN TO EACH: REPORT RATE, WHEEL SPEED, EFFECT, DPI "
                    "STAGE\nSHARED, FROM PROFILE 1: DPI STAGES, BUTTONS, MACROS, COLOURS"));
}

void ProfileBar::relayout()
{
    place(m_caption, 0, 0, kWidth, 16);
    for (int i = 0; i < kSlotCount; ++i)
        place(m_rows[size_t(i)], 0, kRowTop + kRowStep * i, kWidth, kRowHeight);
    place(m_nameLabel, 0, 150, kWidth, 14);
    place(m_nameEdit, 0, 166, kWidth, 22);
    place(m_libraryBtn, 0, 194, kWidth, 25);
    place(m_note, 0, 228, kWidth, 106);
    m_nameEdit->setFont(sharedFont());
    m_libraryMenu->setFixedWidth(scaled(kWidth));
    styleMenu(m_libraryMenu);
    for (QAction *a : m_libraryMenu->actions())
        a->setFont(sharedFont());
}

QList<QWidget *> ProfileBar::focusChain() const
{
    QList<QWidget *> chain;
    for (ProfileBarRow *row : m_rows)
        chain << row;
    chain << m_nameEdit << m_libraryBtn;
    return chain;
}

} // namespace mc
