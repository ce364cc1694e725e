// Building and sending the button block.
#include "device/buttonblock.h"
#include "device/log.h"

#include "buttons/catalogue.h"
#include "device/dpiencoding.h"
#include "device/mouseconnection.h"
#include "device/writeresult.h"
#include "profile/paths.h"

#include <QDebug>

#include <algorithm>

namespace mc {

namespace {

void placeEntry(ButtonBlock &block, ButtonInfo &entry, int slot, const ProductSwitches &product,
                MacroNumberTable &table)
{
    std::array<uint8_t, buttonblock::kCodeSize> code{};
    if (!runsMacro(entry)) {
        code = DeviceCode(entry, 0, sniperByte(product.sensorCode, entry.Res1));
    } else if (runsUsableMacro(entry)) {
        const int macroSlot = table.number(entry.macroname);
        entry.Res4 = uint8_t(std::min(macroSlot, 0xFF));
        code = DeviceCode(entry, macroSlot);
    } else {
        // Numbering it would spend one of the twelve slots on a macro that cannot be read.
        qCDebug(lcDevice, "Button slot %d runs a macro without a usable name; sent as no function",
                slot);
    }
    std::copy(code.begin(), code.end(),
              block.begin() + buttonblock::kFirstSlot + buttonblock::kCodeSize * slot);
}

} // namespace

bool runsUsableMacro(const ButtonInfo &entry)
{
    return runsMacro(entry) && isSafeFileName(entry.macroname);
}

ButtonBlock buildButtonBlock(ProfileStore &deviceCopy, const ProductSwitches &product,
                             MacroNumberTable &table)
{
    table.clear();
    ButtonBlock block{};
    block[buttonblock::kHeader] = 0x0A;
    block[buttonblock::kHeader + 1] = 0x00;
    std::fill(block.begin() + buttonblock::kTrailer, block.end(), uint8_t(0xFF));

    auto &buttons = deviceCopy.profiles[0].buttons;
    const int count = std::clamp(product.buttonCount, 0, int(product.slotMap.size()));
    for (int i = 0; i < count; ++i) {
        const int slot = product.slotMap[size_t(i)];
        if (slot >= buttonblock::kSlots) {
            qCDebug(lcDevice,
                    "Button %d has device slot %d, which the mouse does not have; not sent", i,
                    slot);
            continue;
        }
        placeEntry(block, buttons[size_t(i)], slot, product, table);
    }
    const bool swapped = product.scrollRev == 1;
    placeEntry(block, buttons[buttonblock::kWheelUpEntry],
               swapped ? buttonblock::kWheelDownSlot : buttonblock::kWheelUpSlot, product, table);
    placeEntry(block, buttons[buttonblock::kWheelDownEntry],
               swapped ? buttonblock::kWheelUpSlot : buttonblock::kWheelDownSlot, product, table);
    return block;
}

ReportList buttonBlockReports(const ButtonBlock &block)
{
    return blockReports(frame::kButtonBlock, block.data(), int(block.size()),
                        {{0, 2}, {2, 24}, {26, 24}, {50, 24}, {74, 24}, {98, 4}});
}

uint8_t WriteButtonBlock(MouseConnection &connection, ProfileStore &deviceCopy,
                         const ProductSwitches &product)
{
    MacroNumberTable &table = connection.writeState().macroTable;
    const ButtonBlock block = buildButtonBlock(deviceCopy, product, table);
    if (table.size() > kUsableMacroSlots) {
        qCDebug(lcDevice, "more macros than the mouse has slots (%d); none is sent",
                int(kUsableMacroSlots));
        table.clear(); // a later upload must not find slots the mouse does not have
        return kTooManyMacros;
    }
    return sendReports(connection, buttonBlockReports(block));
}

} // namespace mc
