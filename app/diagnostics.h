// Recording diagnostics from the window: the tray entry starts a recording of every HID report
// with its time into a file in the data folder, and stops it again, telling the user where the
// file is (a failure to start is a warning with its reason), so that it can be sent with a problem.
// The recording is the tracer's (see device/hidtrace.h); a recording started with --diagnostics
// shows as running. User-interface thread only.
#pragma once

#include "app/userprompts.h"

#include <QObject>
#include <QString>

namespace mc {

class DiagnosticsRecorder final : public QObject
{
    Q_OBJECT
public:
    explicit DiagnosticsRecorder(QObject *parent = nullptr);

    void setPrompts(const UserPrompts &prompts);
    bool recording() const;
    // The file of the recording under way, or of the last one.
    QString path() const { return m_path; }

public slots:
    // Starts a recording into a new file named by the time in the data folder, or stops the one
    // under way; a file that cannot be written is told the user and nothing is recorded.
    void setRecording(bool bRecord);

signals:
    void recordingChanged(bool bRecording);
    // A recording ended and its file is complete.
    void recorded(const QString &path);

private:
    UserPrompts m_prompts;
    QString m_path;
};

} // namespace mc
