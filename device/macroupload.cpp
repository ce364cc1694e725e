// Packing and sending the macros.
#include "device/macroupload.h"

#include "device/buttonblock.h"
#include "device/writeresult.h"
#include "macro/macrofile.h"

#include <QDebug>

#include <algorithm>

namespace mc {

namespace {

constexpr MacroAction kInsertedDelay{macro::kKindDelay, 0x00, 0x01};

void put(PackedMacro &slot, int &at, const MacroAction &a)
{
    slot[size_t(at++)] = a.Map;
    slot[size_t(at++)] = a.DataL;
    slot[size_t(at++)] = a.DataH;
}

} // namespace

PackedMacro packMacro(const QVector<MacroAction> &actions)
{
    PackedMacro slot{};
    QVector<MacroAction> items;
    const bool hasDelay = std::any_of(actions.begin(), actions.end(), [](const MacroAction &a) {
        return a.Map == macro::kKindDelay;
    });
    if (hasDelay) {
        items = actions;
    } else {
        for (int i = 0; i < actions.size(); ++i) {
            items.append(actions[i]);
            if ((i + 1) % macroarea::kGroupSize == 0)
                items.append(kInsertedDelay);
        }
        items.append(kInsertedDelay);
    }
    int at = 0;
    const int n = std::min<int>(items.size(), macroarea::kActionsPerSlot);
    for (int i = 0; i < n; ++i)
        put(slot, at, items[i]);
    return slot;
}

MacroUploadPlan planMacroUpload(const ProfileStore &deviceCopy, const MacroNumberTable &table)
{
    MacroUploadPlan plan;
    if (table.isEmpty()) {
        plan.tableWasEmpty = true;
        return plan;
    }
    if (table.size() > kUsableMacroSlots) {
        qDebug("iIndex>=MAX_MACRO_NUMBER_560\n");
        plan.tooMany = true;
        return plan;
    }
    // Every name of the table is run by an entry of slot 0, so walking the slots packs each
    // numbered macro exactly once; names of the other slots without a number are not sent.
    for (const ProfileData &profile : deviceCopy.profiles) {
        for (const ButtonInfo &entry : profile.buttons) {
            if (!runsMacro(entry))
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

uint8_t UploadMacros(const ProfileStore &deviceCopy)
{
    MacroNumberTable &table = writeState().macroTable;
    const MacroUploadPlan plan = planMacroUpload(deviceCopy, table);
    table.clear();
    if (plan.tooMany)
        return kTooManyMacros;
    return sendReports(macroUploadReports(plan));
}

} // namespace mc
