// The profile key table, built once from the field walk.
#include "profile/profilekeys.h"

#include "profile/inicodec.h"

namespace mc::profilekeys {

QString FieldKey::name() const
{
    QString s = QString::fromLatin1(pattern);
    if (a >= 0)
        s = s.arg(a);
    if (b >= 0)
        s = s.arg(b);
    return s;
}

const KeyTable &keyTable()
{
    static const KeyTable table = [] {
        KeyTable t;
        const ProfileData record;
        const QString prefix = QLatin1String(kGroup) + QLatin1Char('/');
        auto add = [&](int ord, const FieldKey &key, const auto &) {
            if (t.names.size() <= ord) {
                t.names.resize(ord + 1);
                t.profileKeys.resize(ord + 1);
                t.lineKeys.resize(ord + 1);
            }
            const QString name = key.name();
            t.names[ord] = name;
            t.profileKeys[ord] = prefix + name;
            ini::escapeKey(name, t.lineKeys[ord]);
        };
        visitProfileFields(record, true, add);
        return t;
    }();
    return table;
}

int fieldCount()
{
    return keyTable().names.size();
}

} // namespace mc::profilekeys
