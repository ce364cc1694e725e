// The write and the slot switch behind the busy indicator.
#include "app/writecontroller.h"
#include "app/log.h"

#include "device/commandset.h"
#include "device/mouseconnection.h"
#include "device/processthread.h"
#include "device/writeresult.h"
#include "widgets/kivprocessdialog.h"

#include <QDebug>
#include <QEventLoop>
#include <QThread>

#include <memory>

namespace mc {

WriteController::WriteController(MouseConnection &connection, ProfileStore &working,
                                 ProfileStore &lastWritten, QObject *parent)
    : QObject(parent), m_connection(connection), m_working(working), m_lastWritten(lastWritten)
{}

void WriteController::setPrompts(const UserPrompts &prompts)
{
    m_prompts = prompts;
}

void WriteController::setDialogParent(QWidget *parent)
{
    m_dialogParent = parent;
}

void WriteController::slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte)
{
    m_mouseOff = iCharge == 0 && iLowByte == 0 && iHiByte == 0;
}

void WriteController::write(bool bEverything)
{
    Request r;
    r.everything = bEverything;
    m_queue.push_back(r);
    runQueued();
}

void WriteController::writeInBackground()
{
    Request r;
    r.everything = true;
    r.background = true;
    m_queue.push_back(r);
    runQueued();
}

void WriteController::selectProfile(int iProfile, bool bQuiet)
{
    if (iProfile < 0 || iProfile >= kSlotCount)
        return; // the mouse has no such slot: nothing is sent
    Request r;
    r.select = true;
    r.quiet = bQuiet;
    r.slot = iProfile;
    m_queue.push_back(r);
    runQueued();
}

void WriteController::runQueued()
{
    // A request made while the indicator's event loop runs (a queued signal) is taken up by
    // the loop below once the running one has ended.
    if (m_busy)
        return;
    m_busy = true;
    emit busyChanged(true);
    while (!m_queue.empty()) {
        const Request r = m_queue.front();
        m_queue.pop_front();
        if (r.select)
            runSelect(r.slot, r.quiet);
        else
            runWrite(r.everything, r.background);
    }
    m_busy = false;
    emit busyChanged(false);
}

bool WriteController::waitBehindIndicator(QThread &worker)
{
    KivProcessDialog dialog(m_dialogParent.data());
    if (auto *apply = qobject_cast<KivProcessThread *>(&worker))
        connect(apply, &KivProcessThread::DoProcessDlg, &dialog, &KivProcessDialog::slotProcessDlg);
    // The end of the thread closes the indicator too, should a run end without its signal.
    connect(&worker, &QThread::finished, &dialog, &KivProcessDialog::slotProcessDlg);
    worker.start(QThread::InheritPriority);
    dialog.exec();
    const bool completed = worker.isFinished();
    worker.wait();
    return completed;
}

bool WriteController::waitInBackground(QThread &worker)
{
    QEventLoop loop;
    connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker.start(QThread::InheritPriority);
    // The end arrives queued, so it cannot be missed between the start and the loop. The clicks
    // and keys wait in the queue, as the indicator would keep them from the window.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    const bool completed = worker.isFinished();
    worker.wait();
    return completed;
}

void WriteController::runWrite(bool bEverything, bool bBackground)
{
    if (bBackground)
        emit backgroundWriteChanged(true);
    KivProcessThread worker(m_connection, m_working, m_lastWritten);
    worker.setWriteEverything(bEverything);
    worker.setMouseOff(m_mouseOff);
    if (!(bBackground ? waitInBackground(worker) : waitBehindIndicator(worker)))
        m_queue.clear(); // quitting: nothing more is started
    m_lastResult = worker.result();
    // The result's text with its reason (the file and the system's words, or what is wrong
    // with the product description), so that the user can mend it.
    m_lastMessage = worker.message();
    if (bBackground) {
        // The background write's owner says a failure once, in its own words.
        emit backgroundWriteChanged(false);
        emit backgroundWriteFinished(m_lastResult, m_lastMessage);
    } else if (m_lastResult != kOk) {
        m_prompts.tellUser(1, m_lastMessage);
    }
    emit writeFinished(m_lastResult);
}

void WriteController::runSelect(int iProfile, bool bQuiet)
{
    MouseConnection &connection = m_connection;
    std::unique_ptr<QThread> worker(QThread::create([&connection, iProfile] {
        // The poller reads the same handle: it stays stopped for both steps and comes back
        // whatever the mouse answered.
        const MouseConnection::PollerPause pause(connection);
        const uint8_t selected = SelectProfile(connection, iProfile);
        const uint8_t committed = CommitSettings(connection);
        if (selected != kOk || committed != kOk)
            qCDebug(lcApp, "Profile selection: %d, commit: %d", selected, committed);
    }));
    if (!(bQuiet ? waitInBackground(*worker) : waitBehindIndicator(*worker)))
        m_queue.clear();
    emit profileSelected(iProfile);
}

} // namespace mc
