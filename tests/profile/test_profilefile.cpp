// Profile files: every field survives a write and a read, QSettings and we read each other's
// files the same, unchanged records leave the file alone, foreign keys stay, hostile values are
// clamped and slot names cannot lead outside the profile folder.
#include "profile/inifile.h"
#include "profile/profiledefaults.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"
#include "profile/settings.h"
#include "profiletestutil.h"

#include <QDirIterator>
#include <QtTest>

using namespace mc;
using mctest::DataDir;

namespace {

const QDateTime kOldTime(QDate(2001, 2, 3), QTime(4, 5, 6));

void ageFile(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(kOldTime, QFileDevice::FileModificationTime));
}

bool untouched(const QString &path)
{
    return QFileInfo(path).lastModified() == kOldTime;
}

// A full record whose numbers are of the size the program stores (the test record's ten-digit
// extremes are read through the key index, like any value that is not a short plain number).
ProfileData plainRecord(int seed)
{
    ProfileData r = mctest::fullRecord(seed);
    for (DpiStage &s : r.stages)
        s.xy %= 100000;
    for (ButtonInfo &b : r.buttons)
        b.LoopNumber %= 1000;
    for (LedModeInfo &led : r.leds)
        led.v %= 100000;
    return r;
}

// Writes the record, lets edit change the file's bytes, and gives back the edited bytes.
template <typename Edit>
QByteArray writeEdited(const ProfileData &record, const QString &path, Edit &&edit)
{
    if (!WriteProfileFile(record, path))
        return QByteArray();
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return QByteArray();
    QByteArray bytes = f.readAll();
    edit(bytes);
    f.resize(0);
    f.write(bytes);
    return bytes;
}

// What the general reader (the key index) makes of the bytes.
ProfileData readGeneral(const QByteArray &bytes)
{
    IniFile ini;
    ini.parse(bytes);
    ProfileData r;
    readProfileGroup(ini, r, QStringLiteral("PROFILE"), true);
    clampProfile(r);
    return r;
}

} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void everyFieldSurvivesARoundTrip_data();
    void everyFieldSurvivesARoundTrip();
    void bothReadersAgree_data();
    void bothReadersAgree();
    void bothReadersAgreeOnDamagedLines_data();
    void bothReadersAgreeOnDamagedLines();
    void fileWithOnlyTheReportRate();
    void missingFileGivesDefaults();
    void qsettingsWrittenFileReadsTheSame();
    void ourFileReadsTheSameInQSettings();
    void unchangedRecordLeavesTheFileAlone();
    void exportMarkAndForeignKeysStay();
    void foreignValuesAreCopiedByteForByte();
    void foreignKeysStayBehindABackslashCrEnding();
    void ownKeysAreToldFromLookAlikes();
    void hostileValuesAreClamped_data();
    void hostileValuesAreClamped();
    void garbageFileReadsAsDefaults();
    void slotFilesLiveInTheProductFolder();
    void oldSlotFileIsStillReadAndCarriedOver();
    void unsafeSlotNamesAreRefused_data();
    void unsafeSlotNamesAreRefused();
};

void TestProfileFile::everyFieldSurvivesARoundTrip_data()
{
    QTest::addColumn<int>("seed");
    for (int seed : {0, 1, 2, 7})
        QTest::addRow("seed %d", seed) << seed;
}

void TestProfileFile::everyFieldSurvivesARoundTrip()
{
    QFETCH(int, seed);
    DataDir dir;
    const ProfileData written = mctest::fullRecord(seed);
    const QString path = dir.path(QStringLiteral("p.prof"));
    QVERIFY(WriteProfileFile(written, path));
    ProfileData read = mctest::fullRecord(seed + 1);
    read.spare = 77;
    ReadProfileFile(read, path);
    QCOMPARE(read.spare, uint8_t(77)); // not stored, not touched
    for (int n = 0; n < kButtonCount; ++n)
        QVERIFY2(read.buttons[size_t(n)] == written.buttons[size_t(n)],
                 qPrintable(QString::number(n)));
    for (int m = 0; m < kLedModeCount; ++m)
        QVERIFY2(read.leds[size_t(m)] == written.leds[size_t(m)], qPrintable(QString::number(m)));
    QVERIFY(!read.leds[3].color.isValid());
    QCOMPARE(read.ProfileName, written.ProfileName);
    QVERIFY(read == written);
}

void TestProfileFile::bothReadersAgree_data()
{
    QTest::addColumn<int>("seed");
    QTest::addColumn<QByteArray>("tail");
    QTest::newRow("as written") << 1 << QByteArray();
    QTest::newRow("export mark after") << 2 << QByteArray("[MouseName]\nName=KIV M1\n");
    QTest::newRow("profile key repeated after") << 3 << QByteArray("[PROFILE]\ndpi=5\n");
    QTest::newRow("carriage returns") << 4 << QByteArray("\r\n");
}

// Files laid out as we write them are read by position, all others through the key index; the
// two must give the same record.
void TestProfileFile::bothReadersAgree()
{
    QFETCH(int, seed);
    QFETCH(QByteArray, tail);
    DataDir dir;
    const ProfileData written = plainRecord(seed);
    const QString path = dir.path(QStringLiteral("p.prof"));
    const QByteArray bytes = writeEdited(written, path, [&](QByteArray &b) {
        if (tail == "\r\n")
            b.replace("\n", "\r\n");
        else
            b += tail;
    });
    QVERIFY(!bytes.isEmpty());

    ProfileData fast;
    ReadProfileFile(fast, path);
    const ProfileData general = readGeneral(bytes);
    QVERIFY(fast == general);
    if (tail.isEmpty())
        QVERIFY(fast == written);
}

void TestProfileFile::bothReadersAgreeOnDamagedLines_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    // An open quote carries the value over the following lines, an unquoted ";" ends it, a
    // backslash at the end of a line continues it on the next.
    QTest::newRow("open quote in a colour")
        << QByteArray("LED_MODE_5_RGB=@Variant(") << QByteArray("LED_MODE_5_RGB=@\"Variant(");
    QTest::newRow("comment in a name")
        << QByteArray("\nProfileName=name") << QByteArray("\nProfileName=na;me");
    QTest::newRow("open quote in a name")
        << QByteArray("\nProfileName=") << QByteArray("\nProfileName=\"");
    QTest::newRow("backslash ending a name")
        << QByteArray("\nProfilePath=") << QByteArray("\\\nProfilePath=");
    QTest::newRow("backslash before a carriage return")
        << QByteArray("\nProfilePath=") << QByteArray("\\\r\nProfilePath=");
}

void TestProfileFile::bothReadersAgreeOnDamagedLines()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    DataDir dir;
    ProfileData written = plainRecord(5);
    written.ProfileName = QStringLiteral("name");
    written.ProfilePath = QStringLiteral("path");
    const QString path = dir.path(QStringLiteral("p.prof"));
    bool found = false;
    const QByteArray bytes = writeEdited(written, path, [&](QByteArray &b) {
        found = b.contains(from);
        b.replace(from, to);
    });
    QVERIFY(found);

    ProfileData fast;
    ReadProfileFile(fast, path);
    const ProfileData general = readGeneral(bytes);
    QCOMPARE(fast.ProfileName, general.ProfileName);
    QCOMPARE(fast.ProfilePath, general.ProfilePath);
    for (int m = 0; m < kLedModeCount; ++m)
        QVERIFY2(fast.leds[size_t(m)] == general.leds[size_t(m)], qPrintable(QString::number(m)));
    QVERIFY(fast == general);
}

void TestProfileFile::fileWithOnlyTheReportRate()
{
    DataDir dir;
    const QString path = dir.path(QStringLiteral("only.prof"));
    mctest::writeWithQSettings(path, {{QStringLiteral("PROFILE/pollrate"), 4}});
    ProfileData r = mctest::fullRecord(3);
    ReadProfileFile(r, path);
    QCOMPARE(r.pollrate, uint8_t(4));
    QCOMPARE(r.dpi, uint8_t(0));
    for (const DpiStage &s : r.stages)
        QCOMPARE(s, DpiStage());
    QCOMPARE(r.LedMoveOFF, uint8_t(255));
    QCOMPARE(r.LedSleepTime, uint8_t(1));
    QVERIFY(r.ProfileName.isEmpty());
    QVERIFY(!r.leds[0].color.isValid());
}

void TestProfileFile::missingFileGivesDefaults()
{
    DataDir dir;
    ProfileData r = mctest::fullRecord(5);
    ReadProfileFile(r, dir.path(QStringLiteral("missing.prof")));
    ProfileData expected;
    expected.pollrate = 1; // no rate stored: the new-profile rate, never an unknown code
    expected.LedMoveOFF = 255;
    expected.LedSleepTime = 1;
    expected.spare = r.spare;
    QVERIFY(r == expected);
}

void TestProfileFile::qsettingsWrittenFileReadsTheSame()
{
    // A whole record written key by key through QSettings under the documented key names.
    DataDir dir;
    const ProfileData record = mctest::fullRecord(4);
    const QString path = dir.path(QStringLiteral("qt.prof"));
    {
        QSettings s(path, mctest::storedIniFormat());
        const auto &keys = profilekeys::keyTable();
        profilekeys::visitProfileFields(record, true, [&](int ord, const auto &, const auto &v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QColor>)
                s.setValue(keys.profileKey(ord), v);
            else if constexpr (std::is_same_v<T, QString>)
                s.setValue(keys.profileKey(ord), v);
            else if constexpr (std::is_same_v<T, uint32_t>)
                s.setValue(keys.profileKey(ord), uint(v));
            else
                s.setValue(keys.profileKey(ord), int(v));
        });
    }
    ProfileData read;
    ReadProfileFile(read, path);
    QVERIFY(read == record);
    // The names themselves, as other programs and older versions write them.
    IniFile raw;
    raw.load(path);
    QCOMPARE(raw.intValue(QStringLiteral("PROFILE/BUTTON_INFO_3_KeyInfo_12_H")),
             int(record.buttons[3].KeyInfo[12].high));
    QCOMPARE(raw.uintValue(QStringLiteral("PROFILE/LedMode/LED_MODE_5_breath")),
             record.leds[5].breath);
    QCOMPARE(raw.intValue(QStringLiteral("PROFILE/DPI_INFO_0_used")), int(record.stages[0].used));
    QCOMPARE(raw.stringValue(QStringLiteral("PROFILE/BUTTON_INFO_0_macroname")),
             record.buttons[0].macroname);
}

void TestProfileFile::ourFileReadsTheSameInQSettings()
{
    DataDir dir;
    const ProfileData record = mctest::fullRecord(6);
    const QString path = dir.path(QStringLiteral("ours.prof"));
    QVERIFY(WriteProfileFile(record, path));
    QSettings s(path, mctest::storedIniFormat());
    QCOMPARE(s.value(QStringLiteral("PROFILE/pollrate")).toInt(), int(record.pollrate));
    QCOMPARE(s.value(QStringLiteral("PROFILE/DPI_INFO_7_xy")).toUInt(), record.stages[7].xy);
    QCOMPARE(s.value(QStringLiteral("PROFILE/BUTTON_INFO_41_ID")).toInt(), record.buttons[41].ID);
    QCOMPARE(s.value(QStringLiteral("PROFILE/BUTTON_INFO_9_macroname")).toString(),
             record.buttons[9].macroname);
    QCOMPARE(s.value(QStringLiteral("PROFILE/BUTTON_INFO_40_KeyInfo_62_")).toInt(),
             int(record.buttons[40].KeyInfo[62].low));
    QCOMPARE(s.value(QStringLiteral("PROFILE/LedMode/LED_MODE_13_RGB")).value<QColor>(),
             record.leds[13].color);
    QVERIFY(!s.value(QStringLiteral("PROFILE/LedMode/LED_MODE_3_RGB")).value<QColor>().isValid());
    QCOMPARE(s.value(QStringLiteral("PROFILE/LedMode/LED_MODE_2_v")).toUInt(), record.leds[2].v);
    QCOMPARE(s.value(QStringLiteral("PROFILE/ProfileName")).toString(), record.ProfileName);
    QCOMPARE(s.value(QStringLiteral("PROFILE/LedSleepTime")).toInt(), int(record.LedSleepTime));
    QCOMPARE(s.allKeys().size(), profilekeys::fieldCount());
}

void TestProfileFile::unchangedRecordLeavesTheFileAlone()
{
    DataDir dir;
    const QString path = dir.path(QStringLiteral("same.prof"));
    ProfileData record = mctest::fullRecord(2);
    QVERIFY(WriteProfileFile(record, path));
    ageFile(path);
    QVERIFY(WriteProfileFile(record, path));
    QVERIFY(untouched(path));
    record.buttons[20].KeyInfo[30].high ^= 1;
    QVERIFY(WriteProfileFile(record, path));
    QVERIFY(!untouched(path));
    ProfileData read;
    ReadProfileFile(read, path);
    QVERIFY(read == record);
}

void TestProfileFile::exportMarkAndForeignKeysStay()
{
    DataDir dir;
    const QString path = dir.path(QStringLiteral("mark.prof"));
    const ProfileData record = mctest::fullRecord(1);
    QVERIFY(WriteProfileFile(record, path));
    WriteExportMark(path, QStringLiteral("KIV M1"));
    QVERIFY(WriteProfileFile(mctest::fullRecord(3), path)); // our layout, then the mark
    QCOMPARE(ReadExportMark(path), QStringLiteral("KIV M1"));
    mctest::writeBytes(path, QFileInfo(path).exists() ? [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll() + "[PROFILE]\ndpi=6\n[Other]\nkey=1\n";
    }() : QByteArray());
    ProfileData overridden;
    ReadProfileFile(overridden, path);
    QCOMPARE(overridden.dpi, uint8_t(6)); // the later line wins, as in QSettings
    QVERIFY(WriteProfileFile(mctest::fullRecord(3), path));
    ReadProfileFile(overridden, path);
    QVERIFY(overridden == mctest::fullRecord(3));
    QCOMPARE(QSettings(path, mctest::storedIniFormat()).value(QStringLiteral("Other/key")).toInt(),
             1);
    mctest::writeWithQSettings(path,
                               {{QStringLiteral("PROFILE/FutureKey"), QStringLiteral("x, y")}});
    QVERIFY(WriteProfileFile(mctest::fullRecord(2), path));
    QCOMPARE(ReadExportMark(path), QStringLiteral("KIV M1"));
    QCOMPARE(QSettings(path, mctest::storedIniFormat()).value(QStringLiteral("PROFILE/FutureKey")),
             QVariant(QStringLiteral("x, y")));
    // Once in our own layout, saving the same record again writes nothing.
    ageFile(path);
    QVERIFY(WriteProfileFile(mctest::fullRecord(2), path));
    QVERIFY(untouched(path));
    ProfileData read;
    ReadProfileFile(read, path);
    QVERIFY(read == mctest::fullRecord(2));
}

void TestProfileFile::foreignValuesAreCopiedByteForByte()
{
    // Keys of other programs: typed values as QSettings writes them, Latin-1 text and a key
    // ending in "/" (which QSettings cannot even ask for). None of them is ours to decode.
    DataDir dir;
    const QString other = dir.path(QStringLiteral("other.ini"));
    mctest::writeWithQSettings(
        other, {{QStringLiteral("Other/when"), QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))},
                {QStringLiteral("Other/map"),
                 QVariantMap{{QStringLiteral("a"), 1}, {QStringLiteral("b"), QStringLiteral("x")}}},
                {QStringLiteral("Other/list"), QStringList{"a", "b", "c"}}});
    QFile otherFile(other);
    QVERIFY(otherFile.open(QIODevice::ReadOnly));
    const QByteArray foreign = otherFile.readAll() + "\n[Latin]\nname=caf\xe9 cr\xe8me\n"
                                                     "slash%2F=kept\n";
    const QString path = dir.path(QStringLiteral("slot.prof"));
    QVERIFY(WriteProfileFile(mctest::fullRecord(1), path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::Append));
    f.write("\n" + foreign);
    f.close();
    for (int seed : {2, 3}) {
        QVERIFY(WriteProfileFile(mctest::fullRecord(seed), path));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        f.close();
        QVERIFY2(bytes.endsWith('\n' + foreign), bytes.right(foreign.size() + 40).constData());
        ProfileData read;
        ReadProfileFile(read, path);
        QVERIFY(read == mctest::fullRecord(seed));
    }
}

// Found by the profile file fuzzer: a file ending in a backslash and a bare carriage return had
// its last line copied as it was; the escaped carriage return then took the line break after the
// copy, and the next copied line (another program's key) became part of the value.
void TestProfileFile::foreignKeysStayBehindABackslashCrEnding()
{
    DataDir dir;
    const QString path = dir.path(QStringLiteral("cr.prof"));
    mctest::writeBytes(path, QByteArray("\xef\xbb\xbf"
                                        "8[PRnt\r\nedMode=baf\xc3\xa9\rmmei=-1\xef\xf5-1O\x1f"
                                        "0_lMode=baf\xc3\xa9!dpi=\r\nLedMode=baf\xc3\xa9\rmmei=-1"
                                        "\xef\xf5-1O\x1f"
                                        "0_lMode=baf\xc3\xa9\rmmei=-1\xef\xf5ode\\\r"));
    const auto foreign = [&] {
        QSettings s(path, QSettings::IniFormat);
        QMap<QString, QVariant> view;
        const QStringList keys = s.allKeys();
        for (const QString &key : keys)
            view.insert(key, s.value(key));
        return view;
    };
    const QMap<QString, QVariant> before = foreign();
    QCOMPARE(before.size(), 3);
    QVERIFY(WriteProfileFile(mctest::fullRecord(1), path));
    const QMap<QString, QVariant> after = foreign();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(after.value(it.key()), it.value());
    ProfileData read;
    ReadProfileFile(read, path);
    QVERIFY(read == mctest::fullRecord(1));
}

void TestProfileFile::ownKeysAreToldFromLookAlikes()
{
    // A file in QSettings' layout (our keys sorted, the lighting ones under their escaped
    // names) with keys that only look like ours: every key of ours is written in our layout,
    // none twice, and the look-alikes stay as they were.
    DataDir dir;
    const ProfileData record = mctest::fullRecord(2);
    const QString fresh = dir.path(QStringLiteral("fresh.prof"));
    QVERIFY(WriteProfileFile(record, fresh));
    const QString path = dir.path(QStringLiteral("mixed.prof"));
    QVERIFY(WriteProfileFile(mctest::fullRecord(1), path));
    const QStringList lookAlikes{QStringLiteral("PROFILE/LedMode/LED_MODE_14_h"),
                                 QStringLiteral("PROFILE/BUTTON_INFO_41_KeyInfo_63_H"),
                                 QStringLiteral("PROFILE/DPI"), QStringLiteral("PROFILE/dpi/x"),
                                 QStringLiteral("Other/dpi")};
    mctest::Values values;
    for (int i = 0; i < lookAlikes.size(); ++i)
        values.append({lookAlikes.at(i), i + 1});
    mctest::writeWithQSettings(path, values);
    QVERIFY(WriteProfileFile(record, path));

    QFile ours(fresh);
    QVERIFY(ours.open(QIODevice::ReadOnly));
    const QByteArray expected = ours.readAll();
    QFile mixed(path);
    QVERIFY(mixed.open(QIODevice::ReadOnly));
    const QByteArray bytes = mixed.readAll();
    QVERIFY(bytes.startsWith(expected));
    const QByteArray tail = bytes.mid(expected.size());
    QCOMPARE(tail.count('='), lookAlikes.size());
    QSettings s(path, mctest::storedIniFormat());
    for (int i = 0; i < lookAlikes.size(); ++i)
        QCOMPARE(s.value(lookAlikes.at(i)).toInt(), i + 1);
}

void TestProfileFile::hostileValuesAreClamped_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("withDescription");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("expected");
    QTest::newRow("stage 40") << "dpi" << QVariant(40) << false << "dpi" << 7;
    QTest::newRow("stage 255") << "dpi" << QVariant(-1) << false << "dpi" << 7;
    QTest::newRow("stage 8") << "dpi" << QVariant(8) << false << "dpi" << 7;
    QTest::newRow("stage 7 kept") << "dpi" << QVariant(7) << false << "dpi" << 7;
    QTest::newRow("mode 200") << "LedMode" << QVariant(200) << false << "LedMode" << 9;
    QTest::newRow("mode 14 with product") << "LedMode" << QVariant(14) << true << "LedMode" << 2;
    QTest::newRow("mode 13 kept") << "LedMode" << QVariant(13) << false << "LedMode" << 13;
    QTest::newRow("rate 3") << "pollrate" << QVariant(3) << false << "pollrate" << 1;
    QTest::newRow("rate 0") << "pollrate" << QVariant(0) << false << "pollrate" << 1;
    QTest::newRow("rate 16") << "pollrate" << QVariant(16) << false << "pollrate" << 1;
    QTest::newRow("rate 8 kept") << "pollrate" << QVariant(8) << false << "pollrate" << 8;
    QTest::newRow("rate as text") << "pollrate" << QVariant("fast") << false << "pollrate" << 1;
}

void TestProfileFile::hostileValuesAreClamped()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(bool, withDescription);
    QFETCH(QString, field);
    QFETCH(int, expected);
    DataDir dir;
    if (withDescription)
        mctest::writeWithQSettings(productDescriptionFile(),
                                   {{QStringLiteral("PROFILE/LedMode"), 2}});
    const QString path = dir.path(QStringLiteral("hostile.prof"));
    mctest::writeWithQSettings(
        path, {{QStringLiteral("PROFILE/pollrate"), 2}, {QStringLiteral("PROFILE/") + key, value}});
    ProfileData r;
    ReadProfileFile(r, path);
    const int actual = field == QLatin1String("dpi")       ? r.dpi
                       : field == QLatin1String("LedMode") ? r.LedMode
                                                           : r.pollrate;
    QCOMPARE(actual, expected);
    QVERIFY(&r.activeStage() == &r.stages[r.dpi]);
}

void TestProfileFile::garbageFileReadsAsDefaults()
{
    DataDir dir;
    const QString path = dir.path(QStringLiteral("garbage.prof"));
    QByteArray junk;
    for (int i = 0; i < 200000; ++i)
        junk += char((i * 7919 + i / 13) % 256);
    mctest::writeBytes(path, junk);
    ProfileData r = mctest::fullRecord(1);
    ReadProfileFile(r, path);
    QVERIFY(r.pollrate == 1 || r.pollrate == 2 || r.pollrate == 4 || r.pollrate == 8);
    QVERIFY(r.dpi < kStageCount && r.LedMode < kLedModeCount);

    mctest::writeBytes(path, "[PROFILE]\nBUTTON_INFO_2_macroname=..\\\\..\\\\evil\n"
                             "BUTTON_INFO_5_macroname=a/b\nBUTTON_INFO_6_macroname=fine name\n"
                             "DPI_INFO_1_x=99999999999\n");
    ReadProfileFile(r, path);
    QVERIFY(r.buttons[2].macroname.isEmpty());
    QVERIFY(r.buttons[5].macroname.isEmpty());
    QCOMPARE(r.buttons[6].macroname, QStringLiteral("fine name"));
    QCOMPARE(r.stages[1].x, QVariant(QStringLiteral("99999999999")).toUInt());
}

void TestProfileFile::slotFilesLiveInTheProductFolder()
{
    DataDir dir;
    writeCurrentProduct(QStringLiteral("KIV M1"));
    const ProfileData record = mctest::fullRecord(3);
    QVERIFY(SaveSlotFile(record, QStringLiteral("Game")));
    const QString expected = dir.path(QStringLiteral("Configs/KIV M1/Profile/Game.prof"));
    QVERIFY(QFileInfo::exists(expected));
    QCOMPARE(slotFilePath(QStringLiteral("Game")), expected);
    ProfileData read;
    QVERIFY(LoadSlotFile(read, QStringLiteral("Game")));
    QVERIFY(read == record);
    // Without a product name the product folder is the configuration folder itself.
    writeCurrentProduct(QString());
    QCOMPARE(profileDir(), dir.path(QStringLiteral("Configs/Profile")));
    QCOMPARE(defaultProfileFile(), dir.path(QStringLiteral("Configs/Profile/DefaultProfile.prof")));
}

void TestProfileFile::oldSlotFileIsStillReadAndCarriedOver()
{
    DataDir dir;
    writeCurrentProduct(QStringLiteral("KIV M1"));
    const QString legacy = dir.path(QStringLiteral("Configs/Profile/Old.prof"));
    ProfileData record = mctest::fullRecord(1);
    QVERIFY(WriteProfileFile(record, legacy));
    ProfileData read;
    QVERIFY(LoadSlotFile(read, QStringLiteral("Old")));
    QVERIFY(read == record);

    // The mouse reports stage 5: the whole record moves to the product folder with it.
    QVERIFY(WriteStageKey(QStringLiteral("Old"), 5));
    const QString current = dir.path(QStringLiteral("Configs/KIV M1/Profile/Old.prof"));
    QVERIFY(QFileInfo::exists(current));
    QCOMPARE(slotFilePath(QStringLiteral("Old")), current);
    ProfileData after;
    QVERIFY(LoadSlotFile(after, QStringLiteral("Old")));
    record.dpi = 5;
    QVERIFY(after == record);
    QVERIFY(WriteStageKey(QStringLiteral("Old"), 12)); // out of range: the last stage
    QVERIFY(LoadSlotFile(after, QStringLiteral("Old")));
    QCOMPARE(after.dpi, uint8_t(7));
}

void TestProfileFile::unsafeSlotNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"../x", "../../etc/passwd", "a/b", "a\\b", "", " ", "..", ".", "CON",
                             "nul.txt", "x:y", "tab\there"})
        QTest::newRow(name) << QString::fromLatin1(name);
    QTest::newRow("very long") << QString(300, QLatin1Char('a'));
}

void TestProfileFile::unsafeSlotNamesAreRefused()
{
    QFETCH(QString, name);
    QTemporaryDir base;
    setAppDir(base.filePath(QStringLiteral("app")));
    const ProfileData record = mctest::fullRecord(1);
    QVERIFY(!SaveSlotFile(record, name));
    QVERIFY(!WriteStageKey(name, 2));
    ProfileData read = mctest::fullRecord(2);
    QVERIFY(!LoadSlotFile(read, name));
    QVERIFY(read == mctest::fullRecord(2));
    QVERIFY(slotFilePath(name).isEmpty());
    QDirIterator it(base.path(), QDir::Files, QDirIterator::Subdirectories);
    QVERIFY2(!it.hasNext(), qPrintable(it.hasNext() ? it.next() : QString()));
    setAppDir(QString());
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profilefile.moc"
