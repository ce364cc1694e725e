// Packing and sending the macros.
#include "device/macroupload.h"
#include "device/log.h"

#include "device/buttonblock.h"
#include "device/mouseconnection.h"
#include "device/writeresult.h"
#include "macro/macrofile.h"

#include <QDebug>

#include <algorithm>

namespace mc {

namespace {

constexpr MacroAction kInsertedDelay{macro::kKindDelay, 0x00, 0x01};

struct PackedItem
{
    MacroAction action;
    bool inserted = false; // a delay the packing adds, not one of the macro's actions
};

// The triples of the packed form, before the slot's end cuts them.
QVector<PackedItem> packedItems(const QVector<MacroAction> &actions)
{
    QVector<PackedItem> items;
    const bool hasDelay = std::any_of(actions.begin(), actions.end(), [](const MacroAction &a) {
        return a.Map == macro::kKindDelay;
    });
    if (hasDelay) {
        for (const MacroAction &a : actions)
            items.append({a, false});
        return items;
    }
    for (int i = 0; i < actions.size(); ++i) {
        items.append({actions[i], false});
        if ((i + 1) % macroarea::kGroupSize == 0)
            items.append({kInsertedDelay, true});
    }
    items.append({kInsertedDelay, true});
    return items;
}

} // namespace

PackedMacro packMacro(const QVector<MacroAction> &actions)
{
    PackedMacro slot{};
    int at = 0;
    for (const PackedItem &item : packedItems(actions)) {
        // Map, then the low byte, then the high byte; the slot's end may fall inside a triple.
        for (const uint8_t b : {item.action.Map, item.action.DataL, item.action.DataH}) {
            if (at == macroarea::kSlotSize)
                return slot;
            slot[size_t(at++)] = b;
        }
    }
    return slot;
}

MacroFit macroFit(const QVector<MacroAction> &actions)
{
    MacroFit fit;
    const int read = std::min<int>(actions.size(), macro::kMaxUploadActions);
    fit.actionsCut = int(actions.size()) - read;
    const QVector<PackedItem> items = packedItems(actions.mid(0, read));
    fit.packedBytes = int(items.size()) * macroarea::kActionSize;
    fit.bytesCut = std::max(0, fit.packedBytes - macroarea::kSlotSize);
    for (int i = 0; i < items.size(); ++i) {
        const int end = (i + 1) * macroarea::kActionSize;
        if (end > macroarea::kSlotSize && !items[i].inserted)
            ++fit.actionsCut;
    }
    return fit;
}

MacroUploadPlan planMacroUpload(const ProfileStore &deviceCopy, const MacroNumberTable &table)
{
    MacroUploadPlan plan;
    if (table.isEmpty()) {
        plan.tableWasEmpty = true;
        return plan;
    }
    if (table.size() > kUsableMacroSlots) {
        qCDebug(lcDevice, "more macros than the mouse has slots (%d); none is sent",
                int(kUsableMacroSlots));
        plan.tooMany = true;
        return plan;
    }
    // Every name of the table is run by an entry of slot 0, so walking the slots packs each
    // numbered macro exactly once; names of the other slots without a number are not sent.
    for (const ProfileData &profile : deviceCopy.profiles) {
        for (const ButtonInfo &entry : profile.buttons) {
            if (!runsUsableMacro(entry))
                continue;
            const int slot = table.slotOf(entry.macroname);
            if (slot < 0 || plan.filled[size_t(slot)])
                continue;
            const PackedMacro packed =
                packMacro(readStoredActions(entry.macroname, macro::kMaxUploadActions));
            std::copy(packed.begin(), packed.end(),
                      plan.area.begin() + slot * macroarea::kSlotSize);
            plan.filled[size_t(slot)] = true;
        }
    }
    return plan;
}

ReportList macroUploadReports(const MacroUploadPlan &plan)
{
    ReportList out;
    for (int slot = 0; slot < macroarea::kSlots; ++slot) {
        if (!plan.filled[size_t(slot)])
            continue;
        for (int j = 0; j < macroarea::kPacketsPerSlot; ++j) {
            const int offset = slot * macroarea::kSlotSize + j * macroarea::kPacketSize;
            const uint8_t phase = (slot == 0 && j == 0) ? frame::kPhaseFirst : frame::kPhaseMore;
            out.push_back(blockPacket(frame::kMacroBlock, uint16_t(offset), phase,
                                      plan.area.data() + offset, macroarea::kPacketSize));
        }
    }
    if (!out.empty())
        out.push_back(closingPacket(frame::kMacroBlock));
    return out;
}

uint8_t UploadMacros(MouseConnection &connection, const ProfileStore &deviceCopy)
{
    MacroNumberTable &table = connection.writeState().macroTable;
    const MacroUploadPlan plan = planMacroUpload(deviceCopy, table);
    table.clear();
    if (plan.tooMany)
        return kTooManyMacros;
    return sendReports(connection, macroUploadReports(plan));
}

} // namespace mc
