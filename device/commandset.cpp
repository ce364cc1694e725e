// Control commands, block senders and the whole write.
#include "device/commandset.h"
#include "device/log.h"

#include "device/blockscheme.h"
#include "device/buttonblock.h"
#include "device/macroupload.h"
#include "device/mouseconnection.h"
#include "device/settingsblocks.h"
#include "device/writeresult.h"
#include "device/writestate.h"

#include <QDebug>

namespace mc {

namespace {

uint8_t sendControl(MouseConnection &c, uint8_t command, uint8_t param, uint8_t param2 = 0)
{
    const frame::Report r = controlReport(command, param, param2);
    return SendCommand(c, r.data(), kReportSize);
}

uint8_t commit(MouseConnection &c, uint8_t selector)
{
    return sendControl(c, frame::kCommit, frame::kCommitMark, selector);
}

// Builds the button block on a scratch copy to learn how many macros it numbers.
int distinctMacros(const ProfileStore &store, const ProductSwitches &product)
{
    ProfileStore scratch = store;
    MacroNumberTable table;
    buildButtonBlock(scratch, product, table);
    return table.size();
}

uint8_t writeSequence(MouseConnection &c, ProfileStore &copy, const ProductSwitches &product,
                      int mask)
{
    uint8_t r = BeginWrite(c);
    if (r == kOk && (mask & change::kGeneral))
        r = WriteGeneralBlock(c, copy, product);
    if (r == kOk && (mask & change::kButtons))
        r = WriteButtonBlock(c, copy, product);
    if (r == kOk && (mask & change::kDpi))
        r = WriteDpiBlock(c, copy, product);
    if (r == kOk && (mask & change::kLighting))
        r = WriteLightingBlock(c, copy);
    if (r == kOk && mask != 0)
        r = CommitSettings(c);
    if (r == kOk)
        r = UploadMacros(c, copy);
    if (r == kOk)
        r = EndWrite(c);
    return r;
}

} // namespace

uint8_t BeginWrite(MouseConnection &connection)
{
    return sendControl(connection, frame::kWriteBracket, 0);
}
uint8_t EndWrite(MouseConnection &connection)
{
    return sendControl(connection, frame::kWriteBracket, 1);
}

uint8_t CommitSettings(MouseConnection &connection)
{
    const MouseConnection::PollerPause pause(connection);
    for (uint8_t selector : kCommitSelectors) {
        const uint8_t r = commit(connection, selector);
        if (r != kOk)
            return r;
    }
    return kOk;
}

uint8_t SelectProfile(MouseConnection &connection, int iProfile)
{
    if (iProfile < 0 || iProfile >= kSlotCount) {
        qCDebug(lcDevice, "SelectProfile: no slot %d", iProfile);
        return kValueOutOfRange;
    }
    // The poller reads the same handle and would take the commit's echo for itself.
    const MouseConnection::PollerPause pause(connection);
    const uint8_t selected = sendControl(connection, frame::kSelectProfile, uint8_t(iProfile));
    const uint8_t committed = commit(connection, kCommitActiveSlot);
    return selected != kOk ? selected : committed;
}

uint8_t WriteGeneralBlock(MouseConnection &connection, const ProfileStore &deviceCopy,
                          const ProductSwitches &product)
{
    return sendReports(connection, generalBlockReports(deviceCopy, product));
}

uint8_t WriteDpiBlock(MouseConnection &connection, const ProfileStore &deviceCopy,
                      const ProductSwitches &product)
{
    return sendReports(connection, dpiBlockReports(deviceCopy, product));
}

uint8_t WriteLightingBlock(MouseConnection &connection, const ProfileStore &deviceCopy)
{
    return sendReports(connection, lightingBlockReports(deviceCopy));
}

uint8_t ApplyChanges(MouseConnection &connection, const ProfileStore &working, int mask)
{
    mask &= change::kAll;
    ProductSwitches product = readProductSwitches(0);
    if ((mask & change::kButtons) && distinctMacros(working, product) > kUsableMacroSlots) {
        qCDebug(lcDevice, "more macros than the mouse has slots (%d); none is sent",
                int(kUsableMacroSlots));
        return kTooManyMacros;
    }
    // The poller writes the status byte that the DPI block of some sensors depends on: it has
    // stopped before the byte is read. It comes back after a failed write too: without it the
    // window would never learn that the mouse went to sleep or came back.
    const MouseConnection::PollerPause pause(connection);
    product.statusByte = connection.statusByte();
    WriteState &state = connection.writeState();
    state.deviceCopy = working;
    return writeSequence(connection, state.deviceCopy, product, mask);
}

} // namespace mc
