// GIF89a encoding: header, global palette, looping extension, frames with LZW data.
#include "gifwriter.h"

#include <unordered_map>

namespace mc::skin {

namespace {

class BitWriter
{
public:
    void write(int code, int bits)
    {
        m_acc |= uint32_t(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.append(char(m_acc & 0xFF));
            m_acc >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(char(m_acc & 0xFF));
        m_acc = 0;
        m_count = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    uint32_t m_acc = 0;
    int m_count = 0;
};

void put16(QByteArray &out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

} // namespace

QByteArray gifLzw(const QVector<uint8_t> &indices)
{
    constexpr int kMinCodeSize = 8;
    constexpr int kClear = 1 << kMinCodeSize;
    constexpr int kEnd = kClear + 1;
    constexpr int kMaxCode = 4095;

    BitWriter bits;
    std::unordered_map<uint32_t, int> dict;
    int codeSize = kMinCodeSize + 1;
    int lastCode = kEnd;
    int current = -1;
    bits.write(kClear, codeSize);
    for (const uint8_t px : indices) {
        if (current < 0) {
            current = px;
            continue;
        }
        const uint32_t key = (uint32_t(current) << 8) | px;
        const auto it = dict.find(key);
        if (it != dict.end()) {
            current = it->second;
            continue;
        }
        bits.write(current, codeSize);
        dict.emplace(key, ++lastCode);
        if (lastCode >= (1 << codeSize) && codeSize < 12)
            ++codeSize;
        if (lastCode == kMaxCode) {
            bits.write(kClear, codeSize);
            dict.clear();
            codeSize = kMinCodeSize + 1;
            lastCode = kEnd;
        }
        current = px;
    }
    if (current >= 0)
        bits.write(current, codeSize);
    bits.write(kEnd, codeSize);
    const QByteArray data = bits.finish();

    QByteArray out;
    out.append(char(kMinCodeSize));
    for (int pos = 0; pos < data.size(); pos += 255) {
        const int n = qMin(255, data.size() - pos);
        out.append(char(n));
        out.append(data.constData() + pos, n);
    }
    out.append(char(0));
    return out;
}

QByteArray encodeGif(const QVector<GifFrame> &frames, const QVector<QRgb> &palette)
{
    QByteArray out("GIF89a");
    if (frames.isEmpty())
        return out;
    const int w = frames.first().indexed.width();
    const int h = frames.first().indexed.height();
    put16(out, w);
    put16(out, h);
    out.append(char(0xF7)); // global table of 256 entries, 8 bits per channel
    out.append(char(0));    // background index
    out.append(char(0));    // no aspect ratio
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < palette.size() ? palette.at(i) : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    // Loop forever.
    out.append("\x21\xFF\x0B"
               "NETSCAPE2.0"
               "\x03\x01",
               16);
    put16(out, 0);
    out.append(char(0));

    for (const GifFrame &f : frames) {
        out.append("\x21\xF9\x04", 3);
        out.append(char(0x09)); // restore to background, transparent colour present
        put16(out, f.delayMs / 10);
        out.append(char(0)); // transparent index
        out.append(char(0));
        out.append(char(0x2C));
        put16(out, 0);
        put16(out, 0);
        put16(out, w);
        put16(out, h);
        out.append(char(0));
        QVector<uint8_t> idx;
        idx.reserve(w * h);
        for (int y = 0; y < h; ++y) {
            const uchar *line = f.indexed.constScanLine(y);
            for (int x = 0; x < w; ++x)
                idx.append(line[x]);
        }
        out.append(gifLzw(idx));
    }
    out.append(char(0x3B));
    return out;
}

} // namespace mc::skin
