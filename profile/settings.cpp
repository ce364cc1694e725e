// Single-key accessors of the settings files. QSettings is fine here: these files are small and
// each accessor is called rarely; the large profile files go through the profile file code.
// QSettings reads a whole file into memory, so a file larger than any settings file of ours
// could be (damaged or hostile) is not opened: it reads as empty and is never rewritten.
#include "profile/settings.h"

#include "profile/boundedsettings.h"
#include "profile/inicodec.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/settingskeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mc {

namespace {

int readInt(const QString &file, const QString &key, int def = 0)
{
    BoundedSettings s(file);
    bool ok = false;
    const int v = s.value(key).toInt(&ok);
    return ok ? v : def;
}

QString readString(const QString &file, const QString &key)
{
    BoundedSettings s(file);
    return s.value(key).toString();
}

// Start-up stores the current product and slot each time: an unchanged value leaves the file
// alone (the INI writer skips a file that would not change).
SaveResult writeValue(const QString &file, const QString &key, const QVariant &value)
{
    return editSettingsFile(file, [&](IniFile &ini) {
        if (!ini.contains(key) || ini.value(key).toString() != value.toString())
            ini.setValue(key, value);
    });
}

int desc(const char *key, int def = 0)
{
    return readInt(productDescriptionFile(), QLatin1String(key), def);
}
int app(const char *key, int def = 0)
{
    return readInt(appSettingsFile(), QLatin1String(key), def);
}

QString fmt(const char *pattern, int n)
{
    return QString::fromLatin1(pattern).arg(n);
}

// The verdict of settingsFileUsable is kept for contents up to this size.
constexpr int kKeptSize = 64 * 1024;

#ifdef Q_OS_UNIX
// The bytes of a small regular file, read with plain calls for settingsFileUsable: every
// accessor reads its file again, and the file object around each read cost more than the read.
// Anything out of the ordinary (not a regular file, larger than a kept content, cut short or
// grown while read) is left to the general reader: false.
bool readSmallFile(const QString &file, QByteArray &out)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kKeptSize;
    if (ok) {
        out.resize(int(st.st_size));
        int got = 0;
        while (ok && got < out.size()) {
            const ssize_t n = ::read(fd, out.data() + got, size_t(out.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            got += ok ? int(n) : 0;
        }
        char more = 0;
        ssize_t n = 0;
        do {
            n = ::read(fd, &more, 1);
        } while (n < 0 && errno == EINTR);
        ok = ok && n == 0;
    }
    ::close(fd);
    if (!ok)
        out.clear();
    return ok;
}
#endif

} // namespace

bool settingsFileUsable(const QString &file)
{
    // QSettings decodes every value as it reads the file: one claiming gigabytes, a few dozen
    // bytes long, would end the program. What cannot be read (not a regular file, unreadable,
    // too large) is not given to QSettings either; a file that is not there is a new one, with
    // nothing in it to lose.
    QByteArray bytes;
#ifdef Q_OS_UNIX
    const bool read = readSmallFile(file, bytes) || IniFile::readFileBytes(file, bytes);
#else
    const bool read = IniFile::readFileBytes(file, bytes);
#endif
    if (!read)
        return !QFileInfo::exists(file);
    // Every accessor opens its file again, and checking the values was most of each: the
    // verdicts are kept for the last few small contents checked (the accessors go back and
    // forth between Config.ini and the product description).
    constexpr int kKept = 4;
    struct Verdict
    {
        QByteArray bytes;
        bool safe = false;
    };
    static std::mutex lock;
    static Verdict kept[kKept];
    static int next = 0;
    std::lock_guard<std::mutex> guard(lock);
    for (const Verdict &v : kept) {
        if (!v.bytes.isNull() && v.bytes == bytes)
            return v.safe;
    }
    const bool safe = ini::safeForQSettings(bytes);
    if (bytes.size() <= kKeptSize) {
        kept[next] = {bytes, safe};
        next = (next + 1) % kKept;
    }
    return safe;
}

SaveResult editSettingsFile(const QString &file, const std::function<void(IniFile &)> &edit)
{
    if (!settingsFileUsable(file))
        return SaveResult::unreadable(file);
    IniFile ini;
    ini.load(file);
    edit(ini);
    return ini.save(file);
}

void removeGroup(IniFile &ini, const QString &group)
{
    const QString prefix = group + QLatin1Char('/');
    const QStringList keys = ini.keys();
    for (const QString &key : keys) {
        if (key.startsWith(prefix))
            ini.remove(key);
    }
}

int readProductSyncAsWritten()
{
    return desc(keys::kProductSync);
}

bool productDescriptionExists()
{
    return QFileInfo::exists(productDescriptionFile());
}

bool productDescriptionUsable(QString *reason)
{
    const QString file = QDir::toNativeSeparators(productDescriptionFile());
    const auto fail = [&](const char *why) {
        if (reason)
            *reason = QCoreApplication::translate("Settings", why).arg(file);
        return false;
    };
    if (!productDescriptionExists())
        return fail(QT_TRANSLATE_NOOP("Settings", "The product description %1 is missing."));
    if (!settingsFileUsable(productDescriptionFile()))
        return fail(QT_TRANSLATE_NOOP("Settings", "The product description %1 cannot be read."));
    const int buttons = readButtonCount();
    if (buttons < 1 || buttons > kMaxPanelButtons)
        return fail(QT_TRANSLATE_NOOP("Settings", "The product description %1 is damaged: it "
                                                  "does not say which buttons the mouse has."));
    return true;
}

QString readProductName()
{
    return readString(productDescriptionFile(), QLatin1String(keys::kProductName));
}

int readButtonCount()
{
    BoundedSettings s(productDescriptionFile());
    return s.value(QLatin1String(keys::kButtonCount)).toInt() ^
           s.value(QLatin1String(keys::kMouseDpi)).toInt();
}

int readDpiCount()
{
    BoundedSettings s(productDescriptionFile());
    return s.value(QLatin1String(keys::kButtonCount)).toInt() ^
           s.value(QLatin1String(keys::kMouseDpi)).toInt() ^
           s.value(QLatin1String(keys::kDpiCount)).toInt();
}

int usableButtonCount()
{
    return qBound(0, readButtonCount(), kMaxPanelButtons);
}

int usableDpiCount()
{
    const int n = readDpiCount();
    return (n < 1 || n > 8) ? 8 : n;
}

int readDisableMacro()
{
    return desc(keys::kDisableMacro);
}
int readShowSleep()
{
    return desc(keys::kShowSleep, 1);
}
int readScrollRev()
{
    return desc(keys::kScrollRev);
}
int readMinDelay()
{
    // The delay unit divides every delay; a unit below 1 would divide by zero.
    const int unit = desc(keys::kMinDelay, kDefaultMinDelay);
    return unit < 1 ? kDefaultMinDelay : unit;
}
int read33254()
{
    return desc(keys::k33254);
}
int readColorMode()
{
    return desc(keys::kColorMode);
}
int readLedDisable()
{
    return desc(keys::kLedDisable);
}
int readProductSync()
{
    const int variant = desc(keys::kProductSync);
    return (variant < 0 || variant > 2) ? 0 : variant;
}
int readFrenchIndex()
{
    return desc(keys::kFrench, -1);
}

SleepRange readSleepRange()
{
    BoundedSettings s(productDescriptionFile());
    SleepRange r;
    r.min = qBound(0, s.value(QLatin1String(keys::kSleepMin), r.min).toInt(), 255);
    r.max = qBound(r.min, s.value(QLatin1String(keys::kSleepMax), r.max).toInt(), 255);
    return r;
}

UsbIds readUsbIds()
{
    BoundedSettings s(productDescriptionFile());
    UsbIds ids;
    ids.receiverVid = s.value(QLatin1String(keys::kVid1), ids.receiverVid).toInt();
    ids.receiverPid = s.value(QLatin1String(keys::kPid1), ids.receiverPid).toInt();
    ids.cableVid = s.value(QLatin1String(keys::kVid2), ids.cableVid).toInt();
    ids.cablePid = s.value(QLatin1String(keys::kPid2), ids.cablePid).toInt();
    return ids;
}

ButtonSlotMap &buttonSlotMap()
{
    static ButtonSlotMap map{};
    return map;
}

int readButtonSlotMap()
{
    if (!productDescriptionExists())
        return -1;
    BoundedSettings s(productDescriptionFile());
    for (int n = 0; n < kMatrixCount; ++n)
        buttonSlotMap()[size_t(n)] = uint8_t(s.value(fmt(keys::kMatrixFmt, n)).toInt());
    return 0;
}

int readPanelPlacement(PanelPlacement &out)
{
    if (!productDescriptionExists())
        return -1;
    BoundedSettings s(productDescriptionFile());
    for (int n = 0; n < kMatrixCount; ++n)
        out.place[size_t(n)] = int8_t(s.value(fmt(keys::kMatrix2Fmt, n)).toInt());
    out.buttonCount = qBound(0,
                             s.value(QLatin1String(keys::kButtonCount)).toInt() ^
                                 s.value(QLatin1String(keys::kMouseDpi)).toInt(),
                             kMaxPanelButtons);
    return 0;
}

int readActiveSlot()
{
    const int slot = app(keys::kProfileID);
    return (slot < 0 || slot > 4) ? 0 : slot;
}

SaveResult writeActiveSlot(int slot)
{
    return writeValue(appSettingsFile(), QLatin1String(keys::kProfileID),
                      (slot < 0 || slot > 4) ? 0 : slot);
}

int readDiff()
{
    return app(keys::kDiff);
}
SaveResult writeDiff(int diff)
{
    return writeValue(appSettingsFile(), QLatin1String(keys::kDiff), diff);
}

bool readReapplyOnConnect()
{
    return app(keys::kReapplyOnConnect, 1) != 0;
}
SaveResult writeReapplyOnConnect(bool bEnable)
{
    return writeValue(appSettingsFile(), QLatin1String(keys::kReapplyOnConnect), bEnable ? 1 : 0);
}

QString readCurrentProduct()
{
    // The name as stored: the device table and the settings know the product by it. Only the
    // product folder needs a file-name form, which paths.cpp makes.
    return readString(appSettingsFile(), QLatin1String(keys::kCurrentProductName));
}

SaveResult writeCurrentProduct(const QString &name)
{
    return writeValue(appSettingsFile(), QLatin1String(keys::kCurrentProductName), name);
}

QString readModel()
{
    return readString(appSettingsFile(), QLatin1String(keys::kModel));
}
int readBattery()
{
    return qBound(0, app(keys::kBattery), 100);
}
SaveResult writeBattery(int level)
{
    return writeValue(appSettingsFile(), QLatin1String(keys::kBattery), level);
}
int readBatteryFull()
{
    return app(keys::kBatteryFull, 4200);
}

int readThemeColourIndex()
{
    const int id = app(keys::kGColorID);
    return (id < 0 || id > 6) ? 0 : id;
}

int readSensorCode()
{
    return app(keys::kSensor);
}

int readLightingVariant()
{
    return readInt(appSettingsFile(),
                   QLatin1String(keys::kLedVariantPrefix) + readCurrentProduct());
}

QString readMouseListName()
{
    return readString(appSettingsFile(), QLatin1String(keys::kMouseList0));
}

LanguageTable readLanguageTable()
{
    BoundedSettings s(appSettingsFile());
    LanguageTable t;
    t.count = qBound(0, s.value(QLatin1String(keys::kLangNum)).toInt(), kMaxLanguages);
    for (int i = 0; i < kMaxLanguages; ++i) {
        t.names[size_t(i)] = s.value(fmt(keys::kLangNameFmt, i)).toString();
        t.files[size_t(i)] = s.value(fmt(keys::kLangFileFmt, i)).toString();
    }
    return t;
}

FontRule readFontRule(int language)
{
    BoundedSettings s(appSettingsFile());
    FontRule f;
    f.family = s.value(fmt(keys::kFontFmt, language)).toString();
    f.pixelSize = int(s.value(fmt(keys::kFontSizeFmt, language)).toUInt());
    return f;
}

QStringList readMacroList()
{
    BoundedSettings s(appSettingsFile());
    QStringList list;
    for (int i = 0; i < kMaxMacros; ++i)
        list << s.value(fmt(keys::kMacroListFmt, i)).toString();
    return list;
}

int readMacroCount()
{
    int n = 0;
    for (const QString &name : readMacroList())
        n += name.isEmpty() ? 0 : 1;
    return n;
}

int readLanguage()
{
    const int language = readInt(langSettingsFile(), QLatin1String(keys::kLangID));
    return (language < 0 || language >= kMaxLanguages) ? 0 : language;
}
SaveResult writeLanguage(int language)
{
    return writeValue(langSettingsFile(), QLatin1String(keys::kLangID), language);
}

// Exported files are large profile files: the fast INI code reads and edits them in a
// fraction of the time QSettings takes, with the same result.
SaveResult WriteExportMark(const QString &file, const QString &productName)
{
    // A file that could not be read would otherwise be replaced by one holding the mark alone.
    return editSettingsFile(
        file, [&](IniFile &ini) { ini.setString(QLatin1String(keys::kExportMark), productName); });
}

QString ReadExportMark(const QString &file)
{
    IniFile ini;
    ini.load(file);
    return ini.stringValue(QLatin1String(keys::kExportMark));
}

} // namespace mc
