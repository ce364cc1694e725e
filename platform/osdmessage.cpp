// Building and reading the on-screen-display block (layout in osdmessage.h).
#include "platform/osdmessage.h"

#include <QtEndian>

#include <algorithm>

namespace mc {

namespace {

constexpr int kMaxDisplayTimeMs = 60000;
constexpr int kMaxFontSize = 400;

void putNumber(QByteArray &block, int offset, quint32 value)
{
    qToLittleEndian(value, block.data() + offset);
}

quint32 number(const QByteArray &block, int offset)
{
    return qFromLittleEndian<quint32>(block.constData() + offset);
}

// Writes text as UTF-16LE; the field is zero-filled already, so the terminator is there.
void putText(QByteArray &block, int offset, const QString &text)
{
    for (int i = 0; i < text.size(); ++i)
        qToLittleEndian(text.at(i).unicode(), block.data() + offset + 2 * i);
}

// The zero-terminated text of a field; false when the field holds no terminator.
bool text(const QByteArray &block, int offset, int bytes, QString *out)
{
    QString s;
    for (int i = 0; i + 1 < bytes; i += 2) {
        const char16_t unit = qFromLittleEndian<quint16>(block.constData() + offset + i);
        if (unit == 0) {
            *out = s;
            return true;
        }
        s.append(QChar(unit));
    }
    return false;
}

} // namespace

QByteArray osdMessageBlock(const QString &message, const QColor &colour)
{
    QString shown = message.left(kOsdMaxTextLength);
    if (shown.size() == kOsdMaxTextLength && shown.at(shown.size() - 1).isHighSurrogate())
        shown.chop(1);
    QByteArray block(kOsdMessageSize, '\0');
    putText(block, kOsdTextOffset, shown);
    putNumber(block, kOsdDisplayTimeOffset, kOsdDisplayTimeMs);
    const QColor rgb = colour.toRgb();
    putNumber(block, kOsdColourOffset,
              quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16);
    putNumber(block, kOsdFontSizeOffset, kOsdFontSize);
    putText(block, kOsdFontOffset, QLatin1String(kOsdFontFamily));
    return block;
}

bool parseOsdMessageBlock(const QByteArray &block, OsdMessage *message)
{
    if (block.size() != kOsdMessageSize)
        return false;
    OsdMessage m;
    if (!text(block, kOsdTextOffset, kOsdTextBytes, &m.text) ||
        !text(block, kOsdFontOffset, kOsdFontBytes, &m.fontFamily))
        return false;
    if (m.fontFamily.isEmpty())
        m.fontFamily = QLatin1String(kOsdFontFamily);
    // Read as signed: a negative time or size from a hostile sender is clamped, not wrapped.
    m.displayTimeMs = std::clamp(int(number(block, kOsdDisplayTimeOffset)), 1, kMaxDisplayTimeMs);
    m.fontSize = std::clamp(int(number(block, kOsdFontSizeOffset)), 1, kMaxFontSize);
    const quint32 colour = number(block, kOsdColourOffset);
    m.colour = QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    *message = m;
    return true;
}

} // namespace mc
