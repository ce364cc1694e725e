// The change mask: which differences count for which group, which are ignored, and how the
// edit mark of macro files is consumed.
#include "profile/changemask.h"
#include "profiletestutil.h"

#include <QtTest>

using namespace mc;
using mctest::DataDir;

namespace {

ProfileStore baseStore()
{
    ProfileStore s;
    for (int i = 0; i < kSlotCount; ++i) {
        s.profiles[size_t(i)] = mctest::fullRecord(i);
        s.names[size_t(i)] = QStringLiteral("Slot %1").arg(i);
    }
    s.ProfileID = 2;
    s.AngleValue = 1;
    s.LiftHigh = 2;
    s.Jitter = 1;
    s.Debounce = 20;
    return s;
}

using Edit = std::function<void(ProfileStore &)>;

QString writeSignFile(const QString &name, int sign)
{
    const QString path = macroFile(name);
    mctest::writeWithQSettings(
        path, {{QStringLiteral("Setting/Count"), 0}, {QStringLiteral("Setting/WriteSign"), sign}});
    return path;
}

int writeSign(const QString &path)
{
    return QSettings(path, mctest::storedIniFormat())
        .value(QStringLiteral("Setting/WriteSign"))
        .toInt();
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestChangeMask : public QObject
{
    Q_OBJECT

private slots:
    void differences_data();
    void differences();
    void macroEditMarkIsConsumed();
    void scanStopsAtTheFirstMarkedMacro();
    void marksAreNotConsumedBehindAChangedEntry();
    void markOfANewlyAssignedMacroIsKept();
    void unsafeMissingOrOversizedMacroFilesAreNotTouched();
};

void TestChangeMask::differences_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("mask");
    auto cur = [](ProfileStore &s) -> ProfileData & { return s.profiles[2]; };
    auto other = [](ProfileStore &s) -> ProfileData & { return s.profiles[4]; };
    QTest::newRow("nothing") << Edit([](ProfileStore &) {}) << 0;
    // General settings.
    QTest::newRow("rate of another slot")
        << Edit([=](ProfileStore &s) { other(s).pollrate = 8; }) << kMaskGeneral;
    QTest::newRow("wheel speed") << Edit([=](ProfileStore &s) { other(s).scrollspeed += 1; })
                                 << kMaskGeneral;
    QTest::newRow("angle") << Edit([](ProfileStore &s) { s.AngleValue = 0; }) << kMaskGeneral;
    QTest::newRow("lift") << Edit([](ProfileStore &s) { s.LiftHigh = 1; }) << kMaskGeneral;
    QTest::newRow("sync") << Edit([](ProfileStore &s) { s.Sync = 1; }) << kMaskGeneral;
    QTest::newRow("jitter") << Edit([](ProfileStore &s) { s.Jitter = 0; }) << kMaskGeneral;
    QTest::newRow("debounce") << Edit([](ProfileStore &s) { s.Debounce = 21; }) << kMaskGeneral;
    QTest::newRow("stage of current")
        << Edit([=](ProfileStore &s) { cur(s).dpi ^= 1; }) << kMaskGeneral;
    QTest::newRow("stage of another") << Edit([=](ProfileStore &s) { other(s).dpi ^= 1; }) << 0;
    QTest::newRow("move-off of current")
        << Edit([=](ProfileStore &s) { cur(s).LedMoveOFF ^= 1; }) << kMaskGeneral;
    QTest::newRow("sleep of current")
        << Edit([=](ProfileStore &s) { cur(s).LedSleepTime ^= 1; }) << kMaskGeneral;
    QTest::newRow("sleep of another")
        << Edit([=](ProfileStore &s) { other(s).LedSleepTime ^= 1; }) << 0;
    QTest::newRow("only the slot")
        << Edit([](ProfileStore &s) { s.ProfileID = 3; }) << kMaskGeneral;
    QTest::newRow("count and names are not sent") << Edit([=](ProfileStore &s) {
        s.Count = 9;
        s.names[1] = QStringLiteral("other");
        other(s).mousespeed ^= 1;
        other(s).ProfileName = QStringLiteral("x");
    }) << 0;
    // DPI stages.
    QTest::newRow("stage used") << Edit([=](ProfileStore &s) { other(s).stages[7].used ^= 1; })
                                << kMaskDpi;
    QTest::newRow("stage x") << Edit([=](ProfileStore &s) { other(s).stages[0].x += 1; })
                             << kMaskDpi;
    QTest::newRow("stage y") << Edit([=](ProfileStore &s) { cur(s).stages[3].y += 1; }) << kMaskDpi;
    QTest::newRow("link and xy are ignored") << Edit([=](ProfileStore &s) {
        other(s).stages[1].link ^= 1;
        other(s).stages[1].xy += 5;
    }) << 0;
    // Buttons.
    QTest::newRow("function") << Edit([=](ProfileStore &s) { other(s).buttons[41].Fun = 1; })
                              << kMaskButtons;
    QTest::newRow("res4") << Edit([=](ProfileStore &s) { other(s).buttons[5].Res4 ^= 1; })
                          << kMaskButtons;
    QTest::newRow("id") << Edit([=](ProfileStore &s) { other(s).buttons[5].ID = 1; })
                        << kMaskButtons;
    QTest::newRow("key step") << Edit([=](ProfileStore &s) {
        other(s).buttons[4].KeyInfo[62].high ^= 1;
    }) << kMaskButtons;
    QTest::newRow("macro name") << Edit([=](ProfileStore &s) {
        cur(s).buttons[0].macroname = QStringLiteral("Another");
    }) << kMaskButtons;
    QTest::newRow("macro key step")
        << Edit([=](ProfileStore &s) { cur(s).buttons[3].KeyInfo[0].map ^= 1; }) << kMaskButtons;
    // Lighting: the mode, and only the settings of the mode in use.
    QTest::newRow("mode of another slot") << Edit([=](ProfileStore &s) {
        other(s).LedMode = uint8_t((other(s).LedMode + 1) % kLedModeCount);
    }) << kMaskLighting;
    QTest::newRow("mode of current") << Edit([=](ProfileStore &s) {
        cur(s).LedMode = uint8_t((cur(s).LedMode + 1) % kLedModeCount);
    }) << (kMaskLighting | kMaskGeneral);
    QTest::newRow("colour of the mode in use")
        << Edit([=](ProfileStore &s) { other(s).leds[other(s).LedMode].color = QColor(1, 2, 3); })
        << kMaskLighting;
    QTest::newRow("colour made invalid")
        << Edit([=](ProfileStore &s) { other(s).leds[other(s).LedMode].color = QColor(); })
        << kMaskLighting;
    QTest::newRow("breath of the mode in use")
        << Edit([=](ProfileStore &s) { other(s).leds[other(s).LedMode].breath += 1; })
        << kMaskLighting;
    QTest::newRow("hue of the mode in use")
        << Edit([=](ProfileStore &s) { other(s).leds[other(s).LedMode].h += 1; }) << kMaskLighting;
    QTest::newRow("another mode") << Edit([=](ProfileStore &s) {
        const size_t m = size_t((other(s).LedMode + 1) % kLedModeCount);
        other(s).leds[m].color = QColor(9, 9, 9);
        other(s).leds[m].bright += 1;
    }) << 0;
    QTest::newRow("everything") << Edit([=](ProfileStore &s) {
        s.Debounce = 1;
        other(s).stages[2].x = 1;
        other(s).buttons[1].Fun = 7;
        other(s).LedMode = uint8_t((other(s).LedMode + 3) % kLedModeCount);
    }) << kMaskAll;
}

void TestChangeMask::differences()
{
    QFETCH(Edit, edit);
    QFETCH(int, mask);
    DataDir dir;
    const ProfileStore written = baseStore();
    ProfileStore working = written;
    edit(working);
    QCOMPARE(ComputeChangeMask(working, written), mask);
    QCOMPARE(ComputeChangeMask(written, working), mask);
}

void TestChangeMask::macroEditMarkIsConsumed()
{
    DataDir dir;
    ProfileStore store = baseStore();
    store.profiles[1].buttons[3].macroname = QStringLiteral("Rapid");
    const QString path = writeSignFile(QStringLiteral("Rapid"), 1);
    QCOMPARE(ComputeChangeMask(store, store), kMaskButtons);
    QCOMPARE(writeSign(path), 0);
    QCOMPARE(
        QSettings(path, mctest::storedIniFormat()).value(QStringLiteral("Setting/Count")).toInt(),
        0);
    QCOMPARE(ComputeChangeMask(store, store), 0);

    // A group whose name sorts between [Setting] and its keys hid the mark from QSettings; it
    // is read and cleared, and the rest of the file stays as it was.
    const QByteArray sorted("[Setting\\]\nx=1\n[Setting]\nCount=0\nWriteSign=1\n");
    mctest::writeBytes(path, sorted);
    QCOMPARE(ComputeChangeMask(store, store), kMaskButtons);
    {
        QSettings file(path, QSettings::IniFormat);
        const QStringList keys = file.allKeys(); // every group read
        QCOMPARE(keys.size(), 3);
        QVERIFY(keys.contains(QStringLiteral("Setting//x")));
        QCOMPARE(file.value(QStringLiteral("Setting/WriteSign")).toInt(), 0);
    }
    QCOMPARE(ComputeChangeMask(store, store), 0);
}

void TestChangeMask::scanStopsAtTheFirstMarkedMacro()
{
    DataDir dir;
    ProfileStore store = baseStore();
    store.profiles[0].buttons[0].macroname = QStringLiteral("First");
    store.profiles[3].buttons[6].macroname = QStringLiteral("Second");
    const QString first = writeSignFile(QStringLiteral("First"), 1);
    const QString second = writeSignFile(QStringLiteral("Second"), 2);
    QCOMPARE(ComputeChangeMask(store, store), kMaskButtons);
    QCOMPARE(writeSign(first), 0);
    QCOMPARE(writeSign(second), 2);
    QCOMPARE(ComputeChangeMask(store, store), kMaskButtons);
    QCOMPARE(writeSign(second), 0);
    QCOMPARE(ComputeChangeMask(store, store), 0);
}

void TestChangeMask::marksAreNotConsumedBehindAChangedEntry()
{
    DataDir dir;
    ProfileStore written = baseStore();
    written.profiles[2].buttons[9].macroname = QStringLiteral("Later");
    const QString path = writeSignFile(QStringLiteral("Later"), 1);
    ProfileStore working = written;
    working.profiles[0].buttons[1].Fun = 77; // stops the scan before the marked macro
    QCOMPARE(ComputeChangeMask(working, written), kMaskButtons);
    QCOMPARE(writeSign(path), 1);
}

void TestChangeMask::markOfANewlyAssignedMacroIsKept()
{
    // The button changed to another macro: the buttons go anyway; the mark is read only for
    // an unchanged assignment.
    DataDir dir;
    ProfileStore written = baseStore();
    ProfileStore working = written;
    working.profiles[1].buttons[6].macroname = QStringLiteral("Fresh");
    const QString path = writeSignFile(QStringLiteral("Fresh"), 1);
    QCOMPARE(ComputeChangeMask(working, written), kMaskButtons);
    QCOMPARE(writeSign(path), 1);
}

void TestChangeMask::unsafeMissingOrOversizedMacroFilesAreNotTouched()
{
    DataDir dir;
    ProfileStore store = baseStore();
    store.profiles[0].buttons[0].macroname = QStringLiteral("../Outside");
    store.profiles[0].buttons[3].macroname = QStringLiteral("Missing");
    const QString outside = dir.path(QStringLiteral("Configs/Outside.MSMACRO"));
    mctest::writeWithQSettings(outside, {{QStringLiteral("Setting/WriteSign"), 1}});
    store.profiles[0].buttons[5].Fun = kMacroFunction;
    store.profiles[0].buttons[5].macroname = QStringLiteral("Huge");
    const QString huge = writeSignFile(QStringLiteral("Huge"), 1);
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::Append));
        QVERIFY(f.write(QByteArray("; padding\n").repeated(1000 * 1000)) > 0);
    }
    const qint64 hugeSize = QFileInfo(huge).size();
    QCOMPARE(ComputeChangeMask(store, store), 0);
    QCOMPARE(writeSign(outside), 1);
    QVERIFY(!QFileInfo::exists(macroFile(QStringLiteral("Missing"))));
    QCOMPARE(QFileInfo(huge).size(), hugeSize);
}

QTEST_GUILESS_MAIN(TestChangeMask)
#include "test_changemask.moc"
