// A HID backend for tests that need exact control over what each read returns (read failures,
// all-zero answers, mismatching echoes in a given order) or over the enumeration list. Reads
// that wait return at once: the counters of the transport are under test here, not the timing.
#pragma once

#include "device/hidbackend.h"

#include <QByteArray>
#include <QVector>

#include <algorithm>
#include <cstring>

namespace mc::test {

class ScriptedBackend final : public HidBackend
{
public:
    enum class Read
    {
        Fail,
        Nothing,
        Zeros,
        Echo,
        EchoCorrupt
    };
    struct Step
    {
        Read kind;
        int byteIndex = 0; // EchoCorrupt: the byte to change
    };

    QVector<HidDeviceInfo> devices;
    QVector<Step> script; // consumed from the front; an empty script reads nothing
    QVector<QByteArray> written;
    QVector<QByteArray> opened;
    int reads = 0;
    int initResult = 0;
    bool failWrites = false;

    int init() override { return initResult; }
    void exit() override {}
    QVector<HidDeviceInfo> enumerate() override { return devices; }
    HidHandle open(const QByteArray &path) override
    {
        opened.append(path);
        return reinterpret_cast<HidHandle>(quintptr(opened.size()));
    }
    void close(HidHandle) override {}
    int write(HidHandle, const uint8_t *data, size_t length) override
    {
        if (failWrites)
            return -1;
        written.append(QByteArray(reinterpret_cast<const char *>(data), int(length)));
        return int(length);
    }
    int readTimeout(HidHandle, uint8_t *data, size_t length, int milliseconds) override
    {
        // The script is what comes after a write, in time: a read that does not wait finds
        // nothing there yet (the transport empties the queue so before it writes).
        if (milliseconds == 0)
            return 0;
        ++reads;
        const Step step = script.isEmpty() ? Step{Read::Nothing} : script.takeFirst();
        const QByteArray last = written.isEmpty() ? QByteArray() : written.last();
        const size_t n = std::min(length, size_t(last.size()));
        switch (step.kind) {
        case Read::Fail:
            return -1;
        case Read::Nothing:
            return 0;
        case Read::Zeros:
            std::memset(data, 0, length);
            return int(length);
        case Read::Echo:
            std::memcpy(data, last.constData(), n);
            return int(n);
        case Read::EchoCorrupt:
            std::memcpy(data, last.constData(), n);
            data[step.byteIndex] ^= 0xFF;
            return int(n);
        }
        return 0;
    }
};

} // namespace mc::test
