// Profile file reading and writing. Writing serialises the record straight into INI text with
// precomputed keys and compares it with the bytes on disk, so saving five slots of which one
// changed writes one file.
#include "profile/profilefile.h"

#include "profile/filesave.h"
#include "profile/inicodec.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/profilekeys.h"

#include <QFileInfo>

#include <type_traits>
#include <vector>

#include <cctype>
#include <cstring>

namespace mc {

namespace {

constexpr int kMaxStage = kStageCount - 1;
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr int kMaxLedMode = kLedModeCount - 1;

void appendInt(QByteArray &out, qint64 v)
{
    char buf[24];
    char *end = buf + sizeof buf;
    char *p = end;
    const bool negative = v < 0;
    quint64 u = negative ? quint64(0) - quint64(v) : quint64(v);
    do {
        *--p = char('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative)
        *--p = '-';
    out.append(p, int(end - p));
}

// Strings made only of characters that need no escape are copied; the rest take the full rules.
void appendString(QByteArray &out, const QString &s)
{
    bool plain = !s.startsWith(QLatin1Char('@')) && !s.startsWith(QLatin1Char(' ')) &&
                 !s.endsWith(QLatin1Char(' '));
    for (int i = 0; plain && i < s.size(); ++i) {
        const ushort c = s.at(i).unicode();
        plain = c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != ';' && c != ',' && c != '=';
    }
    if (plain)
        out += s.toLatin1();
    else
        out += ini::encodeValue(QVariant(s));
}

struct ValueWriter
{
    QByteArray &out;
    void operator()(uint8_t v) const { appendInt(out, v); }
    void operator()(int32_t v) const { appendInt(out, v); }
    void operator()(uint32_t v) const { appendInt(out, v); }
    void operator()(const QString &v) const { appendString(out, v); }
    void operator()(const QColor &v) const { out += ini::encodeValue(QVariant::fromValue(v)); }
};

struct ValueReader
{
    const IniFile &ini;
    void operator()(const QString &key, int missing, uint8_t &v) const
    {
        v = uint8_t(ini.intValue(key, missing)); // low eight bits, as the files always meant
    }
    void operator()(const QString &key, int, int32_t &v) const { v = ini.intValue(key, 0); }
    void operator()(const QString &key, int, uint32_t &v) const { v = ini.uintValue(key, 0); }
    void operator()(const QString &key, int, QString &v) const { v = ini.stringValue(key); }
    void operator()(const QString &key, int, QColor &v) const { v = ini.colorValue(key); }
};

bool isProfileKey(const QString &key)
{
    static const QString prefix = QLatin1String(profilekeys::kGroup) + QLatin1Char('/');
    return key.startsWith(prefix) &&
           profilekeys::keyTable().indexOf(QStringView(key).mid(prefix.size())) >= 0;
}

QByteArray profileText(const ProfileData &record)
{
    QByteArray out;
    out.reserve(320 * 1024);
    appendProfileGroup(out, record, QLatin1String(profilekeys::kGroup), true);
    return out;
}

// True when the text from pos on is empty or starts (after blank space) with a group header, so
// that it can be read apart from what precedes it.
bool startsWithGroup(const QByteArray &text, int pos)
{
    for (; pos < text.size(); ++pos) {
        const char c = text.at(pos);
        if (c == '[')
            return true;
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            return false;
    }
    return true;
}

// True when the text after our own part of a file holds only groups with keys not ours.
bool tailIsForeign(const QByteArray &tail, const std::function<bool(const QString &)> &isOurs)
{
    if (!startsWithGroup(tail, 0))
        return false;
    IniFile rest;
    rest.parse(tail);
    const QStringList keys = rest.keys();
    for (const QString &key : keys) {
        if (isOurs(key))
            return false;
    }
    return true;
}

// The lines of the keys of the file that are not ours, copied as they are: values this program
// does not own are not its to decode (empty when there are none).
QByteArray foreignText(const QByteArray &text, const std::function<bool(const QString &)> &isOurs)
{
    IniFile previous;
    previous.parse(text);
    return previous.rawLines([&](const QString &key) { return !key.isEmpty() && !isOurs(key); });
}

// True when the value bytes [from, to) of one line read the same line by line as through the
// full reader: no carriage return, no unquoted ";" (a comment), no quote left open and no
// backslash at the end, each of which makes the full reader end or continue the value elsewhere.
bool isOneLineValue(const char *d, int from, int to)
{
    bool inQuotes = false;
    for (int pos = from; pos < to; ++pos) {
        const char c = d[pos];
        if (c == '\r' || (c == ';' && !inQuotes))
            return false;
        if (c == '"')
            inQuotes = !inQuotes;
        if (c == '\\' && (++pos >= to || d[pos] == '\r'))
            return false;
    }
    return !inQuotes;
}

// The length of the part of a profile file that is laid out exactly as we write it: the PROFILE
// header and every key in order, one simple line each. -1 when the file is laid out otherwise.
// Saves reading the whole file again just to learn that it holds nothing but our keys.
int profileLayoutLength(const QByteArray &text)
{
    static const QByteArray header = QByteArray("[") + profilekeys::kGroup + "]\n";
    if (!text.startsWith(header))
        return -1;
    const char *d = text.constData();
    const int size = text.size();
    int pos = header.size();
    const auto &table = profilekeys::keyTable();
    for (int ord = 0; ord < table.size(); ++ord) {
        const QLatin1String lineKey = table.lineKey(ord);
        const int keyEnd = pos + lineKey.size();
        if (keyEnd >= size || d[keyEnd] != '=' ||
            memcmp(d + pos, lineKey.data(), size_t(lineKey.size())) != 0)
            return -1;
        // The value runs to the end of the line; anything that could carry it further (or end
        // it early) sends the file to the full reader.
        const void *eol = memchr(d + keyEnd + 1, '\n', size_t(size - keyEnd - 1));
        if (!eol)
            return -1;
        pos = int(static_cast<const char *>(eol) - d);
        if (!isOneLineValue(d, keyEnd + 1, pos))
            return -1;
        ++pos;
    }
    return pos;
}

// Reads a file laid out exactly as WriteProfileFile writes it, field by field in order, without
// building a key index: the common case, and the one every start pays five times. False when
// the layout differs in any way; the general reader then takes the file, so the result is the
// same either way.
bool readOwnLayout(const QByteArray &text, ProfileData &out)
{
    static const QByteArray header = QByteArray("[") + profilekeys::kGroup + "]\n";
    if (!text.startsWith(header))
        return false;
    const char *d = text.constData();
    const int size = text.size();
    int pos = header.size();
    const auto &table = profilekeys::keyTable();
    bool ok = true;
    ProfileData r;
    profilekeys::visitProfileFields(
        r, true, [&](int ord, const profilekeys::FieldKey &, auto &field) {
            if (!ok)
                return;
            const QLatin1String lineKey = table.lineKey(ord);
            const int from = pos + lineKey.size() + 1;
            if (from > size || d[from - 1] != '=' ||
                memcmp(d + pos, lineKey.data(), size_t(lineKey.size())) != 0) {
                ok = false;
                return;
            }
            const void *eol = memchr(d + from, '\n', size_t(size - from));
            const int to = eol ? int(static_cast<const char *>(eol) - d) : size;
            pos = to + 1;
            using Field = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, QString> || std::is_same_v<Field, QColor>) {
                // Blank space or a carriage return at either end would be trimmed by the full
                // reader, and a comment, an open quote or a trailing backslash would end or carry
                // the value elsewhere; leave such lines to it.
                if ((to > from &&
                     (std::isspace(uchar(d[from])) || std::isspace(uchar(d[to - 1])))) ||
                    !isOneLineValue(d, from, to)) {
                    ok = false;
                    return;
                }
                const QVariant v = ini::decodeValue(text, from, to, false);
                if constexpr (std::is_same_v<Field, QString>)
                    field = v.toString();
                else
                    field = v.canConvert<QColor>() ? v.value<QColor>() : QColor();
            } else {
                qint64 v = 0;
                if (!ini::parsePlainInt(d + from, to - from, v) ||
                    (std::is_same_v<Field, uint32_t> && v < 0)) {
                    ok = false;
                    return;
                }
                field = Field(v); // byte fields keep the low eight bits, as the files always meant
            }
        });
    if (!ok || (pos < size && !tailIsForeign(text.mid(pos), isProfileKey)))
        return false;
    r.spare = out.spare; // not stored in files
    out = r;
    return true;
}

} // namespace

void appendProfileGroup(QByteArray &out, const ProfileData &record, const QString &group,
                        bool withSleepKeys)
{
    const auto &table = profilekeys::keyTable();
    out += '[';
    ini::escapeKey(group, out);
    out += "]\n";
    const ValueWriter write{out};
    profilekeys::visitProfileFields(record, withSleepKeys,
                                    [&](int ord, const profilekeys::FieldKey &, const auto &field) {
                                        const QLatin1String key = table.lineKey(ord);
                                        out.append(key.data(), key.size());
                                        out += '=';
                                        write(field);
                                        out += '\n';
                                    });
}

void readProfileGroup(const IniFile &ini, ProfileData &record, const QString &group,
                      bool withSleepKeys, bool keepMissing)
{
    if (keepMissing && ini.size() == 0)
        return;
    const auto &table = profilekeys::keyTable();
    // One key buffer, its group part kept and the name put after it field by field: no string
    // made per field.
    QString key = group + QLatin1Char('/');
    const int prefixSize = key.size();
    key.reserve(prefixSize + 64);
    const ValueReader read{ini};
    if (ini.size() < table.size()) {
        // Fewer keys than fields (a missing, foreign or hand-made file): every field takes its
        // missing value (a record of them is made once), then the fields of the keys the file
        // holds are read, without 8,000 lookups that find nothing.
        const ProfileData &missing = missingProfileValues();
        std::vector<char> present(size_t(table.size()), 0);
        bool any = false;
        const QStringList keys = ini.keys();
        for (const QString &k : keys) {
            if (!k.startsWith(key))
                continue;
            const int ord = table.indexOf(QStringView(k).mid(prefixSize));
            if (ord >= 0)
                present[size_t(ord)] = any = true;
        }
        // What the walk leaves alone keeps its value; so does every field the file lacks when
        // the caller keeps what is missing.
        if (!keepMissing) {
            const uint8_t spare = record.spare;
            const uint8_t moveOff = record.LedMoveOFF;
            const uint8_t sleepTime = record.LedSleepTime;
            record = missing;
            record.spare = spare;
            if (!withSleepKeys) {
                record.LedMoveOFF = moveOff;
                record.LedSleepTime = sleepTime;
            }
        }
        if (!any)
            return;
        profilekeys::visitProfileFields(
            record, withSleepKeys, [&](int ord, const profilekeys::FieldKey &field, auto &value) {
                if (!present[size_t(ord)])
                    return;
                key.resize(prefixSize);
                key += table.name(ord);
                read(key, field.missing, value);
            });
        return;
    }
    profilekeys::visitProfileFields(record, withSleepKeys,
                                    [&](int ord, const profilekeys::FieldKey &field, auto &value) {
                                        key.resize(prefixSize);
                                        key += table.name(ord);
                                        if (!keepMissing || ini.contains(key))
                                            read(key, field.missing, value);
                                    });
}

void clampProfile(ProfileData &record)
{
    const uint8_t rate = record.pollrate;
    if (rate != 1 && rate != 2 && rate != 4 && rate != 8)
        record.pollrate = 1;
    if (record.dpi > kMaxStage)
        record.dpi = kMaxStage;
    if (record.LedMode > kMaxLedMode)
        record.LedMode = uint8_t(defaultLedMode());
    for (ButtonInfo &button : record.buttons) {
        if (!button.macroname.isEmpty() && !isSafeFileName(button.macroname))
            button.macroname.clear();
    }
}

QByteArray mergedText(const QByteArray &old, bool exists, const QByteArray &ours,
                      const std::function<bool(const QString &)> &isOurs,
                      const std::function<int(const QByteArray &)> &ourLayoutLength)
{
    if (exists && old.startsWith(ours) &&
        (old.size() == ours.size() || tailIsForeign(old.mid(ours.size()), isOurs)))
        return old; // nothing to change
    QByteArray bytes = ours;
    if (exists) {
        // Keys this program does not own (the export mark, keys of other versions) stay.
        const int ourPart = ourLayoutLength ? ourLayoutLength(old) : -1;
        const QByteArray foreign = ourPart >= 0 && startsWithGroup(old, ourPart)
                                       ? foreignText(old.mid(ourPart), isOurs)
                                       : foreignText(old, isOurs);
        if (!foreign.isEmpty()) {
            bytes += '\n' + foreign;
            // Without its byte order mark the file would read those values as Latin-1; ours
            // are plain ASCII and read the same either way.
            if (old.startsWith(kUtf8Bom))
                bytes.prepend(kUtf8Bom);
        }
    }
    return bytes;
}

bool mergedFileBytes(const QString &path, const QByteArray &ours,
                     const std::function<bool(const QString &)> &isOurs, QByteArray &bytes,
                     const std::function<int(const QByteArray &)> &ourLayoutLength)
{
    QByteArray old;
    const bool exists = IniFile::readFileBytes(path, old);
    if (!exists && QFileInfo(path).exists())
        return false;
    bytes = mergedText(old, exists, ours, isOurs, ourLayoutLength);
    return true;
}

void addMerged(SaveBatch &batch, const QString &path, const QByteArray &ours,
               const std::function<bool(const QString &)> &isOurs,
               const std::function<int(const QByteArray &)> &ourLayoutLength)
{
    QByteArray bytes;
    // A file that could not be read goes to the batch as it is: the batch refuses to replace it
    // and says why.
    if (!mergedFileBytes(path, ours, isOurs, bytes, ourLayoutLength))
        bytes = ours;
    batch.add(path, bytes);
}

SaveResult writeMerged(const QString &path, const QByteArray &ours,
                       const std::function<bool(const QString &)> &isOurs,
                       const std::function<int(const QByteArray &)> &ourLayoutLength)
{
    SaveBatch batch;
    addMerged(batch, path, ours, isOurs, ourLayoutLength);
    return batch.commit();
}

SaveResult WriteProfileFile(const ProfileData &record, const QString &path)
{
    return writeMerged(path, profileText(record), isProfileKey, profileLayoutLength);
}

void addProfileFile(SaveBatch &batch, const ProfileData &record, const QString &path)
{
    addMerged(batch, path, profileText(record), isProfileKey, profileLayoutLength);
}

bool ReadProfileFile(ProfileData &record, const QString &path)
{
    QByteArray text;
    const bool read = IniFile::readFileBytes(path, text);
    if (!read || !readOwnLayout(text, record)) {
        IniFile ini;
        ini.parse(text);
        readProfileGroup(ini, record, QLatin1String(profilekeys::kGroup), true);
    }
    clampProfile(record);
    return read || !QFileInfo::exists(path);
}

QString slotFilePath(const QString &name)
{
    return slotFilePath(name, profileDir());
}

QString slotFilePath(const QString &name, const QString &profileFolder)
{
    if (!isSafeFileName(name))
        return QString();
    const QString current = profileFolder + QLatin1Char('/') + name + QStringLiteral(".prof");
    if (QFileInfo::exists(current))
        return current;
    const QString legacy = legacyProfileDir() + QLatin1Char('/') + name + QStringLiteral(".prof");
    return QFileInfo::exists(legacy) ? legacy : current;
}

SaveResult SaveSlotFile(const ProfileData &record, const QString &name)
{
    if (!isSafeFileName(name))
        return SaveResult::unsafeName(name);
    return WriteProfileFile(record, profileFile(name));
}

bool LoadSlotFile(ProfileData &record, const QString &name)
{
    return LoadSlotFile(record, name, profileDir());
}

bool LoadSlotFile(ProfileData &record, const QString &name, const QString &profileFolder)
{
    const QString path = slotFilePath(name, profileFolder);
    if (path.isEmpty())
        return false;
    if (!QFileInfo::exists(path)) {
        // A new product or a new data folder: the slot is a new profile, as the mouse's own.
        BuildDefaultProfile(record);
        return true;
    }
    return ReadProfileFile(record, path);
}

SaveResult WriteStageKey(const QString &name, int stage)
{
    if (!isSafeFileName(name))
        return SaveResult::unsafeName(name);
    // Read from wherever the slot file is and write the whole record to the product folder, so
    // that a slot file still in the old folder is carried over rather than shadowed by a file
    // holding nothing but the stage.
    ProfileData record;
    if (!LoadSlotFile(record, name))
        return SaveResult::unreadable(slotFilePath(name));
    record.dpi = uint8_t(qBound(0, stage, kMaxStage));
    return SaveSlotFile(record, name);
}

const ProfileData &missingProfileValues()
{
    static const ProfileData missing = [] {
        ProfileData m;
        profilekeys::visitProfileFields(
            m, true, [](int, const profilekeys::FieldKey &field, auto &value) {
                using Field = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Field, uint8_t>)
                    value = uint8_t(field.missing);
                else
                    value = Field();
            });
        return m;
    }();
    return missing;
}

} // namespace mc
