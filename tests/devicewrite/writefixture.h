// A data folder with a product description and Config.ini for the write tests, and the emulated
// mouse plugged in through the receiver with the program's handles open on it.
#pragma once

#include "device/devicetable.h"
#include "device/discovery.h"
#include "device/mouseconnection.h"
#include "emulator/emulatedmouse.h"
#include "profile/paths.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

namespace mc::test {

constexpr char kWriteTestProduct[] = "WriteTestMouse";

// Six buttons at device slots 1, 0, 2, 3, 4, 5; `dpiCount` stages; the sensor and the options
// variant given. Extra keys (full "group/key" names) go to the description or Config.ini.
inline void writeProductFiles(const QString &dir, int sensor, int dpiCount, int productSync = 0,
                              const QVariantMap &descExtra = {},
                              const QVariantMap &configExtra = {})
{
    setAppDir(dir);
    QDir(dir).mkpath(QStringLiteral("Configs/MacroDB"));
    {
        QSettings d(productDescriptionFile(), QSettings::IniFormat);
        d.clear();
        d.setValue("PROFILE/ProductName", kWriteTestProduct);
        d.setValue("PROFILE/ButtonCount", 6);
        d.setValue("PROFILE/MouseDpi", 0);
        d.setValue("PROFILE/DPICount", 6 ^ dpiCount); // the count is the XOR of the three
        d.setValue("PROFILE/Sync", productSync);
        const int map[6] = {1, 0, 2, 3, 4, 5};
        for (int n = 0; n < 6; ++n)
            d.setValue(QString("PROFILE/BUTTON_INFO_%1_Matrix").arg(n), map[n]);
        for (auto it = descExtra.begin(); it != descExtra.end(); ++it)
            d.setValue(it.key(), it.value());
    }
    QSettings c(appSettingsFile(), QSettings::IniFormat);
    c.clear();
    c.setValue("Mouse_List/0", kWriteTestProduct);
    c.setValue("Config/CurrentProductName", kWriteTestProduct);
    c.setValue("MouseSenSor/1", sensor);
    for (auto it = configExtra.begin(); it != configExtra.end(); ++it)
        c.setValue(it.key(), it.value());
}

// The emulated mouse plugged in, and a connection on it opened the way the window opens a
// mouse. The connection ends (poller stopped, handles closed) before the mouse goes.
class OpenMouse
{
public:
    OpenMouse()
        : m_mouse(std::make_unique<EmulatedMouse>()),
          m_connection(std::make_unique<MouseConnection>(*m_mouse))
    {
        m_mouse->plug(EmulatedMouse::Attachment::Receiver);
        InitDeviceTable(*m_connection);
        EnumerateDevices(*m_connection);
        OpenDeviceByName(*m_connection, QByteArray(kWriteTestProduct));
    }
    ~OpenMouse() { m_connection.reset(); }
    OpenMouse(const OpenMouse &) = delete;
    OpenMouse &operator=(const OpenMouse &) = delete;

    EmulatedMouse &operator*() { return *m_mouse; }
    EmulatedMouse *operator->() { return m_mouse.get(); }
    MouseConnection &connection() { return *m_connection; }

private:
    std::unique_ptr<EmulatedMouse> m_mouse;
    std::unique_ptr<MouseConnection> m_connection;
};

// One line per report written: command, offset (or parameters), length and phase in hex, e.g.
// "02 0006 05 d2"; control commands as "46 00 00".
inline QStringList wireSummary(const QVector<QByteArray> &reports)
{
    QStringList out;
    for (const QByteArray &r : reports) {
        const auto b = [&](int i) { return uint8_t(r.at(i)); };
        if (b(3) <= 0x0A)
            out << QString::asprintf("%02x %04x %02x %02x", b(3), b(4) | (b(5) << 8), b(6), b(7));
        else
            out << QString::asprintf("%02x %02x %02x", b(3), b(4), b(5));
    }
    return out;
}

} // namespace mc::test
