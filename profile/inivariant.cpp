// Typed values of the INI format: how QSettings turns values into text ("@Variant(...)",
// "@@", "@Invalid()", string lists) and back. The one deliberate difference: "@Variant(...)"
// values are decoded only for plain value types, because a hostile list or map header could make
// the stream reader reserve gigabytes before noticing the data is not there.
#include "profile/inicodec.h"

#include <QColor>
#include <QDataStream>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace mc::ini {

namespace {

// Type ids as "@Variant(...)" values carry them: those of QDataStream's Qt 4.0 format, which
// QSettings writes and reads with every Qt. They are not the running Qt's QMetaType ids (Qt 6
// numbers QColor 0x1003, the stream 67), so comparing with those would lose every stored colour
// under Qt 6; Qt's stream reader maps the stream's ids to its own.
enum StreamType : quint32 {
    kBool = 1,
    kInt = 2,
    kUInt = 3,
    kLongLong = 4,
    kULongLong = 5,
    kDouble = 6,
    kString = 10,
    kByteArray = 12,
    kRect = 19,
    kSize = 21,
    kPoint = 25,
    kColor = 67,
};

// Types whose stream form cannot ask for unbounded memory before the data is there.
bool isPlainStreamType(quint32 type)
{
    switch (type) {
    case kBool:
    case kInt:
    case kUInt:
    case kLongLong:
    case kULongLong:
    case kDouble:
    case kString:
    case kByteArray:
    case kColor:
    case kPoint:
    case kSize:
    case kRect:
        return true;
    default:
        return false;
    }
}

// A decoded value or list item that QSettings can turn into a value soundly.
bool safeTypedItem(const QString &item)
{
    if (!item.startsWith(QLatin1Char('@')) || !item.endsWith(QLatin1Char(')')))
        return true;
    if (item.startsWith(QLatin1String("@DateTime(")))
        return false;
    if (!item.startsWith(QLatin1String("@Variant(")))
        return true;
    const QByteArray bytes = QStringView(item).mid(9).toLatin1();
    if (bytes.size() < 4)
        return true; // no type: no value, there as here
    const quint32 type = (quint32(uchar(bytes[0])) << 24) | (quint32(uchar(bytes[1])) << 16) |
                         (quint32(uchar(bytes[2])) << 8) | quint32(uchar(bytes[3]));
    if (!isPlainStreamType(type))
        return false;
    // The colour model follows the type directly in the stream version QSettings uses.
    constexpr int kSpecByte = 4;
    return type != kColor ||
           (bytes.size() > kSpecByte && uchar(bytes[kSpecByte]) <= QColor::ExtendedRgb);
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
    const QByteArray bytes = QStringView(s).mid(offset).toLatin1();
    if (bytes.size() < 4)
        return QVariant();
    const quint32 type = (quint32(uchar(bytes[0])) << 24) | (quint32(uchar(bytes[1])) << 16) |
                         (quint32(uchar(bytes[2])) << 8) | quint32(uchar(bytes[3]));
    if (!isPlainStreamType(type))
        return QVariant();
    // A colour's stream form starts (after the null flag, which newer stream versions add)
    // with its colour model, which Qt takes unchecked; a model it does not know makes every
    // later copy of the colour undefined.
    const int specByte = version >= QDataStream::Qt_4_2 ? 5 : 4;
    constexpr uchar kLastColorSpec = QColor::ExtendedRgb;
    // (A value cut short reads its closing parenthesis as the model, as Qt's own reader does.)
    if (type == kColor && bytes.size() > specByte &&
        uchar(bytes[specByte]) > kLastColorSpec)
        return QVariant();
    QDataStream stream(bytes);
    stream.setVersion(version);
    QVariant result;
    stream >> result;
    return result;
}

} // namespace

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
                return QVariant(QStringView(s).mid(11, s.size() - 12).toLatin1());
            } else if (s.startsWith(QLatin1String("@String("))) {
                return QVariant(s.mid(8, s.size() - 9));
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

bool safeForQSettings(const QByteArray &bytes)
{
    const bool utf8 = bytes.startsWith("\xEF\xBB\xBF");
    int pos = utf8 ? 3 : 0;
    int lineStart = 0;
    int lineLen = 0;
    int equalsPos = -1;
    while (readLine(bytes, pos, lineStart, lineLen, equalsPos)) {
        if (bytes.at(lineStart) == '[' || equalsPos < 0)
            continue; // a group header or a line without a value
        QString str;
        QStringList list;
        if (!unescapeStringList(bytes, equalsPos + 1, lineStart + lineLen, utf8, str, list))
            list = QStringList{str};
        for (const QString &item : qAsConst(list)) {
            if (!safeTypedItem(item))
                return false;
        }
    }
    return true;
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
