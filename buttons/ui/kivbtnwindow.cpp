// The button assignment panel: buttons, menus, layout and the menu choice handler.
#include "buttons/ui/kivbtnwindow.h"
#include "buttons/log.h"

#include "buttons/assignment.h"
#include "buttons/catalogue.h"
#include "buttons/ui/kivcombokeywindow.h"
#include "buttons/ui/kivfirekeywindow.h"
#include "buttons/ui/kivmacroselect.h"
#include "buttons/ui/kivsinglekeywindow.h"
#include "buttons/ui/kivsniperwindow.h"
#include "profile/settings.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>

namespace mc {

namespace {

constexpr int kWheelUpEntry = 40;
constexpr int kWheelDownEntry = 41;
constexpr uint8_t kWheelUpBadge = 253;
constexpr uint8_t kWheelDownBadge = 254;
constexpr int kRowX = 56;
constexpr int kRowWidth = 215;
constexpr int kRowHeight = 25;
constexpr int kMenuWidth = 160;
constexpr int kSubmenuWidth = 147;
constexpr int kScaledMenuWidth = 220;

const MenuGroup kSubmenuOrder[] = {
    MenuGroup::Basic, MenuGroup::Windows,     MenuGroup::Advance,    MenuGroup::Media,
    MenuGroup::Dpi,   MenuGroup::ProfileMenu, MenuGroup::PollingRate};

QFont menuFont(double scale)
{
    QFont f(fontFamily());
    const int size = fontBaseSize();
    if (size > 0)
        f.setPixelSize(qMax(1, int(size * scale)));
    return f;
}

} // namespace

KivBtnWindow::KivBtnWindow(ProfileData *profile, QWidget *parent, double dScale)
    : QWidget(parent), m_profile(profile), m_scale(dScale)
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("mc--KivBtnWindow{background-color: rgba(33,35,35,0.5)}"));
    buildActions();
    m_topMenu = new QMenu(this);
    m_wheelMenu = new QMenu(this);
    m_topMenu->installEventFilter(this);
    m_wheelMenu->installEventFilter(this);
    for (MenuGroup g : kSubmenuOrder) {
        auto *m = new QMenu(this);
        m_submenus.insert(int(g), m);
        for (int code : submenuCodes(g))
            m->addAction(m_actions.value(code));
    }
    for (QMenu *m : m_submenus)
        m->setFixedWidth(kSubmenuWidth);
    m_topMenu->setFixedWidth(kMenuWidth);
    m_wheelMenu->setFixedWidth(kMenuWidth);

    for (int i = 0; i < kListSize; ++i) {
        m_first[size_t(i)] = makeButton(uint8_t(i + 1), m_topMenu);
        m_second[size_t(i)] = makeButton(uint8_t(i + 1), m_topMenu);
        // Every button has a place before it is first shown (the layout moves them to their
        // rows): one shown without a size is measured by Qt, its images read, for nothing.
        m_first[size_t(i)]->setGeometry(scaledRect(29, 62 + 25 * i, 150, 20));
        m_second[size_t(i)]->setGeometry(scaledRect(29, 62 + 25 * i, 150, 20));
    }
    m_wheel[0] = makeButton(kWheelUpBadge, m_wheelMenu);
    m_wheel[1] = makeButton(kWheelDownBadge, m_wheelMenu);
    for (KivPushButton *b : m_wheel)
        b->setGeometry(scaledRect(29, 62, 150, 20));
    applyGroupVisibility(0);
    RetranslateUi();
}

KivBtnWindow::~KivBtnWindow() = default;

KivPushButton *KivBtnWindow::makeButton(uint8_t iBadge, QMenu *menu)
{
    auto *b = new KivPushButton({skinPath(QStringLiteral("tabbutton-1.png")),
                                 skinPath(QStringLiteral("tabbutton-3.png")),
                                 skinPath(QStringLiteral("tabbutton-2.png"))},
                                this);
    b->setText(QStringLiteral("1"));
    b->setBadge(iBadge);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMenu(menu);
    connect(b, &KivPushButton::OverSignal, this, &KivBtnWindow::slotMouseOver);
    connect(b, &KivPushButton::EnterSignal, this, &KivBtnWindow::slotMouseEnter);
    return b;
}

void KivBtnWindow::buildActions()
{
    for (const FunctionRow &row : kFunctionTable) {
        if (!row.text || row.group == MenuGroup::NotOffered || row.code == fun::kGunFile)
            continue;
        auto *a = new QAction(this);
        a->setData(row.code);
        const int code = row.code;
        connect(a, &QAction::triggered, this, [this, code] { onChoice(code); });
        m_actions.insert(row.code, a);
    }
}

void KivBtnWindow::buildMenus()
{
    m_topMenu->clear();
    for (const MenuItem &item : mc::topMenu()) {
        if (item.isSubmenu())
            m_topMenu->addMenu(m_submenus.value(int(item.submenu)));
        else
            m_topMenu->addAction(m_actions.value(item.code));
    }
    m_wheelMenu->clear();
    for (int code : mc::wheelMenu())
        m_wheelMenu->addAction(m_actions.value(code));
}

void KivBtnWindow::RetranslateUi()
{
    buildMenus();
    for (auto it = m_submenus.cbegin(); it != m_submenus.cend(); ++it)
        it.value()->setTitle(groupTitle(MenuGroup(it.key())));
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setText(menuText(it.key()));
    const QFont font = menuFont(1.0);
    for (QMenu *m : findChildren<QMenu *>()) {
        styleMenu(m);
        m->setFont(font);
    }
    RefreshButtonTexts();
}

void KivBtnWindow::SetProfileRecord(ProfileData *profile)
{
    m_profile = profile;
    RefreshButtonTexts();
}

void KivBtnWindow::SetSharedRecord(ProfileData *shared)
{
    m_shared = shared;
    RefreshButtonTexts();
}

void KivBtnWindow::RefreshButtonTexts()
{
    const ProfileData *p = edited();
    if (!p)
        return;
    for (int e = 0; e < kButtonCount; ++e) {
        if (KivPushButton *b = buttonOfEntry(e))
            b->setText(displayText(p->buttons[size_t(e)]));
    }
}

void KivBtnWindow::SelectButton(uint8_t iIndex, uint8_t iGroup)
{
    m_index = iIndex;
    m_group = iGroup;
    applyGroupVisibility(iGroup);
    RefreshButtonTexts();
}

void KivBtnWindow::SetScale(double dScale)
{
    m_scale = dScale;
    for (int e = 0; e < kButtonCount; ++e) {
        if (KivPushButton *b = buttonOfEntry(e))
            b->setGeometry(0, 0, 0, 0);
    }
    layoutLists();
    layoutWheel();
    const QFont font = menuFont(dScale);
    for (QMenu *m : findChildren<QMenu *>()) {
        m->setFont(font);
        m->setFixedWidth(int(kScaledMenuWidth * dScale));
    }
}

int KivBtnWindow::listHeight() const
{
    return qMax(0, height() - int(kWheelStrip * m_scale));
}

void KivBtnWindow::layoutLists()
{
    PanelPlacement placement;
    if (readPanelPlacement(placement) != 0)
        return;
    const int n = placement.buttonCount;
    if (n <= 0)
        return;
    auto layOut = [this](const QVector<KivPushButton *> &rows) {
        const int v = rows.size();
        if (v == 0)
            return;
        int top = 5;
        int gap = 20;
        if (v <= 9) {
            // In design units like every other figure here, so that the rows fill the list
            // at any scale instead of running into the wheel strip above scale 1.
            top = int((listHeight() / m_scale - 30.0 * v) / (v + 1));
            gap = top;
        }
        for (int c = 0; c < v; ++c) {
            rows[c]->setGeometry(int(kRowX * m_scale), int(m_scale * (top + c * (gap + 25))),
                                 int(kRowWidth * m_scale), int(kRowHeight * m_scale));
            rows[c]->setBadge(uint8_t(c + 1));
        }
    };
    QVector<KivPushButton *> first;
    for (int i = 0; i < qMin(n, kMatrixCount); ++i) {
        if (placement.place[size_t(i)] != -1)
            first << m_first[size_t(i)];
    }
    layOut(first);
    QVector<KivPushButton *> second;
    for (int j = 0; j + kListSize < n && j < kListSize; ++j)
        second << m_second[size_t(j)];
    layOut(second);
}

void KivBtnWindow::layoutWheel()
{
    // Below the list, where a user looks for the rest of the mouse once the buttons end.
    const int stripTop = listHeight();
    const int rowGap = int((kWheelStrip * m_scale - 2 * kRowHeight * m_scale) / 3);
    for (int k = 0; k < 2; ++k) {
        m_wheel[size_t(k)]->setGeometry(
            int(kRowX * m_scale), stripTop + rowGap + k * (rowGap + int(kRowHeight * m_scale)),
            int(kRowWidth * m_scale), int(kRowHeight * m_scale));
    }
}

void KivBtnWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    SetScale(m_scale);
}

void KivBtnWindow::applyGroupVisibility(uint8_t iGroup)
{
    if (iGroup > 2)
        return;
    const bool second = iGroup == 1;
    for (KivPushButton *b : m_first)
        b->setVisible(!second);
    for (KivPushButton *b : m_wheel)
        b->setVisible(!second);
    for (KivPushButton *b : m_second)
        b->setVisible(second);
}

KivPushButton *KivBtnWindow::buttonOfEntry(int iEntry) const
{
    if (iEntry >= 0 && iEntry < kListSize)
        return m_first[size_t(iEntry)];
    if (iEntry >= kListSize && iEntry < 2 * kListSize)
        return m_second[size_t(iEntry - kListSize)];
    if (iEntry == kWheelUpEntry || iEntry == kWheelDownEntry)
        return m_wheel[size_t(iEntry - kWheelUpEntry)];
    return nullptr;
}

int KivBtnWindow::entryOfButton(const KivPushButton *btn) const
{
    for (int e = 0; e < kButtonCount; ++e) {
        if (btn && buttonOfEntry(e) == btn)
            return e;
    }
    return -1;
}

int KivBtnWindow::selectedEntry() const
{
    switch (m_group) {
    case 0:
        return m_index < kListSize ? m_index : -1;
    case 1:
        return m_index < kListSize ? m_index + kListSize : -1;
    case 2:
        return m_index < 2 ? m_index + kWheelUpEntry : -1;
    default:
        return -1;
    }
}

KivPushButton *KivBtnWindow::selectedButton() const
{
    return buttonOfEntry(selectedEntry());
}

void KivBtnWindow::slotMouseOver(KivPushButton *btn, bool bType)
{
    if (entryOfButton(btn) >= 0)
        emit SelBtnControl(btn, bType);
}

void KivBtnWindow::slotMouseEnter(KivPushButton *btn)
{
    const int e = entryOfButton(btn);
    if (e < 0)
        return;
    if (e < kListSize) {
        m_group = 0;
        m_index = uint8_t(e);
    } else if (e < 2 * kListSize) {
        m_group = 1;
        m_index = uint8_t(e - kListSize);
    } else {
        m_group = 2;
        m_index = uint8_t(e - kWheelUpEntry);
    }
}

void KivBtnWindow::OnMouseEnterSlot(QWidget *w)
{
    for (int i = 0; i < kListSize; ++i) {
        if (w == m_first[size_t(i)]) {
            m_group = 0;
            m_index = uint8_t(i);
            applyGroupVisibility(0);
        }
    }
}

bool KivBtnWindow::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_topMenu || watched == m_wheelMenu) && event->type() == QEvent::Close) {
        if (KivPushButton *b = selectedButton())
            emit SelBtnControl(b, false);
    }
    return QWidget::eventFilter(watched, event);
}

void KivBtnWindow::onChoice(int iCode)
{
    const int entry = selectedEntry();
    KivPushButton *btn = selectedButton();
    ProfileData *p = edited();
    if (!p || entry < 0 || !btn)
        return;
    emit SelBtnControl(btn, true);
    bool changed = false;
    switch (chooseFunction(*p, entry, iCode)) {
    case AssignOutcome::KeepOneClick:
        emit PopOneClickBox();
        return;
    case AssignOutcome::GoToMacroTab:
        emit GotoMacroTab(kMacroTabIndex);
        return;
    case AssignOutcome::OpenDialog:
        changed = runDialog(entry, iCode);
        break;
    case AssignOutcome::Applied:
        changed = true;
        break;
    default:
        break;
    }
    if (changed) {
        // The active slot's file keeps the same function, so that it stays what the mouse has.
        if (m_profile && m_profile != p)
            m_profile->buttons[size_t(entry)] = p->buttons[size_t(entry)];
        btn->setText(displayText(p->buttons[size_t(entry)]));
        emit ButtonChanged(entry);
    }
    emit SelBtnControl(btn, false);
    m_group = kNoSelection;
    m_index = kNoSelection;
}

bool KivBtnWindow::runDialog(int iEntry, int iCode)
{
    ProfileData &p = *edited();
    const ButtonInfo &b = p.buttons[size_t(iEntry)];
    QWidget *owner = window();
    switch (iCode) {
    case fun::kSingleKey: {
        KivSingleKeyWindow dlg(owner);
        dlg.setKeyCode(singleKeyPreset(b));
        return dlg.exec() == QDialog::Accepted &&
               applySingleKey(p, iEntry, dlg.keyCode()) == AssignOutcome::Applied;
    }
    case fun::kComboKey: {
        KivComboKeyWindow dlg(owner);
        dlg.setComboKeys(comboKeyPreset(b));
        return dlg.exec() == QDialog::Accepted &&
               applyComboKey(p, iEntry, dlg.comboKeys()) == AssignOutcome::Applied;
    }
    case fun::kFireKey: {
        KivFireKeyWindow dlg(owner);
        dlg.setChoice(fireKeyPreset(b));
        return dlg.exec() == QDialog::Accepted &&
               applyFireKey(p, iEntry, dlg.choice()) == AssignOutcome::Applied;
    }
    case fun::kSniper: {
        KivSniperWindow dlg(readSensorCode(), owner);
        dlg.setValue(sniperPreset(b));
        return dlg.exec() == QDialog::Accepted &&
               applySniper(p, iEntry, dlg.value()) == AssignOutcome::Applied;
    }
    case fun::kMacro: {
        KivMacroSelect dlg(QCoreApplication::translate("KivBtnWindow", "MACRO SELECT"), owner);
        dlg.setChoice(macroPreset(b));
        return dlg.exec() == QDialog::Accepted &&
               applyMacro(p, iEntry, dlg.choice()) == AssignOutcome::Applied;
    }
    default:
        return false;
    }
}

} // namespace mc
