// The tracing decorator of the HID seam.
#include "device/hidtrace.h"
#include "device/log.h"

#include <QDateTime>
#include <QFile>
#include <QMutexLocker>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mc {

TracingBackend::TracingBackend(HidBackend &inner, std::FILE *out) : m_inner(inner), m_out(out) {}

TracingBackend::~TracingBackend()
{
    stopRecording();
}

int TracingBackend::init()
{
    return m_inner.init();
}
void TracingBackend::exit()
{
    m_inner.exit();
}
QVector<HidDeviceInfo> TracingBackend::enumerate()
{
    beginIfWaiting();
    return m_inner.enumerate();
}
HidHandle TracingBackend::open(const QByteArray &path)
{
    beginIfWaiting();
    return m_inner.open(path);
}
void TracingBackend::close(HidHandle handle)
{
    m_inner.close(handle);
}

int TracingBackend::write(HidHandle handle, const uint8_t *data, size_t length)
{
    beginIfWaiting();
    print('>', data, length);
    return m_inner.write(handle, data, length);
}

int TracingBackend::readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds)
{
    beginIfWaiting();
    const int n = m_inner.readTimeout(handle, data, length, milliseconds);
    if (n > 0)
        print('<', data, std::min(size_t(n), length));
    return n;
}

QByteArray TracingBackend::formatLine(char direction, const uint8_t *data, size_t length)
{
    static const char kHex[] = "0123456789abcdef";
    QByteArray line;
    line.reserve(int(2 + 3 * length));
    line.append(direction);
    for (size_t i = 0; i < length; ++i) {
        line.append(' ');
        line.append(kHex[data[i] >> 4]);
        line.append(kHex[data[i] & 0x0F]);
    }
    return line;
}

void TracingBackend::print(char direction, const uint8_t *data, size_t length)
{
    const QByteArray line = formatLine(direction, data, length) + '\n';
    QMutexLocker lock(&m_mutex);
    if (m_out) {
        std::fwrite(line.constData(), 1, size_t(line.size()), m_out);
        std::fflush(m_out);
    }
    if (m_record) {
        const QByteArray stamp =
            QByteArray::number(double(m_recordClock.nsecsElapsed()) / 1e9, 'f', 3) + ' ';
        std::fwrite(stamp.constData(), 1, size_t(stamp.size()), m_record);
        std::fwrite(line.constData(), 1, size_t(line.size()), m_record);
        // Flushed per line: a recording is most wanted when the program ends badly.
        std::fflush(m_record);
    }
}

bool TracingBackend::startRecording(const QString &path, Begin begin)
{
    // Written aside first: the file the user named keeps what it holds (an earlier recording,
    // perhaps the one wanted) until this recording really begins.
    QTemporaryFile aside(path + QStringLiteral(".XXXXXX"));
    aside.setAutoRemove(false);
    if (!aside.open())
        return false;
    const QString asidePath = aside.fileName();
    aside.close();
    std::FILE *file = std::fopen(QFile::encodeName(asidePath).constData(), "w");
    if (!file) {
        const int saved = errno;
        QFile::remove(asidePath);
        errno = saved;
        return false;
    }
    QMutexLocker lock(&m_mutex);
    closeRecordLocked();
    m_record = file;
    m_recordPath = path;
    m_asidePath = asidePath;
    m_waiting.store(true);
    if (begin == Begin::Now)
        beginLocked();
    return m_record != nullptr;
}

void TracingBackend::beginIfWaiting()
{
    if (!m_waiting.load(std::memory_order_relaxed))
        return;
    QMutexLocker lock(&m_mutex);
    if (m_waiting.load())
        beginLocked();
}

void TracingBackend::beginLocked()
{
    m_waiting.store(false);
    const QByteArray header = "# mousecfg diagnostics " +
                              QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + '\n';
    std::fwrite(header.constData(), 1, size_t(header.size()), m_record);
    std::fflush(m_record);
#ifdef Q_OS_WIN
    // An open file cannot be renamed over another here: the aside file goes, the named one is
    // written from its start.
    std::fclose(m_record);
    QFile::remove(m_asidePath);
    m_record = std::fopen(QFile::encodeName(m_recordPath).constData(), "w");
    const bool placed = m_record != nullptr;
    if (placed) {
        std::fwrite(header.constData(), 1, size_t(header.size()), m_record);
        std::fflush(m_record);
    }
#else
    // The open file follows its new name.
    const bool placed = ::rename(QFile::encodeName(m_asidePath).constData(),
                                 QFile::encodeName(m_recordPath).constData()) == 0;
#endif
    if (!placed) {
        qCWarning(lcDevice, "The diagnostics file %s could not be written: %s",
                  qPrintable(m_recordPath), std::strerror(errno));
        closeRecordLocked();
        return;
    }
    m_asidePath.clear();
    m_recordClock.start();
}

void TracingBackend::closeRecordLocked()
{
    if (m_record)
        std::fclose(m_record);
    m_record = nullptr;
    if (!m_asidePath.isEmpty())
        QFile::remove(m_asidePath); // never begun: the named file stays as it was
    m_asidePath.clear();
    m_recordPath.clear();
    m_waiting.store(false);
}

void TracingBackend::stopRecording()
{
    QMutexLocker lock(&m_mutex);
    closeRecordLocked();
}

bool TracingBackend::recording() const
{
    QMutexLocker lock(&m_mutex);
    return m_record != nullptr;
}

QString TracingBackend::recordingPath() const
{
    QMutexLocker lock(&m_mutex);
    return m_recordPath;
}

} // namespace mc
