// The apply worker: one write of the working store to the mouse, run on its own thread while the
// window shows the busy indicator. It saves the store, works out which groups changed, sends them
// with ApplyChanges, makes the last-written store equal to the working store and records in
// Config/Diff whether the mouse may now differ from the files. Without a usable product
// description the mouse's buttons are unknown and would all be sent as "off": the store is
// saved, nothing is sent, and the mouse keeps its own settings. The creator keeps both stores
// untouched until DoProcessDlg arrives, then reads the result.
#pragma once

#include "profile/profiledata.h"

#include <QAtomicInt>
#include <QString>
#include <QThread>

#include <cstdint>

namespace mc {

class MouseConnection;

class KivProcessThread final : public QThread
{
    Q_OBJECT
public:
    // The connection and both stores must outlive the thread.
    KivProcessThread(MouseConnection &connection, ProfileStore &working, ProfileStore &lastWritten,
                     QObject *parent = nullptr);
    ~KivProcessThread() override; // waits for the run to end

    // Before start(): send every group whatever changed.
    void setWriteEverything(bool bEnable);
    // Before start(): the last battery report said the mouse is off; nothing is sent.
    void setMouseOff(bool bOff);
    // Before start(): the run ends at once, without a signal.
    void requestStop();

    // 0 done, 5 mouse off, a transport code or a refusal of writeresult.h otherwise (a store
    // that could not be read or saved is such a refusal: nothing sent). Read after DoProcessDlg.
    uint8_t result() const;
    // Why the run failed, in the user's words: the file and the system's reason of a failed
    // save, what is wrong with the product description; empty when the result says it all.
    // Read after DoProcessDlg.
    QString reason() const;
    // What the user is told: the result's text followed by the reason; empty for 0.
    QString message() const;
    // The change mask the run used (15 when everything was sent); -1 before a mask was made.
    int usedMask() const;

signals:
    void DoProcessDlg();

protected:
    void run() override;

private:
    MouseConnection &m_connection;
    ProfileStore &m_working;
    ProfileStore &m_lastWritten;
    bool m_writeEverything = false;
    bool m_mouseOff = false;
    QAtomicInt m_stop{0};
    QAtomicInt m_result{0};
    QAtomicInt m_mask{-1};
    QString m_reason; // written before m_result is released, read after it is acquired
};

} // namespace mc
