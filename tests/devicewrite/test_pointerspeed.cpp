// The host pointer speed: the X11 and libinput mappings onto the 1-to-20 scale, the desktop
// each session hands it to, refusals and the no-display
// path. A real X server is used only when MOUSECFG_TEST_X_DISPLAY names one, so that a test run
// never changes the desktop's own setting; an Xvfb for it needs -noreset, since without it the
// server forgets its pointer settings whenever its last client disconnects:
//   MOUSECFG_TEST_X_DISPLAY=:57 xvfb-run -n 57 -s -noreset tests/test_pointerspeed
#include "platform/pointerspeed.h"

#include <QtTest>
#include <QLoggingCategory>

#include <climits>
#include <cmath>

using namespace mc;

// Puts the session's variables back as they were when it goes.
class SavedEnvironment
{
public:
    SavedEnvironment()
    {
        for (const char *name : kNames)
            m_values.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    }
    ~SavedEnvironment()
    {
        for (const Value &v : m_values)
            v.set ? qputenv(v.name, v.value) : qunsetenv(v.name);
    }
    SavedEnvironment(const SavedEnvironment &) = delete;
    SavedEnvironment &operator=(const SavedEnvironment &) = delete;

private:
    static constexpr const char *kNames[] = {"XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY", "SWAYSOCK",
                                             "DISPLAY", "PATH", "GSETTINGS_BACKEND",
                                             "XDG_CONFIG_HOME"};
    struct Value
    {
        const char *name;
        bool set;
        QByteArray value;
    };
    QVector<Value> m_values;
};

class TestPointerSpeed : public QObject
{
    Q_OBJECT

private slots:
    // The messages checked below are debug messages, off unless asked for.
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true")); }

    void accelerationOfEachStep_data();
    void accelerationOfEachStep();
    void everyStepReadsBack();
    void nearestStepOfForeignFractions_data();
    void nearestStepOfForeignFractions();
    void withoutDisplayGetIsZeroAndSetLogs();
    void slotSpeedOutOfRangeIsRefused_data();
    void slotSpeedOutOfRangeIsRefused();
    void realServerKeepsTheSpeed();
    void libinputScaleMeetsAtBothEndsAndTheMiddle();
    void routeFollowsTheDesktop_data();
    void routeFollowsTheDesktop();
    void gnomeKeepsTheSpeedInItsSettings();
    void swayIsToldThroughItsTool();

private:
    // Sets the session variables a route is chosen by; the rest are cleared.
    static void setSession(const QByteArray &desktop, bool wayland, bool sway, bool x11);
};

void TestPointerSpeed::setSession(const QByteArray &desktop, bool wayland, bool sway, bool x11)
{
    qputenv("XDG_CURRENT_DESKTOP", desktop);
    wayland ? qputenv("WAYLAND_DISPLAY", "wayland-1") : qunsetenv("WAYLAND_DISPLAY");
    sway ? qputenv("SWAYSOCK", "/nonexistent/sway.sock") : qunsetenv("SWAYSOCK");
    // An X display that is not there: the X11 route is chosen without reaching a server.
    x11 ? qputenv("DISPLAY", ":999") : qunsetenv("DISPLAY");
}

void TestPointerSpeed::accelerationOfEachStep_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::newRow("slowest") << 1 << 1 << 32;
    QTest::newRow("step 6 is half speed") << 6 << 16 << 32;
    QTest::newRow("default is one to one") << 10 << 32 << 32;
    QTest::newRow("step 14 is double") << 14 << 64 << 32;
    QTest::newRow("fastest") << 20 << 112 << 32;
    QTest::newRow("zero has no fraction") << 0 << 0 << 0;
    QTest::newRow("21 has no fraction") << 21 << 0 << 0;
    QTest::newRow("negative has no fraction") << -3 << 0 << 0;
}

void TestPointerSpeed::accelerationOfEachStep()
{
    QFETCH(int, speed);
    const PointerAcceleration a = accelerationForSpeed(speed);
    QTEST(a.numerator, "numerator");
    QTEST(a.denominator, "denominator");
}

void TestPointerSpeed::everyStepReadsBack()
{
    int previous = 0;
    for (int speed = kMinPointerSpeed; speed <= kMaxPointerSpeed; ++speed) {
        const PointerAcceleration a = accelerationForSpeed(speed);
        QCOMPARE(speedForAcceleration(a.numerator, a.denominator), speed);
        QVERIFY2(a.numerator > previous, "faster steps must move the pointer faster");
        previous = a.numerator;
    }
}

void TestPointerSpeed::nearestStepOfForeignFractions_data()
{
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<int>("speed");
    QTest::newRow("X server default 2/1") << 2 << 1 << 14;
    QTest::newRow("no acceleration 1/1") << 1 << 1 << 10;
    QTest::newRow("reduced to lowest terms") << 7 << 2 << 20;
    QTest::newRow("beyond the fastest step") << 10 << 1 << 20;
    QTest::newRow("below the slowest step") << 1 << 1000 << 1;
    QTest::newRow("between 10 and 11 nearer 11") << 37 << 32 << 11;
    QTest::newRow("huge numbers do not overflow") << INT_MAX << 1 << 20;
    QTest::newRow("huge denominator") << 1 << INT_MAX << 1;
    QTest::newRow("zero numerator") << 0 << 1 << 0;
    QTest::newRow("zero denominator") << 1 << 0 << 0;
    QTest::newRow("negative") << -2 << 1 << 0;
}

void TestPointerSpeed::nearestStepOfForeignFractions()
{
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QTEST(speedForAcceleration(numerator, denominator), "speed");
}

void TestPointerSpeed::withoutDisplayGetIsZeroAndSetLogs()
{
    const QByteArray saved = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    QCOMPARE(GetSystemPointerSpeed(), 0);
    QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :1");
    QVERIFY(!setSystemPointerSpeedValue(15));
    if (!saved.isEmpty())
        qputenv("DISPLAY", saved);
}

void TestPointerSpeed::slotSpeedOutOfRangeIsRefused_data()
{
    QTest::addColumn<int>("speed");
    QTest::newRow("never initialised") << 0;
    QTest::newRow("one too many") << 21;
    QTest::newRow("byte maximum") << 255;
}

void TestPointerSpeed::slotSpeedOutOfRangeIsRefused()
{
    QFETCH(int, speed);
    ProfileStore store;
    store.ProfileID = 3;
    store.profiles[3].mousespeed = uint8_t(speed);
    store.profiles[0].mousespeed = 10; // must not be taken instead of the active slot's value
    QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :87");
    SetSystemPointerSpeed(store);
}

void TestPointerSpeed::realServerKeepsTheSpeed()
{
    const QByteArray display = qgetenv("MOUSECFG_TEST_X_DISPLAY");
    if (display.isEmpty())
        QSKIP("no X server named by MOUSECFG_TEST_X_DISPLAY");
    const QByteArray saved = qgetenv("DISPLAY");
    qputenv("DISPLAY", display);
    const int before = GetSystemPointerSpeed();
    QVERIFY(before >= kMinPointerSpeed && before <= kMaxPointerSpeed);

    ProfileStore store;
    store.ProfileID = 2;
    store.profiles[2].mousespeed = 15;
    SetSystemPointerSpeed(store);
    QCOMPARE(GetSystemPointerSpeed(), 15);

    // A refused value leaves the system's speed as it was.
    store.profiles[2].mousespeed = 0;
    QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :87");
    SetSystemPointerSpeed(store);
    QCOMPARE(GetSystemPointerSpeed(), 15);

    QVERIFY(setSystemPointerSpeedValue(before));
    qputenv("DISPLAY", saved);
}

void TestPointerSpeed::libinputScaleMeetsAtBothEndsAndTheMiddle()
{
    QCOMPARE(libinputSpeedForStep(1), -1.0);
    QCOMPARE(libinputSpeedForStep(10), 0.0);
    QCOMPARE(libinputSpeedForStep(20), 1.0);
    QVERIFY(std::isnan(libinputSpeedForStep(0)));
    QVERIFY(std::isnan(libinputSpeedForStep(21)));
    double previous = -2;
    for (int speed = kMinPointerSpeed; speed <= kMaxPointerSpeed; ++speed) {
        const double accel = libinputSpeedForStep(speed);
        QVERIFY(accel > previous);
        previous = accel;
        QCOMPARE(stepForLibinputSpeed(accel), speed);
        // What a desktop stores with three decimals reads back as the same step.
        QCOMPARE(stepForLibinputSpeed(QString::number(accel, 'f', 3).toDouble()), speed);
    }
    QCOMPARE(stepForLibinputSpeed(7.5), 20);
    QCOMPARE(stepForLibinputSpeed(-3.0), 1);
    QCOMPARE(stepForLibinputSpeed(std::nan("")), 0);
}

void TestPointerSpeed::routeFollowsTheDesktop_data()
{
    QTest::addColumn<QByteArray>("desktop");
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<bool>("sway");
    QTest::addColumn<bool>("x11");
    QTest::addColumn<int>("route");
    using R = PointerSpeedRoute;
    QTest::newRow("GNOME on Wayland") << QByteArray("GNOME") << true << false << true << int(R::Gnome);
    QTest::newRow("GNOME on X11") << QByteArray("ubuntu:GNOME") << false << false << true << int(R::Gnome);
    QTest::newRow("Plasma on Wayland") << QByteArray("KDE") << true << false << true << int(R::Plasma);
    QTest::newRow("Plasma on X11") << QByteArray("KDE") << false << false << true << int(R::X11Acceleration);
    QTest::newRow("sway") << QByteArray("sway") << true << true << true << int(R::Sway);
    QTest::newRow("another compositor's XWayland") << QByteArray("Hyprland") << true << false << true << int(R::None);
    QTest::newRow("no display") << QByteArray() << false << false << false << int(R::None);
}

void TestPointerSpeed::routeFollowsTheDesktop()
{
    QFETCH(QByteArray, desktop);
    QFETCH(bool, wayland);
    QFETCH(bool, sway);
    QFETCH(bool, x11);
    QFETCH(int, route);
    const SavedEnvironment saved;
    setSession(desktop, wayland, sway, x11);
    QCOMPARE(int(pointerSpeedRoute()), route);
    QCOMPARE(pointerSpeedUnavailableReason().isEmpty(), route != int(PointerSpeedRoute::None));
    if (route == int(PointerSpeedRoute::None)) {
        QCOMPARE(GetSystemPointerSpeed(), 0);
        QTest::ignoreMessage(QtDebugMsg, "Error in SystemParametersInfo :1");
        QVERIFY(!setSystemPointerSpeedValue(12));
    }
}

// The real gsettings tool and GNOME's schema, with GSettings' key-file backend in a folder of the
// test's own, so that the desktop's own setting is never touched.
void TestPointerSpeed::gnomeKeepsTheSpeedInItsSettings()
{
    if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty() ||
        !QFile::exists(QStringLiteral("/usr/share/glib-2.0/schemas/"
                                      "org.gnome.desktop.peripherals.gschema.xml")))
        QSKIP("gsettings or GNOME's peripherals schema is not installed");
    QTemporaryDir config;
    const SavedEnvironment saved;
    qputenv("GSETTINGS_BACKEND", "keyfile");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    setSession("GNOME", true, false, false);
    QCOMPARE(int(pointerSpeedRoute()), int(PointerSpeedRoute::Gnome));

    QVERIFY(setSystemPointerSpeedValue(15));
    QCOMPARE(GetSystemPointerSpeed(), 15);
    QVERIFY(setSystemPointerSpeedValue(4));
    QCOMPARE(GetSystemPointerSpeed(), 4);
    QProcess get;
    get.start(QStringLiteral("gsettings"), {QStringLiteral("get"),
                                           QStringLiteral("org.gnome.desktop.peripherals.mouse"),
                                           QStringLiteral("speed")});
    QVERIFY(get.waitForFinished());
    QCOMPARE(get.readAllStandardOutput().trimmed().toDouble(), -0.667);

}

// sway is told through swaymsg; a stand-in on PATH keeps what it was asked and answers as sway
// does, so that the command and the reading of its answer are both checked.
void TestPointerSpeed::swayIsToldThroughItsTool()
{
    QTemporaryDir bin;
    const QString log = bin.path() + QStringLiteral("/asked");
    QFile tool(bin.path() + QStringLiteral("/swaymsg"));
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.write(QStringLiteral(
                   "#!/bin/sh\n"
                   "echo \"$*\" >> '%1'\n"
                   "[ \"$1\" = -r ] && echo '[{\"type\":\"keyboard\"},{\"type\":\"pointer\","
                   "\"libinput\":{\"accel_speed\":0.3}}]'\n"
                   "exit 0\n")
                   .arg(log)
                   .toUtf8());
    tool.close();
    tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const SavedEnvironment saved;
    qputenv("PATH", bin.path().toLocal8Bit() + ':' + qgetenv("PATH"));
    setSession("sway", true, true, true);

    QVERIFY(setSystemPointerSpeedValue(5));
    QCOMPARE(GetSystemPointerSpeed(), 13);
    QFile asked(log);
    QVERIFY(asked.open(QIODevice::ReadOnly));
    QCOMPARE(asked.readAll(), QByteArray("input type:pointer pointer_accel -0.556\n"
                                         "-r -t get_inputs\n"));

}

QTEST_GUILESS_MAIN(TestPointerSpeed)
#include "test_pointerspeed.moc"
