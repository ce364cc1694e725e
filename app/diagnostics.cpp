// The window's diagnostics recording.
#include "app/diagnostics.h"

#include "device/hidtrace.h"
#include "emulator/backendselect.h"
#include "profile/paths.h"

#include <QDateTime>
#include <QDir>

#include <cerrno>
#include <cstring>

namespace mc {

DiagnosticsRecorder::DiagnosticsRecorder(QObject *parent) : QObject(parent)
{
    if (diagnosticsRecording())
        m_path = diagnosticsTracer().recordingPath();
}

void DiagnosticsRecorder::setPrompts(const UserPrompts &prompts)
{
    m_prompts = prompts;
}

bool DiagnosticsRecorder::recording() const
{
    return diagnosticsRecording();
}

void DiagnosticsRecorder::setRecording(bool bRecord)
{
    if (bRecord == recording())
        return;
    TracingBackend &tracer = diagnosticsTracer();
    if (!bRecord) {
        tracer.stopRecording();
        emit recordingChanged(false);
        // A success, said as one by the window; only a failure takes a warning box.
        emit recorded(m_path);
        return;
    }
    // Named by the time, so that a second recording never replaces the first.
    const QString path = appDir() + QStringLiteral("/diagnostics-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                         QStringLiteral(".txt");
    if (!tracer.startRecording(path)) {
        // The system's reason, taken before anything else can change it: a full disk or a
        // folder without write permission call for different remedies.
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        emit recordingChanged(false);
        m_prompts.tellUser(2, QObject::tr("The diagnostics cannot be recorded in %1: %2")
                                  .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    m_path = path;
    emit recordingChanged(true);
}

} // namespace mc
