// A HID backend that passes everything on to another one and prints every report written or
// read, one line each: "> " or "< " and the bytes as two-digit lower-case hex separated by
// single spaces. Reads that return nothing print nothing. Safe to use from several threads:
// each line is written whole.
#pragma once

#include "device/hidbackend.h"

#include <QMutex>

#include <cstdio>

namespace mc {

class TracingBackend final : public HidBackend
{
public:
    // Does not take ownership of inner; prints to out (standard output by default).
    explicit TracingBackend(HidBackend &inner, std::FILE *out = stdout);
    TracingBackend(const TracingBackend &) = delete;
    TracingBackend &operator=(const TracingBackend &) = delete;

    int init() override;
    void exit() override;
    QVector<HidDeviceInfo> enumerate() override;
    HidHandle open(const QByteArray &path) override;
    void close(HidHandle handle) override;
    int write(HidHandle handle, const uint8_t *data, size_t length) override;
    int readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds) override;

    // The trace line of a report: prefix, a space, then the bytes.
    static QByteArray formatLine(char direction, const uint8_t *data, size_t length);

private:
    void print(char direction, const uint8_t *data, size_t length);

    HidBackend &m_inner;
    std::FILE *m_out;
    QMutex m_mutex;
};

} // namespace mc
