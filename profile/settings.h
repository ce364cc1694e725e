// Accessors of the product description and the application settings: each opens its file,
// reads or writes one key (or the listed keys) and closes it again. Nothing is cached, so a
// change made by another part of the program is seen at once. A missing file or key reads as
// its default; values that later serve as indexes are clamped here, where they enter.
// Called from the user-interface thread and from the apply worker (never at the same time).
#pragma once

#include "profile/saveresult.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

namespace mc {

class IniFile;

// False for a settings file that exists but cannot be read in full: too large to be one of ours
// (damaged or hostile), a folder, unreadable, or holding a typed value that QSettings would
// decode without bound (ini::safeForQSettings). Such a file is neither given to QSettings nor
// rewritten. A missing file is usable (it reads as empty and may be created).
bool settingsFileUsable(const QString &file);

// Every write of a settings file: loads it, lets edit change it, and saves it atomically unless
// nothing changed. A file that is not usable (above) is refused and left untouched.
SaveResult editSettingsFile(const QString &file, const std::function<void(IniFile &)> &edit);
// Removes every key of the group (its first key part) from the loaded file.
void removeGroup(IniFile &ini, const QString &group);

constexpr int kMaxMacros = 50;       // "MACRO_LIST/0" .. "MACRO_LIST/49"
constexpr int kMaxLanguages = 10;    // language table entries
constexpr int kMatrixCount = 16;     // panel buttons described by the product
constexpr int kMaxPanelButtons = 40; // button entries 0..39 can be panel buttons
constexpr int kDefaultMinDelay = 10;

// --- product description (DefaultProfile.bin) ---
bool productDescriptionExists();
// True when the description can be read and names the mouse's buttons (a button count of 1..40):
// without it every button would be sent as "off". False, with the reason for the user, when it
// is missing, unreadable or damaged.
bool productDescriptionUsable(QString *reason = nullptr);
QString readProductName();
int readButtonCount();   // ButtonCount XOR MouseDpi
int readDpiCount();      // ButtonCount XOR MouseDpi XOR DPICount
int usableDpiCount();    // the DPI count clamped: outside 1..8 counts as 8
int usableButtonCount(); // the button count clamped to 0..40
int readDisableMacro();
int readShowSleep();
int readScrollRev();
int readMinDelay(); // at least 1 (a value below 1 reads as the default 10)
int read33254();
int readColorMode();
int readLedDisable();
int readProductSync();          // sensor-options variant 0, 1 or 2
int readProductSyncAsWritten(); // the same key unclamped: the command set has a form for any value
                                // (other values read as 0)
int readFrenchIndex();

struct SleepRange
{
    int min = 1;
    int max = 9;
};
SleepRange readSleepRange(); // within 0..255, max not below min

struct UsbIds
{
    int receiverVid = 0x248A;
    int receiverPid = 0xFA02;
    int cableVid = 0x248A;
    int cablePid = 0xFB01;
};
UsbIds readUsbIds();

// The shared button slot map: device slot of panel button n (the button block addresses it at
// slot * 4 + 2). readButtonSlotMap fills it from the description; -1 when the file is missing
// (the map is then left unchanged).
using ButtonSlotMap = std::array<uint8_t, kMatrixCount>;
ButtonSlotMap &buttonSlotMap();
int readButtonSlotMap();

// Panel placement of the sixteen buttons (-1 hides one) and the button count (clamped to
// 0..40); -1 when the description is missing.
struct PanelPlacement
{
    std::array<int8_t, kMatrixCount> place{};
    int buttonCount = 0;
};
int readPanelPlacement(PanelPlacement &out);

// --- application settings (K/Config.ini) ---
int readActiveSlot(); // clamped: a slot outside 0..4 reads as 0
SaveResult writeActiveSlot(int slot);
int readDiff();
SaveResult writeDiff(int diff);
// Whether a mouse that connects is given the settings the window shows (default on).
bool readReapplyOnConnect();
SaveResult writeReapplyOnConnect(bool bEnable);
QString readCurrentProduct(); // as stored; productFolderName() gives its folder
SaveResult writeCurrentProduct(const QString &name);
QString readModel();
int readBattery(); // 0..100
SaveResult writeBattery(int level);
int readBatteryFull();
int readThemeColourIndex(); // outside 0..6 reads as 0
int readSensorCode();
int readLightingVariant();
QString readMouseListName(); // "Mouse_List/0"

struct LanguageTable
{
    int count = 0; // FONT_LIST/LANGNUM, clamped to 0..10
    std::array<QString, kMaxLanguages> names;
    std::array<QString, kMaxLanguages> files;
};
LanguageTable readLanguageTable();

struct FontRule
{
    QString family;
    int pixelSize = 0;
};
FontRule readFontRule(int language);

QStringList readMacroList(); // the 50 entries, empty strings for gaps
int readMacroCount();        // non-empty entries

// --- language settings (K/LangConfig.ini) ---
int readLanguage(); // 0..9, an index into the language table
SaveResult writeLanguage(int language);

// --- export mark of exported files ---
// False, and the file untouched, when it could not be read (settingsFileUsable) or written.
SaveResult WriteExportMark(const QString &file, const QString &productName);
QString ReadExportMark(const QString &file);

} // namespace mc
