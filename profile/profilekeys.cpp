// The profile key table, built once from the field walk.
#include "profile/profilekeys.h"

#include "profile/inicodec.h"

namespace mc::profilekeys {

// The table is built at the first load of every start; QString::arg over 8,000 names made up
// most of that load, so the two numbers are put in by hand.
QString FieldKey::name() const
{
    QByteArray out;
    out.reserve(40);
    for (const char *p = pattern; *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out += QByteArray::number(p[1] == '1' ? a : b);
            ++p;
        } else {
            out += *p;
        }
    }
    return QString::fromLatin1(out);
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
