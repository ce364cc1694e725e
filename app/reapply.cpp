// The re-apply of the window's settings to a mouse that connects.
#include "app/reapply.h"

#include "device/writeresult.h"
#include "profile/settings.h"

#include <QTimer>

#include <utility>

namespace mc {

ReapplyOnConnect::ReapplyOnConnect(std::function<void()> write, QObject *parent)
    : QObject(parent), m_write(std::move(write)), m_enabled(readReapplyOnConnect())
{}

void ReapplyOnConnect::setPrompts(const UserPrompts &prompts)
{
    m_prompts = prompts;
}

void ReapplyOnConnect::setEnabled(bool bEnable)
{
    writeReapplyOnConnect(bEnable);
    if (!bEnable)
        m_pending = false;
    if (bEnable == m_enabled)
        return;
    m_enabled = bEnable;
    emit enabledChanged(bEnable);
}

void ReapplyOnConnect::onMouseConnected()
{
    // Read again: the user may have changed the file, and a mouse that connects is rare.
    if (readReapplyOnConnect() != m_enabled) {
        m_enabled = !m_enabled;
        emit enabledChanged(m_enabled);
    }
    // The mouse's first battery reading after the arrival decides: awake, or wait.
    m_pending = m_enabled;
}

void ReapplyOnConnect::onMouseGone()
{
    m_pending = false;
}

void ReapplyOnConnect::slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte)
{
    if (!m_pending || (iCharge == 0 && iLowByte == 0 && iHiByte == 0))
        return;
    m_pending = false;
    // Out of the poller's signal: the write stops the poller and waits for it.
    QTimer::singleShot(0, this, [this] {
        if (m_write)
            m_write();
    });
}

void ReapplyOnConnect::onWriteFinished(quint8 iResult)
{
    if (iResult == kOk)
        m_failureTold = false;
}

void ReapplyOnConnect::onBackgroundWriteFinished(quint8 iResult, const QString &message)
{
    if (iResult == kOk)
        return;
    if (iResult == kMouseOff) {
        // Asleep again between the reading and the write: the next waking reading tries again.
        m_pending = m_enabled;
        return;
    }
    if (m_failureTold)
        return;
    m_failureTold = true;
    m_prompts.tellUser(2, QObject::tr("The mouse could not be given your settings when it "
                                      "connected.") +
                              QLatin1Char(' ') +
                              (message.isEmpty() ? writeResultText(iResult) : message));
}

} // namespace mc
