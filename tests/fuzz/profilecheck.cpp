// Reading a profile record through QSettings' view, comparing records, and the keys kept when a
// file is written over.
#include "profilecheck.h"

#include "profile/inicodec.h"
#include "profile/inifile.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"

#include <QColor>
#include <QSet>

#include <algorithm>
#include <type_traits>
#include <vector>

namespace mc::fuzz {

namespace {

// Where each field lies in a record and of which type it is, by ordinal: a field is set or read
// by its key without a walk over 8,000 fields.
struct FieldSlot
{
    enum Type : char
    {
        Byte,
        Int,
        UInt,
        Text,
        Colour
    };
    ptrdiff_t offset;
    Type type;
};

const std::vector<FieldSlot> &fieldSlots()
{
    static const std::vector<FieldSlot> places = [] {
        std::vector<FieldSlot> out(size_t(profilekeys::keyTable().size()));
        ProfileData r;
        const char *base = reinterpret_cast<const char *>(&r);
        profilekeys::visitProfileFields(
            r, true, [&](int ord, const profilekeys::FieldKey &, auto &value) {
                using Field = std::decay_t<decltype(value)>;
                FieldSlot::Type type = FieldSlot::Colour;
                if constexpr (std::is_same_v<Field, uint8_t>)
                    type = FieldSlot::Byte;
                else if constexpr (std::is_same_v<Field, int32_t>)
                    type = FieldSlot::Int;
                else if constexpr (std::is_same_v<Field, uint32_t>)
                    type = FieldSlot::UInt;
                else if constexpr (std::is_same_v<Field, QString>)
                    type = FieldSlot::Text;
                out[size_t(ord)] = {reinterpret_cast<const char *>(&value) - base, type};
            });
        return out;
    }();
    return places;
}

template <typename T> T &at(ProfileData &r, const FieldSlot &slot)
{
    return *reinterpret_cast<T *>(reinterpret_cast<char *>(&r) + slot.offset);
}

template <typename T> const T &at(const ProfileData &r, const FieldSlot &slot)
{
    return *reinterpret_cast<const T *>(reinterpret_cast<const char *>(&r) + slot.offset);
}

// The ordinal of the field a key of the group names, or -1.
int ordinalOf(const QString &key, const QString &prefix)
{
    if (!key.startsWith(prefix))
        return -1;
    return profilekeys::keyTable().indexOf(QStringView(key).mid(prefix.size()));
}

// True for a key that a lookup reaches as it is: no slash at either end, none doubled.
bool isPlainKey(const QString &key)
{
    return !key.startsWith(QLatin1Char('/')) && !key.endsWith(QLatin1Char('/')) &&
           !key.contains(QLatin1String("//"));
}

// The two lighting keys that configuration exports leave out.
bool isSleepKey(int ord)
{
    static const int moveOff =
        profilekeys::keyTable().indexOf(QString::fromLatin1(profilekeys::kLedMoveOff));
    static const int sleepTime =
        profilekeys::keyTable().indexOf(QString::fromLatin1(profilekeys::kLedSleepTime));
    return ord == moveOff || ord == sleepTime;
}

} // namespace

ProfileData recordFromView(const View &view, const QString &group, bool withSleepKeys,
                           const ProfileData &base, bool keepMissing)
{
    // Every field missing, then the fields of the keys the view holds.
    const ProfileData &missing = missingProfileValues();
    ProfileData r = keepMissing ? base : missing;
    r.spare = base.spare;
    if (!withSleepKeys) {
        r.LedMoveOFF = base.LedMoveOFF;
        r.LedSleepTime = base.LedSleepTime;
    }
    const QString prefix = group + QLatin1Char('/');
    const auto &places = fieldSlots();
    for (auto it = view.cbegin(); it != view.cend(); ++it) {
        const int ord = ordinalOf(it.key(), prefix);
        if (ord < 0 || (!withSleepKeys && isSleepKey(ord)))
            continue;
        const FieldSlot &place = places[size_t(ord)];
        const QVariant &v = it.value();
        switch (place.type) {
        case FieldSlot::Byte:
            at<uint8_t>(r, place) = uint8_t(v.toInt());
            break;
        case FieldSlot::Int:
            at<int32_t>(r, place) = v.toInt();
            break;
        case FieldSlot::UInt:
            at<uint32_t>(r, place) = v.toUInt();
            break;
        case FieldSlot::Text:
            at<QString>(r, place) = v.toString();
            break;
        case FieldSlot::Colour:
            at<QColor>(r, place) = v.canConvert<QColor>() ? v.value<QColor>() : QColor();
            break;
        }
    }
    return r;
}

void addRecordShape(QVector<QByteArray> &parts, const ProfileData &record,
                    const QStringList &fileKeys, const QString &group)
{
    const QString prefix = group + QLatin1Char('/');
    const auto &places = fieldSlots();
    for (const QString &key : fileKeys) {
        const int ord = ordinalOf(key, prefix);
        if (ord < 0)
            continue;
        const FieldSlot &place = places[size_t(ord)];
        QByteArray part(1, char(place.type));
        switch (place.type) {
        case FieldSlot::Byte:
            Shapes::addNumber(part, at<uint8_t>(record, place));
            break;
        case FieldSlot::Int:
            Shapes::addNumber(part, at<int32_t>(record, place));
            break;
        case FieldSlot::UInt:
            Shapes::addNumber(part, at<uint32_t>(record, place));
            break;
        case FieldSlot::Text:
            Shapes::addText(part, at<QString>(record, place));
            break;
        case FieldSlot::Colour: {
            const QColor &c = at<QColor>(record, place);
            part += char(c.isValid());
            part += char(c.spec());
            Shapes::addNumber(part, c.alpha());
            break;
        }
        }
        parts.append(part);
    }
}

void checkKeptKeys(const View &before, const QByteArray &after, const QString &group,
                   const std::function<bool(const QString &)> &isOurs)
{
    bool anyKept = false;
    for (auto it = before.cbegin(); it != before.cend() && !anyKept; ++it)
        anyKept = !isOurs(it.key());
    if (!anyKept)
        return;
    // Only what follows our part can hold the kept keys, and our part is most of the file: what
    // follows the line of the group's last field is read alone when it starts a group of its
    // own (with the file's byte order mark, which decides how values decode). Otherwise, or
    // when that line is not found, the whole file is read.
    static const QByteArray mark("\xEF\xBB\xBF");
    const auto &table = profilekeys::keyTable();
    const QLatin1String lastKey = table.lineKey(table.size() - 1);
    QByteArray header("[");
    ini::escapeKey(group, header);
    header += "]\n";
    QByteArray text = after;
    const int groupAt = after.indexOf(header);
    const int lastAt =
        groupAt < 0
            ? -1
            : after.indexOf('\n' + QByteArray(lastKey.data(), lastKey.size()) + '=', groupAt);
    const int restAt = lastAt < 0 ? -1 : after.indexOf('\n', lastAt + 1);
    if (restAt >= 0) {
        const QByteArray rest = after.mid(restAt + 1);
        const QByteArray start = rest.trimmed();
        if (start.isEmpty() || start.startsWith('['))
            text = (after.startsWith(mark) ? mark : QByteArray()) + rest;
    }
    IniFile merged;
    merged.parse(text);
    QSet<QString> mergedKeys;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (isOurs(it.key()))
            continue;
        if (!isPlainKey(it.key())) {
            // Looked up, "a//b" is "a/b" (QSettings and ours alike), which may be a key of
            // ours: only that the line is still there can be told.
            if (mergedKeys.isEmpty()) {
                const QStringList keys = merged.keys();
                mergedKeys = QSet<QString>(keys.cbegin(), keys.cend());
            }
            MC_FUZZ_CHECK(mergedKeys.contains(it.key()), "the file's key %s is gone",
                          qPrintable(it.key()));
            continue;
        }
        const QString was = describe(it.value());
        const QString now = describe(merged.value(it.key()));
        MC_FUZZ_CHECK(now == was, "the file's key %s read %s and now reads %s",
                      qPrintable(it.key()), qPrintable(was), qPrintable(now));
    }
}

QByteArray recordText(const ProfileData &record)
{
    QByteArray out;
    appendProfileGroup(out, record, QStringLiteral("PROFILE"), true);
    return out;
}

void checkSameRecord(const ProfileData &ours, const ProfileData &expected, const char *what)
{
    if (ours == expected)
        return;
    // Equal as stored is equal: a colour of NaN components is not equal to itself.
    const QByteArray a = recordText(ours);
    const QByteArray b = recordText(expected);
    if (a == b)
        return;
    const QList<QByteArray> la = a.split('\n');
    const QList<QByteArray> lb = b.split('\n');
    for (int i = 0; i < la.size() && i < lb.size(); ++i) {
        if (la.at(i) != lb.at(i))
            fail("%s: ours %s, expected %s", what, la.at(i).constData(), lb.at(i).constData());
    }
    fail("%s: records differ", what);
}

} // namespace mc::fuzz
