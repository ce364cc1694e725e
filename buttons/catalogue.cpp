// Lookups, menus, display texts and device codes over the function table.
#include "buttons/catalogue.h"

#include "buttons/combokey.h"
#include "buttons/keycodes.h"
#include "profile/settings.h"

#include <QCoreApplication>

#include <algorithm>

namespace mc {

namespace {

struct GroupTitle
{
    MenuGroup group;
    const char *text;
};
constexpr GroupTitle kGroupTitles[] = {
    {MenuGroup::Basic, QT_TRANSLATE_NOOP("QObject", "Basic")},
    {MenuGroup::Windows, QT_TRANSLATE_NOOP("QObject", "Windows")},
    {MenuGroup::Advance, QT_TRANSLATE_NOOP("QObject", "Advance")},
    {MenuGroup::Media, QT_TRANSLATE_NOOP("QObject", "Media")},
    {MenuGroup::Dpi, QT_TRANSLATE_NOOP("QObject", "DPI")},
    {MenuGroup::ProfileMenu, QT_TRANSLATE_NOOP("QObject", "Profile Menu")},
    {MenuGroup::PollingRate, QT_TRANSLATE_NOOP("QObject", "Polling Rate")},
};

// Submenu contents in menu order; not always the table's order ("Boss Key" closes "Windows",
// "Rate Switch" opens "Polling Rate", the profile functions run switch, +, -).
const QVector<int> &submenu(MenuGroup group)
{
    static const QVector<int> basic{17, 18, 19, 20, 21, 22, 23, 24};
    static const QVector<int> windows{25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 62};
    static const QVector<int> advance{fun::kSingleKey, fun::kComboKey, fun::kFireKey, fun::kSniper};
    static const QVector<int> media{39, 40, 41, 42, 43, 44, 45, 46};
    static const QVector<int> dpi{47, 48, 49};
    static const QVector<int> rate{63, 50, 51};
    static const QVector<int> profile{59, 57, 58};
    static const QVector<int> none;
    switch (group) {
    case MenuGroup::Basic:
        return basic;
    case MenuGroup::Windows:
        return windows;
    case MenuGroup::Advance:
        return advance;
    case MenuGroup::Media:
        return media;
    case MenuGroup::Dpi:
        return dpi;
    case MenuGroup::PollingRate:
        return rate;
    case MenuGroup::ProfileMenu:
        return profile;
    default:
        return none;
    }
}

QString tr(const char *source)
{
    return source ? QCoreApplication::translate("QObject", source) : QString();
}

uint8_t clampByte(int v)
{
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

} // namespace

const FunctionRow *findFunction(int code)
{
    const FunctionRow *found = nullptr;
    for (const FunctionRow &row : kFunctionTable) {
        if (row.code == code)
            found = &row;
    }
    return found;
}

bool isMacroFunction(int code)
{
    return code == fun::kMacro || code == fun::kGunFile;
}

bool isParameterised(int code)
{
    return code == fun::kSingleKey || code == fun::kComboKey || code == fun::kFireKey ||
           code == fun::kSniper || code == fun::kMacro;
}

const char *menuSourceText(int code)
{
    const FunctionRow *row = findFunction(code);
    return row ? row->text : nullptr;
}

QString menuText(int code)
{
    return tr(menuSourceText(code));
}

int codeForMenuText(const QString &sourceText)
{
    for (const FunctionRow &row : kFunctionTable) {
        if (row.text && sourceText == QLatin1String(row.text))
            return row.code;
    }
    return 0;
}

const char *groupSourceText(MenuGroup group)
{
    for (const GroupTitle &g : kGroupTitles) {
        if (g.group == group)
            return g.text;
    }
    return nullptr;
}

QString groupTitle(MenuGroup group)
{
    return tr(groupSourceText(group));
}

QString displayText(const ButtonInfo &entry)
{
    if (isMacroFunction(entry.Fun))
        return entry.macroname;
    return menuText(entry.Fun);
}

QVector<MenuItem> topMenu(bool macroEnabled, bool lightingEnabled)
{
    QVector<MenuItem> items;
    for (int code : {fun::kLeft, fun::kRight, fun::kMiddle, fun::kForward, fun::kBack})
        items.append({code, MenuGroup::TopLevel});
    for (MenuGroup g : {MenuGroup::Basic, MenuGroup::Windows, MenuGroup::Advance, MenuGroup::Media,
                        MenuGroup::Dpi, MenuGroup::PollingRate})
        items.append({0, g});
    if (macroEnabled)
        items.append({fun::kMacro, MenuGroup::TopLevel});
    if (lightingEnabled)
        items.append({fun::kLedSwitch, MenuGroup::TopLevel});
    items.append({fun::kButtonOff, MenuGroup::TopLevel});
    return items;
}

QVector<MenuItem> topMenu()
{
    return topMenu(readDisableMacro() == 0, readLedDisable() == 0);
}

QVector<int> submenuCodes(MenuGroup group)
{
    return submenu(group);
}

QVector<int> wheelMenu()
{
    return {fun::kScrollUp, fun::kScrollDown, fun::kVolumeUp, fun::kVolumeDown,
            fun::kLeft,     fun::kRight,      fun::kMiddle,   fun::kForward,
            fun::kBack,     fun::kSingleKey,  fun::kComboKey};
}

std::array<uint8_t, 4> DeviceCode(const ButtonInfo &entry, int macroSlot, uint8_t sniperByte)
{
    const FunctionRow *row = findFunction(entry.Fun);
    if (!row)
        return {0, 0, 0, 0};
    std::array<uint8_t, 4> code = row->device;
    switch (entry.Fun) {
    case fun::kSingleKey:
        code[2] = usageOf(entry.Res1);
        break;
    case fun::kComboKey:
        code[1] = comboModifierBits(entry.KeyInfo);
        code[2] = comboMainUsage(entry.KeyInfo);
        break;
    case fun::kFireKey:
        if (entry.Res1 == 0)
            return {row->device[0], firesource::kLeft, 3, 0};
        // Saturate rather than wrap: 300 shots must not become 44, nor 3000 ms become 440 ms.
        code[1] = entry.Res1;
        code[2] = clampByte(entry.LoopNumber);
        code[3] = clampByte(entry.KeyNumber / 10);
        break;
    case fun::kSniper:
        code[1] = 0x01;
        code[2] = sniperByte;
        code[3] = sniperByte;
        break;
    case fun::kMacro:
    case fun::kGunFile: {
        // The two high bits of b1 carry the loop mode, so the slot keeps to the six below.
        const auto slot = static_cast<uint8_t>(std::clamp(macroSlot, 0, 0xFF) & 0x3F);
        if (entry.Res1 == kLoopWhileHeld || entry.Res1 == kLoopUntilPressed) {
            code[1] = slot | (entry.Res1 == kLoopWhileHeld ? 0x80 : 0x40);
            code[2] = 0xFF;
            code[3] = 0xFF;
        } else {
            const int loops = std::clamp(entry.LoopNumber, 0, 0xFFFF);
            code[1] = slot;
            code[2] = static_cast<uint8_t>(loops & 0xFF);
            code[3] = static_cast<uint8_t>(loops >> 8);
        }
        break;
    }
    default:
        break;
    }
    return code;
}

} // namespace mc
