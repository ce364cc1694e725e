// The store on disk: every slot survives a save and a restart, defaults with and without a
// product description, "reset all", configuration export and import, the library list, and
// hostile Config.ini, export and list files.
#include "profile/filesave.h"
#include "profile/inifile.h"
#include "profile/profiledefaults.h"
#include "profile/profilefile.h"
#include "profile/profilestore.h"
#include "profile/rawtodpi.h"
#include "profile/settings.h"
#include "profiletestutil.h"

#include <QDirIterator>
#include <QtTest>

using namespace mc;
using mctest::DataDir;

namespace {

ProfileStore fullStore()
{
    ProfileStore s;
    for (int i = 0; i < kSlotCount; ++i) {
        s.profiles[size_t(i)] = mctest::fullRecord(10 + i);
        s.names[size_t(i)] = QStringLiteral("Slot %1, ü").arg(i);
    }
    s.ProfileID = 3;
    s.AngleValue = 0;
    s.LiftHigh = 2;
    s.Sync = 1;
    s.Count = 7;
    s.Jitter = 0;
    s.Debounce = 33;
    return s;
}

const QDateTime kOldTime(QDate(2001, 2, 3), QTime(4, 5, 6));

void ageFiles(const QString &folder)
{
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        QFile f(it.next());
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(kOldTime, QFileDevice::FileModificationTime));
    }
}

void writeDescription(int sync)
{
    mctest::Values v = {{QStringLiteral("PROFILE/Sync"), sync},
                        {QStringLiteral("PROFILE/ButtonCount"), 6},
                        {QStringLiteral("PROFILE/dpi"), 2},
                        {QStringLiteral("PROFILE/pollrate"), 4},
                        {QStringLiteral("PROFILE/LedMode"), 5}};
    for (int s = 0; s < kStageCount; ++s)
        v.append({QStringLiteral("PROFILE/DPI_INFO_%1_xy").arg(s), 31 + s * 10});
    for (int n = 0; n < 17; ++n) {
        v.append({QStringLiteral("PROFILE/BUTTON_INFO_%1_Fun").arg(n), 100 + n});
        v.append({QStringLiteral("PROFILE/BUTTON_INFO_%1_LoopNumber").arg(n), n});
        v.append({QStringLiteral("PROFILE/BUTTON_INFO_%1_KeyNumber").arg(n), 2 * n});
        v.append({QStringLiteral("PROFILE/BUTTON_INFO_%1_Res3").arg(n), 300 + n}); // a byte
    }
    for (int m = 0; m < kLedModeCount; ++m) {
        v.append({QStringLiteral("PROFILE/LedMode/LED_MODE_%1_RGB").arg(m), QColor(m, 2 * m, 3)});
        v.append({QStringLiteral("PROFILE/LedMode/LED_MODE_%1_bright").arg(m), m % 3 + 1});
        v.append({QStringLiteral("PROFILE/LedMode/LED_MODE_%1_breath").arg(m), m % 5 + 1});
    }
    mctest::writeWithQSettings(productDescriptionFile(), v);
}

} // namespace

class TestProfileStore : public QObject
{
    Q_OBJECT

private slots:
    void defaultProfileWithoutDescription();
    void defaultProfileFromDescription();
    void defaultProfileFile();
    void everySlotSurvivesSaveAndRestart();
    void saveRewritesOnlyChangedSlots();
    void batchFailingMidwayLeavesEveryFileAsItWas();
    void slotsSharingANameKeepTheActiveRecord();
    void namesAndActiveSlot();
    void hostileConfigIsClampedAndContained();
    void missingFilesGiveDefaultNamesAndNewProfiles();
    void unreadableFilesAreNeverWrittenOver_data();
    void unreadableFilesAreNeverWrittenOver();
    void resetAll_data();
    void resetAll();
    void resetAllLoadsRenamedSlotsFromTheirFiles();
    void resetAllKeepsRenamedSlotsWithoutAFile();
    void exportAndImport();
    void exportedFileReadsInQSettings();
    void hostileImportIsClamped();
    void importOfMissingFileChangesNothing();
    void libraryList();
    void hostileLibraryList();
};

void TestProfileStore::defaultProfileWithoutDescription()
{
    DataDir dir;
    ProfileData r = mctest::fullRecord(1);
    BuildDefaultProfile(r);
    const int dpis[] = {800, 1200, 1600, 2400, 5000, 10000, 0, 0};
    for (int s = 0; s < kStageCount; ++s) {
        const DpiStage &st = r.stages[size_t(s)];
        QCOMPARE(RawToDpi(st.xy, 3325), dpis[s]);
        QVERIFY(st.used == 1 && st.link == 1 && st.x == st.xy && st.y == st.xy);
    }
    QCOMPARE(r.pollrate, uint8_t(1));
    QCOMPARE(r.dpi, uint8_t(1));
    QCOMPARE(r.LedMode, uint8_t(9));
    QCOMPARE(r.LedMoveOFF, uint8_t(0));
    QCOMPARE(r.LedSleepTime, uint8_t(1));
    QVERIFY(r.mousespeed == 10 && r.dbclickspeed == 5 && r.scrollispage == 0 &&
            r.scrollspeed == 1 && r.accelenable == 1 && r.acee == 1);
    const int funs[] = {1, 2, 3, 4, 5, 4, 5, 0};
    for (int n = 0; n < 8; ++n)
        QCOMPARE(r.buttons[size_t(n)].Fun, funs[n]);
    QCOMPARE(r.buttons[19].Fun, 0);
    QCOMPARE(r.buttons[40].Fun, 52);
    QCOMPARE(r.buttons[41].Fun, 53);
    QVERIFY(r.buttons[0].macroname.isEmpty() && r.buttons[0].KeyInfo[5] == KeyInfo());
    QCOMPARE(r.leds[0].color, QColor(255, 0, 0));
    QCOMPARE(r.leds[10].color, QColor(0, 255, 0));
    QCOMPARE(r.leds[7].h, 360u);
    QCOMPARE(r.leds[7].bright, 3u);
    const uint breaths[] = {3, 3, 3, 3, 2, 3, 3, 3, 3, 4, 5, 3, 1, 3};
    for (int m = 0; m < kLedModeCount; ++m)
        QCOMPARE(r.leds[size_t(m)].breath, breaths[m]);
    QVERIFY(r.ProfileName.isEmpty() && r.ProfilePath.isEmpty());
}

void TestProfileStore::defaultProfileFromDescription()
{
    DataDir dir;
    writeDescription(0);
    ProfileData r = mctest::fullRecord(1);
    BuildDefaultProfile(r);
    QCOMPARE(r.dpi, uint8_t(2));
    QCOMPARE(r.pollrate, uint8_t(4));
    QCOMPARE(r.LedMode, uint8_t(5));
    QCOMPARE(r.LedMoveOFF, uint8_t(0));
    QCOMPARE(r.LedSleepTime, uint8_t(1));
    for (int s = 0; s < kStageCount; ++s)
        QCOMPARE(r.stages[size_t(s)].y, uint32_t(31 + s * 10));
    QCOMPARE(r.buttons[15].Fun, 115);
    QCOMPARE(r.buttons[15].KeyNumber, 30);
    QCOMPARE(r.buttons[15].Res3, uint8_t(300 + 15 - 256));
    QCOMPARE(r.buttons[16].Fun, 0); // only sixteen come from the description
    QCOMPARE(r.buttons[40].Fun, 52);
    QCOMPARE(r.buttons[3].ID, 0);
    QCOMPARE(r.leds[6].color, QColor(6, 12, 3));
    QCOMPARE(r.leds[6].bright, 1u);
    QCOMPARE(r.leds[6].breath, 2u);
    QCOMPARE(r.leds[6].h, 360u);
    QCOMPARE(r.leds[6].s, 0u);

    mctest::writeWithQSettings(productDescriptionFile(),
                               {{QStringLiteral("PROFILE/ButtonCount"), 6},
                                {QStringLiteral("PROFILE/LedMode"), 200},
                                {QStringLiteral("PROFILE/dpi"), 9}});
    BuildDefaultProfile(r);
    QCOMPARE(r.LedMode, uint8_t(9));
    QCOMPARE(r.dpi, uint8_t(7));

    // Cut short in button 2's keys: the buttons, stages and colours it no longer holds are the
    // built-in ones, never "off" (a function of 0 sends the left button as 00 00 00 00).
    QFile desc(productDescriptionFile());
    QVERIFY(desc.open(QIODevice::WriteOnly));
    desc.write("[PROFILE]\nButtonCount=6\nLedMode=5\nDPI_INFO_0_xy=31\nBUTTON_INFO_0_Fun=100\n"
               "BUTTON_INFO_1_Fun=101\nBUTTON_INFO_2_Fu");
    desc.close();
    BuildDefaultProfile(r);
    QCOMPARE(r.buttons[0].Fun, 100);
    QCOMPARE(r.buttons[1].Fun, 101);
    const int builtIn[] = {3, 4, 5, 4, 5};
    for (int n = 2; n < 7; ++n)
        QCOMPARE(r.buttons[size_t(n)].Fun, builtIn[n - 2]);
    QCOMPARE(r.stages[0].xy, 31u);
    QCOMPARE(r.stages[1].xy, 12u);
    QCOMPARE(r.leds[0].color, QColor(255, 0, 0));

    // A description that does not say how many buttons the mouse has is damaged: nothing of
    // it is taken, every button keeps its built-in function.
    writeDescription(0);
    IniFile damaged;
    QVERIFY(damaged.load(productDescriptionFile()));
    damaged.remove(QStringLiteral("PROFILE/ButtonCount"));
    QVERIFY(damaged.save(productDescriptionFile()));
    BuildDefaultProfile(r);
    ProfileData builtInProfile;
    QVERIFY(QFile::rename(productDescriptionFile(),
                          productDescriptionFile() + QStringLiteral(".away")));
    BuildDefaultProfile(builtInProfile);
    QVERIFY(r == builtInProfile);
}

void TestProfileStore::defaultProfileFile()
{
    DataDir dir;
    writeCurrentProduct(QStringLiteral("KIV M1"));
    QVERIFY(WriteDefaultProfileFile());
    const QString path = dir.path(QStringLiteral("Configs/Profile/DefaultProfile.prof"));
    QVERIFY(QFileInfo::exists(path));
    ProfileData fromFile;
    ReadProfileFile(fromFile, path);
    ProfileData built;
    BuildDefaultProfile(built);
    QVERIFY(fromFile == built);
}

void TestProfileStore::everySlotSurvivesSaveAndRestart()
{
    DataDir dir;
    writeCurrentProduct(QStringLiteral("KIV M1"));
    const ProfileStore store = fullStore();
    QVERIFY(SaveStore(store));
    ProfileStore loaded;
    LoadStore(loaded);
    for (int i = 0; i < kSlotCount; ++i) {
        QCOMPARE(loaded.names[size_t(i)], store.names[size_t(i)]);
        QVERIFY2(loaded.profiles[size_t(i)] == store.profiles[size_t(i)],
                 qPrintable(QString::number(i)));
    }
    QVERIFY(loaded == store);
    QVERIFY(QFileInfo::exists(profileFile(store.names[4])));
}

void TestProfileStore::batchFailingMidwayLeavesEveryFileAsItWas()
{
    // Three files saved together; the third one's place becomes a folder with a file in it
    // after its bytes were written aside, so its rename fails (as root too) after the first two
    // were renamed. Both are put back: the old file as it was, the new one gone, and nothing
    // kept aside is left behind.
    DataDir dir;
    const QString folder = dir.path(QStringLiteral("batch"));
    QVERIFY(QDir().mkpath(folder));
    const QString old = folder + QStringLiteral("/old.ini");
    const QString added = folder + QStringLiteral("/added.ini");
    const QString blocked = folder + QStringLiteral("/blocked.ini");
    QVERIFY(IniFile::writeFileBytes(old, "[Config]\nDebounce=4\n"));
    SaveBatch batch;
    batch.add(old, "[Config]\nDebounce=8\n");
    batch.add(added, "[Config]\nCount=1\n");
    batch.add(blocked, "[Config]\nCount=2\n");
    QVERIFY(batch.result());
    QVERIFY(QDir().mkpath(blocked));
    QVERIFY(IniFile::writeFileBytes(blocked + QStringLiteral("/inside"), "x"));
    const SaveResult result = batch.commit();
    QVERIFY(!result);
    QCOMPARE(result.file(), QDir::toNativeSeparators(blocked));
    QByteArray bytes;
    QVERIFY(IniFile::readFileBytes(old, bytes));
    QCOMPARE(bytes, QByteArray("[Config]\nDebounce=4\n"));
    QVERIFY(!QFileInfo::exists(added));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{"blocked.ini", "old.ini"}));

    // The folder gone, the same batch lands whole.
    QVERIFY(QDir(blocked).removeRecursively());
    SaveBatch again;
    again.add(old, "[Config]\nDebounce=8\n");
    again.add(added, "[Config]\nCount=1\n");
    again.add(blocked, "[Config]\nCount=2\n");
    QVERIFY(again.commit());
    QVERIFY(IniFile::readFileBytes(old, bytes));
    QCOMPARE(bytes, QByteArray("[Config]\nDebounce=8\n"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{"added.ini", "blocked.ini", "old.ini"}));
}

void TestProfileStore::saveRewritesOnlyChangedSlots()
{
    DataDir dir;
    ProfileStore store = fullStore();
    QVERIFY(SaveStore(store));
    ageFiles(profileDir());
    store.profiles[1].leds[2].breath += 1;
    QVERIFY(SaveStore(store));
    for (int i = 0; i < kSlotCount; ++i) {
        const bool rewritten =
            QFileInfo(profileFile(store.names[size_t(i)])).lastModified() != kOldTime;
        QCOMPARE(rewritten, i == 1);
    }
}

void TestProfileStore::slotsSharingANameKeepTheActiveRecord()
{
    DataDir dir;
    ProfileStore store = fullStore();
    store.names[0] = store.names[3] = QStringLiteral("Shared");
    store.names[4] = QStringLiteral("SHARED"); // the same file where case is not told apart
    store.ProfileID = 3;
    QVERIFY(SaveStore(store));
    ProfileData read;
    QVERIFY(LoadSlotFile(read, QStringLiteral("Shared")));
    QVERIFY(read == store.profiles[3]);
#ifndef Q_OS_WIN
    // Here case tells files apart: "SHARED" is a file of its own and keeps its own record.
    QVERIFY(LoadSlotFile(read, QStringLiteral("SHARED")));
    QVERIFY(read == store.profiles[4]);
#endif
}

void TestProfileStore::namesAndActiveSlot()
{
    DataDir dir;
    ProfileStore store = fullStore();
    store.names[2] = QStringLiteral("Renamed");
    SaveSlotNames(store);
    SaveActiveSlot(4);
    QSettings config(appSettingsFile(), mctest::storedIniFormat());
    QCOMPARE(config.value(QStringLiteral("Config/Profile3")).toString(), QStringLiteral("Renamed"));
    QCOMPARE(config.value(QStringLiteral("Config/Count")).toInt(), 7);
    QCOMPARE(readActiveSlot(), 4);
    SaveActiveSlot(9);
    QCOMPARE(readActiveSlot(), 0);
}

void TestProfileStore::hostileConfigIsClampedAndContained()
{
    QTemporaryDir base;
    setAppDir(base.filePath(QStringLiteral("app")));
    mctest::writeWithQSettings(appSettingsFile(),
                               {{QStringLiteral("Config/ProfileID"), 9},
                                {QStringLiteral("Config/Count"), 1000000},
                                {QStringLiteral("Config/Profile1"), QStringLiteral("../../x")},
                                {QStringLiteral("Config/Profile2"), QStringLiteral("a/b")},
                                {QStringLiteral("Config/Profile3"), QStringLiteral("C:\\evil")},
                                {QStringLiteral("Config/Profile4"), QStringLiteral("Good")}});
    ProfileStore store;
    LoadStore(store);
    QCOMPARE(store.ProfileID, uint8_t(0));
    QCOMPARE(store.Count, uint8_t(1000000 & 0xFF));
    QCOMPARE(store.names[0], QStringLiteral("Profile 1"));
    QCOMPARE(store.names[1], QStringLiteral("Profile 2"));
    QCOMPARE(store.names[2], QStringLiteral("Profile 3"));
    QCOMPARE(store.names[3], QStringLiteral("Good"));
    QCOMPARE(store.names[4], QStringLiteral("Profile 5"));
    QVERIFY(SaveStore(store));
    QDirIterator it(base.path(), QStringList{QStringLiteral("*.prof")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        QVERIFY2(it.next().startsWith(profileDir() + QLatin1Char('/')), qPrintable(it.filePath()));
        ++files;
    }
    QCOMPARE(files, 5);
    setAppDir(QString());
}

void TestProfileStore::missingFilesGiveDefaultNamesAndNewProfiles()
{
    // A new data folder or product: every slot is a new profile, not a record of zeros whose
    // buttons do nothing and whose stages are all disabled.
    DataDir dir;
    writeDescription(0);
    ProfileStore store = fullStore();
    QVERIFY(LoadStore(store));
    ProfileData fresh;
    BuildDefaultProfile(fresh);
    for (int i = 0; i < kSlotCount; ++i) {
        QCOMPARE(store.names[size_t(i)], QStringLiteral("Profile %1").arg(i + 1));
        QVERIFY2(store.profiles[size_t(i)] == fresh, qPrintable(QString::number(i)));
    }
    QCOMPARE(store.ProfileID, uint8_t(0));
    QCOMPARE(store.Debounce, uint8_t(0));
    QVERIFY(!store.unreadable);
}

void TestProfileStore::unreadableFilesAreNeverWrittenOver_data()
{
    QTest::addColumn<QString>("file"); // relative to the data folder
    QTest::addColumn<bool>("folder");  // a folder in place of the file, else an oversized file
    QTest::newRow("Config.ini too large") << "Configs/Config.ini" << false;
    QTest::newRow("slot file too large") << "Configs/KIV M1/Profile/Slot 1, ü.prof" << false;
    QTest::newRow("slot file is a folder") << "Configs/KIV M1/Profile/Slot 3, ü.prof" << true;
}

void TestProfileStore::unreadableFilesAreNeverWrittenOver()
{
    QFETCH(QString, file);
    QFETCH(bool, folder);
    DataDir dir;
    writeCurrentProduct(QStringLiteral("KIV M1"));
    QVERIFY(SaveStore(fullStore()));
    const QString slotDir = profileDir() + QLatin1Char('/');
    const QString path = dir.path(file);
    QByteArray before;
    if (folder) {
        QVERIFY(QFile::remove(path) && QDir().mkpath(path + QStringLiteral("/inside")));
    } else {
        // What the user had, followed by more than any settings file of ours could hold.
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write(QByteArray(int(IniFile::kMaxFileSize), ';'));
        f.close();
        QVERIFY(f.open(QIODevice::ReadOnly));
        before = f.readAll();
    }
    ageFiles(configDir());
    ageFiles(slotDir);

    ProfileStore store;
    QString named;
    QVERIFY(!LoadStore(store, &named));
    QCOMPARE(named, path);
    QVERIFY(store.unreadable);
    store.Debounce = 99;
    store.profiles[0].dpi = 3;
    QVERIFY(!SaveStore(store));
    QVERIFY(!SaveSlotNames(store));
    ProfileStore copy = store;
    QVERIFY(!SaveStore(copy)); // the mark goes with the store

    // Nothing at all was written: not the unreadable file, not the files around it.
    QCOMPARE(QFileInfo(appSettingsFile()).lastModified(), kOldTime);
    for (int i = 0; i < kSlotCount; ++i) {
        const QFileInfo slot(slotDir + fullStore().names[size_t(i)] + QStringLiteral(".prof"));
        QVERIFY(slot.isDir() || slot.lastModified() == kOldTime);
        QVERIFY(!QFileInfo::exists(slotDir + defaultSlotName(i) + QStringLiteral(".prof")));
        QVERIFY(!QFileInfo::exists(profileFile(defaultSlotName(i))));
    }
    if (folder) {
        QVERIFY(QFileInfo(path).isDir());
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == before);
    }
}
void TestProfileStore::resetAll_data()
{
    QTest::addColumn<int>("productSync"); // -1: no description
    QTest::addColumn<int>("lift");
    QTest::newRow("sync 2 keeps the lift") << 2 << 1;
    QTest::newRow("sync 0") << 0 << 0;
    QTest::newRow("sync 1") << 1 << 0;
    QTest::newRow("no description") << -1 << 0;
}

void TestProfileStore::resetAll()
{
    QFETCH(int, productSync);
    QFETCH(int, lift);
    DataDir dir;
    if (productSync >= 0)
        writeDescription(productSync);
    ProfileStore store = fullStore();
    for (int i = 0; i < kSlotCount; ++i)
        store.names[size_t(i)] = QStringLiteral("Profile %1").arg(i + 1);
    const ProfileStore before = store;
    ResetAll(store);
    QCOMPARE(store.LiftHigh, uint8_t(lift));
    QCOMPARE(store.ProfileID, uint8_t(0));
    QCOMPARE(store.AngleValue, uint8_t(1));
    QCOMPARE(store.Sync, uint8_t(0));
    QCOMPARE(store.Jitter, uint8_t(1));
    QCOMPARE(store.Debounce, uint8_t(20));
    QCOMPARE(store.Count, before.Count);
    ProfileData fresh;
    BuildDefaultProfile(fresh);
    QVERIFY(store.profiles[0] == fresh);
    for (int i = 1; i < kSlotCount; ++i)
        QVERIFY(store.profiles[size_t(i)] == before.profiles[size_t(i)]);
}

void TestProfileStore::resetAllLoadsRenamedSlotsFromTheirFiles()
{
    // Slot 1 shows "Game"; after the reset it is "Profile 2" again and must show that file's
    // record, or the next save would write Game's record over "Profile 2".
    DataDir dir;
    const ProfileData profile2 = mctest::fullRecord(40);
    QVERIFY(SaveSlotFile(profile2, QStringLiteral("Profile 2")));
    ProfileStore store = fullStore();
    store.names = {QStringLiteral("Profile 1"), QStringLiteral("Game"), QStringLiteral("Profile 3"),
                   QStringLiteral("Profile 4"), QStringLiteral("Profile 5")};
    const ProfileData game = store.profiles[1];
    ResetAll(store);
    QCOMPARE(store.names[1], QStringLiteral("Profile 2"));
    QVERIFY(store.profiles[1] == profile2);
    QVERIFY(store.profiles[2] == fullStore().profiles[2]);
    QVERIFY(SaveStore(store));
    ProfileData read;
    QVERIFY(LoadSlotFile(read, QStringLiteral("Profile 2")));
    QVERIFY(read == profile2);
    QVERIFY(read != game);
}

void TestProfileStore::resetAllKeepsRenamedSlotsWithoutAFile()
{
    // No "Profile 3" file to protect: slot 2 keeps its record instead of a record of missing
    // keys (every stage disabled).
    DataDir dir;
    ProfileStore store = fullStore();
    store.names = {QStringLiteral("Profile 1"), QStringLiteral("Profile 2"), QStringLiteral("Game"),
                   QStringLiteral("Profile 4"), QStringLiteral("Profile 5")};
    const ProfileData game = store.profiles[2];
    ResetAll(store);
    QCOMPARE(store.names[2], QStringLiteral("Profile 3"));
    QVERIFY(store.profiles[2] == game);
}

void TestProfileStore::exportAndImport()
{
    DataDir dir;
    const QString path = dir.path(QStringLiteral("all.conf"));
    const ProfileStore exported = fullStore();
    WriteExportMark(path, QStringLiteral("KIV M1"));
    QVERIFY(ExportConfig(exported, path));
    QCOMPARE(ReadExportMark(path), QStringLiteral("KIV M1"));

    ProfileStore imported;
    for (int i = 0; i < kSlotCount; ++i) {
        imported.profiles[size_t(i)].LedMoveOFF = uint8_t(i + 100);
        imported.profiles[size_t(i)].LedSleepTime = uint8_t(i + 3);
    }
    ImportConfig(imported, path);
    ProfileStore expected = exported;
    for (int i = 0; i < kSlotCount; ++i) {
        expected.profiles[size_t(i)].LedMoveOFF = uint8_t(i + 100);
        expected.profiles[size_t(i)].LedSleepTime = uint8_t(i + 3);
    }
    for (int i = 0; i < kSlotCount; ++i)
        QVERIFY2(imported.profiles[size_t(i)] == expected.profiles[size_t(i)],
                 qPrintable(QString::number(i)));
    QVERIFY(imported == expected);
}

void TestProfileStore::exportedFileReadsInQSettings()
{
    DataDir dir;
    const QString path = dir.path(QStringLiteral("all.conf"));
    const ProfileStore store = fullStore();
    QVERIFY(ExportConfig(store, path));
    QSettings s(path, mctest::storedIniFormat());
    QCOMPARE(s.value(QStringLiteral("Config/ProfileID")).toInt(), 3);
    QCOMPARE(s.value(QStringLiteral("Config/Debounce")).toInt(), 33);
    QCOMPARE(s.value(QStringLiteral("Config/Profile5")).toString(), store.names[4]);
    QCOMPARE(s.value(QStringLiteral("PROFILE_4/BUTTON_INFO_41_KeyInfo_62_H")).toInt(),
             int(store.profiles[4].buttons[41].KeyInfo[62].high));
    QCOMPARE(s.value(QStringLiteral("PROFILE_0/LedMode/LED_MODE_13_RGB")).value<QColor>(),
             store.profiles[0].leds[13].color);
    QVERIFY(!s.contains(QStringLiteral("PROFILE_0/LedMoveOFF")));
    QVERIFY(!s.contains(QStringLiteral("PROFILE_0/LedSleepTime")));
    QVERIFY(!s.contains(QStringLiteral("PROFILE/pollrate")));
}

void TestProfileStore::hostileImportIsClamped()
{
    DataDir dir;
    const QString path = dir.path(QStringLiteral("hostile.conf"));
    mctest::writeWithQSettings(path, {{QStringLiteral("Config/ProfileID"), 9},
                                      {QStringLiteral("Config/Profile2"), QStringLiteral("../up")},
                                      {QStringLiteral("PROFILE_1/dpi"), 40},
                                      {QStringLiteral("PROFILE_1/LedMode"), 200},
                                      {QStringLiteral("PROFILE_1/pollrate"), 3},
                                      {QStringLiteral("PROFILE_5/dpi"), 3}});
    ProfileStore store = fullStore();
    ImportConfig(store, path);
    QCOMPARE(store.ProfileID, uint8_t(0));
    QCOMPARE(store.names[1], QStringLiteral("Profile 2"));
    // Not in the file: kept, as everything a configuration file cut short does not hold.
    QCOMPARE(store.names[0], fullStore().names[0]);
    QCOMPARE(store.profiles[1].dpi, uint8_t(7));
    QCOMPARE(store.profiles[1].LedMode, uint8_t(9));
    QCOMPARE(store.profiles[1].pollrate, uint8_t(1));
    QCOMPARE(store.profiles[1].LedSleepTime, fullStore().profiles[1].LedSleepTime);
}

void TestProfileStore::importOfMissingFileChangesNothing()
{
    DataDir dir;
    ProfileStore store = fullStore();
    ImportConfig(store, dir.path(QStringLiteral("nowhere.conf")));
    QVERIFY(store == fullStore());
}

void TestProfileStore::libraryList()
{
    DataDir dir;
    writeCurrentProduct(QStringLiteral("KIV M1"));
    const QStringList names = {QStringLiteral("Profile 1"), QStringLiteral("FPS, fast"),
                               QString::fromUtf8("Über")};
    SaveLibraryList(names);
    QVERIFY(QFileInfo::exists(dir.path(QStringLiteral("Configs/KIV M1/Config.ini"))));
    QCOMPARE(LoadLibraryList(), names);
    SaveLibraryList({QStringLiteral("Only")});
    QCOMPARE(LoadLibraryList(), QStringList{QStringLiteral("Only")});
    QSettings product(productSettingsFile(), mctest::storedIniFormat());
    QVERIFY(!product.contains(QStringLiteral("PROFILE_LIST/2")));
    SaveLibraryList({});
    QCOMPARE(LoadLibraryList(), QStringList());
}

void TestProfileStore::hostileLibraryList()
{
    DataDir dir;
#ifdef Q_OS_WIN
    const QStringList expected = {QStringLiteral("A"), QStringLiteral("C")};
#else
    const QStringList expected = {QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("C")};
#endif
    mctest::writeWithQSettings(productSettingsFile(),
                               {{QStringLiteral("PROFILE_LIST/Count"), 1000000000},
                                {QStringLiteral("PROFILE_LIST/0"), QStringLiteral("A")},
                                {QStringLiteral("PROFILE_LIST/1"), QStringLiteral("../B")},
                                {QStringLiteral("PROFILE_LIST/2"), QStringLiteral("a")},
                                {QStringLiteral("PROFILE_LIST/3"), QString()},
                                {QStringLiteral("PROFILE_LIST/4"), QStringLiteral("C")}});
    QCOMPARE(LoadLibraryList(), expected);
    mctest::writeWithQSettings(productSettingsFile(), {{QStringLiteral("PROFILE_LIST/Count"), -5}});
    QCOMPARE(LoadLibraryList(), QStringList());

    // A product settings file too large to read is neither read nor replaced by a new list.
    const QByteArray huge =
        "[PROFILE_LIST]\nCount=1\n0=Kept\n" + QByteArray(int(IniFile::kMaxFileSize), ';');
    mctest::writeBytes(productSettingsFile(), huge);
    QCOMPARE(LoadLibraryList(), QStringList());
    QVERIFY(!SaveLibraryList({QStringLiteral("New")}));
    QFile f(productSettingsFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == huge);
}

QTEST_GUILESS_MAIN(TestProfileStore)
#include "test_profilestore.moc"
