// The tracing decorator of the HID seam.
#include "device/hidtrace.h"

#include <QDateTime>
#include <QFile>
#include <QMutexLocker>

#include <algorithm>

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
    return m_inner.enumerate();
}
HidHandle TracingBackend::open(const QByteArray &path)
{
    return m_inner.open(path);
}
void TracingBackend::close(HidHandle handle)
{
    m_inner.close(handle);
}

int TracingBackend::write(HidHandle handle, const uint8_t *data, size_t length)
{
    print('>', data, length);
    return m_inner.write(handle, data, length);
}

int TracingBackend::readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds)
{
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

bool TracingBackend::startRecording(const QString &path)
{
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "w");
    if (!file)
        return false;
    const QByteArray header = "# mousecfg diagnostics " +
                              QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + '\n';
    std::fwrite(header.constData(), 1, size_t(header.size()), file);
    std::fflush(file);
    QMutexLocker lock(&m_mutex);
    if (m_record)
        std::fclose(m_record);
    m_record = file;
    m_recordPath = path;
    m_recordClock.start();
    return true;
}

void TracingBackend::stopRecording()
{
    QMutexLocker lock(&m_mutex);
    if (m_record)
        std::fclose(m_record);
    m_record = nullptr;
    m_recordPath.clear();
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
