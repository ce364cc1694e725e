// Escaping and typed-value rules of the INI format, kept identical to what QSettings writes and
// reads so that files pass between the two without a change of meaning. The one deliberate
// difference: "@Variant(...)" values are decoded only for plain value types, because a hostile
// list or map header could make the stream reader reserve gigabytes.
#include "profile/inicodec.h"

#include <QColor>
#include <QDataStream>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace mc::ini {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool simpleEscape(char c, char &mapped)
{
    static constexpr char kCodes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                         {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                         {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    for (const auto &code : kCodes) {
        if (c == code[0]) {
            mapped = code[1];
            return true;
        }
    }
    return false;
}

void chopTrailingSpaces(QString &str, int limit)
{
    int n = str.size() - 1;
    while (n >= limit && (str.at(n) == QLatin1Char(' ') || str.at(n) == QLatin1Char('\t')))
        str.truncate(n--);
}

void appendRun(QString &str, const char *data, int len, bool utf8)
{
    if (utf8)
        str += QString::fromUtf8(data, len);
    else
        str += QLatin1String(data, len);
}

// Types whose stream form cannot ask for unbounded memory before the data is there.
bool isPlainStreamType(quint32 type)
{
    switch (type) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QColor:
    case QMetaType::QPoint:
    case QMetaType::QSize:
    case QMetaType::QRect:
        return true;
    default:
        return false;
    }
}

QStringList splitArgs(const QString &s, int idx)
{
    QStringList result;
    QString item;
    for (++idx; idx < s.size(); ++idx) {
        const QChar c = s.at(idx);
        if (c == QLatin1Char(')')) {
            result.append(item);
        } else if (c == QLatin1Char(' ')) {
            result.append(item);
            item.clear();
        } else {
            item.append(c);
        }
    }
    return result;
}

QVariant streamToVariant(const QString &s, int offset, QDataStream::Version version)
{
    const QByteArray bytes = s.midRef(offset).toLatin1();
    if (bytes.size() < 4)
        return QVariant();
    const quint32 type = (quint32(uchar(bytes[0])) << 24) | (quint32(uchar(bytes[1])) << 16) |
                         (quint32(uchar(bytes[2])) << 8) | quint32(uchar(bytes[3]));
    if (!isPlainStreamType(type))
        return QVariant();
    QDataStream stream(bytes);
    stream.setVersion(version);
    QVariant result;
    stream >> result;
    return result;
}

} // namespace

void escapeKey(const QString &key, QByteArray &out)
{
    out.reserve(out.size() + key.size() * 3 / 2);
    for (const QChar qc : key) {
        uint ch = qc.unicode();
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                   (ch >= '0' && ch <= '9') || ch == '_' || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += kHexDigits[ch / 16];
            out += kHexDigits[ch % 16];
        } else {
            out += "%U";
            char hex[4];
            for (int i = 3; i >= 0; --i) {
                hex[i] = kHexDigits[ch % 16];
                ch >>= 4;
            }
            out.append(hex, 4);
        }
    }
}

void unescapeKey(const QByteArray &bytes, int from, int to, QString &out)
{
    int i = from;
    while (i < to) {
        int ch = uchar(bytes.at(i));
        if (ch == '\\') {
            out += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == to - 1) {
            out += QLatin1Char(char(ch));
            ++i;
            continue;
        }
        int numDigits = 2;
        int firstDigitPos = i + 1;
        if (bytes.at(i + 1) == 'U') {
            ++firstDigitPos;
            numDigits = 4;
        }
        if (firstDigitPos + numDigits > to) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        bool ok = false;
        ch = bytes.mid(firstDigitPos, numDigits).toInt(&ok, 16);
        if (!ok) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        out += QChar(ushort(ch & 0xFFFF));
        i = firstDigitPos + numDigits;
    }
}

void escapeString(const QString &value, QByteArray &out)
{
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    const int startPos = out.size();
    out.reserve(startPos + value.size() * 3 / 2);
    for (const QChar qc : value) {
        const uint ch = qc.unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfDigit &&
            ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F'))) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += char(ch);
            break;
        default:
            if (ch <= 0x1F || ch >= 0x7F) {
                out += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else {
                out += char(ch);
            }
        }
    }
    if (needsQuotes ||
        (startPos < out.size() && (out.at(startPos) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(startPos, '"');
        out += '"';
    }
}

bool unescapeStringList(const QByteArray &bytes, int from, int to, bool utf8, QString &str,
                        QStringList &list)
{
    enum State
    {
        SkipSpaces,
        Normal,
        HexEscape,
        OctEscape,
        End
    };
    const char *b = bytes.constData();
    bool isList = false;
    bool inQuotes = false;
    bool currentQuoted = false;
    uint escapeVal = 0;
    int chopLimit = 0;
    int i = from;
    State state = SkipSpaces;

    while (state != End) {
        switch (state) {
        case SkipSpaces:
            while (i < to && (b[i] == ' ' || b[i] == '\t'))
                ++i;
            state = Normal;
            break;
        case Normal: {
            chopLimit = str.size();
            state = End;
            bool chop = true;
            while (i < to && state == End) {
                const char c = b[i];
                if (c == '\\') {
                    if (++i >= to) {
                        chop = false;
                        break;
                    }
                    const char e = b[i++];
                    char mapped = 0;
                    if (simpleEscape(e, mapped)) {
                        str += QLatin1Char(mapped);
                        state = Normal;
                        break;
                    }
                    if (e == 'x') {
                        escapeVal = 0;
                        if (i >= to) {
                            chop = false;
                            break;
                        }
                        if (isHexDigit(b[i])) {
                            state = HexEscape;
                            break;
                        }
                    } else if (e >= '0' && e <= '7') {
                        escapeVal = uint(e - '0');
                        state = OctEscape;
                        break;
                    } else if ((e == '\n' || e == '\r') && i < to) {
                        const char e2 = b[i];
                        if ((e2 == '\n' || e2 == '\r') && e2 != e)
                            ++i;
                    }
                    chopLimit = str.size();
                } else if (c == '"') {
                    ++i;
                    currentQuoted = true;
                    inQuotes = !inQuotes;
                    if (!inQuotes)
                        state = SkipSpaces;
                } else if (c == ',' && !inQuotes) {
                    if (!currentQuoted)
                        chopTrailingSpaces(str, chopLimit);
                    if (!isList) {
                        isList = true;
                        list.clear();
                    }
                    list.append(str);
                    str.clear();
                    currentQuoted = false;
                    ++i;
                    state = SkipSpaces;
                } else {
                    int j = i + 1;
                    while (j < to && b[j] != '\\' && b[j] != '"' && b[j] != ',')
                        ++j;
                    appendRun(str, b + i, j - i, utf8);
                    i = j;
                }
            }
            if (state == End && chop && !currentQuoted)
                chopTrailingSpaces(str, chopLimit);
            break;
        }
        case HexEscape: {
            if (i >= to) {
                str += QChar(ushort(escapeVal & 0xFFFF));
                state = End;
                break;
            }
            char c = b[i];
            if (c >= 'a')
                c = char(c - ('a' - 'A'));
            if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) {
                escapeVal = (escapeVal << 4) + uint(c <= '9' ? c - '0' : c - 'A' + 10);
                ++i;
            } else {
                str += QChar(ushort(escapeVal & 0xFFFF));
                state = Normal;
            }
            break;
        }
        case OctEscape: {
            if (i >= to) {
                str += QChar(ushort(escapeVal & 0xFFFF));
                state = End;
                break;
            }
            const char c = b[i];
            if (c >= '0' && c <= '7') {
                escapeVal = (escapeVal << 3) + uint(c - '0');
                ++i;
            } else {
                str += QChar(ushort(escapeVal & 0xFFFF));
                state = Normal;
            }
            break;
        }
        case End:
            break;
        }
    }
    if (isList)
        list.append(str);
    return isList;
}

QString variantToString(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray a = value.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(a.constData(), a.size()) +
               QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double: {
        QString result = value.toString();
        if (result.contains(QChar::Null))
            result = QLatin1String("@String(") + result + QLatin1Char(')');
        else if (result.startsWith(QLatin1Char('@')))
            result.prepend(QLatin1Char('@'));
        return result;
    }
    case QMetaType::QRect: {
        const QRect r = value.toRect();
        return QStringLiteral("@Rect(%1 %2 %3 %4)")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height());
    }
    case QMetaType::QSize: {
        const QSize s = value.toSize();
        return QStringLiteral("@Size(%1 %2)").arg(s.width()).arg(s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = value.toPoint();
        return QStringLiteral("@Point(%1 %2)").arg(p.x()).arg(p.y());
    }
    default: {
        const bool dateTime = value.userType() == QMetaType::QDateTime;
        QByteArray a;
        {
            QDataStream s(&a, QIODevice::WriteOnly);
            s.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            s << value;
        }
        return QLatin1String(dateTime ? "@DateTime(" : "@Variant(") +
               QLatin1String(a.constData(), a.size()) + QLatin1Char(')');
    }
    }
}

QVariant stringToVariant(const QString &s)
{
    if (s.startsWith(QLatin1Char('@'))) {
        if (s.endsWith(QLatin1Char(')'))) {
            if (s.startsWith(QLatin1String("@ByteArray("))) {
                return QVariant(s.midRef(11, s.size() - 12).toLatin1());
            } else if (s.startsWith(QLatin1String("@String("))) {
                return QVariant(s.midRef(8, s.size() - 9).toString());
            } else if (s.startsWith(QLatin1String("@Variant("))) {
                return streamToVariant(s, 9, QDataStream::Qt_4_0);
            } else if (s.startsWith(QLatin1String("@DateTime("))) {
                return QVariant(); // never written by this program; not decoded
            } else if (s.startsWith(QLatin1String("@Rect("))) {
                const QStringList args = splitArgs(s, 5);
                if (args.size() == 4)
                    return QVariant(
                        QRect(args[0].toInt(), args[1].toInt(), args[2].toInt(), args[3].toInt()));
            } else if (s.startsWith(QLatin1String("@Size("))) {
                const QStringList args = splitArgs(s, 5);
                if (args.size() == 2)
                    return QVariant(QSize(args[0].toInt(), args[1].toInt()));
            } else if (s.startsWith(QLatin1String("@Point("))) {
                const QStringList args = splitArgs(s, 6);
                if (args.size() == 2)
                    return QVariant(QPoint(args[0].toInt(), args[1].toInt()));
            } else if (s == QLatin1String("@Invalid()")) {
                return QVariant();
            }
        }
        if (s.startsWith(QLatin1String("@@")))
            return QVariant(s.mid(1));
    }
    return QVariant(s);
}

QVariant stringListToVariant(const QStringList &list)
{
    QStringList out = list;
    for (int i = 0; i < out.size(); ++i) {
        const QString &item = out.at(i);
        if (!item.startsWith(QLatin1Char('@')))
            continue;
        if (item.size() >= 2 && item.at(1) == QLatin1Char('@')) {
            out[i].remove(0, 1);
        } else {
            QVariantList variants;
            variants.reserve(list.size());
            for (const QString &s : list)
                variants.append(stringToVariant(s));
            return variants;
        }
    }
    return out;
}

QByteArray encodeValue(const QVariant &value)
{
    QByteArray out;
    const int type = value.userType();
    if (type == QMetaType::QStringList ||
        (type == QMetaType::QVariantList && value.toList().size() != 1)) {
        const QVariantList items = value.toList();
        if (items.isEmpty())
            return QByteArrayLiteral("@Invalid()");
        for (int i = 0; i < items.size(); ++i) {
            if (i != 0)
                out += ", ";
            escapeString(variantToString(items.at(i)), out);
        }
        return out;
    }
    escapeString(variantToString(value), out);
    return out;
}

QVariant decodeValue(const QByteArray &bytes, int from, int to, bool utf8)
{
    QString str;
    QStringList list;
    if (unescapeStringList(bytes, from, to, utf8, str, list))
        return stringListToVariant(list);
    return stringToVariant(str);
}

} // namespace mc::ini
