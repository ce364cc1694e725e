// The host pointer speed: the X11 mapping onto the 1-to-20 scale, refusals and the no-display
// path. A real X server is used only when MOUSECFG_TEST_X_DISPLAY names one, so that a test run
// never changes the desktop's own setting; an Xvfb for it needs -noreset, since without it the
// server forgets its pointer settings whenever its last client disconnects:
//   MOUSECFG_TEST_X_DISPLAY=:57 xvfb-run -n 57 -s -noreset tests/test_pointerspeed
#include "platform/pointerspeed.h"

#include <QtTest>
#include <QLoggingCategory>

#include <climits>

using namespace mc;

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
};

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

QTEST_GUILESS_MAIN(TestPointerSpeed)
#include "test_pointerspeed.moc"
