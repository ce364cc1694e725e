// Mouse commands of the macro editor.
#include "macro/ui/mousecommands.h"

#include <QCoreApplication>

#include <algorithm>

namespace mc::mousecmd {

namespace {

constexpr uint8_t kBits[kButtonCount] = {macro::kButtonLeft, macro::kButtonMiddle,
                                         macro::kButtonRight, macro::kButtonForward,
                                         macro::kButtonBackward};
constexpr int kCommandDelayMs = 10; // what a command waits with recorded delays

const char *const kButtonNames[kButtonCount] = {QT_TRANSLATE_NOOP("MacroDialog", "LEFT CLICK"),
                                                QT_TRANSLATE_NOOP("MacroDialog", "MIDDLE CLICK"),
                                                QT_TRANSLATE_NOOP("MacroDialog", "RIGHT CLICK"),
                                                QT_TRANSLATE_NOOP("MacroDialog", "FORWARD"),
                                                QT_TRANSLATE_NOOP("MacroDialog", "BACKWARD")};
const char *const kDirectionNames[kDirectionCount] = {
    QT_TRANSLATE_NOOP("MacroDialog", "MOVE LEFT"), QT_TRANSLATE_NOOP("MacroDialog", "MOVE RIGHT"),
    QT_TRANSLATE_NOOP("MacroDialog", "MOVE UP"), QT_TRANSLATE_NOOP("MacroDialog", "MOVE DOWN")};

} // namespace

uint8_t buttonBit(int iButton)
{
    return iButton >= 0 && iButton < kButtonCount ? kBits[iButton] : 0;
}

int buttonIndex(uint8_t bit)
{
    const auto *end = std::end(kBits);
    const auto *it = std::find(std::begin(kBits), end, bit);
    return it == end ? -1 : int(it - std::begin(kBits));
}

QString buttonName(int iButton)
{
    if (iButton < 0 || iButton >= kButtonCount)
        return QString();
    return QCoreApplication::translate("MacroDialog", kButtonNames[iButton]);
}

QString directionName(Direction dir)
{
    const int d = int(dir);
    if (d < 0 || d >= kDirectionCount)
        return QString();
    return QCoreApplication::translate("MacroDialog", kDirectionNames[d]);
}

bool delayAfter(const MacroSettings &settings, int iUnit, MacroAction &out)
{
    switch (settings.delayType) {
    case 1:
        out = macro::delayMs(kCommandDelayMs, iUnit);
        return true;
    case 2:
        out = macro::delayMs(settings.defaultDelay, iUnit);
        return true;
    default:
        return false;
    }
}

QVector<MacroAction> buttonCommand(int iButton, Part part, const MacroSettings &settings, int iUnit)
{
    const uint8_t bit = buttonBit(iButton);
    if (bit == 0)
        return {};
    MacroAction delay;
    const bool withDelay = delayAfter(settings, iUnit, delay);
    QVector<MacroAction> out;
    const auto add = [&](const MacroAction &a) {
        out.append(a);
        if (withDelay)
            out.append(delay);
    };
    if (part != Part::Release)
        add(macro::buttonPress(bit));
    if (part != Part::Press)
        add(macro::buttonRelease(bit));
    return out;
}

MacroAction moveAction(Direction dir, int iDistance)
{
    const int d = std::clamp(iDistance, 1, macro::kMaxMoveStep);
    switch (dir) {
    case Direction::Left:
        return macro::move(-d, 0);
    case Direction::Right:
        return macro::move(d, 0);
    case Direction::Up:
        return macro::move(0, -d);
    case Direction::Down:
        break;
    }
    return macro::move(0, d);
}

QVector<MacroAction> moveCommand(Direction dir, int iDistance, const MacroSettings &settings,
                                 int iUnit)
{
    QVector<MacroAction> out{moveAction(dir, iDistance)};
    MacroAction delay;
    if (delayAfter(settings, iUnit, delay))
        out.append(delay);
    return out;
}

Direction directionOf(const MacroAction &a)
{
    if (a.DataL != 0 || a.DataH == 0)
        return macro::moveX(a) < 0 ? Direction::Left : Direction::Right;
    return macro::moveY(a) < 0 ? Direction::Up : Direction::Down;
}

int distanceOf(const MacroAction &a)
{
    const int step = a.DataL != 0 || a.DataH == 0 ? macro::moveX(a) : macro::moveY(a);
    return std::max(1, std::abs(step));
}

} // namespace mc::mousecmd
