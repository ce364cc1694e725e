// Device-interface notifications: classifying an interface name and keeping the found flags of
// the table current as collections come and go. Paths stay in place on removal; only the flags
// say what is present.
#include "device/discovery.h"

#include <QRegularExpression>

#include <algorithm>

namespace mc {

namespace {
struct NamePattern
{
    const char *pattern;
    int kind;
};

constexpr NamePattern kPatterns[] = {
    {"HID#VID_(?<vid>\\w{4})&PID_(?<pid>\\w{4})&col01", kKindPointer},
    {"HID#VID_(?<vid>\\w{4})&PID_(?<pid>\\w{4})&col04", kKindCommand},
    {"HID#VID_(?<vid>\\w{4})&PID_(?<pid>\\w{4})&MI_00&col01", kKindPointer},
    {"HID#VID_(?<vid>\\w{4})&PID_(?<pid>\\w{4})&MI_00&col04", kKindCommand},
};

const QVector<QRegularExpression> &patterns()
{
    static const QVector<QRegularExpression> compiled = [] {
        QVector<QRegularExpression> v;
        for (const NamePattern &p : kPatterns) {
            v.append(QRegularExpression(QLatin1String(p.pattern),
                                        QRegularExpression::CaseInsensitiveOption));
        }
        return v;
    }();
    return compiled;
}

// The attachment of the entry that carries these IDs: receiver first, then cable.
enum class Attachment
{
    None,
    Receiver,
    Cable
};

Attachment attachmentOf(const DeviceEntry &e, const InterfaceMatch &m)
{
    if (e.receiverVid == m.vid && e.receiverPid == m.pid)
        return Attachment::Receiver;
    if (e.cableVid == m.vid && e.cablePid == m.pid)
        return Attachment::Cable;
    return Attachment::None;
}

struct Slots
{
    QByteArray *pointerPath;
    QByteArray *commandPath;
    bool *pointerFound;
    bool *commandFound;
};

Slots slotsOf(DeviceEntry &e, Attachment a)
{
    if (a == Attachment::Cable)
        return {&e.cablePointerPath, &e.cableCommandPath, &e.cablePointerFound,
                &e.cableCommandFound};
    return {&e.receiverPointerPath, &e.receiverCommandPath, &e.receiverPointerFound,
            &e.receiverCommandFound};
}

bool anyFound(const DeviceEntry &e)
{
    return e.receiverPointerFound || e.receiverCommandFound || e.cablePointerFound ||
           e.cableCommandFound;
}

int entryCount(const DeviceState &s)
{
    return std::clamp(s.count, 0, kMaxDeviceEntries);
}

QByteArray notificationPath(const QString &name)
{
    return QByteArray("\\\\?\\") + name.toLocal8Bit();
}
} // namespace

InterfaceMatch MatchInterfaceName(const QString &name)
{
    const QVector<QRegularExpression> &all = patterns();
    for (int i = 0; i < all.size(); ++i) {
        const QRegularExpressionMatch m = all[i].match(name);
        if (!m.hasMatch())
            continue;
        bool vidOk = false;
        bool pidOk = false;
        InterfaceMatch r;
        r.vid = m.captured(QStringLiteral("vid")).toInt(&vidOk, 16);
        r.pid = m.captured(QStringLiteral("pid")).toInt(&pidOk, 16);
        // Four word characters that are no hexadecimal number name no device of ours.
        if (!vidOk || !pidOk)
            return InterfaceMatch();
        r.kind = kPatterns[i].kind;
        return r;
    }
    return InterfaceMatch();
}

namespace {

// Calls f(outcome, slots, flag) for every table entry the classified collection belongs to, with
// the outcome's entry, attachment and kind filled in and flag the found flag of that
// collection; f returns whether the outcome is to be reported.
template <typename F>
QVector<InterfaceOutcome> forEachMatchingEntry(DeviceState &s, const InterfaceMatch &match, F &&f)
{
    QVector<InterfaceOutcome> outcomes;
    if (match.kind != kKindPointer && match.kind != kKindCommand)
        return outcomes;
    const int count = entryCount(s);
    for (int i = 0; i < count; ++i) {
        DeviceEntry &e = s.entries[size_t(i)];
        const Attachment a = attachmentOf(e, match);
        if (a == Attachment::None)
            continue;
        Slots s = slotsOf(e, a);
        bool &flag = match.kind == kKindPointer ? *s.pointerFound : *s.commandFound;
        InterfaceOutcome o;
        o.entry = i;
        o.cable = a == Attachment::Cable;
        o.kind = match.kind;
        if (f(o, e, s, flag))
            outcomes.append(o);
    }
    return outcomes;
}

} // namespace

QVector<InterfaceOutcome> NoteInterfaceArrival(MouseConnection &connection,
                                               const InterfaceMatch &match, const QByteArray &path)
{
    return forEachMatchingEntry(
        connection.state(), match, [&](InterfaceOutcome &o, DeviceEntry &, Slots &s, bool &flag) {
            const bool wasComplete = *s.pointerFound && *s.commandFound;
            (match.kind == kKindPointer ? *s.pointerPath : *s.commandPath) = path;
            o.arrivalNew = !flag;
            o.changed = !flag;
            flag = true;
            o.complete = *s.pointerFound && *s.commandFound;
            o.completedNow = o.complete && !wasComplete;
            o.attachmentFound = true;
            return true;
        });
}

QVector<InterfaceOutcome> NoteInterfaceRemoval(MouseConnection &connection,
                                               const InterfaceMatch &match)
{
    return forEachMatchingEntry(connection.state(), match,
                                [](InterfaceOutcome &o, DeviceEntry &e, Slots &s, bool &flag) {
                                    if (!flag)
                                        return false;
                                    flag = false;
                                    o.changed = true;
                                    o.attachmentFound = *s.pointerFound || *s.commandFound;
                                    o.lostLast = !anyFound(e);
                                    return true;
                                });
}

QVector<InterfaceOutcome> NoteInterfaceArrival(MouseConnection &connection, const QString &name)
{
    return NoteInterfaceArrival(connection, MatchInterfaceName(name), notificationPath(name));
}

QVector<InterfaceOutcome> NoteInterfaceRemoval(MouseConnection &connection, const QString &name)
{
    return NoteInterfaceRemoval(connection, MatchInterfaceName(name));
}

} // namespace mc
