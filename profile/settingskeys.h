// Key names of the product description, Config.ini, LangConfig.ini and the product settings.
// One place for them, so that a misspelt key cannot hide in a string literal somewhere.
#pragma once

namespace mc::keys {

// Product description (DefaultProfile.bin), read only.
inline constexpr char kProductName[] = "PROFILE/ProductName";
inline constexpr char kButtonCount[] = "PROFILE/ButtonCount";
inline constexpr char kMouseDpi[] = "PROFILE/MouseDpi";
inline constexpr char kDpiCount[] = "PROFILE/DPICount";
inline constexpr char kDisableMacro[] = "PROFILE/DisableMacro";
inline constexpr char kShowSleep[] = "PROFILE/ShowSleep";
inline constexpr char kScrollRev[] = "PROFILE/ScrollRev";
inline constexpr char kMinDelay[] = "PROFILE/MinDelay";
inline constexpr char k33254[] = "PROFILE/33254";
inline constexpr char kSleepMin[] = "PROFILE/SleepMin";
inline constexpr char kSleepMax[] = "PROFILE/SleepMax";
inline constexpr char kColorMode[] = "PROFILE/ColorMode";
inline constexpr char kLedDisable[] = "PROFILE/ledDisable";
inline constexpr char kProductSync[] = "PROFILE/Sync";
inline constexpr char kVid1[] = "PROFILE/vid1";
inline constexpr char kPid1[] = "PROFILE/pid1";
inline constexpr char kVid2[] = "PROFILE/vid2";
inline constexpr char kPid2[] = "PROFILE/pid2";
inline constexpr char kFrench[] = "PROFILE/french";
inline constexpr char kMatrixFmt[] = "PROFILE/BUTTON_INFO_%1_Matrix";
inline constexpr char kMatrix2Fmt[] = "PROFILE/BUTTON_INFO_%1_Matrix2";

// Application settings (K/Config.ini).
inline constexpr char kProfileID[] = "Config/ProfileID";
inline constexpr char kAngleValue[] = "Config/AngleValue";
inline constexpr char kLiftHigh[] = "Config/LiftHigh";
inline constexpr char kSync[] = "Config/Sync";
inline constexpr char kJitter[] = "Config/Jitter";
inline constexpr char kDebounce[] = "Config/Debounce";
inline constexpr char kCount[] = "Config/Count";
inline constexpr char kSlotNameFmt[] = "Config/Profile%1"; // %1 = slot + 1
inline constexpr char kDiff[] = "Config/Diff";
// 0: a mouse that connects is left as it is; anything else (the default): it is given the
// settings the window shows.
inline constexpr char kReapplyOnConnect[] = "Config/ReapplyOnConnect";
inline constexpr char kCurrentProductName[] = "Config/CurrentProductName";
inline constexpr char kModel[] = "Config/Model";
inline constexpr char kBattery[] = "Config/Battery";
inline constexpr char kBatteryFull[] = "Config/BatteryFull";
inline constexpr char kGColorID[] = "Config/GColorID";
inline constexpr char kSensor[] = "MouseSenSor/1";
inline constexpr char kLedVariantPrefix[] = "MouseLEDMode/";
inline constexpr char kMouseList0[] = "Mouse_List/0";
inline constexpr char kLangNum[] = "FONT_LIST/LANGNUM";
inline constexpr char kLangNameFmt[] = "FONT_LIST/LangName_%1";
inline constexpr char kLangFileFmt[] = "FONT_LIST/LangFile_%1";
inline constexpr char kFontFmt[] = "FONT_LIST/FONT_%1";
inline constexpr char kFontSizeFmt[] = "FONT_LIST/FONT_SIZE_%1";
inline constexpr char kMacroListFmt[] = "MACRO_LIST/%1";

// Application settings (K/Config.ini): the profile each application gets when it comes to the
// front. Slots are written 1 to 5, as the user counts them.
inline constexpr char kFocusRulesGroup[] = "FocusRules";
inline constexpr char kFocusEnabled[] = "FocusRules/Enabled";
inline constexpr char kFocusDefaultSlot[] = "FocusRules/DefaultSlot";
inline constexpr char kFocusCount[] = "FocusRules/Count";
inline constexpr char kFocusAppFmt[] = "FocusRules/App_%1";   // %1 = 0 .. Count - 1
inline constexpr char kFocusSlotFmt[] = "FocusRules/Slot_%1"; // 1 .. 5

// Language settings (K/LangConfig.ini).
inline constexpr char kLangID[] = "Config/LangID";

// Product settings (P/Config.ini): the profile library list.
inline constexpr char kProfileListGroup[] = "PROFILE_LIST";
inline constexpr char kProfileListCount[] = "PROFILE_LIST/Count";
inline constexpr char kProfileListFmt[] = "PROFILE_LIST/%1";

// Exported files.
inline constexpr char kExportMark[] = "MouseName/Name";

// Macro files (MacroDB/*.MSMACRO): the mark "edited since last sent", consumed by the change mask.
inline constexpr char kMacroWriteSign[] = "Setting/WriteSign";

} // namespace mc::keys
