// Helpers of the profile tests: a temporary data folder, files written the way QSettings
// writes them, and records with every stored field set to a value of its own.
#pragma once

#include "profile/inifileformat.h"
#include "profile/paths.h"
#include "profile/profiledata.h"

#include <QDir>
#include <QFile>
#include <QPair>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>

namespace mctest {

// A fresh application folder per test, set as the data folder.
class DataDir
{
public:
    DataDir() { mc::setAppDir(m_dir.path()); }
    ~DataDir() { mc::setAppDir(QString()); }
    QString path(const QString &rel = QString()) const
    {
        return rel.isEmpty() ? m_dir.path() : m_dir.filePath(rel);
    }

private:
    QTemporaryDir m_dir;
};

// The QSettings format of the files the program keeps: Qt 5's INI format. Qt 6's own departs
// from it outside ASCII (raw UTF-8 both ways); the program's format keeps Qt 5's rules there.
inline QSettings::Format storedIniFormat()
{
#if QT_VERSION_MAJOR < 6
    return QSettings::IniFormat;
#else
    return mc::iniSettingsFormat();
#endif
}

using Values = QList<QPair<QString, QVariant>>;

inline void writeWithQSettings(const QString &path, const Values &values)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings s(path, storedIniFormat());
    for (const auto &v : values)
        s.setValue(v.first, v.second);
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// Every stored field differs from its default and from the same field of another seed.
inline mc::ProfileData fullRecord(int seed)
{
    mc::ProfileData r;
    auto byte = [seed](int n) { return uint8_t((seed * 37 + n * 11 + 1) % 251 + 1); };
    r.pollrate = uint8_t(1 << (seed % 4));
    r.dpi = uint8_t(seed % 8);
    r.LedMode = uint8_t(seed % 14);
    r.LedMoveOFF = byte(1);
    r.LedSleepTime = byte(2);
    for (int s = 0; s < mc::kStageCount; ++s) {
        auto &st = r.stages[size_t(s)];
        st.used = uint8_t((s + seed) % 2);
        st.link = uint8_t((s + seed + 1) % 2);
        st.xy = uint32_t(4000000000u - uint32_t(s * 1000 + seed));
        st.x = uint32_t(100 + s + seed);
        st.y = uint32_t(200 + s * 3 + seed);
    }
    r.mousespeed = byte(3);
    r.dbclickspeed = byte(4);
    r.scrollispage = byte(5);
    r.scrollspeed = byte(6);
    r.accelenable = byte(7);
    r.acee = byte(8);
    for (int n = 0; n < mc::kButtonCount; ++n) {
        auto &b = r.buttons[size_t(n)];
        b.ID = -1000 * n - seed;
        b.Fun = n % 3 == 0 ? mc::kMacroFunction : n + seed;
        b.LoopNumber = 2000000000 - n;
        b.KeyNumber = -n;
        b.Res1 = byte(n * 4);
        b.Res2 = byte(n * 4 + 1);
        b.Res3 = byte(n * 4 + 2);
        b.Res4 = byte(n * 4 + 3);
        b.macroname = n % 3 == 0 ? QStringLiteral("Macro, %1 é").arg(n + seed) : QString();
        for (int j = 0; j < mc::kKeyStepCount; ++j) {
            b.KeyInfo[size_t(j)].map = byte(n + j);
            b.KeyInfo[size_t(j)].low = byte(n * j);
            b.KeyInfo[size_t(j)].high = byte(n + 2 * j + 7);
        }
    }
    for (int m = 0; m < mc::kLedModeCount; ++m) {
        auto &led = r.leds[size_t(m)];
        led.color = m == 3 ? QColor() : QColor(m * 18, 255 - m, (m + seed) % 256, 255 - m * 5);
        led.h = uint32_t(360 - m);
        led.s = uint32_t(m + seed);
        led.v = uint32_t(4294967295u - uint32_t(m));
        led.bright = uint32_t(m % 4);
        led.breath = uint32_t(m % 6);
    }
    r.ProfileName = QStringLiteral("  Name; with = odd, chars 中 %1").arg(seed);
    r.ProfilePath = QStringLiteral("C:\\Users\\x\\%1.prof").arg(seed);
    return r;
}

} // namespace mctest
