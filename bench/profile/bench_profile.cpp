// Times LoadStore and SaveStore of a store whose five slots are full (every button with 63 key
// steps, every lighting mode set), against the targets: SaveStore after one slot changed at most
// 15 ms, LoadStore at most 30 ms (medians). QSettings on one such file is shown for comparison.
// The heap the profile key table holds once built is shown too (it lives as long as the window).
// Exits with 1 when a target is missed.
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <vector>

using namespace mc;

namespace {

constexpr int kRuns = 40;
constexpr double kSaveTargetMs = 15.0;
constexpr double kLoadTargetMs = 30.0;

ProfileData fullRecord(int seed)
{
    ProfileData r;
    r.pollrate = 2;
    r.dpi = uint8_t(seed % 8);
    r.LedMode = uint8_t(seed % 14);
    r.LedMoveOFF = 1;
    r.LedSleepTime = 5;
    for (int s = 0; s < kStageCount; ++s) {
        DpiStage &st = r.stages[size_t(s)];
        st.used = 1;
        st.link = uint8_t(s % 2);
        st.xy = st.x = uint32_t(31 + 32 * s + seed);
        st.y = st.x + 7;
    }
    r.mousespeed = 10;
    r.scrollspeed = 3;
    for (int n = 0; n < kButtonCount; ++n) {
        ButtonInfo &b = r.buttons[size_t(n)];
        b.ID = n;
        b.Fun = n % 4 == 0 ? kMacroFunction : 6 + n;
        b.LoopNumber = 1 + n % 5;
        b.KeyNumber = kKeyStepCount;
        b.Res1 = uint8_t(n + seed);
        b.macroname = n % 4 == 0 ? QStringLiteral("Macro %1").arg(n) : QString();
        for (int j = 0; j < kKeyStepCount; ++j)
            b.KeyInfo[size_t(j)] = {uint8_t(j % 2 ? 0x84 : 0x04), uint8_t(n + j),
                                    uint8_t((j * seed) % 256)};
    }
    for (int m = 0; m < kLedModeCount; ++m) {
        LedModeInfo &led = r.leds[size_t(m)];
        led.color = QColor(m * 18, 255 - m, seed * 40 % 256);
        led.h = uint32_t(m * 25);
        led.s = 200;
        led.v = 255;
        led.bright = 3;
        led.breath = uint32_t(1 + m % 5);
    }
    r.ProfileName = QStringLiteral("Profile %1").arg(seed + 1);
    return r;
}

struct Figures
{
    double median = 0;
    double max = 0;
};

Figures timeRuns(const std::function<void(int)> &run, int runs = kRuns)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        run(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

void print(const char *what, const Figures &f, double target = 0)
{
    std::printf("%-46s median %7.2f ms   max %7.2f ms", what, f.median, f.max);
    if (target > 0)
        std::printf("   target <= %.0f ms: %s", target, f.median <= target ? "met" : "MISSED");
    std::printf("\n");
}

// Bytes handed out by malloc, large blocks (which it maps apart) included.
size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Measured before anything else touches the table (the store code builds it on first use).
    const size_t heapBefore = heapInUse();
    QElapsedTimer built;
    built.start();
    profilekeys::keyTable();
    const double buildMs = double(built.nsecsElapsed()) / 1e6;
    const size_t heapAfter = heapInUse();
    std::printf("profile key table: %d fields, %.1f KB of heap, built in %.2f ms\n",
                profilekeys::fieldCount(), double(heapAfter - heapBefore) / 1024.0, buildMs);

    QTemporaryDir dir;
    setAppDir(dir.path());
    writeCurrentProduct(QStringLiteral("KIV M1"));

    ProfileStore store;
    for (int i = 0; i < kSlotCount; ++i) {
        store.profiles[size_t(i)] = fullRecord(i);
        store.names[size_t(i)] = QStringLiteral("Profile %1").arg(i + 1);
    }

    const Figures first = timeRuns([&](int) { SaveStore(store); }, 1);
    const QString one = profileFile(store.names[0]);
    std::printf("profile file: %lld bytes, %d keys per slot\n", QFileInfo(one).size(),
                int(QSettings(one, QSettings::IniFormat).allKeys().size()));

    const Figures unchanged = timeRuns([&](int) { SaveStore(store); });
    const Figures changed = timeRuns([&](int i) {
        ProfileData &r = store.profiles[size_t(i % kSlotCount)];
        r.buttons[size_t(i % kButtonCount)].KeyInfo[size_t(i % kKeyStepCount)].high ^= 0x5A;
        SaveStore(store);
    });
    // Of the above, what the disk alone costs: one file of that size written safely (written
    // beside, synced, renamed over), as every save of a changed slot must.
    QByteArray bytes;
    {
        QFile f(one);
        f.open(QIODevice::ReadOnly);
        bytes = f.readAll();
    }
    const Figures disk = timeRuns([&](int i) {
        bytes[bytes.size() - 2] = char('0' + i % 10);
        IniFile::writeFileBytes(dir.filePath(QStringLiteral("disk.prof")), bytes);
    });
    ProfileStore loaded;
    const Figures load = timeRuns([&](int) { LoadStore(loaded); });
    if (loaded != store) {
        std::printf("error: the loaded store differs from the saved one\n");
        return 2;
    }

    const Figures ours = timeRuns([&](int) {
        ProfileData r;
        ReadProfileFile(r, one);
    });
    // A file that is not laid out as we write it (here: another group first) takes the general
    // reader, which looks every key up by name.
    const QString other = dir.filePath(QStringLiteral("other.prof"));
    {
        QFile f(other);
        f.open(QIODevice::WriteOnly);
        f.write("[Other]\nkey=1\n\n" + bytes);
    }
    const Figures general = timeRuns([&](int) {
        ProfileData r;
        ReadProfileFile(r, other);
    });
    // The same work through QSettings, on copies it has not seen (it keeps files it read).
    QStringList keys;
    for (int ord = 0; ord < profilekeys::fieldCount(); ++ord)
        keys.append(profilekeys::keyTable().profileKey(ord));
    const Figures qtRead = timeRuns(
        [&](int i) {
            const QString copy = dir.filePath(QStringLiteral("read%1.prof").arg(i));
            QFile::copy(one, copy);
            QSettings s(copy, QSettings::IniFormat);
            int sum = 0;
            for (const QString &key : keys)
                sum += s.value(key).toInt();
            Q_UNUSED(sum)
        },
        5);
    const Figures qtWrite = timeRuns(
        [&](int i) {
            QSettings s(dir.filePath(QStringLiteral("write%1.prof").arg(i)), QSettings::IniFormat);
            for (const QString &key : keys)
                s.setValue(key, i);
        },
        5);

    print("SaveStore, first write of five files", first);
    print("SaveStore, nothing changed", unchanged);
    print("SaveStore, one slot changed", changed, kSaveTargetMs);
    print("  of which the disk: one synced file write", disk);
    print("LoadStore, five full slots", load, kLoadTargetMs);
    print("ReadProfileFile, one full file", ours);
    print("ReadProfileFile, other layout (general reader)", general);
    print("QSettings, read one full file (for comparison)", qtRead);
    print("QSettings, write one full file (for comparison)", qtWrite);
    const bool met = changed.median <= kSaveTargetMs && load.median <= kLoadTargetMs;
    setAppDir(QString());
    return met ? 0 : 1;
}
