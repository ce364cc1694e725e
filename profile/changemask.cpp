// The change mask: one comparison per group, in the order and with the stopping rules the
// apply worker has always used, so that macro marks are consumed exactly as before.
#include "profile/changemask.h"

#include "profile/inifileformat.h"
#include "profile/paths.h"
#include "profile/settings.h"
#include "profile/settingskeys.h"

#include <QFileInfo>
#include <QSettings>

namespace mc {

namespace {

bool generalDiffers(const ProfileStore &w, const ProfileStore &l)
{
    for (int i = 0; i < kSlotCount; ++i) {
        const ProfileData &a = w.profiles[size_t(i)];
        const ProfileData &b = l.profiles[size_t(i)];
        if (a.pollrate != b.pollrate || a.scrollspeed != b.scrollspeed)
            return true;
    }
    if (w.AngleValue != l.AngleValue || w.LiftHigh != l.LiftHigh || w.Sync != l.Sync ||
        w.Jitter != l.Jitter || w.Debounce != l.Debounce || w.ProfileID != l.ProfileID)
        return true;
    const ProfileData &a = w.current();
    const ProfileData &b = l.current();
    return a.dpi != b.dpi || a.LedMode != b.LedMode || a.LedMoveOFF != b.LedMoveOFF ||
           a.LedSleepTime != b.LedSleepTime;
}

bool dpiDiffers(const ProfileStore &w, const ProfileStore &l)
{
    for (int i = 0; i < kSlotCount; ++i) {
        for (int s = 0; s < kStageCount; ++s) {
            const DpiStage &a = w.profiles[size_t(i)].stages[size_t(s)];
            const DpiStage &b = l.profiles[size_t(i)].stages[size_t(s)];
            // link and xy only shape the editor; the mouse gets used, x and y.
            if (a.used != b.used || a.x != b.x || a.y != b.y)
                return true;
        }
    }
    return false;
}

// Reads the macro's edit mark and clears it when set. True when it was set.
bool consumeWriteSign(const QString &macroName)
{
    if (!isSafeFileName(macroName))
        return false;
    const QString path = macroFile(macroName);
    // A file the macro code would not read (too large, or holding what QSettings must not
    // decode) is neither loaded nor rewritten here.
    if (!QFileInfo(path).isFile() || !settingsFileUsable(path))
        return false;
    QSettings file(path, iniSettingsFormat());
    const QString key = QLatin1String(keys::kMacroWriteSign);
    if (file.value(key, 0).toInt() == 0)
        return false;
    file.setValue(key, 0);
    return true;
}

bool buttonsDiffer(const ProfileStore &w, const ProfileStore &l)
{
    bool changed = false;
    for (int i = 0; i < kSlotCount; ++i) {
        for (int n = 0; n < kButtonCount; ++n) {
            const ButtonInfo &a = w.profiles[size_t(i)].buttons[size_t(n)];
            const ButtonInfo &b = l.profiles[size_t(i)].buttons[size_t(n)];
            if (a.ID != b.ID || a.Fun != b.Fun || a.LoopNumber != b.LoopNumber ||
                a.KeyNumber != b.KeyNumber || a.Res1 != b.Res1 || a.Res2 != b.Res2 ||
                a.Res3 != b.Res3 || a.Res4 != b.Res4)
                return true;
            if (a.Fun == kMacroFunction) {
                if (a.macroname != b.macroname || a.KeyInfo != b.KeyInfo)
                    changed = true;
                if (a.macroname == b.macroname && consumeWriteSign(a.macroname))
                    return true;
            } else if (a.KeyInfo != b.KeyInfo) {
                changed = true;
            }
        }
    }
    return changed;
}

bool lightingDiffers(const ProfileStore &w, const ProfileStore &l)
{
    for (int i = 0; i < kSlotCount; ++i) {
        const ProfileData &a = w.profiles[size_t(i)];
        const ProfileData &b = l.profiles[size_t(i)];
        if (a.LedMode != b.LedMode)
            return true;
        // Only the effect in use matters to the mouse; the others are edited freely.
        if (a.activeLed() != b.activeLed())
            return true;
    }
    return false;
}

} // namespace

int ComputeChangeMask(const ProfileStore &working, const ProfileStore &written)
{
    int mask = 0;
    if (generalDiffers(working, written))
        mask |= kMaskGeneral;
    if (dpiDiffers(working, written))
        mask |= kMaskDpi;
    if (buttonsDiffer(working, written))
        mask |= kMaskButtons;
    if (lightingDiffers(working, written))
        mask |= kMaskLighting;
    return mask;
}

} // namespace mc
