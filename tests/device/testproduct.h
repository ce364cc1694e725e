// A data folder for device tests: a product description with the given USB IDs and a
// Config.ini naming the product, in a temporary folder that becomes the application directory.
#pragma once

#include "profile/paths.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace mc::test {

constexpr char kTestProduct[] = "TestMouse";

inline void writeTestProduct(const QTemporaryDir &dir, int vid1 = 0x248A, int pid1 = 0xFA02,
                             int vid2 = 0x248A, int pid2 = 0xFB01)
{
    setAppDir(dir.path());
    QDir(dir.path()).mkpath(QStringLiteral("Configs"));
    {
        QSettings d(productDescriptionFile(), QSettings::IniFormat);
        d.setValue(QStringLiteral("PROFILE/vid1"), vid1);
        d.setValue(QStringLiteral("PROFILE/pid1"), pid1);
        d.setValue(QStringLiteral("PROFILE/vid2"), vid2);
        d.setValue(QStringLiteral("PROFILE/pid2"), pid2);
    }
    QSettings c(appSettingsFile(), QSettings::IniFormat);
    c.setValue(QStringLiteral("Mouse_List/0"), QLatin1String(kTestProduct));
    c.setValue(QStringLiteral("Config/CurrentProductName"), QLatin1String(kTestProduct));
}

} // namespace mc::test
