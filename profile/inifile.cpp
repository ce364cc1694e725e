// INI reader and writer with the settings library's line and section rules.
#include "profile/inifile.h"
#include "profile/log.h"

#include "profile/filesave.h"
#include "profile/inicodec.h"

#include <QFileInfo>

#include <cstring>

namespace mc {

namespace {

bool isPlainKey(const char *p, int len)
{
    for (int i = 0; i < len; ++i) {
        if (p[i] == '%' || p[i] == '\\')
            return false;
    }
    return true;
}

// A value taken over from a file is copied as it was, unless it holds quotes or line breaks or
// ends in a backslash: followed by other lines than in its own file it could then swallow them,
// so it is written again from its decoded text.
void appendValue(const QByteArray &buf, int offset, int length, bool utf8, QByteArray &out)
{
    const char *p = buf.constData() + offset;
    bool plain = length == 0 || p[length - 1] != '\\';
    for (int i = 0; plain && i < length; ++i)
        plain = p[i] != '"' && p[i] != '\n' && p[i] != '\r';
    if (plain) {
        out.append(p, length);
        return;
    }
    QString str;
    QStringList list;
    if (!ini::unescapeStringList(buf, offset, offset + length, utf8, str, list)) {
        ini::escapeString(str, out);
        return;
    }
    for (int i = 0; i < list.size(); ++i) {
        if (i != 0)
            out += ", ";
        ini::escapeString(list.at(i), out);
    }
}

// True when the value bytes leave a quote open or end in a backslash that escapes nothing: the
// line was ended by the end of its file, and followed by another line it would take that in.
bool runsIntoNextLine(const char *p, int length)
{
    bool inQuotes = false;
    for (int i = 0; i < length; ++i) {
        if (p[i] == '\\') {
            // A backslash at the end, or one before a line break there (possible only at the
            // end of a file), would take the line break that follows the copy, and so the next
            // line: a carriage return escaped that way takes a newline after it as well.
            if (++i == length || (i == length - 1 && (p[i] == '\r' || p[i] == '\n')))
                return true;
        } else if (p[i] == '"') {
            inQuotes = !inQuotes;
        }
    }
    return inQuotes;
}

void appendSectionHeader(const QString &section, QByteArray &out)
{
    if (section.isEmpty()) {
        out += "[General]\n";
        return;
    }
    QByteArray name;
    ini::escapeKey(section, name);
    // "[General]" means "no group"; a real group of that name is marked with "%".
    out += qstricmp(name.constData(), "general") == 0 ? "[%" : "[";
    out += name;
    out += "]\n";
}

} // namespace

bool IniFile::readFileBytes(const QString &path, QByteArray &out)
{
    QString reason;
    if (readRegularFile(path, kMaxFileSize, out, &reason))
        return true;
    if (QFileInfo::exists(path))
        qCDebug(lcProfile, "Settings file %s is ignored: %s.", qPrintable(path),
                qPrintable(reason));
    return false;
}

SaveResult IniFile::writeFileBytes(const QString &path, const QByteArray &bytes)
{
    return saveFileAtomically(path, bytes);
}

bool IniFile::load(const QString &path)
{
    QByteArray data;
    const bool ok = readFileBytes(path, data);
    parse(data);
    return ok;
}

void IniFile::parse(const QByteArray &data)
{
    m_source = data;
    m_extra.clear();
    m_entries.clear();
    m_sections.clear();
    m_index.clear();
    m_sections.append(QString());
    m_entries.reserve(data.size() / 24);
    m_index.reserve(data.size() / 24);

    QHash<QString, int> sectionIds;
    sectionIds.insert(QString(), 0);
    int section = 0;
    const char *d = m_source.constData();
    int lineStart = 0;
    int lineLen = 0;
    int equalsPos = -1;
    const auto addKeyLine = [&](const QByteArray &lines) {
        if (equalsPos == -1)
            return;
        int keyEnd = equalsPos;
        while (keyEnd > lineStart && (d[keyEnd - 1] == ' ' || d[keyEnd - 1] == '\t'))
            --keyEnd;
        QString key = m_sections.at(section);
        if (isPlainKey(d + lineStart, keyEnd - lineStart))
            key += QLatin1String(d + lineStart, keyEnd - lineStart);
        else
            ini::unescapeKey(lines, lineStart, keyEnd, key);
        addParsed(std::move(key), section, lineStart, equalsPos + 1,
                  lineStart + lineLen - equalsPos - 1);
    };

    int pos = 0;
    m_utf8 = data.startsWith("\xEF\xBB\xBF");
    if (m_utf8) {
        // QSettings looks for group headers after the byte order mark, but reads the keys before
        // the first header from the start of the file: a key on the first line keeps the mark's
        // three bytes (as Latin-1 characters in the key), and so it does here.
        pos = 3;
        int firstHeader = data.size();
        for (int p = pos; ini::readLine(m_source, p, lineStart, lineLen, equalsPos);) {
            if (d[lineStart] == '[') {
                firstHeader = lineStart;
                break;
            }
        }
        const QByteArray ungrouped = QByteArray::fromRawData(d, firstHeader);
        for (int p = 0; ini::readLine(ungrouped, p, lineStart, lineLen, equalsPos);)
            addKeyLine(ungrouped);
        pos = firstHeader;
    }

    while (ini::readLine(m_source, pos, lineStart, lineLen, equalsPos)) {
        if (d[lineStart] == '[') {
            // Only this line is searched for the "]": a file of unclosed headers must not cost
            // a pass over the rest of the file per line.
            const void *close = memchr(d + lineStart, ']', size_t(lineLen));
            const int end = close ? int(static_cast<const char *>(close) - d) : lineStart + lineLen;
            const QByteArray name = m_source.mid(lineStart + 1, end - lineStart - 1).trimmed();
            QString current;
            if (name.compare("general", Qt::CaseInsensitive) != 0) {
                if (name.compare("%general", Qt::CaseInsensitive) == 0)
                    current = QLatin1String(name.constData() + 1);
                else
                    ini::unescapeKey(name, 0, name.size(), current);
                current += QLatin1Char('/');
            }
            auto it = sectionIds.find(current);
            if (it == sectionIds.end()) {
                it = sectionIds.insert(current, m_sections.size());
                m_sections.append(current);
            }
            section = it.value();
            continue;
        }
        addKeyLine(m_source);
    }
}

void IniFile::addParsed(QString &&key, int section, int lineStart, int offset, int length)
{
    auto it = m_index.find(key);
    if (it == m_index.end()) {
        Entry e;
        e.section = section;
        e.lineStart = lineStart;
        e.offset = offset;
        e.length = length;
        m_index.insert(key, m_entries.size());
        e.key = std::move(key);
        m_entries.append(std::move(e));
        return;
    }
    // The settings library reads the groups of a file in the order of their names, so of two
    // lines giving the same key the one in the greater group wins, in one group the later one.
    Entry &e = m_entries[it.value()];
    if (m_sections.at(section) >= m_sections.at(e.section)) {
        e.section = section;
        e.lineStart = lineStart;
        e.offset = offset;
        e.length = length;
        e.extra = false;
    }
}

const char *IniFile::valueData(const Entry &e) const
{
    return (e.extra ? m_extra.constData() : m_source.constData()) + e.offset;
}

// The settings library's form of a requested key: no empty parts, no slash at either end.
// Keys stored in another form cannot be asked for, there as here.
static QString normalizedKey(const QString &key)
{
    const QList<QStringView> parts = QStringView(key).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString out;
    out.reserve(key.size());
    for (const QStringView &part : parts) {
        if (!out.isEmpty())
            out += QLatin1Char('/');
        out += part;
    }
    return out;
}

const IniFile::Entry *IniFile::find(const QString &key) const
{
    if (key.isEmpty())
        return nullptr;
    // One pass over the key: does it need the settings library's normalisation?
    bool odd = false;
    bool lastWasSlash = true; // a slash at the start counts as following one
    for (const QChar c : key) {
        const bool slash = c == QLatin1Char('/');
        odd = odd || (slash && lastWasSlash);
        lastWasSlash = slash;
    }
    odd = odd || lastWasSlash;
    const auto it = m_index.constFind(odd ? normalizedKey(key) : key);
    return it == m_index.constEnd() ? nullptr : &m_entries.at(it.value());
}

QStringList IniFile::keys() const
{
    QStringList out;
    out.reserve(m_index.size());
    for (const Entry &e : m_entries) {
        if (!e.removed)
            out.append(e.key);
    }
    return out;
}

QVariant IniFile::value(const QString &key, const QVariant &def) const
{
    const Entry *e = find(key);
    if (!e)
        return def;
    const QByteArray &buf = e->extra ? m_extra : m_source;
    return ini::decodeValue(buf, e->offset, e->offset + e->length, m_utf8 && !e->extra);
}

int IniFile::intValue(const QString &key, int def) const
{
    const Entry *e = find(key);
    if (!e)
        return def;
    qint64 v = 0;
    if (ini::parsePlainInt(valueData(*e), e->length, v))
        return int(v);
    return value(key).toInt();
}

uint IniFile::uintValue(const QString &key, uint def) const
{
    const Entry *e = find(key);
    if (!e)
        return def;
    qint64 v = 0;
    if (ini::parsePlainInt(valueData(*e), e->length, v) && v >= 0)
        return uint(v);
    return value(key).toUInt();
}

QString IniFile::stringValue(const QString &key, const QString &def) const
{
    const Entry *e = find(key);
    if (!e)
        return def;
    return value(key).toString();
}

QColor IniFile::colorValue(const QString &key) const
{
    const QVariant v = value(key);
    return v.canConvert<QColor>() ? v.value<QColor>() : QColor();
}

void IniFile::setEncoded(const QString &key, const QByteArray &encoded)
{
    auto it = m_index.find(key);
    if (it == m_index.end()) {
        it = m_index.insert(key, m_entries.size());
        Entry e;
        e.key = key;
        m_entries.append(e);
    }
    Entry &e = m_entries[it.value()];
    e.extra = true;
    e.removed = false;
    e.offset = m_extra.size();
    e.length = encoded.size();
    m_extra += encoded;
}

void IniFile::setValue(const QString &key, const QVariant &value)
{
    setEncoded(key, ini::encodeValue(value));
}

void IniFile::setInt(const QString &key, qlonglong value)
{
    setEncoded(key, QByteArray::number(value));
}

void IniFile::setString(const QString &key, const QString &value)
{
    setEncoded(key, ini::encodeValue(QVariant(value)));
}

void IniFile::remove(const QString &key)
{
    const auto it = m_index.find(key);
    if (it == m_index.end())
        return;
    m_entries[it.value()].removed = true;
    m_index.erase(it);
}

QByteArray IniFile::toBytes() const
{
    // Group the entries by their first key part, keeping the order of first appearance.
    QVector<QString> order;
    QHash<QString, QVector<int>> groups;
    for (int i = 0; i < m_entries.size(); ++i) {
        const Entry &e = m_entries.at(i);
        if (e.removed)
            continue;
        const int slash = e.key.indexOf(QLatin1Char('/'));
        const QString section = slash > 0 ? e.key.left(slash) : QString();
        auto it = groups.find(section);
        if (it == groups.end()) {
            order.append(section);
            it = groups.insert(section, {});
        }
        it->append(i);
    }

    QByteArray out;
    out.reserve(m_source.size() + m_extra.size() + m_entries.size() * 16);
    if (m_utf8)
        out += "\xEF\xBB\xBF";
    for (const QString &section : qAsConst(order)) {
        if (!out.isEmpty() && !(m_utf8 && out.size() == 3))
            out += '\n';
        appendSectionHeader(section, out);
        const int skip = section.isEmpty() ? 0 : section.size() + 1;
        for (const int i : groups.value(section)) {
            const Entry &e = m_entries.at(i);
            ini::escapeKey(e.key.mid(skip), out);
            out += '=';
            if (e.extra)
                out.append(valueData(e), e.length);
            else
                appendValue(m_source, e.offset, e.length, m_utf8, out);
            out += '\n';
        }
    }
    return out;
}

QByteArray IniFile::rawLines(const std::function<bool(const QString &)> &keep) const
{
    QVector<QVector<int>> bySection(m_sections.size());
    bool any = false;
    for (int i = 0; i < m_entries.size(); ++i) {
        const Entry &e = m_entries.at(i);
        if (!e.removed && !e.extra && keep(e.key)) {
            bySection[e.section].append(i);
            any = true;
        }
    }
    QByteArray out;
    if (!any)
        return out;
    for (int section = 0; section < bySection.size(); ++section) {
        const QVector<int> &lines = bySection.at(section);
        if (lines.isEmpty())
            continue;
        if (!out.isEmpty())
            out += '\n';
        QString name = m_sections.at(section);
        name.chop(1); // the trailing "/"
        // A header without a name ("[]", or a "[" cut short by a comment) is a group of its own,
        // whose keys nobody can ask for: written as "[General]" they would become readable.
        if (section != 0 && name.isEmpty())
            out += "[]\n";
        else
            appendSectionHeader(name, out);
        for (const int i : lines) {
            const Entry &e = m_entries.at(i);
            const char *value = m_source.constData() + e.offset;
            if (runsIntoNextLine(value, e.length)) {
                out.append(m_source.constData() + e.lineStart, e.offset - e.lineStart);
                appendValue(m_source, e.offset, e.length, m_utf8, out);
            } else {
                out.append(m_source.constData() + e.lineStart, e.offset + e.length - e.lineStart);
            }
            out += '\n';
        }
    }
    return out;
}

SaveResult IniFile::save(const QString &path) const
{
    return writeFileBytes(path, toBytes());
}

} // namespace mc
