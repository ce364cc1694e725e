// The system-independent half of the hot-plug watcher: classification, the memory of what each
// path was, and the events. The system halves (hotplugwatcher_linux.cpp, _win.cpp) only turn the
// system's notifications into notes.
#include "platform/hotplugwatcher.h"

#include "device/discovery.h"
#include "platform/reportdescriptor.h"

namespace mc {

QVector<HidCollection> classifyByUsage(const HidInterfaceNote &note)
{
    bool pointer = false;
    bool command = false;
    for (const HidUsage &u : note.collections) {
        const int kind = collectionKind(u.usagePage, u.usage);
        pointer = pointer || kind == kKindPointer;
        command = command || kind == kKindCommand;
    }
    QVector<HidCollection> kinds;
    if (pointer)
        kinds.append({note.vid, note.pid, kHotplugKindPointer});
    if (command)
        kinds.append({note.vid, note.pid, kHotplugKindCommand});
    return kinds;
}

HotplugWatcher::HotplugWatcher(HidInterfaceClassifier classifier, QObject *parent)
    : HotplugSource(parent), m_classifier(classifier ? std::move(classifier) : classifyByUsage)
{}

void HotplugWatcher::remember(const HidInterfaceNote &note)
{
    const QVector<HidCollection> collections = m_classifier(note);
    if (collections.isEmpty())
        m_known.remove(note.path);
    else
        m_known.insert(note.path, collections);
}

void HotplugWatcher::noteArrival(const HidInterfaceNote &note)
{
    remember(note);
    emitAll(true, m_known.value(note.path), note.path);
}

void HotplugWatcher::noteRemoval(const HidInterfaceNote &note)
{
    // What the path was when it came is the truth; a note that still names its interface (a
    // Windows name) is classified afresh when the path was never seen.
    const QVector<HidCollection> collections =
        m_known.contains(note.path) ? m_known.take(note.path) : m_classifier(note);
    emitAll(false, collections, note.path);
}

void HotplugWatcher::emitAll(bool arrival, const QVector<HidCollection> &collections,
                             const QByteArray &path)
{
    for (const HidCollection &c : collections)
        emit interfaceChanged(arrival, c.vid, c.pid, c.kind, path);
}

} // namespace mc
