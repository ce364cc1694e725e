// Key names of profile files (".prof", group PROFILE), of the profile groups of configuration
// exports (".conf", groups PROFILE_0..PROFILE_4) and of the new-profile defaults in the product
// description, with the one walk over a profile record that gives every stored field its key, in
// the order the files have always had. Reader, writer and key tables all follow that walk, so a
// field cannot be written under one name and read under another.
#pragma once

#include "profile/profiledata.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringView>
#include <QVector>

namespace mc::profilekeys {

inline constexpr char kGroup[] = "PROFILE";
inline constexpr char kExportGroupFmt[] = "PROFILE_%1"; // %1 = slot 0..4

inline constexpr char kPollrate[] = "pollrate";
inline constexpr char kDpi[] = "dpi";
inline constexpr char kStageUsed[] = "DPI_INFO_%1_used";
inline constexpr char kStageLink[] = "DPI_INFO_%1_link";
inline constexpr char kStageXY[] = "DPI_INFO_%1_xy";
inline constexpr char kStageX[] = "DPI_INFO_%1_x";
inline constexpr char kStageY[] = "DPI_INFO_%1_y";
inline constexpr char kMouseSpeed[] = "mousespeed";
inline constexpr char kDbClickSpeed[] = "dbclickspeed";
inline constexpr char kScrollIsPage[] = "scrollispage";
inline constexpr char kScrollSpeed[] = "scrollspeed";
inline constexpr char kAccelEnable[] = "accelenable";
inline constexpr char kAcee[] = "acee";
inline constexpr char kButtonID[] = "BUTTON_INFO_%1_ID";
inline constexpr char kButtonFun[] = "BUTTON_INFO_%1_Fun";
inline constexpr char kButtonLoop[] = "BUTTON_INFO_%1_LoopNumber";
inline constexpr char kButtonKeyNumber[] = "BUTTON_INFO_%1_KeyNumber";
inline constexpr char kButtonRes1[] = "BUTTON_INFO_%1_Res1";
inline constexpr char kButtonRes2[] = "BUTTON_INFO_%1_Res2";
inline constexpr char kButtonRes3[] = "BUTTON_INFO_%1_Res3";
inline constexpr char kButtonRes4[] = "BUTTON_INFO_%1_Res4";
inline constexpr char kButtonMacro[] = "BUTTON_INFO_%1_macroname";
inline constexpr char kKeyMap[] = "BUTTON_INFO_%1_KeyInfo_%2_map";
inline constexpr char kKeyLow[] = "BUTTON_INFO_%1_KeyInfo_%2_";
inline constexpr char kKeyHigh[] = "BUTTON_INFO_%1_KeyInfo_%2_H";
inline constexpr char kProfileName[] = "ProfileName";
inline constexpr char kProfilePath[] = "ProfilePath";
inline constexpr char kLedMode[] = "LedMode";
inline constexpr char kLedMoveOff[] = "LedMoveOFF";
inline constexpr char kLedSleepTime[] = "LedSleepTime";
inline constexpr char kLedRgb[] = "LedMode/LED_MODE_%1_RGB";
inline constexpr char kLedH[] = "LedMode/LED_MODE_%1_h";
inline constexpr char kLedS[] = "LedMode/LED_MODE_%1_s";
inline constexpr char kLedV[] = "LedMode/LED_MODE_%1_v";
inline constexpr char kLedBright[] = "LedMode/LED_MODE_%1_bright";
inline constexpr char kLedBreath[] = "LedMode/LED_MODE_%1_breath";

// Missing keys read as 0, except these two.
constexpr int kLedMoveOffMissing = 255;
constexpr int kLedSleepTimeMissing = 1;

// One stored field: its key pattern with up to two numbers, and what a missing key reads as.
struct FieldKey
{
    const char *pattern;
    int a = -1;
    int b = -1;
    int missing = 0;
    QString name() const; // the pattern with its numbers filled in
    void appendName(QByteArray &out) const;
};

// Walks the stored fields of a record in file order and calls
// f(ordinal, const FieldKey &, field&) for each; field is uint8_t, int32_t, uint32_t, QString or
// QColor (const when the record is). The two lighting keys that configuration exports leave out
// are skipped when withSleepKeys is false; ordinals stay those of the full walk.
template <typename Record, typename F> void visitProfileFields(Record &r, bool withSleepKeys, F &&f)
{
    int ord = 0;
    f(ord++, FieldKey{kPollrate}, r.pollrate);
    f(ord++, FieldKey{kDpi}, r.dpi);
    for (int s = 0; s < kStageCount; ++s) {
        auto &stage = r.stages[size_t(s)];
        f(ord++, FieldKey{kStageUsed, s}, stage.used);
        f(ord++, FieldKey{kStageLink, s}, stage.link);
        f(ord++, FieldKey{kStageXY, s}, stage.xy);
        f(ord++, FieldKey{kStageX, s}, stage.x);
        f(ord++, FieldKey{kStageY, s}, stage.y);
    }
    f(ord++, FieldKey{kMouseSpeed}, r.mousespeed);
    f(ord++, FieldKey{kDbClickSpeed}, r.dbclickspeed);
    f(ord++, FieldKey{kScrollIsPage}, r.scrollispage);
    f(ord++, FieldKey{kScrollSpeed}, r.scrollspeed);
    f(ord++, FieldKey{kAccelEnable}, r.accelenable);
    f(ord++, FieldKey{kAcee}, r.acee);
    for (int n = 0; n < kButtonCount; ++n) {
        auto &button = r.buttons[size_t(n)];
        f(ord++, FieldKey{kButtonID, n}, button.ID);
        f(ord++, FieldKey{kButtonFun, n}, button.Fun);
        f(ord++, FieldKey{kButtonLoop, n}, button.LoopNumber);
        f(ord++, FieldKey{kButtonKeyNumber, n}, button.KeyNumber);
        f(ord++, FieldKey{kButtonRes1, n}, button.Res1);
        f(ord++, FieldKey{kButtonRes2, n}, button.Res2);
        f(ord++, FieldKey{kButtonRes3, n}, button.Res3);
        f(ord++, FieldKey{kButtonRes4, n}, button.Res4);
        f(ord++, FieldKey{kButtonMacro, n}, button.macroname);
        for (int j = 0; j < kKeyStepCount; ++j) {
            auto &step = button.KeyInfo[size_t(j)];
            f(ord++, FieldKey{kKeyMap, n, j}, step.map);
            f(ord++, FieldKey{kKeyLow, n, j}, step.low);
            f(ord++, FieldKey{kKeyHigh, n, j}, step.high);
        }
    }
    f(ord++, FieldKey{kProfileName}, r.ProfileName);
    f(ord++, FieldKey{kProfilePath}, r.ProfilePath);
    f(ord++, FieldKey{kLedMode}, r.LedMode);
    if (withSleepKeys) {
        f(ord++, FieldKey{kLedMoveOff, -1, -1, kLedMoveOffMissing}, r.LedMoveOFF);
        f(ord++, FieldKey{kLedSleepTime, -1, -1, kLedSleepTimeMissing}, r.LedSleepTime);
    } else {
        ord += 2;
    }
    for (int m = 0; m < kLedModeCount; ++m) {
        auto &led = r.leds[size_t(m)];
        f(ord++, FieldKey{kLedRgb, m}, led.color);
        f(ord++, FieldKey{kLedH, m}, led.h);
        f(ord++, FieldKey{kLedS, m}, led.s);
        f(ord++, FieldKey{kLedV, m}, led.v);
        f(ord++, FieldKey{kLedBright, m}, led.bright);
        f(ord++, FieldKey{kLedBreath, m}, led.breath);
    }
}

// The keys of the walk, built once and kept for the life of the window: names within the group
// ("LedMode/LED_MODE_5_h") and the escaped form a file line starts with ("LedMode\LED_MODE_5_h").
// The names are held back to back in one Latin-1 block with an offset table, and a line key is
// a view of its name unless escaping changes it (the few such keys are held apart). Separate
// strings for 8,000 fields, three forms each, cost the window close to 3 MB; this costs a tenth.
// Full names in a profile file ("PROFILE/LedMode/LED_MODE_5_h") are put together when asked for.
class KeyTable
{
public:
    int size() const { return m_starts.size() - 1; }
    QLatin1String name(int ord) const
    {
        const int from = m_starts.at(ord) & kOffset;
        return QLatin1String(m_names.constData() + from, (m_starts.at(ord + 1) & kOffset) - from);
    }
    QLatin1String lineKey(int ord) const
    {
        return (m_starts.at(ord) & kEscaped) ? escapedKey(ord) : name(ord);
    }
    QString profileKey(int ord) const;
    // The ordinal of the field with this name within the group; -1 when no field has it.
    int indexOf(QStringView name) const;

private:
    friend const KeyTable &keyTable();
    static constexpr int kEscaped = 0x40000000; // in m_starts: the line key differs from the name
    static constexpr int kOffset = kEscaped - 1;
    struct Escaped
    {
        int ord;
        int from; // in m_escaped
        int size;
    };
    QLatin1String escapedKey(int ord) const;

    QByteArray m_names;
    QVector<int> m_starts; // size() + 1 entries: where each name starts (and kEscaped), the end
    QByteArray m_escaped;  // the line keys that differ from their names, by ordinal
    QVector<Escaped> m_escapedKeys;
    QVector<quint16> m_index; // open addressing on the name: ordinal + 1, 0 for a free slot
};
const KeyTable &keyTable();
int fieldCount();

} // namespace mc::profilekeys
