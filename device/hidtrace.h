// A HID backend that passes everything on to another one and prints every report written or
// read, one line each: "> " or "< " and the bytes as two-digit lower-case hex separated by
// single spaces. Reads that return nothing print nothing. Safe to use from several threads:
// each line is written whole.
//
// Besides the plain trace it can record diagnostics into a file of their own: the same lines,
// each preceded by the seconds since the recording began (three decimals) and a space, after a
// first line "# mousecfg diagnostics" with the wall-clock time it began. Such a file is what a
// user sends with a problem; tests read it back (tests/tracereplay) and play it against the
// emulated mouse.
#pragma once

#include "device/hidbackend.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QString>

#include <atomic>
#include <cstdio>

namespace mc {

class TracingBackend final : public HidBackend
{
public:
    // Does not take ownership of inner; prints to out (standard output by default; nullptr
    // prints nothing, for a tracer that only records diagnostics).
    explicit TracingBackend(HidBackend &inner, std::FILE *out = stdout);
    ~TracingBackend() override;
    TracingBackend(const TracingBackend &) = delete;
    TracingBackend &operator=(const TracingBackend &) = delete;

    int init() override;
    void exit() override;
    QVector<HidDeviceInfo> enumerate() override;
    HidHandle open(const QByteArray &path) override;
    void close(HidHandle handle) override;
    int write(HidHandle handle, const uint8_t *data, size_t length) override;
    int readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds) override;
    HotplugSource *hotplugSource() override { return m_inner.hotplugSource(); }
    QString lastOpenError() const override { return m_inner.lastOpenError(); }

    // When a recording replaces its file: at once, or when the program first looks for or
    // talks to the mouse, so that a command line that turns out wrong leaves the file it names
    // as it was.
    enum class Begin
    {
        Now,
        OnFirstUse
    };
    // Starts recording diagnostics into path, a recording under way ending first. The lines
    // are written aside and the file is replaced by them when the recording begins, never
    // emptied before. False when the file cannot be written (nothing is recorded then).
    bool startRecording(const QString &path, Begin begin = Begin::Now);
    // Ends the recording and closes its file; nothing happens when none is under way.
    void stopRecording();
    bool recording() const;
    QString recordingPath() const;

    // The trace line of a report: prefix, a space, then the bytes.
    static QByteArray formatLine(char direction, const uint8_t *data, size_t length);

private:
    void print(char direction, const uint8_t *data, size_t length);
    void beginIfWaiting();
    void beginLocked();       // m_mutex held
    void closeRecordLocked(); // m_mutex held

    HidBackend &m_inner;
    std::FILE *m_out;
    mutable QMutex m_mutex;
    std::FILE *m_record = nullptr; // owned
    QString m_recordPath;
    QString m_asidePath; // where the lines go until the recording begins
    std::atomic<bool> m_waiting{false};
    QElapsedTimer m_recordClock;
};

} // namespace mc
