// The profile library against a temporary data folder: which profile a delete selects, the
// names copy and add choose, renames that are refused without touching anything, a library
// entry held by another slot, a profile carried to another slot by export and import, and
// files of another product refused. Every library entry's file carries its own name and
// pointer speed, so the record a slot ends up with shows which file was read.
#include "app/profilelibrary.h"
#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/profilefile.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>

using namespace mc;

namespace {

constexpr char kProduct[] = "KIV M1";
const QString kExist = QStringLiteral("Profile Exist!");
const QString kDefault = QStringLiteral("The default Profile cannot be deleted or renamed.");
const QString kInvalid = QStringLiteral("INVALID PROFILE NAME!");
const QString kNotMatch = QStringLiteral("The file is not match current mouse!");

ProfileData entryRecord(const QString &name, int n)
{
    ProfileData r;
    r.ProfileName = name;
    r.mousespeed = uint8_t(n + 1);
    r.stages[0].used = 1;
    r.stages[0].xy = r.stages[0].x = r.stages[0].y = uint32_t(100 + n);
    return r;
}

// Everything a refused operation must leave alone: the profile folder's files and the
// product's and application's settings.
std::map<QString, QByteArray> folderState()
{
    std::map<QString, QByteArray> state;
    for (const QString &file :
         {productSettingsFile(), appSettingsFile(), productDescriptionFile()}) {
        QFile f(file);
        state[file] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    const QDir dir(profileDir());
    for (const QString &name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        state[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    return state;
}

} // namespace

class TestProfileLibrary : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deleteSelectsReplacement_data();
    void deleteSelectsReplacement();
    void copyNamesTwice();
    void addTakesSmallestFreeName_data();
    void addTakesSmallestFreeName();
    void renameMovesFileAndEntry_data();
    void renameMovesFileAndEntry();
    void refusedRenameTouchesNothing_data();
    void refusedRenameTouchesNothing();
    void libraryEntryOfAnotherSlotRefused();
    void exportThenImportOnAnotherSlot();
    void configurationSavedUnderItsExtension();
    void fileOfAnotherProductRefused_data();
    void fileOfAnotherProductRefused();

private:
    // Library entries with their files, slot names (slot 0 current, the rest default names),
    // then the store loaded as the window loads it.
    void setUpLibrary(const QStringList &entries, const QStringList &slotNames);

    std::unique_ptr<QTemporaryDir> m_dir;
    ProfileStore m_store;
    std::unique_ptr<ProfileLibrary> m_lib;
    QStringList m_told;
    QStringList m_asked;
    QString m_chosenPath;
};

void TestProfileLibrary::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    setAppDir(m_dir->path());
    QDir(m_dir->path()).mkpath(QStringLiteral("Configs"));
    QSettings(productDescriptionFile(), QSettings::IniFormat)
        .setValue(QStringLiteral("PROFILE/ProductName"), kProduct);
    writeCurrentProduct(QString::fromLatin1(kProduct));
    m_store = ProfileStore();
    m_told.clear();
    m_asked.clear();
    m_chosenPath.clear();
    m_lib = std::make_unique<ProfileLibrary>(m_store);
    UserPrompts prompts;
    prompts.ask = [this](int, const QString &text) {
        m_asked << text;
        return true;
    };
    prompts.tell = [this](int, const QString &text) { m_told << text; };
    prompts.chooseSaveFile = [this](const QString &, const QString &) { return m_chosenPath; };
    prompts.chooseOpenFile = prompts.chooseSaveFile;
    m_lib->setPrompts(prompts);
}

void TestProfileLibrary::cleanup()
{
    m_lib.reset();
    setAppDir(QString());
}

void TestProfileLibrary::setUpLibrary(const QStringList &entries, const QStringList &slotNames)
{
    for (int n = 0; n < entries.size(); ++n)
        QVERIFY(WriteProfileFile(entryRecord(entries.at(n), n), profileFile(entries.at(n))));
    SaveLibraryList(entries);
    ProfileStore names;
    for (int i = 0; i < kSlotCount; ++i)
        names.names[size_t(i)] = i < slotNames.size() ? slotNames.at(i) : defaultSlotName(i);
    SaveSlotNames(names);
    LoadStore(m_store);
    m_lib->loadLibrary();
    QCOMPARE(m_lib->currentName(), slotNames.value(0));
}

void TestProfileLibrary::deleteSelectsReplacement_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("slotNames");
    QTest::addColumn<QString>("expected");
    QTest::newRow("last entry: the one before")
        << QStringList{"A", "B", "C"} << QStringList{"C"} << "B";
    QTest::newRow("middle entry: the one after")
        << QStringList{"A", "B", "C"} << QStringList{"B"} << "C";
    QTest::newRow("steps back past other slots' names and the deleted entry")
        << QStringList{"A", "B", "C", "D"} << QStringList{"C", "D", "B"} << "A";
    QTest::newRow("every earlier entry held: nearest free neighbour")
        << QStringList{"A", "B", "C", "D"} << QStringList{"B", "A", "C"} << "D";
}

void TestProfileLibrary::deleteSelectsReplacement()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, slotNames);
    QFETCH(QString, expected);
    setUpLibrary(entries, slotNames);
    const QString deleted = slotNames.at(0);

    QVERIFY(m_lib->deleteProfile());
    QCOMPARE(m_asked, QStringList{"Are you sure you want delete this profile?"});
    QCOMPARE(m_lib->currentName(), expected);
    QCOMPARE(m_store.current().ProfileName, expected); // the replacement's file was read
    QVERIFY(!QFileInfo::exists(profileFile(deleted)));
    entries.removeAll(deleted);
    QCOMPARE(LoadLibraryList(), entries);
    ProfileStore reloaded;
    LoadStore(reloaded);
    QCOMPARE(reloaded.names[0], expected); // the slot no longer names the removed file
}

void TestProfileLibrary::copyNamesTwice()
{
    setUpLibrary({"A", "A copy"}, {"A"});
    QVERIFY(m_lib->copyProfile());
    QCOMPARE(m_lib->currentName(), QStringLiteral("A copy 1"));
    ProfileData copied;
    ReadProfileFile(copied, profileFile(QStringLiteral("A copy 1")));
    QCOMPARE(copied.ProfileName, QStringLiteral("A")); // A's file, copied

    QVERIFY(m_lib->chooseLibraryEntry(0));
    QVERIFY(m_lib->copyProfile());
    QCOMPARE(m_lib->currentName(), QStringLiteral("A copy 2"));
    QCOMPARE(LoadLibraryList(), (QStringList{"A", "A copy", "A copy 1", "A copy 2"}));
}

void TestProfileLibrary::addTakesSmallestFreeName_data()
{
    QTest::addColumn<QStringList>("slotNames");
    QTest::addColumn<QString>("expected");
    const QStringList others{"A", "B", "C", "D", "E"};
    QTest::newRow("after Profile 1 and 2") << others << "Profile 3";
    QTest::newRow("a name a slot holds unsaved is taken")
        << QStringList{"A", "Profile 3", "C", "D", "E"} << "Profile 4";
}

void TestProfileLibrary::addTakesSmallestFreeName()
{
    QFETCH(QStringList, slotNames);
    QFETCH(QString, expected);
    setUpLibrary({"Profile 1", "Profile 2", "A"}, slotNames);
    QVERIFY(m_lib->addProfile());
    QCOMPARE(m_lib->currentName(), expected);
    QCOMPARE(LoadLibraryList().last(), expected);
    ProfileData fresh;
    BuildDefaultProfile(fresh);
    QCOMPARE(int(m_store.current().mousespeed), int(fresh.mousespeed));
    QVERIFY(m_store.current().stages == fresh.stages);
    QVERIFY(QFileInfo::exists(profileFile(expected)));
}

void TestProfileLibrary::renameMovesFileAndEntry_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("checkDefault");
    QTest::newRow("name edit") << "A" << true;
    QTest::newRow("library button renames a default name") << "Profile 1" << false;
}

void TestProfileLibrary::renameMovesFileAndEntry()
{
    QFETCH(QString, current);
    QFETCH(bool, checkDefault);
    setUpLibrary({"B", current}, {current});
    QVERIFY(m_lib->rename(QStringLiteral("C"), checkDefault));
    QVERIFY(m_told.isEmpty());
    QVERIFY(!QFileInfo::exists(profileFile(current)));
    ProfileData moved;
    ReadProfileFile(moved, profileFile(QStringLiteral("C")));
    QCOMPARE(int(moved.mousespeed), 2); // the second entry's file, under the new name
    QCOMPARE(LoadLibraryList(), (QStringList{"B", "C"}));
    ProfileStore reloaded;
    LoadStore(reloaded);
    QCOMPARE(reloaded.names[0], QStringLiteral("C"));
    QCOMPARE(m_store.current().ProfileName, QStringLiteral("C"));
}

void TestProfileLibrary::refusedRenameTouchesNothing_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("message");
    QTest::newRow("existing file") << "A"
                                   << "B" << kExist;
    QTest::newRow("default name") << "Profile 1"
                                  << "C" << kDefault;
    QTest::newRow("climbs out of the folder") << "A"
                                              << "../C" << kInvalid;
    QTest::newRow("backslash") << "A"
                               << "x\\C" << kInvalid;
    QTest::newRow("colon") << "A"
                           << "c:C" << kInvalid;
    QTest::newRow("empty") << "A"
                           << "" << kInvalid;
}

void TestProfileLibrary::refusedRenameTouchesNothing()
{
    QFETCH(QString, current);
    QFETCH(QString, newName);
    QFETCH(QString, message);
    setUpLibrary({"A", "B", "Profile 1"}, {current});
    const auto before = folderState();
    const ProfileStore store = m_store;
    QSignalSpy changed(m_lib.get(), &ProfileLibrary::currentChanged);

    QVERIFY(!m_lib->rename(newName, true));
    QCOMPARE(m_told, QStringList{message});
    QVERIFY(folderState() == before);
    QVERIFY(m_store == store);
    QCOMPARE(m_lib->libraryList(), (QStringList{"A", "B", "Profile 1"}));
    QCOMPARE(changed.count(), 0);
    for (QDirIterator it(m_dir->path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        QVERIFY2(!it.next().endsWith(QLatin1String("C.prof")), qPrintable(it.filePath()));
}

void TestProfileLibrary::libraryEntryOfAnotherSlotRefused()
{
    setUpLibrary({"A", "B"}, {"A", "B"});
    m_store.current().dpi = 7; // an edit not yet saved
    const ProfileStore store = m_store;
    QVERIFY(!m_lib->chooseLibraryEntry(1));
    QCOMPARE(m_told, QStringList{"Profile is Already Used!"});
    QVERIFY(m_store == store);

    QVERIFY(m_lib->chooseLibraryEntry(0)); // its own name: read again
    QCOMPARE(int(m_store.current().dpi), 0);
}

void TestProfileLibrary::exportThenImportOnAnotherSlot()
{
    setUpLibrary({"A", "B"}, {"A", "X"});
    const QString exported = m_dir->path() + QStringLiteral("/out/Shared.prof");
    QDir().mkpath(QFileInfo(exported).path());
    m_chosenPath = exported;
    QVERIFY(m_lib->exportProfile());
    QCOMPARE(ReadExportMark(exported), QString::fromLatin1(kProduct));

    m_lib->selectSlot(1, false);
    QSignalSpy writes(m_lib.get(), &ProfileLibrary::writeRequested);
    QVERIFY(m_lib->importProfile());
    QCOMPARE(m_lib->currentSlot(), 1);
    QCOMPARE(m_lib->currentName(), QStringLiteral("Shared"));
    QCOMPARE(int(m_store.current().mousespeed), 1); // A's record
    QVERIFY(m_store.current().stages == m_store.profiles[0].stages);
    QCOMPARE(LoadLibraryList(), (QStringList{"A", "B", "Shared"}));
    QCOMPARE(writes.count(), 1);
    QCOMPARE(writes.at(0).at(0).toBool(), false);

    QVERIFY(!m_lib->importProfile()); // now it is there
    QCOMPARE(m_told, QStringList{kExist});
}

// A configuration saved under a bare name gets ".conf", so that LOAD's filter shows it; an
// existing file of that name is replaced only when the user says so.
void TestProfileLibrary::configurationSavedUnderItsExtension()
{
    setUpLibrary({"A"}, {"A"});
    m_chosenPath = m_dir->path() + QStringLiteral("/mine");
    const QString written = m_chosenPath + QStringLiteral(".conf");
    QVERIFY(m_lib->saveConfiguration());
    QVERIFY(QFileInfo::exists(written));
    QVERIFY(!QFileInfo::exists(m_chosenPath));
    QVERIFY(m_asked.isEmpty());

    QFile f(written);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("kept");
    f.close();
    UserPrompts no;
    no.ask = [this](int, const QString &text) {
        m_asked << text;
        return false;
    };
    no.chooseSaveFile = [this](const QString &, const QString &) { return m_chosenPath; };
    m_lib->setPrompts(no);
    QVERIFY(!m_lib->saveConfiguration());
    QCOMPARE(m_asked.size(), 1);
    QVERIFY(m_asked.first().contains(QLatin1String("mine.conf")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("kept"));
}

void TestProfileLibrary::fileOfAnotherProductRefused_data()
{
    QTest::addColumn<bool>("configuration");
    QTest::newRow("one profile") << false;
    QTest::newRow("configuration") << true;
}

void TestProfileLibrary::fileOfAnotherProductRefused()
{
    QFETCH(bool, configuration);
    setUpLibrary({"A", "B"}, {"A"});
    m_chosenPath = m_dir->path() + (configuration ? "/other.conf" : "/Other.prof");
    WriteExportMark(m_chosenPath, QStringLiteral("OTHER MOUSE"));
    ProfileStore other = m_store;
    other.Debounce = 99;
    other.names[0] = QStringLiteral("Other");
    if (configuration)
        QVERIFY(ExportConfig(other, m_chosenPath));
    else
        QVERIFY(WriteProfileFile(other.profiles[0], m_chosenPath));
    const auto before = folderState();
    const ProfileStore store = m_store;
    QSignalSpy writes(m_lib.get(), &ProfileLibrary::writeRequested);

    QVERIFY(!(configuration ? m_lib->loadConfiguration() : m_lib->importProfile()));
    QCOMPARE(m_told, QStringList{kNotMatch});
    QVERIFY(m_store == store);
    QVERIFY(folderState() == before);
    QCOMPARE(writes.count(), 0);
}

QTEST_GUILESS_MAIN(TestProfileLibrary)
#include "test_profilelibrary.moc"
