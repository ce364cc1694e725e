// The profile key table, built once from the field walk.
#include "profile/profilekeys.h"

#include "profile/inicodec.h"

#include <algorithm>

namespace mc::profilekeys {

namespace {

// FNV-1a over the characters, so that a QString key and a Latin-1 name hash alike.
template <typename Char> uint hashName(const Char *d, int size)
{
    uint h = 2166136261u;
    for (int i = 0; i < size; ++i)
        h = (h ^ uint(d[i])) * 16777619u;
    return h;
}

// Without the temporary QByteArray::number makes: the names hold over 10,000 numbers.
void appendNumber(int n, QByteArray &out)
{
    if (n < 0) {
        out += QByteArray::number(n);
        return;
    }
    char digits[12];
    int at = int(sizeof digits);
    do {
        digits[--at] = char('0' + n % 10);
        n /= 10;
    } while (n > 0);
    out.append(digits + at, int(sizeof digits) - at);
}

// True when the INI escaping leaves the name as it is, as it does for nearly every name.
bool escapesToItself(const char *p, int size)
{
    for (int i = 0; i < size; ++i) {
        const char c = p[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_' || c == '-' || c == '.'))
            return false;
    }
    return true;
}

} // namespace

// The table is built at the first load of every start; QString::arg over 8,000 names made up
// most of that load, so the two numbers are put in by hand.
void FieldKey::appendName(QByteArray &out) const
{
    const char *run = pattern;
    const char *p = pattern;
    for (; *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out.append(run, int(p - run));
            appendNumber(p[1] == '1' ? a : b, out);
            ++p;
            run = p + 1;
        }
    }
    out.append(run, int(p - run));
}

QString FieldKey::name() const
{
    QByteArray out;
    out.reserve(40);
    appendName(out);
    return QString::fromLatin1(out);
}

QString KeyTable::profileKey(int ord) const
{
    const QLatin1String n = name(ord);
    QString key;
    key.reserve(int(sizeof kGroup) + n.size());
    key += QLatin1String(kGroup);
    key += QLatin1Char('/');
    key += n;
    return key;
}

int KeyTable::indexOf(QStringView key) const
{
    const int mask = m_index.size() - 1;
    for (int slot = int(hashName(key.utf16(), int(key.size())) & uint(mask));;
         slot = (slot + 1) & mask) {
        const int ord = m_index.at(slot) - 1;
        if (ord < 0)
            return -1;
        const QLatin1String n = name(ord);
        if (n.size() != key.size())
            continue;
        int i = 0;
        while (i < n.size() && key.at(i).unicode() == uchar(n.at(i).toLatin1()))
            ++i;
        if (i == n.size())
            return ord;
    }
}

QLatin1String KeyTable::escapedKey(int ord) const
{
    const auto it = std::lower_bound(m_escapedKeys.begin(), m_escapedKeys.end(), ord,
                                     [](const Escaped &e, int o) { return e.ord < o; });
    return QLatin1String(m_escaped.constData() + it->from, it->size);
}

const KeyTable &keyTable()
{
    static const KeyTable table = [] {
        KeyTable t;
        const ProfileData record;
        int count = 0;
        visitProfileFields(record, true, [&](int, const FieldKey &, const auto &) { ++count; });
        t.m_starts.reserve(count + 1);
        t.m_names.reserve(count * 32);
        QString name; // reused: escaping takes a QString
        QByteArray escaped;
        visitProfileFields(record, true, [&](int ord, const FieldKey &key, const auto &) {
            const int from = t.m_names.size();
            key.appendName(t.m_names);
            const QLatin1String added(t.m_names.constData() + from, t.m_names.size() - from);
            if (escapesToItself(added.data(), added.size())) {
                t.m_starts.append(from);
                return;
            }
            name.resize(0);
            name += added;
            escaped.resize(0);
            ini::escapeKey(name, escaped);
            if (escaped == QByteArray::fromRawData(added.data(), added.size())) {
                t.m_starts.append(from);
            } else {
                t.m_starts.append(from | KeyTable::kEscaped);
                t.m_escapedKeys.append({ord, int(t.m_escaped.size()), int(escaped.size())});
                t.m_escaped += escaped;
            }
        });
        t.m_starts.append(t.m_names.size());
        t.m_names.squeeze();
        t.m_escaped.squeeze();
        t.m_escapedKeys.squeeze();

        // At most two thirds full, so a lookup that finds nothing stops after a few slots.
        int slotCount = 1;
        while (slotCount < count + count / 2)
            slotCount *= 2;
        Q_ASSERT(count < 0xFFFF && t.m_names.size() < KeyTable::kOffset);
        t.m_index.fill(0, slotCount);
        for (int ord = 0; ord < count; ++ord) {
            const QLatin1String n = t.name(ord);
            int slot = int(hashName(reinterpret_cast<const uchar *>(n.data()), n.size()) &
                           uint(slotCount - 1));
            while (t.m_index.at(slot) != 0)
                slot = (slot + 1) & (slotCount - 1);
            t.m_index[slot] = quint16(ord + 1);
        }
        return t;
    }();
    return table;
}

int fieldCount()
{
    return keyTable().size();
}

} // namespace mc::profilekeys
