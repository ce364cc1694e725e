// Reading and completing the hexadecimal colour field.
#include "lighting/hexcolor.h"

namespace mc {

namespace {

constexpr int kShortForm = 3;
constexpr int kFullForm = 6;

bool allHex(const QString &text)
{
    for (const QChar c : text) {
        if (!c.isDigit() && !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            return false;
    }
    return true;
}

} // namespace

QString completeHexText(const QString &text)
{
    if (text.isEmpty() || text.size() > kFullForm || !allHex(text))
        return QStringLiteral("000000");
    if (text.size() == kShortForm) {
        QString doubled;
        for (const QChar c : text)
            doubled += QString(2, c);
        return doubled;
    }
    return QString(kFullForm - text.size(), QLatin1Char('0')) + text;
}

QColor colourFromHexText(const QString &text)
{
    const uint rgb = completeHexText(text).toUInt(nullptr, 16);
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF), 255);
}

QString hexTextOf(const QColor &colour)
{
    return QString::asprintf("%02x%02x%02x", colour.red() & 0xFF, colour.green() & 0xFF,
                             colour.blue() & 0xFF);
}

} // namespace mc
