// The single key dialog.
#include "buttons/ui/kivsinglekeywindow.h"
#include "buttons/log.h"

#include "buttons/keycodes.h"
#include "platform/keyboardhook.h"
#include "widgets/kivlabel.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace mc {

KivSingleKeyWindow::KivSingleKeyWindow(QWidget *parent) : KivDialogFrame(360, 200, parent)
{
    setTitleText(QCoreApplication::translate("KivSingleKeyWindow", "Single Key"));
    setButtonTexts(QCoreApplication::translate("KivSingleKeyWindow", "OK"),
                   QCoreApplication::translate("KivSingleKeyWindow", "Cancel"));
    m_keyLabel = makeLabel(QString());
    m_keyLabel->setAlignment(Qt::AlignCenter);
    m_keyLabel->setDarkBackground(true);
    m_keyLabel->setGeometry(scaledRect(60, 70, 240, 40));
    keepKeysForCapture();
    m_hook = new KeyboardHook([this](const HookKeyEvent &e) { return onKey(e); }, this);
    m_hook->install();
}

KivSingleKeyWindow::~KivSingleKeyWindow()
{
    m_hook->remove();
}

void KivSingleKeyWindow::setKeyCode(uint8_t iCode)
{
    m_code = iCode;
    m_keyLabel->setText(keyName(iCode));
}

QString KivSingleKeyWindow::keyText() const
{
    return m_keyLabel->text();
}

bool KivSingleKeyWindow::onKey(const HookKeyEvent &event)
{
    if (!m_active)
        return false;
    const KeyStroke k = keyEventToKeyCode(event.scanCode, event.flags, event.vkCode);
    if (k.code == keycode::kNone || (k.code == m_lastCode && k.flags == m_lastFlags))
        return false;
    m_lastCode = k.code;
    m_lastFlags = k.flags;
    setKeyCode(k.code);
    qCDebug(lcButtons, "single key captured: code %x (%s)", k.code, qPrintable(keyName(k.code)));
    emit SetSingleKeyValue(k.code);
    return false; // other applications see the key as well
}

void KivSingleKeyWindow::showEvent(QShowEvent *event)
{
    m_active = true;
    KivDialogFrame::showEvent(event);
}

void KivSingleKeyWindow::hideEvent(QHideEvent *event)
{
    m_active = false;
    KivDialogFrame::hideEvent(event);
}

void KivSingleKeyWindow::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

} // namespace mc
