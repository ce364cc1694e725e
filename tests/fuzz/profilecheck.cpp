// Reading a profile record through QSettings, and comparing records.
#include "profilecheck.h"

#include "fuzzsupport.h"
#include "profile/inifile.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"

#include <QColor>
#include <QHash>
#include <QSettings>

#include <type_traits>

namespace mc::fuzz {

ProfileData readWithQSettings(const QString &path, const QString &group, bool withSleepKeys,
                              const ProfileData &base, bool keepMissing)
{
    // The keys the file holds, by field: a lookup per field would cost QSettings 8,000 of them.
    QSettings qs(path, QSettings::IniFormat);
    const auto &table = profilekeys::keyTable();
    const QString prefix = group + QLatin1Char('/');
    QHash<int, QVariant> present;
    const QStringList keys = qs.allKeys();
    for (const QString &key : keys) {
        if (!key.startsWith(prefix))
            continue;
        const int ord = table.indexOf(QStringView(key).mid(prefix.size()));
        if (ord >= 0)
            present.insert(ord, qs.value(key));
    }
    ProfileData r = base;
    profilekeys::visitProfileFields(
        r, withSleepKeys, [&](int ord, const profilekeys::FieldKey &field, auto &value) {
            const auto it = present.constFind(ord);
            const bool found = it != present.constEnd();
            if (!found && keepMissing)
                return;
            const QVariant v = found ? it.value() : QVariant();
            using Field = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Field, uint8_t>)
                value = uint8_t(found ? v.toInt() : field.missing);
            else if constexpr (std::is_same_v<Field, int32_t>)
                value = found ? v.toInt() : 0;
            else if constexpr (std::is_same_v<Field, uint32_t>)
                value = found ? v.toUInt() : 0u;
            else if constexpr (std::is_same_v<Field, QString>)
                value = v.toString();
            else
                value = v.canConvert<QColor>() ? v.value<QColor>() : QColor();
        });
    return r;
}

void checkKeptKeys(const QMap<QString, QString> &before, const QByteArray &after,
                   const std::function<bool(const QString &)> &isOurs)
{
    IniFile merged;
    merged.parse(after);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (isOurs(it.key()))
            continue;
        const QString now = describe(merged.value(it.key()));
        MC_FUZZ_CHECK(now == it.value(), "the file's key %s read %s and now reads %s",
                      qPrintable(it.key()), qPrintable(it.value()), qPrintable(now));
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
