// The apply worker's run.
#include "device/processthread.h"
#include "device/log.h"

#include "device/commandset.h"
#include "device/transport.h"
#include "device/writeresult.h"
#include "profile/changemask.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QDebug>

namespace mc {

KivProcessThread::KivProcessThread(MouseConnection &connection, ProfileStore &working,
                                   ProfileStore &lastWritten, QObject *parent)
    : QThread(parent), m_connection(connection), m_working(working), m_lastWritten(lastWritten)
{}

KivProcessThread::~KivProcessThread()
{
    wait();
}

void KivProcessThread::setWriteEverything(bool bEnable)
{
    m_writeEverything = bEnable;
}
void KivProcessThread::setMouseOff(bool bOff)
{
    m_mouseOff = bOff;
}
void KivProcessThread::requestStop()
{
    m_stop.storeRelease(1);
}
uint8_t KivProcessThread::result() const
{
    return uint8_t(m_result.loadAcquire());
}
QString KivProcessThread::reason() const
{
    (void)m_result.loadAcquire(); // pairs with the release that followed the reason's write
    return m_reason;
}
QString KivProcessThread::message() const
{
    const uint8_t code = result();
    if (code == kOk)
        return QString();
    const QString text = writeResultText(code);
    return m_reason.isEmpty() ? text : text + QLatin1Char(' ') + m_reason;
}
int KivProcessThread::usedMask() const
{
    return m_mask.loadAcquire();
}

void KivProcessThread::run()
{
    if (m_stop.loadAcquire()) {
        qCDebug(lcDevice, "the write was stopped before it began");
        return;
    }
    // A store that does not hold the user's settings is neither saved nor sent.
    if (m_working.unreadable) {
        m_result.storeRelease(kStoreUnreadable);
        emit DoProcessDlg();
        return;
    }
    // Saved once: the files hold the settings whatever the mouse makes of them. A mouse given
    // what the files could not keep would differ from them after the next start, so a failed
    // save sends nothing and leaves the next write to send everything.
    const SaveResult saved = SaveStore(m_working);
    if (!saved) {
        qCDebug(lcDevice, "The profile store could not be saved: %s", qPrintable(saved.message()));
        m_reason = saved.message();
        m_result.storeRelease(kSaveFailed);
        writeDiff(1);
        emit DoProcessDlg();
        return;
    }
    // The button block is made of the description's buttons: without them every button would
    // reach the mouse switched off. The files keep the user's changes; the next write, with the
    // description mended, sends everything.
    QString why;
    if (!productDescriptionUsable(&why)) {
        qCDebug(lcDevice, "Nothing sent: %s", qPrintable(why));
        m_reason = why;
        m_result.storeRelease(kNoProductDescription);
        writeDiff(1);
        emit DoProcessDlg();
        return;
    }
    if (m_mouseOff) {
        m_result.storeRelease(kMouseOff);
        emit DoProcessDlg();
        return;
    }
    m_result.storeRelease(kOk);
    int mask = ComputeChangeMask(m_working, m_lastWritten);
    if (readDiff() == 1 || m_writeEverything) {
        mask = change::kAll;
    } else if (mask == 0) {
        m_mask.storeRelease(0);
        emit DoProcessDlg();
        return;
    }
    m_mask.storeRelease(mask);
    const uint8_t result = ApplyChanges(m_connection, m_working, mask);
    m_result.storeRelease(result);
    m_lastWritten = m_working;
    writeDiff(result != kOk ? 1 : 0);
    emit DoProcessDlg();
}

} // namespace mc
