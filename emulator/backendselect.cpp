// Choosing the HID backend: hidapi, or the emulated mouse in one of its modes, optionally
// behind the tracing decorator. The installed objects live until the process ends.
#include "emulator/backendselect.h"
#include "emulator/log.h"

#include "device/hidbackend.h"
#include "device/hidtrace.h"
#include "emulator/emulatedmouse.h"
#include "emulator/emulatorcontrol.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <vector>

namespace mc {

namespace {
const char kEmulateOption[] = "--emulate";
const char kTraceOption[] = "--trace";
const char kDiagnosticsOption[] = "--diagnostics=";
const char kEmulateEnv[] = "MOUSECFG_EMULATE";
const char kMotionEnv[] = "MOUSECFG_EMULATE_MOTION";
const char kTraceEnv[] = "MOUSECFG_TRACE";
const char kControlEnv[] = "MOUSECFG_EMULATOR_CONTROL";
const char *const kModes[] = {"receiver", "cable", "both", "off", "silent", "none", "denied"};

struct FileCloser
{
    void operator()(std::FILE *f) const { std::fclose(f); }
};

std::unique_ptr<EmulatedMouse> g_emulator;
std::unique_ptr<TracingBackend> g_tracer;
// Tracers that stopped being the backend while a thread may still have been inside them.
std::vector<std::unique_ptr<TracingBackend>> g_retiredTracers;
std::unique_ptr<std::FILE, FileCloser> g_traceFile;

constexpr int kProgramWrittenLimit = 64;

std::unique_ptr<EmulatedMouse> makeEmulator(const QString &mode)
{
    auto mouse = std::make_unique<EmulatedMouse>();
    // Nothing in the program reads what was written to it: a long session would otherwise keep
    // thousands of reports (the trace, where asked for, has them all).
    mouse->setWrittenLimit(kProgramWrittenLimit);
    using A = EmulatedMouse::Attachment;
    if (mode == QLatin1String("cable")) {
        mouse->plug(A::Cable);
    } else if (mode == QLatin1String("both")) {
        mouse->plug(A::Receiver);
        mouse->plug(A::Cable);
    } else if (mode != QLatin1String("none")) {
        mouse->plug(A::Receiver);
    }
    mouse->setMouseOff(mode == QLatin1String("off"));
    mouse->setSilent(mode == QLatin1String("silent"));
    mouse->setOpenDenied(mode == QLatin1String("denied"));
    // A receiver in use: the pointer moves at that many reports a second from the start.
    bool motionOk = false;
    const int motion = qEnvironmentVariableIntValue(kMotionEnv, &motionOk);
    if (motionOk && motion > 0)
        mouse->setMotion(motion);
    return mouse;
}
// Whether the recording could be written, asked without changing the file: opening it for
// writing would empty a file the user may still need when the command line turns out wrong.
bool diagnosticsFileWritable(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.isFile() && QFile(path).open(QIODevice::WriteOnly | QIODevice::Append);
    return QFileInfo(info.absolutePath()).isWritable();
}
} // namespace

bool isEmulateMode(const QString &mode)
{
    for (const char *m : kModes) {
        if (mode == QLatin1String(m))
            return true;
    }
    return false;
}

QStringList installBackendFromArgs(const QStringList &args, QString *error)
{
    QStringList rest;
    QString mode = qEnvironmentVariable(kEmulateEnv);
    QString traceFile = qEnvironmentVariable(kTraceEnv);
    bool trace = !traceFile.isEmpty();
    const QString prefix = QLatin1String(kEmulateOption) + QLatin1Char('=');
    const QString tracePrefix = QLatin1String(kTraceOption) + QLatin1Char('=');
    QString diagnosticsFile;
    for (const QString &a : args) {
        if (a == QLatin1String(kEmulateOption)) {
            mode = QStringLiteral("receiver");
        } else if (a.startsWith(prefix)) {
            mode = a.mid(prefix.size());
        } else if (a == QLatin1String(kTraceOption)) {
            trace = true;
            traceFile.clear();
        } else if (a.startsWith(tracePrefix)) {
            trace = true;
            traceFile = a.mid(tracePrefix.size());
        } else if (a.startsWith(QLatin1String(kDiagnosticsOption))) {
            diagnosticsFile = a.mid(int(qstrlen(kDiagnosticsOption)));
            if (diagnosticsFile.isEmpty()) {
                if (error)
                    *error = QStringLiteral("--diagnostics needs a file name");
                return rest;
            }
        } else {
            rest.append(a);
        }
    }
    if (!mode.isEmpty() && !isEmulateMode(mode)) {
        if (error)
            *error = QStringLiteral("unknown emulation mode \"%1\"").arg(mode);
        return rest;
    }
    std::unique_ptr<std::FILE, FileCloser> out;
    if (trace && !traceFile.isEmpty()) {
        // Appending, so that a reader may empty the file between steps without leaving a hole.
        out.reset(std::fopen(QFile::encodeName(traceFile).constData(), "a"));
        if (!out) {
            if (error)
                *error = QStringLiteral("cannot write the trace file \"%1\"").arg(traceFile);
            return rest;
        }
    }

    // Checked before anything is installed, like the trace file: a recording the user asked
    // for and never gets would be found missing only when it is needed.
    if (!diagnosticsFile.isEmpty() && !diagnosticsFileWritable(diagnosticsFile)) {
        if (error)
            *error =
                QStringLiteral("cannot write the diagnostics file \"%1\"").arg(diagnosticsFile);
        return rest;
    }

    // Install the new backend before the old objects go, so no caller sees a dangling one.
    std::unique_ptr<EmulatedMouse> emulator = mode.isEmpty() ? nullptr : makeEmulator(mode);
    setHidBackend(emulator.get());
    std::unique_ptr<TracingBackend> tracer;
    if (trace || !diagnosticsFile.isEmpty()) {
        tracer = std::make_unique<TracingBackend>(hidBackend(),
                                                  out ? out.get() : (trace ? stdout : nullptr));
        // Begun when the mouse is first looked for: a command whose own arguments turn out
        // wrong leaves the file as it was.
        if (!diagnosticsFile.isEmpty() &&
            !tracer->startRecording(diagnosticsFile, TracingBackend::Begin::OnFirstUse))
            qCDebug(lcEmulator, "diagnostics file %s went away", qUtf8Printable(diagnosticsFile));
        setHidBackend(tracer.get());
    }
    // The control watches files through the event loop, so it belongs to the application
    // object and goes with it, before the emulated mouse it drives.
    const QString controlFile = qEnvironmentVariable(kControlEnv);
    if (emulator && !controlFile.isEmpty() && QCoreApplication::instance())
        new EmulatorControl(*emulator, controlFile, QCoreApplication::instance());
    g_emulator = std::move(emulator);
    g_tracer = std::move(tracer);
    g_traceFile = std::move(out);
    return rest;
}

EmulatedMouse *installedEmulator()
{
    return g_emulator.get();
}

TracingBackend &diagnosticsTracer()
{
    if (!g_tracer || &hidBackend() != g_tracer.get()) {
        auto tracer = std::make_unique<TracingBackend>(hidBackend(), nullptr);
        setHidBackend(tracer.get());
        if (g_tracer)
            g_retiredTracers.push_back(std::move(g_tracer));
        g_tracer = std::move(tracer);
    }
    return *g_tracer;
}

bool diagnosticsRecording()
{
    return g_tracer && &hidBackend() == g_tracer.get() && g_tracer->recording();
}

} // namespace mc
