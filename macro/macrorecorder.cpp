// The record routine keeps a recording within what a button entry carries: at most 63 actions
// when delays go between the keys, 40 without. A press of a key already held is the keyboard's
// auto-repeat and adds nothing, so holding a key gives one press however long it repeats. A delay
// goes before every key event but the first, measured in whole units of the product's delay unit
// and never shorter than one unit.
#include "macro/macrorecorder.h"
#include "macro/log.h"

#include "buttons/keycodes.h"
#include "platform/processclock.h"

#include <QMap>

#include <algorithm>

namespace mc {

namespace {

uint32_t physicalKey(const HookKeyEvent &event)
{
    return (event.scanCode << 1) | ((event.flags & keyflag::kExtended) ? 1u : 0u);
}

} // namespace

MacroRecorder::MacroRecorder(QObject *parent) : MacroRecorder(Clock(&processClockMs), parent) {}

MacroRecorder::MacroRecorder(Clock clock, QObject *parent)
    : QObject(parent), m_clock(clock ? std::move(clock) : Clock(&processClockMs))
{
}

MacroRecorder::~MacroRecorder()
{
    dropHook();
}

void MacroRecorder::setDelayType(int type)
{
    m_delayType = (type == kRecordDelays || type == kDefaultDelay) ? type : kNoDelay;
}

void MacroRecorder::setDefaultDelayMs(int ms)
{
    m_defaultDelayMs = std::max(0, ms);
}

void MacroRecorder::setDelayUnit(int unit)
{
    m_delayUnit = macro::sanitizeDelayUnit(unit);
}

void MacroRecorder::start(int iKept)
{
    m_kept = std::max(0, iKept);
    m_editing = false;
    m_recording = true;
    m_actions.clear();
    m_heldKeys.clear();
    m_downAs.clear();
    m_lastEventMs.reset();
    m_lastKey.reset();
    ensureHook();
}

bool MacroRecorder::stop()
{
    m_recording = false;
    dropHook();
    return releaseCheck(m_actions);
}

void MacroRecorder::beginEdit(const MacroAction &action)
{
    m_recording = false;
    m_editing = true;
    m_edited = action;
    m_lastKey.reset();
    m_downAs.clear();
    if (macro::kindOf(action) == macro::kKindKey)
        ensureHook();
    else
        dropHook();
}

void MacroRecorder::endEdit()
{
    m_editing = false;
    dropHook();
}

bool MacroRecorder::handleKeyEvent(const HookKeyEvent &event)
{
    if (!m_recording && !m_editing)
        return false;
    const KeyStroke stroke =
        keyEventToKeyCode(event.scanCode, event.flags, event.vkCode, KeySource::Recorder);
    uint8_t code = stroke.code;
    const uint32_t key = physicalKey(event);
    const auto down = m_downAs.constFind(key);
    if (down != m_downAs.constEnd()) {
        code = down.value(); // a repeat or the release of a key already down keeps its code
        if (stroke.released())
            m_downAs.erase(down);
    } else if (!stroke.released()) {
        m_downAs.insert(key, code);
    }
    if (m_editing)
        editKey(code, stroke.flags);
    else
        recordKey(code, stroke.flags);
    return false;
}

void MacroRecorder::recordKey(uint8_t code, uint32_t flags)
{
    const int held = m_heldKeys.indexOf(code);
    qCDebug(lcMacro, "recorded key %d, flags %d, held at %d", code, int(flags), held);
    const bool released = (flags & keyflag::kReleased) != 0;
    if (flags < 2 && held >= 0)
        return; // auto-repeat of a held key
    // Room for a delay and the key: 63 actions at most with delays, 40 without.
    const int n = m_kept + m_actions.size();
    if (n > kMaxActionsWithDelays - 2 ||
        (m_delayType == kNoDelay && n > kMaxActionsWithoutDelays - 1))
        return;
    m_lastKey = std::make_pair(code, flags);

    const qint64 now = m_clock();
    if (m_lastEventMs && m_delayType != kNoDelay)
        append(delayBefore(now));
    const uint8_t usage = usageOf(code);
    if (released) {
        append(macro::keyRelease(usage));
        if (held >= 0)
            m_heldKeys.remove(held);
    } else {
        append(macro::keyPress(usage));
        m_heldKeys.append(code);
    }
    m_lastEventMs = now;
}

MacroAction MacroRecorder::delayBefore(qint64 now) const
{
    if (m_delayType == kDefaultDelay)
        return macro::delayMs(m_defaultDelayMs, m_delayUnit);
    const qint64 gap = now - *m_lastEventMs;
    if (gap <= 0)
        return macro::delayCount(1);
    // Whole units, at least one; beyond two bytes' worth it saturates.
    const qint64 units = std::clamp<qint64>(gap / m_delayUnit, 1, macro::kMaxDelayCount);
    return macro::delayCount(static_cast<int>(units));
}

void MacroRecorder::editKey(uint8_t code, uint32_t flags)
{
    const auto pair = std::make_pair(code, flags);
    if (m_lastKey && *m_lastKey == pair)
        return;
    m_lastKey = pair;
    m_edited.DataL = usageOf(code);
    emit keyEdited(code);
}

void MacroRecorder::append(const MacroAction &action)
{
    m_actions.append(action);
    emit actionAppended(m_actions.size() - 1);
}

bool MacroRecorder::releaseCheck(const QVector<MacroAction> &actions)
{
    // Presses less releases per key or button: a key pressed twice and released once is still
    // down, even though a release of it exists.
    QMap<int, int> open;
    int presses = 0;
    int releases = 0;
    for (const MacroAction &a : actions) {
        const uint8_t kind = macro::kindOf(a);
        if (kind != macro::kKindKey && kind != macro::kKindMouseButton)
            continue;
        if (macro::isPress(a)) {
            ++presses;
            open[(kind << 8) | a.DataL] += 1;
        } else {
            ++releases;
            open[(kind << 8) | a.DataL] -= 1;
        }
    }
    if (presses > releases)
        return false;
    for (auto it = open.cbegin(); it != open.cend(); ++it) {
        if (it.value() > 0)
            return false;
    }
    return true;
}

QString MacroRecorder::unreleasedMessage()
{
    return QStringLiteral("ONE OR MORE KEYS HAS NOT BEEN RELEASED.");
}

void MacroRecorder::ensureHook()
{
    if (!m_hook)
        m_hook = std::make_unique<KeyboardHook>(
            [this](const HookKeyEvent &event) { return handleKeyEvent(event); });
    if (!m_hook->isInstalled())
        m_hook->install();
}

void MacroRecorder::dropHook()
{
    if (m_hook)
        m_hook->remove();
}

} // namespace mc
