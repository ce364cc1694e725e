// The emulated mouse: a HidBackend that plays the far side of the wire, the receiver and the
// cable with their HID collections and the mouse behind them. It knows only what the wire
// carries: it checks each report's frame and checksum, echoes the verified commands, answers
// status queries, keeps the device memory (general, DPI, button and lighting blocks, the macro
// area, the active slot) and applies written blocks on commit, so a test reads back what the
// mouse now holds. Faults can be switched on to test the host's retries and failure paths.
//
// Device memory model. Blocks (commands 0x01..0x05) are taken only inside a write bracket (0x46
// with byte 4 = 0 opens it, 1 closes it; any other value is refused). A first packet (phase D1,
// offset 0) starts a pending copy of a block (a copy of what the mouse holds); further packets (D2)
// are taken only while that copy is being written, and are stored at their offset; the closing
// packet (D3, one byte 0x1A at offset 0x007F, or 0x0FFF for the macro block) ends it. The macro
// block marks only slot 0's first packet D1, so its whole upload follows that packet. A packet
// without its first packet, a packet outside the bracket, one that does not fit the block, carries
// more than 25 bytes or names an unknown phase is refused: not stored and not answered. A closing
// packet sent again before the commit (a rewrite) is taken again. A commit (0x40, F3, selector)
// applies a closed copy: selector 0x01 the general block, 0x02 DPI, 0x04 buttons, 0x08 lighting,
// 0x10 macros; a commit without F3 is refused. The macro area is uploaded after the commit, so a
// closed macro copy is applied by its closing packet. Opening or closing the bracket drops every
// copy not yet applied. An applied general block sets the active slot (byte 6) and the active stage
// (byte 17).
//
// Answers. Every report written to a command collection is answered on the command
// collection of the same attachment (each open handle that receives it gets its own copy, as
// hidraw does; see NodeLayout for which handles those are),
// after a delay drawn from [minDelay, maxDelay] ms: block writes, commit and write bracket are
// echoed as received; a status query (0x48) gets the status answer; profile select (0x44) and
// unknown commands get nothing. Reports with a wrong report ID, frame mark or checksum are
// refused. Each handle buffers at most 63 unread reports, as a hidraw node's ring of 64 entries
// does: a report that finds the queue full is dropped, the older ones stay.
//
// Thread-safe: one mutex guards everything, a read waits without holding it. Signals are
// emitted from the thread that caused them (plug()/unplug() or a write), outside the lock.
#pragma once

#include "device/hidbackend.h"
#include "device/hotplugsource.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QVector>
#include <QWaitCondition>

#include <array>
#include <cstdint>
#include <deque>
#include <map>

namespace mc {

constexpr int kGeneralBlockSize = 19;
constexpr int kDpiBlockSize = 41;
constexpr int kButtonBlockSize = 102;
constexpr int kLightingBlockSize = 80;
constexpr int kMacroAreaSize = 4000;

class EmulatedMouse final : public HotplugSource, public HidBackend
{
    Q_OBJECT
public:
    enum class Attachment
    {
        Receiver = 0,
        Cable = 1
    };
    // The collections each attachment lists. Pointer and Command are the ones the program
    // uses; Keyboard and Consumer are there so enumeration has something to pass over.
    enum class Collection
    {
        Pointer = 0,
        Keyboard = 1,
        Consumer = 2,
        Command = 3
    };
    // Emu: "emu://receiver" for the node of a PerInterface layout, "emu://receiver/pointer" for
    // each collection of a PerCollection one; Linux: one "/dev/hidrawN" for every collection of
    // an attachment; Windows: "\\?\hid#vid_....&pid_....&col0N#...".
    enum class PathStyle
    {
        Emu,
        Linux,
        Windows
    };
    // How the system hands an attachment's collections to the program. PerInterface is Linux's
    // hidraw: one node for the whole interface, and every handle open on it receives every
    // input report of the interface (the pointer's, the keyboard's, the consumer keys', the
    // command collection's), each with its report ID. PerCollection is Windows: a handle per
    // top-level collection, receiving that collection's reports only. Which handle receives what
    // follows from the paths: a handle receives the reports of every collection listed under
    // the path it was opened with.
    enum class NodeLayout
    {
        PerInterface,
        PerCollection
    };

    // IDs from the product description and the product name from Config.ini (Mouse_List/0),
    // read now: select the data folder first. Nothing is plugged in.
    explicit EmulatedMouse(QObject *parent = nullptr);
    ~EmulatedMouse() override;

    // --- HidBackend ---
    int init() override;
    void exit() override;
    QVector<HidDeviceInfo> enumerate() override;
    HidHandle open(const QByteArray &path) override;
    void close(HidHandle handle) override;
    int write(HidHandle handle, const uint8_t *data, size_t length) override;
    // Returns the report's byte count, 0 after the timeout (negative: wait until a report
    // comes), -1 for an unknown or closed handle or an unplugged attachment.
    int readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds) override;
    // The mouse's own plug() and unplug() are its hot-plug events (interfaceChanged).
    HotplugSource *hotplugSource() override { return this; }
    bool start(quintptr) override { return true; }

    // --- attachments and hot-plug ---
    // plug() lists the attachment's collections and emits an arrival for its pointer and its
    // command collection; unplug() removes them, emits the removals, and from then on every
    // handle opened on it fails (a plug afterwards needs new handles).
    void plug(Attachment attachment);
    void unplug(Attachment attachment);
    bool isPlugged(Attachment attachment) const;
    void setPathStyle(PathStyle style);
    // The platform's by default (PerCollection on Windows, PerInterface elsewhere). The Emu path
    // style follows it; the Linux style is always one node, the Windows style one path per
    // collection.
    void setNodeLayout(NodeLayout layout);
    // Overrides the path of one collection (empty restores the style's path).
    void setCollectionPath(Attachment attachment, Collection collection, const QByteArray &path);
    QByteArray collectionPath(Attachment attachment, Collection collection) const;
    int vendorId(Attachment attachment) const;
    int productId(Attachment attachment) const;
    QByteArray productName() const;
    uint16_t cableRelease() const;
    void setHidInitFails(bool fails); // init() then returns -1
    // Every open fails as a node without the user's access does ("Permission denied").
    void setOpenDenied(bool denied);
    QString lastOpenError() const override;
    int openHandleCount() const;

    // --- what the mouse reports ---
    void setBatteryRaw(uint16_t raw);   // status answer bytes 4/5
    void setCharging(bool charging);    // byte 6; the cable charges whatever this says
    void setWriteState(uint8_t state);  // byte 7
    void setStatusByte(uint8_t status); // byte 10
    void setMouseOff(bool off);         // battery, charging and write state read 0
    // The user changes slot, stage or report rate with the mouse's buttons: the mouse sends
    // report 0x49 on the command collection of its link (the cable when plugged, else the
    // receiver). The slot and stage also become the active ones when in range.
    void sendChangeReport(uint8_t profile, uint8_t stage, uint8_t rate, uint8_t mode);
    // Queues any report on the command collections of the attachment, as if the mouse sent it.
    void queueInputReport(Attachment attachment, const QByteArray &report);
    // Queues a report on the attachment's collection, as its device sends it (no answer fault
    // applies: the receiver passes the pointer on whatever the mouse answers).
    void queueCollectionReport(Attachment attachment, Collection collection,
                               const QByteArray &report);
    // The user moves the mouse: pointer reports (report ID 1: buttons, x and y as 16 bits each,
    // wheel, pan) come on the link at hz a second from now on, until 0 stops them.
    void setMotion(int hz);
    int motion() const;
    // A key pressed and released on the link: a keyboard usage (page 7, report ID 2: modifiers,
    // reserved, six keys) up to 0xFF, or a consumer usage written 0x0C0000 + usage (page 0x0C,
    // report ID 3, the usage in 16 bits). Other values send nothing.
    void sendKey(int usage);

    // --- timing ---
    void setAnswerDelay(int minMs, int maxMs); // default 0..1 ms

    // --- faults ---
    void setSilent(bool silent);    // never answers anything
    void setZeroAnswers(bool zero); // every answer is 33 zero bytes
    // The next count echoes (-1: all) have byte byteIndex xor-ed with mask; faults add up.
    void corruptEchoes(int byteIndex, uint8_t mask, int count);
    void setWrongEchoHeader(int count); // corrupts byte 4 (offset / parameter)
    void setWrongEchoData(int count);   // corrupts byte 8 (first data byte)
    void setWriteFailure(bool fail);    // every write fails (-1)
    // After count more successful writes, the next write finds the attachment it goes to
    // unplugged (removal events emitted) and fails; -1 switches it off.
    void setUnplugAfterWrites(int count);
    void clearFaults(); // every fault above off

    // --- what the mouse holds ---
    QByteArray blockMemory(uint8_t command) const; // applied contents of block 0x01..0x05
    QByteArray macroArea() const { return blockMemory(0x05); }
    // The pending copy of a block not yet applied (empty when there is none).
    QByteArray pendingBlock(uint8_t command) const;
    int activeSlot() const;
    int activeStage() const;
    bool writeBracketOpen() const;
    // The mouse forgets its settings, as one does that lost power before they were stored for
    // good: every block back to the factory state (all zero), slot 0 and stage 0 active, no write
    // under way. What the host wrote is gone; only a new write gives the mouse settings again.
    void factoryReset();

    // --- what went over the wire ---
    QVector<QByteArray> writtenReports() const; // every report written to a command collection
    // How many of those are kept, the newest (4096 unless set): a mouse for tests keeps many,
    // the program's own emulated mouse, which nobody reads, few.
    void setWrittenLimit(int iLimit);
    int writeCount() const;                     // successful writes to any collection
    int readCount() const;                      // reads that returned a report
    int commitCount() const;                    // commits that applied a block
    int refusedCount() const;                   // reports refused by the frame or block checks
    void clearLog();                            // forgets reports and counters, not the memory

    static int blockSize(uint8_t command); // 0 for a command that is no block

private:
    struct Handle
    {
        Attachment attachment;
        unsigned collections = 0; // bit c: receives the reports of Collection c
        int generation = 0;       // the attachment's plug generation when opened
        qint64 openedAt = 0;      // ms on m_clock: reports made before then are not its own
        std::deque<std::pair<qint64, QByteArray>> queue; // (ready at, report)
    };
    // Where the pending copy of a block stands.
    enum class Stage
    {
        Idle,    // no copy: only a first packet is taken
        Writing, // after the first packet: further packets and the closing one are taken
        Closed   // after the closing packet: a commit applies it
    };
    struct Block
    {
        QByteArray memory;
        QByteArray pending;
        Stage stage = Stage::Idle;
    };
    struct Event
    {
        bool arrival;
        int vid, pid, kind;
        QByteArray path;
    };

    Handle *findHandle(HidHandle handle);
    const Handle *findHandle(HidHandle handle) const;
    bool handleAlive(const Handle &h) const;
    QByteArray pathOf(Attachment attachment, Collection collection) const;
    QVector<Event> unplugLocked(Attachment attachment);
    void emitEvents(const QVector<Event> &events);
    void answerLocked(Attachment attachment, const QByteArray &report);
    void deliverLocked(Attachment attachment, QByteArray report);
    void queueLocked(Attachment attachment, Collection collection, const QByteArray &report,
                     qint64 readyAt);
    void pushLocked(Attachment attachment, Collection collection, const QByteArray &report,
                    qint64 readyAt);
    Attachment linkLocked() const;
    // Makes the pointer reports due by now; returns when the next one is due (-1: none).
    qint64 pumpMotionLocked();
    bool handleReportLocked(Attachment attachment, const QByteArray &report);
    bool blockWriteLocked(const QByteArray &report);
    void commitLocked(uint8_t selector);
    void applyLocked(uint8_t command);
    void dropPendingLocked();
    void factoryResetLocked();
    QByteArray statusAnswerLocked() const;
    Block &block(uint8_t command);
    const Block &block(uint8_t command) const;

    mutable QMutex m_mutex;
    QWaitCondition m_arrived;
    QElapsedTimer m_clock;

    std::array<bool, 2> m_plugged{};
    std::array<int, 2> m_generation{};
    std::array<int, 2> m_vid{};
    std::array<int, 2> m_pid{};
    std::array<std::array<QByteArray, 4>, 2> m_pathOverride;
    QByteArray m_productName;
    PathStyle m_pathStyle = PathStyle::Emu;
#ifdef Q_OS_WIN
    NodeLayout m_layout = NodeLayout::PerCollection;
#else
    NodeLayout m_layout = NodeLayout::PerInterface;
#endif
    int m_motionHz = 0;
    qint64 m_motionNextUs = 0; // when the next pointer report is due, on m_clock
    int m_motionStep = 0;
    bool m_initFails = false;
    bool m_openDenied = false;
    QString m_openError;
    std::map<quintptr, Handle> m_handles;
    quintptr m_nextHandle = 1;

    uint16_t m_batteryRaw = 1000;
    bool m_charging = false;
    uint8_t m_writeState = 1;
    uint8_t m_statusByte = 0;
    bool m_mouseOff = false;
    int m_minDelay = 0;
    int m_maxDelay = 1;

    bool m_silent = false;
    bool m_zeroAnswers = false;
    struct EchoFault
    {
        int byteIndex;
        uint8_t mask;
        int remaining; // -1: for ever
    };
    QVector<EchoFault> m_echoFaults;
    bool m_writeFailure = false;
    int m_unplugAfter = -1;

    std::array<Block, 5> m_blocks;
    int m_activeSlot = 0;
    int m_activeStage = 0;
    bool m_bracketOpen = false;

    QVector<QByteArray> m_written;
    int m_writtenLimit = 4096;
    int m_writeCount = 0;
    int m_readCount = 0;
    int m_commitCount = 0;
    int m_refusedCount = 0;
};

} // namespace mc
