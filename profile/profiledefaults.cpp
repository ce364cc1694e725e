// Default profiles, from the product description or built in.
#include "profile/profiledefaults.h"

#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"
#include "profile/settings.h"
#include "profile/settingskeys.h"

#include <mutex>

namespace mc {

namespace {

constexpr int kButton40Fun = 52; // entries 40 and 41 feed the mouse's button slots 22 and 23
constexpr int kButton41Fun = 53;
constexpr uint32_t kNewHue = 360;

QString descKey(const char *pattern, int n = -1)
{
    return QLatin1String(profilekeys::kGroup) + QLatin1Char('/') +
           profilekeys::FieldKey{pattern, n}.name();
}

void setStages(ProfileData &r, const std::array<uint32_t, kStageCount> &raw)
{
    for (int s = 0; s < kStageCount; ++s) {
        DpiStage &stage = r.stages[size_t(s)];
        stage.used = 1;
        stage.link = 1;
        stage.xy = stage.x = stage.y = raw[size_t(s)];
    }
}

void buildBuiltIn(ProfileData &r)
{
    r.LedMode = kBuiltInLedMode;
    r.LedMoveOFF = 0;
    r.LedSleepTime = 1;
    setStages(r, {8, 12, 16, 24, 50, 75, 0, 0});
    constexpr std::array<int32_t, 7> funs = {1, 2, 3, 4, 5, 4, 5};
    for (size_t n = 0; n < funs.size(); ++n)
        r.buttons[n].Fun = funs[n];
    for (LedModeInfo &led : r.leds) {
        led.color = QColor(255, 0, 0);
        led.h = kNewHue;
        led.bright = 3;
        led.breath = 3;
    }
    r.leds[4].breath = 2;
    r.leds[9].breath = 4;
    r.leds[10].color = QColor(0, 255, 0);
    r.leds[10].breath = 5;
    r.leds[12].breath = 1;
}

// Over the built-in profile: what the description gives replaces it.
void buildFromProduct(ProfileData &r, const ProductDefaults &d)
{
    r.pollrate = uint8_t(d.pollrate);
    r.LedMode = uint8_t(d.LedMode);
    r.dpi = uint8_t(d.dpi);
    r.LedMoveOFF = 0;
    r.LedSleepTime = 1;
    for (int s = 0; s < kStageCount; ++s) {
        DpiStage &stage = r.stages[size_t(s)];
        if (d.stageGiven[size_t(s)])
            stage.xy = stage.x = stage.y = d.stages[size_t(s)];
    }
    for (int n = 0; n < kDefaultButtonCount; ++n) {
        const ProductDefaults::Button &from = d.buttons[size_t(n)];
        ButtonInfo &to = r.buttons[size_t(n)];
        if (!from.given)
            continue; // a left click stays a left click when the description was cut short
        to.Fun = from.Fun;
        to.LoopNumber = from.LoopNumber;
        to.KeyNumber = from.KeyNumber;
        to.Res1 = from.res[0];
        to.Res2 = from.res[1];
        to.Res3 = from.res[2];
        to.Res4 = from.res[3];
    }
    for (int m = 0; m < kLedModeCount; ++m) {
        LedModeInfo &led = r.leds[size_t(m)];
        if (!d.leds[size_t(m)].color.isValid())
            continue;
        led.color = d.leds[size_t(m)].color;
        led.bright = d.leds[size_t(m)].bright;
        led.breath = d.leds[size_t(m)].breath;
        led.h = kNewHue;
    }
}

} // namespace

bool readProductDefaults(ProductDefaults &out)
{
    // A store load builds a default profile for every slot that has no file yet, and reading
    // the description was most of each. The file is small: kept by its bytes, a description
    // changed in any way is read again.
    struct Kept
    {
        bool valid = false;
        QByteArray bytes;
        ProductDefaults defaults;
    };
    static Kept kept;
    static std::mutex lock;
    QByteArray bytes;
    if (!IniFile::readFileBytes(productDescriptionFile(), bytes))
        return false;
    {
        std::lock_guard<std::mutex> guard(lock);
        if (kept.valid && kept.bytes == bytes) {
            out = kept.defaults;
            return true;
        }
    }
    namespace k = profilekeys;
    IniFile ini;
    ini.parse(bytes);
    out.dpi = ini.intValue(descKey(k::kDpi));
    out.pollrate = ini.intValue(descKey(k::kPollrate));
    out.LedMode = ini.intValue(descKey(k::kLedMode));
    const auto given = [&ini](const QString &key) {
        bool ok = false;
        ini.value(key).toString().toLongLong(&ok);
        return ok;
    };
    const int buttonCount = ini.intValue(QLatin1String(keys::kButtonCount)) ^
                            ini.intValue(QLatin1String(keys::kMouseDpi));
    out.describesButtons = buttonCount >= 1 && buttonCount <= kMaxPanelButtons;
    for (int s = 0; s < kStageCount; ++s) {
        out.stages[size_t(s)] = ini.uintValue(descKey(k::kStageXY, s));
        out.stageGiven[size_t(s)] = given(descKey(k::kStageXY, s));
    }
    for (int n = 0; n < kDefaultButtonCount; ++n) {
        ProductDefaults::Button &b = out.buttons[size_t(n)];
        b.Fun = ini.intValue(descKey(k::kButtonFun, n));
        b.given = given(descKey(k::kButtonFun, n));
        b.LoopNumber = ini.intValue(descKey(k::kButtonLoop, n));
        b.KeyNumber = ini.intValue(descKey(k::kButtonKeyNumber, n));
        const char *res[] = {k::kButtonRes1, k::kButtonRes2, k::kButtonRes3, k::kButtonRes4};
        for (size_t i = 0; i < 4; ++i)
            b.res[i] = uint8_t(ini.intValue(descKey(res[i], n)));
    }
    for (int m = 0; m < kLedModeCount; ++m) {
        ProductDefaults::Led &led = out.leds[size_t(m)];
        led.color = ini.colorValue(descKey(k::kLedRgb, m));
        led.bright = ini.uintValue(descKey(k::kLedBright, m));
        led.breath = ini.uintValue(descKey(k::kLedBreath, m));
    }
    std::lock_guard<std::mutex> guard(lock);
    kept = {true, bytes, out};
    return true;
}

int defaultLedMode()
{
    IniFile ini;
    if (!ini.load(productDescriptionFile()))
        return kBuiltInLedMode;
    const int mode = ini.intValue(descKey(profilekeys::kLedMode));
    return (mode >= 0 && mode < kLedModeCount) ? mode : kBuiltInLedMode;
}

void BuildDefaultProfile(ProfileData &record)
{
    ProfileData r; // all numbers 0, strings empty, colours invalid
    r.pollrate = 1;
    r.dpi = 1;
    r.mousespeed = 10;
    r.dbclickspeed = 5;
    r.scrollispage = 0;
    r.scrollspeed = 1;
    r.accelenable = 1;
    r.acee = 1;
    buildBuiltIn(r);
    // A damaged description gives nothing: its zeros would switch every button off, and a
    // write is refused while it stays so (the apply worker says why).
    ProductDefaults product;
    if (readProductDefaults(product) && product.describesButtons)
        buildFromProduct(r, product);
    r.buttons[40].Fun = kButton40Fun;
    r.buttons[41].Fun = kButton41Fun;
    clampProfile(r); // a description with a stage of 9 or a mode of 200 is no better than a file
    record = r;
}

SaveResult WriteDefaultProfileFile()
{
    ProfileData record;
    BuildDefaultProfile(record);
    return WriteProfileFile(record, defaultProfileFile());
}

} // namespace mc
