// The product description (DefaultProfile.bin, read only). The bytes are the description; every
// accessor of it runs, the new-profile defaults are read and a default profile is built. The
// defaults must be what QSettings reads from the same bytes (the accessors read through
// QSettings, the defaults through our INI reader), every value that later serves as an index or
// a divisor must come out in range, and the default profile must be a clamped record.
//
// Bytes that QSettings must not be given (ini::safeForQSettings) make the accessors read their
// defaults: the description is refused as a whole rather than decoded by QSettings.
#include "fuzzsupport.h"
#include "profilecheck.h"

#include "profile/boundedsettings.h"
#include "profile/inicodec.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"
#include "profile/settings.h"
#include "profile/settingskeys.h"

#include <QColor>
#include <QSettings>

using namespace mc;
using namespace mc::fuzz;

namespace {

QString descKey(const char *pattern, int n = -1)
{
    return QLatin1String(profilekeys::kGroup) + QLatin1Char('/') +
           profilekeys::FieldKey{pattern, n}.name();
}

// The new-profile values as QSettings reads them.
ProductDefaults defaultsWithQSettings(const QString &path)
{
    namespace k = profilekeys;
    QSettings qs(path, QSettings::IniFormat);
    readAllGroups(qs); // as the program's own QSettings readers do
    const auto num = [&](const QString &key) { return qs.value(key).toInt(); };
    ProductDefaults d;
    d.dpi = num(descKey(k::kDpi));
    d.pollrate = num(descKey(k::kPollrate));
    d.LedMode = num(descKey(k::kLedMode));
    for (int s = 0; s < kStageCount; ++s)
        d.stages[size_t(s)] = qs.value(descKey(k::kStageXY, s)).toUInt();
    for (int n = 0; n < kDefaultButtonCount; ++n) {
        ProductDefaults::Button &b = d.buttons[size_t(n)];
        b.Fun = num(descKey(k::kButtonFun, n));
        b.LoopNumber = num(descKey(k::kButtonLoop, n));
        b.KeyNumber = num(descKey(k::kButtonKeyNumber, n));
        const char *res[] = {k::kButtonRes1, k::kButtonRes2, k::kButtonRes3, k::kButtonRes4};
        for (size_t i = 0; i < 4; ++i)
            b.res[i] = uint8_t(num(descKey(res[i], n)));
    }
    for (int m = 0; m < kLedModeCount; ++m) {
        ProductDefaults::Led &led = d.leds[size_t(m)];
        const QVariant c = qs.value(descKey(k::kLedRgb, m));
        led.color = c.canConvert<QColor>() ? c.value<QColor>() : QColor();
        led.bright = qs.value(descKey(k::kLedBright, m)).toUInt();
        led.breath = qs.value(descKey(k::kLedBreath, m)).toUInt();
    }
    return d;
}

void checkSameDefaults(const ProductDefaults &a, const ProductDefaults &b)
{
    MC_FUZZ_CHECK(a.dpi == b.dpi && a.pollrate == b.pollrate && a.LedMode == b.LedMode,
                  "dpi %d/%d, rate %d/%d, mode %d/%d", a.dpi, b.dpi, a.pollrate, b.pollrate,
                  a.LedMode, b.LedMode);
    MC_FUZZ_CHECK(a.stages == b.stages, "stage values differ");
    for (int n = 0; n < kDefaultButtonCount; ++n) {
        const auto &x = a.buttons[size_t(n)];
        const auto &y = b.buttons[size_t(n)];
        MC_FUZZ_CHECK(x.Fun == y.Fun && x.LoopNumber == y.LoopNumber &&
                          x.KeyNumber == y.KeyNumber && x.res == y.res,
                      "button %d differs", n);
    }
    for (int m = 0; m < kLedModeCount; ++m) {
        const auto &x = a.leds[size_t(m)];
        const auto &y = b.leds[size_t(m)];
        MC_FUZZ_CHECK(describe(x.color) == describe(y.color), "mode %d colour %s, QSettings %s", m,
                      qPrintable(describe(x.color)), qPrintable(describe(y.color)));
        MC_FUZZ_CHECK(x.bright == y.bright && x.breath == y.breath, "mode %d levels differ", m);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Scratch scratch;
    const QByteArray bytes = bytesOf(data, size);
    setAppDir(scratch.folder());
    scratch.put(productDescriptionFile(), bytes);
    const bool usable = ini::safeForQSettings(bytes);

    // The accessors, and what the program relies on of their results.
    readProductName();
    readButtonCount();
    const int dpiCount = usableDpiCount();
    MC_FUZZ_CHECK(dpiCount >= 1 && dpiCount <= 8, "usable DPI count %d", dpiCount);
    const int buttons = usableButtonCount();
    MC_FUZZ_CHECK(buttons >= 0 && buttons <= kMaxPanelButtons, "usable button count %d", buttons);
    MC_FUZZ_CHECK(readMinDelay() >= 1, "delay unit %d", readMinDelay());
    const int sync = readProductSync();
    MC_FUZZ_CHECK(sync >= 0 && sync <= 2, "sensor-options variant %d", sync);
    readProductSyncAsWritten();
    const SleepRange sleep = readSleepRange();
    MC_FUZZ_CHECK(sleep.min >= 0 && sleep.min <= sleep.max && sleep.max <= 255,
                  "sleep range %d..%d", sleep.min, sleep.max);
    readUsbIds();
    readDisableMacro();
    readShowSleep();
    readScrollRev();
    read33254();
    readColorMode();
    readLedDisable();
    readFrenchIndex();
    MC_FUZZ_CHECK(readButtonSlotMap() == 0, "the description was reported missing");
    PanelPlacement placement;
    MC_FUZZ_CHECK(readPanelPlacement(placement) == 0, "the description was reported missing");
    MC_FUZZ_CHECK(placement.buttonCount >= 0 && placement.buttonCount <= kMaxPanelButtons,
                  "panel button count %d", placement.buttonCount);
    if (!usable) {
        MC_FUZZ_CHECK(readProductName().isEmpty() && readButtonCount() == 0,
                      "a description QSettings must not read gave values");
    } else {
        // The accessors read through QSettings, the defaults through our reader: both must see
        // every key of the file.
        IniFile ini;
        ini.parse(bytes);
        const QString name = ini.stringValue(QLatin1String(keys::kProductName));
        MC_FUZZ_CHECK(readProductName() == name, "product name %s, our reader %s",
                      qPrintable(readProductName()), qPrintable(name));
    }

    ProductDefaults ours;
    MC_FUZZ_CHECK(readProductDefaults(ours), "the description was reported missing");
    if (usable)
        checkSameDefaults(ours, defaultsWithQSettings(productDescriptionFile()));
    const int mode = defaultLedMode();
    MC_FUZZ_CHECK(mode >= 0 && mode < kLedModeCount, "default lighting mode %d", mode);

    ProfileData record;
    BuildDefaultProfile(record);
    ProfileData clamped = record;
    clampProfile(clamped);
    checkSameRecord(record, clamped, "default profile not clamped");
    MC_FUZZ_CHECK(record.buttons[40].Fun == 52 && record.buttons[41].Fun == 53,
                  "entries 40 and 41 lost their functions");
    return 0;
}
