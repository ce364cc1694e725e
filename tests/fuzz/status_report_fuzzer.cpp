// The reports the mouse sends up to the status poller: status answers (0x48) and on-mouse change
// reports (0x49), among failures, silence and reports of any other kind. The bytes script what
// each read brings; the real poller thread runs over them (with its pauses at zero) and must
// hand the window exactly what the protocol says: a change report's four bytes, a status
// answer's battery bytes with its write state unless the mouse is off, zeros for a failed read
// after a query, and nothing for anything else. The status byte kept is the last answer's.
#include "fuzzsupport.h"

#include "device/batterylevel.h"
#include "device/batterythread.h"
#include "device/devicetable.h"
#include "device/hidbackend.h"
#include "device/mouseconnection.h"
#include "device/reportframe.h"

#include <QVector>

#include <algorithm>
#include <cstring>
#include <tuple>

using namespace mc;
using namespace mc::fuzz;

namespace {

enum Kind
{
    kBattery,
    kChange,
    kWrite
};
using Event = std::tuple<int, int, int, int, int>;

class ScriptedMouse final : public HidBackend
{
public:
    ScriptedMouse(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    KivGetBatteryThread *thread = nullptr;
    QVector<Event> expected; // what the window must be told, in order
    uint8_t statusByte = 0;

    int init() override { return 0; }
    void exit() override {}
    QVector<HidDeviceInfo> enumerate() override { return {}; }
    HidHandle open(const QByteArray &) override { return nullptr; }
    void close(HidHandle) override {}
    int write(HidHandle, const uint8_t *, size_t length) override
    {
        m_afterQuery = true;
        return int(length);
    }
    int readTimeout(HidHandle, uint8_t *data, size_t length, int) override
    {
        const bool query = m_afterQuery;
        m_afterQuery = false;
        if (m_pos >= m_size) {
            thread->requestStop();
            return 0;
        }
        const uint8_t control = m_data[m_pos++];
        if (control % 4 == 0) {
            if (query)
                expected.append({kBattery, 0, 0, 0, 0});
            return -1;
        }
        if (control % 4 == 1)
            return 0; // silence: the buffer stays as the poller left it
        uint8_t r[kReportSize] = {};
        const size_t n = std::min({size_t(kReportSize), length, m_size - m_pos});
        std::memcpy(r, m_data + m_pos, n);
        m_pos += n;
        std::memcpy(data, r, std::min(length, size_t(kReportSize)));
        // Another collection's report (the node's pointer and keyboard) tells the window nothing.
        if (frame::isForeignReport(r, kReportSize)) {
        } else if (r[frame::kCommand] == frame::kChangeReport) {
            expected.append({kChange, r[4], r[5], r[6], r[7]});
        } else if (r[frame::kCommand] == frame::kStatus) {
            expected.append({kBattery, r[6], r[4], r[5], 0});
            if (r[4] != 0 || r[5] != 0 || r[6] != 0)
                expected.append({kWrite, r[7], 0, 0, 0});
            statusByte = r[frame::kStatusByte];
        }
        return int(kReportSize);
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_afterQuery = false;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ScriptedMouse mouse(data, size);
    MouseConnection connection(mouse);
    connection.state().receiverCommand = reinterpret_cast<HidHandle>(quintptr(1));

    QVector<Event> told; // written on the poller's thread, read after it ended
    {
        KivGetBatteryThread thread(connection);
        mouse.thread = &thread;
        thread.setTimings({0, 0, 0, 0, 0, 0});
        QObject::connect(
            &thread, &KivGetBatteryThread::RefreshBatteryStatus, &thread,
            [&](quint8 c, quint8 lo, quint8 hi) {
                told.append({kBattery, c, lo, hi, 0});
                if (c != 0 || lo != 0 || hi != 0) {
                    const int percent = batteryPercent(batteryMillivolts(lo, hi));
                    MC_FUZZ_CHECK(percent >= 10 && percent <= 100, "battery at %d %%", percent);
                }
            },
            Qt::DirectConnection);
        QObject::connect(
            &thread, &KivGetBatteryThread::RefreshStatus, &thread,
            [&](quint8 p, quint8 d, quint8 r, quint8 m) {
                told.append({kChange, p, d, r, m});
            },
            Qt::DirectConnection);
        QObject::connect(
            &thread, &KivGetBatteryThread::RefreshWriteStatus, &thread,
            [&](quint8 s) {
                told.append({kWrite, s, 0, 0, 0});
            },
            Qt::DirectConnection);
        thread.start();
        thread.wait();
    }
    MC_FUZZ_CHECK(told == mouse.expected, "the window was told %d things, the mouse said %d",
                  int(told.size()), int(mouse.expected.size()));
    MC_FUZZ_CHECK(connection.statusByte() == mouse.statusByte, "status byte %d, the mouse said %d",
                  connection.statusByte(), mouse.statusByte);
    connection.state().receiverCommand = nullptr; // no handle of the mouse's to close
    return 0;
}
