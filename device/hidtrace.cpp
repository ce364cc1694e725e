// The tracing decorator of the HID seam.
#include "device/hidtrace.h"

#include <QMutexLocker>

#include <algorithm>

namespace mc {

TracingBackend::TracingBackend(HidBackend &inner, std::FILE *out) : m_inner(inner), m_out(out) {}

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
    std::fwrite(line.constData(), 1, size_t(line.size()), m_out);
    std::fflush(m_out);
}

} // namespace mc
