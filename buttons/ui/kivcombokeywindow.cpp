// The combination key dialog.
#include "buttons/ui/kivcombokeywindow.h"
#include "buttons/log.h"

#include "buttons/keycodes.h"
#include "platform/keyboardhook.h"
#include "widgets/kivlabel.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace mc {

namespace {

// The slot of a modifier key and whether it is the right-hand one; -1 for other keys.
int modifierSlot(uint8_t code, bool &right)
{
    const ComboKeys defaults;
    for (int s = 0; s < combo::kOtherSlot; ++s) {
        for (int side = 0; side < 2; ++side) {
            if (defaults.iHotKeyCode[size_t(s)][size_t(side)] == code) {
                right = side == 1;
                return s;
            }
        }
    }
    return -1;
}

} // namespace

KivComboKeyWindow::KivComboKeyWindow(QWidget *parent) : KivDialogFrame(420, 200, parent)
{
    setTitleText(QCoreApplication::translate("KivComboKeyWindow", "Combo Key"));
    setButtonTexts(QCoreApplication::translate("KivComboKeyWindow", "OK"),
                   QCoreApplication::translate("KivComboKeyWindow", "Cancel"));
    m_keysLabel = makeLabel(QString());
    m_keysLabel->setAlignment(Qt::AlignCenter);
    m_keysLabel->setDarkBackground(true);
    m_keysLabel->setGeometry(scaledRect(30, 70, 360, 40));
    keepKeysForCapture();
    m_hook = new KeyboardHook([this](const HookKeyEvent &e) { return onKey(e); }, this);
    m_hook->install();
}

KivComboKeyWindow::~KivComboKeyWindow()
{
    m_hook->remove();
}

void KivComboKeyWindow::setComboKeys(const ComboKeys &keys)
{
    m_result = keys;
    showKeys();
}

QString KivComboKeyWindow::keysText() const
{
    return m_keysLabel->text();
}

void KivComboKeyWindow::showKeys()
{
    QStringList names;
    for (int s = 0; s < combo::kSlotCount; ++s) {
        const uint8_t mark = m_result.iComboKey[size_t(s)];
        if (mark == 0)
            continue;
        const auto &pair = m_result.iHotKeyCode[size_t(s)];
        // A right-hand modifier shows as what it is; it is stored as the left-hand one.
        names << keyName(s != combo::kOtherSlot && mark == 2 ? pair[1] : pair[0]);
    }
    m_keysLabel->setText(names.join(QStringLiteral(" + ")));
}

bool KivComboKeyWindow::onKey(const HookKeyEvent &event)
{
    if (!m_active)
        return false;
    const KeyStroke k = keyEventToKeyCode(event.scanCode, event.flags, event.vkCode);
    qCDebug(lcButtons, "combination key captured: code %x, flags %x", k.code, k.flags);
    if (!m_seenFirst) {
        m_seenFirst = true;
        m_slots.fill(0);
    }
    if (k.code == keycode::kNone)
        return true;
    bool right = false;
    const int slot = modifierSlot(k.code, right);
    const uint8_t weight = right ? 2 : 1;
    if (!k.released()) {
        if (slot >= 0) {
            m_slots[size_t(slot)] = weight;
        } else {
            m_slots[combo::kOtherSlot] = 1;
            m_result.iHotKeyCode[combo::kOtherSlot] = {{k.code, 0}};
        }
        m_result.iComboKey = m_slots;
        showKeys();
        emit SetComboKeyValue(m_result.iComboKey, m_result.iHotKeyCode);
    } else if (slot >= 0) {
        // Held counts never go below zero, whatever order the releases come in.
        uint8_t &held = m_slots[size_t(slot)];
        held = held > weight ? uint8_t(held - weight) : 0;
    } else {
        m_slots[combo::kOtherSlot] = 0;
    }
    return true;
}

void KivComboKeyWindow::showEvent(QShowEvent *event)
{
    m_active = true;
    m_seenFirst = false;
    KivDialogFrame::showEvent(event);
}

void KivComboKeyWindow::hideEvent(QHideEvent *event)
{
    m_active = false;
    KivDialogFrame::hideEvent(event);
}

void KivComboKeyWindow::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

} // namespace mc
