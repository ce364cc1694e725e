// Pointer speed through the desktops' own interfaces: GNOME's GSettings key and sway's input
// configuration through their command-line tools (gsettings, swaymsg; both come with their
// desktop), Plasma's KWin input devices over D-Bus. All three take libinput's -1..1 speed.
#include "platform/log.h"
#include "platform/pointerspeed.h"
#include "platform/pointerspeedroutes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#ifdef MC_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#endif

#include <cmath>

namespace mc::pointerspeed {

namespace {

const char kGnomeSchema[] = "org.gnome.desktop.peripherals.mouse";
const char kGnomeKey[] = "speed";

// Runs a desktop tool and returns its standard output; empty with *ok false when it could not
// be started, did not end in time or reported a failure.
QByteArray runTool(const QString &program, const QStringList &args, bool *ok)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, args, QIODevice::ReadOnly);
    if (!p.waitForStarted(kRouteTimeoutMs)) {
        qCDebug(lcPlatform, "pointer speed: %s could not be started: %s", qPrintable(program),
                qPrintable(p.errorString()));
        *ok = false;
        return QByteArray();
    }
    if (!p.waitForFinished(kRouteTimeoutMs)) {
        p.kill();
        p.waitForFinished(kRouteTimeoutMs);
        qCDebug(lcPlatform, "pointer speed: %s did not answer in time", qPrintable(program));
        *ok = false;
        return QByteArray();
    }
    *ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!*ok)
        qCDebug(lcPlatform, "pointer speed: %s failed: %s", qPrintable(program),
                p.readAllStandardError().trimmed().constData());
    return p.readAllStandardOutput();
}

QString libinputText(double accel)
{
    return QString::number(accel, 'f', 3);
}

} // namespace

int gnomeSpeed()
{
    bool ok = false;
    const QByteArray out =
        runTool(QStringLiteral("gsettings"),
                {QStringLiteral("get"), QLatin1String(kGnomeSchema), QLatin1String(kGnomeKey)},
                &ok);
    bool number = false;
    const double accel = out.trimmed().toDouble(&number);
    return ok && number ? stepForLibinputSpeed(accel) : 0;
}

bool setGnomeSpeed(int speed)
{
    const double accel = libinputSpeedForStep(speed);
    if (std::isnan(accel))
        return false;
    bool ok = false;
    runTool(QStringLiteral("gsettings"),
            {QStringLiteral("set"), QLatin1String(kGnomeSchema), QLatin1String(kGnomeKey),
             libinputText(accel)},
            &ok);
    return ok;
}

// sway answers get_inputs with a JSON array of devices; a libinput pointer carries
// {"type": "pointer", "libinput": {"accel_speed": x}}.
int swaySpeed()
{
    bool ok = false;
    const QByteArray out = runTool(
        QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_inputs")},
        &ok);
    if (!ok)
        return 0;
    const QJsonArray inputs = QJsonDocument::fromJson(out).array();
    for (const QJsonValue &v : inputs) {
        const QJsonObject input = v.toObject();
        const QJsonValue accel = input.value(QLatin1String("libinput"))
                                     .toObject()
                                     .value(QLatin1String("accel_speed"));
        if (input.value(QLatin1String("type")).toString() == QLatin1String("pointer") &&
            accel.isDouble())
            return stepForLibinputSpeed(accel.toDouble());
    }
    return 0;
}

bool setSwaySpeed(int speed)
{
    const double accel = libinputSpeedForStep(speed);
    if (std::isnan(accel))
        return false;
    bool ok = false;
    runTool(QStringLiteral("swaymsg"),
            {QStringLiteral("input"), QStringLiteral("type:pointer"),
             QStringLiteral("pointer_accel"), libinputText(accel)},
            &ok);
    return ok;
}

#ifdef MC_HAVE_DBUS

namespace {

const char kKwinService[] = "org.kde.KWin";
const char kDevicesPath[] = "/org/kde/KWin/InputDevice";
const char kManagerInterface[] = "org.kde.KWin.InputDeviceManager";
const char kDeviceInterface[] = "org.kde.KWin.InputDevice";
const char kProperties[] = "org.freedesktop.DBus.Properties";

QVariant kwinProperty(const QString &path, const char *interface, const char *name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kKwinService), path, QLatin1String(kProperties), QStringLiteral("Get"));
    call << QLatin1String(interface) << QLatin1String(name);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kRouteTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QVariant();
    return reply.arguments().first().value<QDBusVariant>().variant();
}

// KWin's mice: pointers that are no touchpads and take an acceleration speed.
QStringList kwinMice()
{
    QStringList mice;
    const QStringList names =
        kwinProperty(QLatin1String(kDevicesPath), kManagerInterface, "devicesSysNames")
            .toStringList();
    for (const QString &name : names) {
        const QString path = QLatin1String(kDevicesPath) + QLatin1Char('/') + name;
        if (kwinProperty(path, kDeviceInterface, "pointer").toBool() &&
            !kwinProperty(path, kDeviceInterface, "touchpad").toBool() &&
            kwinProperty(path, kDeviceInterface, "supportsPointerAcceleration").toBool())
            mice << path;
    }
    return mice;
}

} // namespace

int plasmaSpeed()
{
    const QStringList mice = kwinMice();
    if (mice.isEmpty())
        return 0;
    bool ok = false;
    const double accel =
        kwinProperty(mice.first(), kDeviceInterface, "pointerAcceleration").toDouble(&ok);
    return ok ? stepForLibinputSpeed(accel) : 0;
}

bool setPlasmaSpeed(int speed)
{
    const double accel = libinputSpeedForStep(speed);
    if (std::isnan(accel))
        return false;
    bool any = false;
    for (const QString &path : kwinMice()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QLatin1String(kKwinService), path, QLatin1String(kProperties), QStringLiteral("Set"));
        call << QLatin1String(kDeviceInterface) << QStringLiteral("pointerAcceleration")
             << QVariant::fromValue(QDBusVariant(accel));
        const QDBusMessage reply =
            QDBusConnection::sessionBus().call(call, QDBus::Block, kRouteTimeoutMs);
        any = any || reply.type() == QDBusMessage::ReplyMessage;
    }
    return any;
}

#else

int plasmaSpeed()
{
    return 0;
}

bool setPlasmaSpeed(int)
{
    return false;
}

#endif

} // namespace mc::pointerspeed
