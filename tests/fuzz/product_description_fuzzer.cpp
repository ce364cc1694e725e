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

#include <array>

using namespace mc;
using namespace mc::fuzz;

namespace {

QString descKey(const char *pattern, int n = -1)
{
    return QLatin1String(profilekeys::kGroup) + QLatin1Char('/') +
           profilekeys::FieldKey{pattern, n}.name();
}

// The keys of the new-profile values, made once: making them was a tenth of every input.
struct DefaultKeys
{
    QString dpi = descKey(profilekeys::kDpi);
    QString pollrate = descKey(profilekeys::kPollrate);
    QString ledMode = descKey(profilekeys::kLedMode);
    std::array<QString, kStageCount> stages;
    struct Button
    {
        QString fun, loop, keyNumber;
        std::array<QString, 4> res;
    };
    std::array<Button, kDefaultButtonCount> buttons;
    struct Led
    {
        QString rgb, bright, breath;
    };
    std::array<Led, kLedModeCount> leds;

    DefaultKeys()
    {
        namespace k = profilekeys;
        for (int s = 0; s < kStageCount; ++s)
            stages[size_t(s)] = descKey(k::kStageXY, s);
        for (int n = 0; n < kDefaultButtonCount; ++n) {
            Button &b = buttons[size_t(n)];
            b.fun = descKey(k::kButtonFun, n);
            b.loop = descKey(k::kButtonLoop, n);
            b.keyNumber = descKey(k::kButtonKeyNumber, n);
            const char *res[] = {k::kButtonRes1, k::kButtonRes2, k::kButtonRes3, k::kButtonRes4};
            for (size_t i = 0; i < 4; ++i)
                b.res[i] = descKey(res[i], n);
        }
        for (int m = 0; m < kLedModeCount; ++m)
            leds[size_t(m)] = {descKey(k::kLedRgb, m), descKey(k::kLedBright, m),
                               descKey(k::kLedBreath, m)};
    }
};

// The new-profile values as QSettings reads them.
ProductDefaults defaultsWithQSettings(const QString &path)
{
    static const DefaultKeys keys;
    QSettings qs(path, QSettings::IniFormat);
    readAllGroups(qs); // as the program's own QSettings readers do
    const auto num = [&](const QString &key) { return qs.value(key).toInt(); };
    ProductDefaults d;
    d.dpi = num(keys.dpi);
    d.pollrate = num(keys.pollrate);
    d.LedMode = num(keys.ledMode);
    for (int s = 0; s < kStageCount; ++s)
        d.stages[size_t(s)] = qs.value(keys.stages[size_t(s)]).toUInt();
    for (int n = 0; n < kDefaultButtonCount; ++n) {
        ProductDefaults::Button &b = d.buttons[size_t(n)];
        const DefaultKeys::Button &key = keys.buttons[size_t(n)];
        b.Fun = num(key.fun);
        b.LoopNumber = num(key.loop);
        b.KeyNumber = num(key.keyNumber);
        for (size_t i = 0; i < 4; ++i)
            b.res[i] = uint8_t(num(key.res[i]));
    }
    for (int m = 0; m < kLedModeCount; ++m) {
        ProductDefaults::Led &led = d.leds[size_t(m)];
        const DefaultKeys::Led &key = keys.leds[size_t(m)];
        const QVariant c = qs.value(key.rgb);
        led.color = c.canConvert<QColor>() ? c.value<QColor>() : QColor();
        led.bright = qs.value(key.bright).toUInt();
        led.breath = qs.value(key.breath).toUInt();
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
        // Equal colours are equal in every part describe() shows; a colour of NaN components
        // is not equal to itself and is told by its description.
        MC_FUZZ_CHECK(x.color == y.color || describe(x.color) == describe(y.color),
                      "mode %d colour %s, QSettings %s", m, qPrintable(describe(x.color)),
                      qPrintable(describe(y.color)));
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
    const QString productName = readProductName();
    const int buttonCount = readButtonCount();
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
        MC_FUZZ_CHECK(productName.isEmpty() && buttonCount == 0,
                      "a description QSettings must not read gave values");
    } else {
        // The accessors read through QSettings, the defaults through our reader: both must see
        // every key of the file.
        IniFile ini;
        ini.parse(bytes);
        const QString name = ini.stringValue(QLatin1String(keys::kProductName));
        MC_FUZZ_CHECK(productName == name, "product name %s, our reader %s",
                      qPrintable(productName), qPrintable(name));
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
