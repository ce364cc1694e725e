// Line and escaping rules of the INI format, kept identical to what QSettings writes
// and reads so that files pass between the two without a change of meaning.
#include "profile/inicodec.h"

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

enum CharTrait : uchar
{
    kSpace = 1,
    kSpecial = 2
};

struct CharTraits
{
    uchar table[256] = {};
    constexpr CharTraits()
    {
        table[uchar('\t')] = kSpace;
        table[uchar(' ')] = kSpace;
        table[uchar('\n')] = kSpace | kSpecial;
        table[uchar('\r')] = kSpace | kSpecial;
        table[uchar('"')] = kSpecial;
        table[uchar(';')] = kSpecial;
        table[uchar('=')] = kSpecial;
        table[uchar('\\')] = kSpecial;
    }
};
constexpr CharTraits kTraits;

} // namespace

// One logical line: leading blanks and comment lines skipped, continued over backslash-newline
// and over newlines inside quotes, ended by a newline or an unquoted ";" (a trailing comment).
bool readLine(const QByteArray &data, int &pos, int &lineStart, int &lineLen, int &equalsPos)
{
    const int size = data.size();
    const char *d = data.constData();
    bool inQuotes = false;
    equalsPos = -1;
    lineStart = pos;
    while (lineStart < size && (kTraits.table[uchar(d[lineStart])] & kSpace))
        ++lineStart;

    int i = lineStart;
    while (i < size) {
        char ch = d[i];
        while (!(kTraits.table[uchar(ch)] & kSpecial)) {
            if (++i == size)
                goto done;
            ch = d[i];
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && equalsPos == -1)
                equalsPos = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char next = d[i++];
                if (i < size) {
                    const char after = d[i];
                    if ((next == '\n' && after == '\r') || (next == '\r' && after == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == lineStart + 1) {
                while (i < size && d[i] != '\n' && d[i] != '\r')
                    ++i;
                while (i < size && (kTraits.table[uchar(d[i])] & kSpace))
                    ++i;
                lineStart = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    pos = i;
    lineLen = i - lineStart;
    return lineLen > 0;
}

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

// Digits with an optional minus sign, short enough to fit an int: the form every number of
// ours has. Anything else goes through the full conversion.
bool parsePlainInt(const char *p, int len, qint64 &out)
{
    int i = 0;
    const bool negative = len > 0 && p[0] == '-';
    if (negative)
        i = 1;
    if (len - i < 1 || len - i > 9)
        return false;
    qint64 v = 0;
    for (; i < len; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v = v * 10 + (p[i] - '0');
    }
    out = negative ? -v : v;
    return true;
}

} // namespace mc::ini
