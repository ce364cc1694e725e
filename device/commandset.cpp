// Control commands, block senders and the whole write.
#include "device/commandset.h"
#include "device/log.h"

#include "device/blockscheme.h"
#include "device/buttonblock.h"
#include "device/macroupload.h"
#include "device/pollercontrol.h"
#include "device/settingsblocks.h"
#include "device/writeresult.h"
#include "device/writestate.h"

#include <QDebug>

namespace mc {

namespace {

PollerControl *g_pollerControl = nullptr;

uint8_t sendControl(uint8_t command, uint8_t param, uint8_t param2 = 0)
{
    const frame::Report r = controlReport(command, param, param2);
    return SendCommand(r.data(), kReportSize);
}

uint8_t commit(uint8_t selector)
{
    return sendControl(frame::kCommit, frame::kCommitMark, selector);
}

// Builds the button block on a scratch copy to learn how many macros it numbers.
int distinctMacros(const ProfileStore &store, const ProductSwitches &product)
{
    ProfileStore scratch = store;
    MacroNumberTable table;
    buildButtonBlock(scratch, product, table);
    return table.size();
}

uint8_t writeSequence(ProfileStore &copy, const ProductSwitches &product, int mask)
{
    uint8_t r = BeginWrite();
    if (r == kOk && (mask & change::kGeneral))
        r = WriteGeneralBlock(copy, product);
    if (r == kOk && (mask & change::kButtons))
        r = WriteButtonBlock(copy, product);
    if (r == kOk && (mask & change::kDpi))
        r = WriteDpiBlock(copy, product);
    if (r == kOk && (mask & change::kLighting))
        r = WriteLightingBlock(copy);
    if (r == kOk && mask != 0)
        r = CommitSettings();
    if (r == kOk)
        r = UploadMacros(copy);
    if (r == kOk)
        r = EndWrite();
    return r;
}

} // namespace

void setPollerControl(PollerControl *control)
{
    g_pollerControl = control;
}
PollerControl *pollerControl()
{
    return g_pollerControl;
}

uint8_t BeginWrite()
{
    return sendControl(frame::kWriteBracket, 0);
}
uint8_t EndWrite()
{
    return sendControl(frame::kWriteBracket, 1);
}

uint8_t CommitSettings()
{
    for (uint8_t selector : kCommitSelectors) {
        const uint8_t r = commit(selector);
        if (r != kOk)
            return r;
    }
    return kOk;
}

uint8_t SelectProfile(int iProfile)
{
    if (iProfile < 0 || iProfile >= kSlotCount) {
        qCDebug(lcDevice, "SelectProfile: no slot %d", iProfile);
        return kValueOutOfRange;
    }
    const uint8_t selected = sendControl(frame::kSelectProfile, uint8_t(iProfile));
    const uint8_t committed = commit(kCommitActiveSlot);
    return selected != kOk ? selected : committed;
}

uint8_t WriteGeneralBlock(const ProfileStore &deviceCopy, const ProductSwitches &product)
{
    return sendReports(generalBlockReports(deviceCopy, product));
}

uint8_t WriteDpiBlock(const ProfileStore &deviceCopy, const ProductSwitches &product)
{
    return sendReports(dpiBlockReports(deviceCopy, product));
}

uint8_t WriteLightingBlock(const ProfileStore &deviceCopy)
{
    return sendReports(lightingBlockReports(deviceCopy));
}

uint8_t ApplyChanges(const ProfileStore &working, int mask)
{
    mask &= change::kAll;
    const ProductSwitches product = readProductSwitches();
    if ((mask & change::kButtons) && distinctMacros(working, product) > kUsableMacroSlots) {
        qCDebug(lcDevice, "more macros than the mouse has slots (%d); none is sent", int(kUsableMacroSlots));
        return kTooManyMacros;
    }

    PollerControl *poller = g_pollerControl;
    if (poller)
        poller->stopAndWait();

    WriteState &state = writeState();
    state.deviceCopy = working;
    const uint8_t result = writeSequence(state.deviceCopy, product, mask);

    // The poller comes back after a failed write too: without it the window would never learn
    // that the mouse went to sleep or came back.
    if (poller)
        poller->restart();
    return result;
}

} // namespace mc
