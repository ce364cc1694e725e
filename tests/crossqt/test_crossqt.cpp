// Files of each kind the program stores, kept in files/ as the Qt 5.15 build wrote them: the
// build under test, Qt 5 or Qt 6, must write them byte for byte the same and read back every
// value, colours and names outside ASCII included. Run by both builds, this covers a file
// written with one Qt and opened with the other, both ways.
//
// MC_CROSSQT_WRITE=DIR also copies the files this build writes into DIR, to renew files/ after a
// deliberate change of a format.
#include "../profile/profiletestutil.h"
#include "macro/macrofile.h"
#include "profile/changemask.h"
#include "profile/paths.h"
#include "profile/profilefile.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QFile>
#include <QtTest>

using namespace mc;

namespace {

// The data folder appears in what a macro file records of its own path.
constexpr char kDataMark[] = "@DATA@";
const QString kMacroName = QStringLiteral("Makro é 中");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ProfileStore sampleStore()
{
    ProfileStore store;
    store.ProfileID = 3;
    for (int i = 0; i < kSlotCount; ++i) {
        store.profiles[size_t(i)] = mctest::fullRecord(i + 1);
        store.names[size_t(i)] = QStringLiteral("Slot %1 ü").arg(i + 1);
    }
    store.AngleValue = 1;
    store.LiftHigh = 2;
    store.Jitter = 1;
    store.Debounce = 7;
    return store;
}

Macro sampleMacro()
{
    Macro m;
    m.settings = {25, 2, 1, 7};
    for (int i = 0; i < 12; ++i) {
        m.actions.append(macro::keyPress(uint8_t(4 + i * 7)));
        m.actions.append(macro::keyRelease(uint8_t(4 + i * 7)));
    }
    m.actions.append(macro::buttonPress(macro::kButtonBackward));
    m.actions.append(macro::buttonRelease(macro::kButtonBackward));
    return m;
}

} // namespace

class TestCrossQt : public QObject
{
    Q_OBJECT

private:
    QString stored(const QString &name) const
    {
        return QStringLiteral(MC_CROSSQT_FILES "/") + name;
    }

    // What this build wrote equals the stored file; renewed files go to MC_CROSSQT_WRITE.
    void compareWithStored(const QString &name, QByteArray written)
    {
        const QString renew = qEnvironmentVariable("MC_CROSSQT_WRITE");
        if (!renew.isEmpty()) {
            QFile out(renew + QLatin1Char('/') + name);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(out.write(written), qint64(written.size()));
        }
        const QByteArray expected = readAll(stored(name));
        QVERIFY2(!expected.isEmpty(), qPrintable(stored(name)));
        if (written != expected) {
            // The first differing line says more than two blobs.
            const QList<QByteArray> a = written.split('\n');
            const QList<QByteArray> b = expected.split('\n');
            for (int i = 0; i < qMin(a.size(), b.size()); ++i)
                QVERIFY2(a.at(i) == b.at(i), qPrintable(QStringLiteral("%1 line %2: %3 | stored %4")
                                                            .arg(name)
                                                            .arg(i + 1)
                                                            .arg(QString::fromUtf8(a.at(i)))
                                                            .arg(QString::fromUtf8(b.at(i)))));
            QCOMPARE(a.size(), b.size());
        }
    }

    // Colours and names, the values a change of Qt would lose first.
    static void compareRecords(const ProfileData &read, const ProfileData &sample)
    {
        for (int m = 0; m < kLedModeCount; ++m) {
            const QColor want = sample.leds[size_t(m)].color;
            QCOMPARE(read.leds[size_t(m)].color.isValid(), want.isValid());
            if (want.isValid())
                QCOMPARE(read.leds[size_t(m)].color.rgba(), want.rgba());
        }
        QCOMPARE(read.ProfileName, sample.ProfileName);
        QCOMPARE(read.buttons[0].macroname, sample.buttons[0].macroname);
        QCOMPARE(read.stages, sample.stages);
    }

private slots:
    void profileFile()
    {
        mctest::DataDir data;
        const ProfileData sample = mctest::fullRecord(2);
        const QString path = data.path(QStringLiteral("written.prof"));
        QVERIFY(WriteProfileFile(sample, path));
        compareWithStored(QStringLiteral("profile.prof"), readAll(path));

        ProfileData read;
        QVERIFY(ReadProfileFile(read, stored(QStringLiteral("profile.prof"))));
        compareRecords(read, sample);
        QVERIFY(WriteProfileFile(read, path));
        QCOMPARE(readAll(path), readAll(stored(QStringLiteral("profile.prof"))));
    }

    void configExport()
    {
        mctest::DataDir data;
        const ProfileStore sample = sampleStore();
        const QString path = data.path(QStringLiteral("written.conf"));
        QVERIFY(ExportConfig(sample, path));
        compareWithStored(QStringLiteral("export.conf"), readAll(path));

        // An import keeps some values of the store it goes into: start from the sample's.
        ProfileStore read = sample;
        for (auto &p : read.profiles)
            p = ProfileData{};
        for (int i = 0; i < kSlotCount; ++i) {
            read.profiles[size_t(i)].LedMoveOFF = sample.profiles[size_t(i)].LedMoveOFF;
            read.profiles[size_t(i)].LedSleepTime = sample.profiles[size_t(i)].LedSleepTime;
        }
        QVERIFY(ImportConfig(read, stored(QStringLiteral("export.conf"))));
        for (int i = 0; i < kSlotCount; ++i)
            compareRecords(read.profiles[size_t(i)], sample.profiles[size_t(i)]);
        QFile::remove(path);
        QVERIFY(ExportConfig(read, path));
        QCOMPARE(readAll(path), readAll(stored(QStringLiteral("export.conf"))));
    }

    void macroFile()
    {
        mctest::DataDir data;
        const Macro sample = sampleMacro();
        QVERIFY(saveMacro(kMacroName, sample));
        const QByteArray mark(kDataMark);
        QByteArray written = readAll(mc::macroFile(kMacroName));
        QVERIFY(written.contains(data.path().toUtf8()));
        compareWithStored(QStringLiteral("macro.MSMACRO"),
                          written.replace(data.path().toUtf8(), mark));

        // The stored file under the name, as the other build left it in its data folder.
        QVERIFY(QFile::remove(mc::macroFile(kMacroName)));
        QByteArray bytes = readAll(stored(QStringLiteral("macro.MSMACRO")));
        mctest::writeBytes(mc::macroFile(kMacroName), bytes.replace(mark, data.path().toUtf8()));
        const Macro read = loadMacro(kMacroName);
        QCOMPARE(read.settings, sample.settings);
        QCOMPARE(read.actions, sample.actions);
        QVERIFY(saveMacro(kMacroName, read));
        QCOMPARE(readAll(mc::macroFile(kMacroName)), bytes);

        // Consuming the edit mark rewrites the file through QSettings: its path outside ASCII
        // stays escaped as the other build writes it, and the macro reads the same.
        QVERIFY(saveMacro(kMacroName, read, true));
        ProfileStore working;
        working.profiles[0].buttons[0].Fun = kMacroFunction;
        working.profiles[0].buttons[0].macroname = kMacroName;
        QVERIFY(ComputeChangeMask(working, working) & kMaskButtons);
        const QByteArray consumed = readAll(mc::macroFile(kMacroName));
        const QByteArray pathLine = bytes.split('\n').value(1);
        QVERIFY2(pathLine.startsWith("MacroFilePath="), pathLine.constData());
        QVERIFY2(consumed.contains(pathLine + '\n'), consumed.constData());
        QVERIFY(!(ComputeChangeMask(working, working) & kMaskButtons));
        QCOMPARE(loadMacro(kMacroName).actions, sample.actions);
    }

    // Files edited by hand or by other programs: bytes outside ASCII without a byte order mark
    // read as Latin-1, after a UTF-8 byte order mark as UTF-8, in every reader of the program
    // (the settings accessors and the profile and store readers) and under either Qt.
    void handEditedBytes()
    {
        mctest::DataDir data;
        mctest::writeBytes(data.path(QStringLiteral("DefaultProfile.bin")),
                           readAll(stored(QStringLiteral("latin1.bin"))));
        mctest::writeBytes(data.path(QStringLiteral("Configs/Config.ini")),
                           readAll(stored(QStringLiteral("utf8bom.ini"))));
        QCOMPARE(readProductName(), QString::fromUtf8("Souris \xC3\xA9t\xC3\xA9"));
        QCOMPARE(readCurrentProduct(), QString::fromUtf8("Maus \xC3\xBC"));
        QCOMPARE(readModel(), QString::fromUtf8("Mod\xC3\xA8le \xE4\xB8\xAD"));
        ProfileStore store;
        QVERIFY(LoadStore(store));
        QCOMPARE(store.names[0], QString::fromUtf8("caf\xC3\xA9"));
        QCOMPARE(store.names[1], QString::fromUtf8("na\xC3\xAFve"));

        ProfileData record;
        QVERIFY(ReadProfileFile(record, stored(QStringLiteral("latin1.bin"))));
        QCOMPARE(record.ProfileName, QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    }
};

QTEST_GUILESS_MAIN(TestCrossQt)
#include "test_crossqt.moc"
