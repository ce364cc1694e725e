// The apply worker against the emulated mouse: the mouse-off and nothing-changed paths send
// nothing, Config/Diff and the write-everything flag force every group, a change sends its
// group only, a failed write marks Config/Diff, the stores are saved and copied, a store that
// could not be saved or read sends nothing (and says why), a missing or damaged product
// description sends nothing, and a stopped worker does nothing at all.
#include "device/buttonblock.h"
#include "device/processthread.h"
#include "device/writeresult.h"
#include "profile/inifile.h"
#include "profile/profilefile.h"
#include "profile/profilestore.h"
#include "profile/settings.h"
#include "writefixture.h"

#include <QLoggingCategory>
#include <QSignalSpy>
#include <QtTest>

using namespace mc;
using namespace mc::test;

namespace {

ProfileStore loadedStore()
{
    ProfileStore s;
    LoadStore(s);
    return s;
}

// Runs the worker to its end; the number of DoProcessDlg signals received on this thread.
int runWorker(KivProcessThread &worker)
{
    QSignalSpy done(&worker, &KivProcessThread::DoProcessDlg);
    worker.start();
    worker.wait();
    QCoreApplication::processEvents();
    return done.count();
}

} // namespace

class TestProcessThread : public QObject
{
    Q_OBJECT

private slots:
    // The messages checked below are debug messages, off unless asked for.
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
    }

    void init();

    void mouseOffSendsNothingButSaves();
    void nothingChangedSendsNothing();
    void forcedFullWrite_data();
    void forcedFullWrite();
    void changedGroupOnly();
    void failedWriteMarksDiff();
    void failedSaveSendsNothing_data();
    void failedSaveSendsNothing();
    void withoutDescriptionNothingIsSent();
    void unreadableStoreIsNeitherSavedNorSent();
    void missingSlotFilesSendANewProfile();
    void stoppedWorkerDoesNothing();
    void signalArrivesQueuedOnTheCreatorsThread();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProcessThread::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeProductFiles(m_dir->path(), 3395, 6);
}

void TestProcessThread::mouseOffSendsNothingButSaves()
{
    OpenMouse mouse;
    writeDiff(1);
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    working.Debounce = 77;
    KivProcessThread worker(mouse.connection(), working, written);
    worker.setMouseOff(true);
    QCOMPARE(runWorker(worker), 1);
    QCOMPARE(int(worker.result()), int(kMouseOff));
    QCOMPARE(mouse->writeCount(), 0);
    QCOMPARE(int(loadedStore().Debounce), 77); // saved all the same
    QCOMPARE(readDiff(), 1);                   // nothing was sent: still to be written
    QCOMPARE(int(written.Debounce), 0);
}

void TestProcessThread::nothingChangedSendsNothing()
{
    OpenMouse mouse;
    writeDiff(0);
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    KivProcessThread worker(mouse.connection(), working, written);
    QCOMPARE(runWorker(worker), 1);
    QCOMPARE(int(worker.result()), 0);
    QCOMPARE(worker.usedMask(), 0);
    QCOMPARE(mouse->writeCount(), 0);
}

void TestProcessThread::forcedFullWrite_data()
{
    QTest::addColumn<int>("diff");
    QTest::addColumn<bool>("everything");
    QTest::newRow("previous write failed") << 1 << false;
    QTest::newRow("write everything") << 0 << true;
}

void TestProcessThread::forcedFullWrite()
{
    QFETCH(int, diff);
    QFETCH(bool, everything);
    OpenMouse mouse;
    writeDiff(diff);
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    KivProcessThread worker(mouse.connection(), working, written);
    worker.setWriteEverything(everything);
    QCOMPARE(runWorker(worker), 1);
    QCOMPARE(int(worker.result()), 0);
    QCOMPARE(worker.usedMask(), 15);
    QCOMPARE(mouse->writeCount(), 31); // brackets, four blocks, five commits; no macro
    QCOMPARE(mouse->commitCount(), 4); // every block applied
    QCOMPARE(readDiff(), 0);
}

void TestProcessThread::changedGroupOnly()
{
    OpenMouse mouse;
    writeDiff(0);
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    working.profiles[0].stages[2].x += 3;
    KivProcessThread worker(mouse.connection(), working, written);
    runWorker(worker);
    QCOMPARE(worker.usedMask(), 2);
    QCOMPARE(mouse->writeCount(), 17); // bracket, DPI block, five commits, bracket
    QVERIFY(written == working);
}

void TestProcessThread::failedWriteMarksDiff()
{
    OpenMouse mouse;
    writeDiff(0);
    mouse->setWriteFailure(true);
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    working.profiles[0].pollrate = 8;
    KivProcessThread worker(mouse.connection(), working, written);
    QCOMPARE(runWorker(worker), 1);
    QCOMPARE(int(worker.result()), int(kWriteFailed));
    QCOMPARE(readDiff(), 1);
    QVERIFY(written == working); // copied whatever the outcome; Diff sends it all next time
    QCOMPARE(writeResultText(worker.result()), QString("Send data failed, please try again."));
}

void TestProcessThread::failedSaveSendsNothing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("data folder is a file") << "data folder";
    QTest::newRow("Configs is a file") << "Configs";
    QTest::newRow("slot file is a folder") << "slot file";
    QTest::newRow("name too long in bytes") << "long name"; // 130 "é" are 260 bytes
}

void TestProcessThread::failedSaveSendsNothing()
{
    QFETCH(QString, fault);
    OpenMouse mouse;
    writeDiff(1);
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    working.Debounce = 66;
    const auto makeFile = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly);
    };
    if (fault == QLatin1String("data folder")) {
        QVERIFY(makeFile(m_dir->filePath("plain file")));
        setAppDir(m_dir->filePath("plain file"));
    } else if (fault == QLatin1String("Configs")) {
        QVERIFY(QDir(configDir()).removeRecursively() && makeFile(configDir()));
    } else if (fault == QLatin1String("slot file")) {
        QVERIFY(QDir().mkpath(profileFile(working.names[0])));
    } else {
        working.names[2] = QString(130, QChar(0xE9));
    }
    KivProcessThread worker(mouse.connection(), working, written);
    worker.setWriteEverything(true);
    QCOMPARE(runWorker(worker), 1);
    QCOMPARE(int(worker.result()), int(kSaveFailed));
    QCOMPARE(mouse->writeCount(), 0); // the mouse never holds what the files could not keep
    QVERIFY(writeResultText(kSaveFailed) != writeResultText(kWriteFailed));
    // The user is told which file and the system's words, not only that something failed.
    QVERIFY(!worker.reason().isEmpty());
    QCOMPARE(worker.message(), writeResultText(kSaveFailed) + ' ' + worker.reason());
    if (fault == QLatin1String("slot file"))
        QVERIFY2(worker.reason().contains(QDir::toNativeSeparators(profileFile(working.names[0]))),
                 qPrintable(worker.reason()));
    if (QFileInfo(appSettingsFile()).isFile())
        QCOMPARE(readDiff(), 1); // the next write still sends everything
}

void TestProcessThread::withoutDescriptionNothingIsSent()
{
    // Missing, then damaged (no button count): the buttons would all go out "off". The edits
    // are saved, nothing reaches the mouse, the next write sends everything, and the user
    // reads which file is at fault.
    for (const bool missing : {true, false}) {
        OpenMouse mouse;
        writeDiff(0);
        if (missing) {
            QVERIFY(QFile::remove(productDescriptionFile()));
        } else {
            writeProductFiles(m_dir->path(), 3395, 6);
            IniFile desc;
            QVERIFY(desc.load(productDescriptionFile()));
            desc.remove(QStringLiteral("PROFILE/ButtonCount"));
            desc.remove(QStringLiteral("PROFILE/MouseDpi"));
            QVERIFY(desc.save(productDescriptionFile()));
        }
        ProfileStore working = loadedStore();
        ProfileStore written = working;
        working.Debounce = 33;
        KivProcessThread worker(mouse.connection(), working, written);
        worker.setWriteEverything(true);
        QCOMPARE(runWorker(worker), 1);
        QCOMPARE(int(worker.result()), int(kNoProductDescription));
        QCOMPARE(mouse->writeCount(), 0);
        QCOMPARE(int(loadedStore().Debounce), 33);
        QCOMPARE(readDiff(), 1);
        QVERIFY(written.Debounce != 33);
        QVERIFY2(worker.message().contains(QDir::toNativeSeparators(productDescriptionFile())),
                 qPrintable(worker.message()));
        QVERIFY(worker.message().startsWith(writeResultText(kNoProductDescription)));
    }
}

void TestProcessThread::unreadableStoreIsNeitherSavedNorSent()
{
    OpenMouse mouse;
    writeDiff(0);
    const QString slotFile = profileFile(defaultSlotName(1));
    QByteArray bytes = "[PROFILE]\ndpi=2\n" + QByteArray(int(IniFile::kMaxFileSize), ';');
    QDir().mkpath(profileDir());
    QFile f(slotFile);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    f.close();
    ProfileStore working;
    QVERIFY(!LoadStore(working));
    ProfileStore written = working;
    working.Debounce = 44;
    KivProcessThread worker(mouse.connection(), working, written);
    worker.setWriteEverything(true);
    QCOMPARE(runWorker(worker), 1);
    QCOMPARE(int(worker.result()), int(kStoreUnreadable));
    QCOMPARE(mouse->writeCount(), 0);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == bytes);
    QVERIFY(!QFileInfo::exists(profileFile(defaultSlotName(0)))); // nothing else saved either
    QVERIFY(int(loadedStore().Debounce) != 44);
}

void TestProcessThread::missingSlotFilesSendANewProfile()
{
    // No slot file yet (a new product or data folder): the mouse gets the product's new
    // profile, left click included, not a button block of zeros.
    writeProductFiles(m_dir->path(), 3395, 6, 0, {{"PROFILE/BUTTON_INFO_0_Fun", 1}});
    OpenMouse mouse;
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    KivProcessThread worker(mouse.connection(), working, written);
    worker.setWriteEverything(true);
    runWorker(worker);
    QCOMPARE(int(worker.result()), 0);
    const QByteArray block = mouse->blockMemory(0x03);
    const QByteArray none(buttonblock::kCodeSize, '\0');
    const auto code = [&](int slot) {
        return block.mid(buttonblock::kFirstSlot + slot * buttonblock::kCodeSize,
                         buttonblock::kCodeSize);
    };
    QVERIFY(code(1) != none); // button 0 sits at device slot 1 in this product
    QVERIFY(code(buttonblock::kWheelUpSlot) != none);
    QVERIFY(code(buttonblock::kWheelDownSlot) != none);
}

void TestProcessThread::stoppedWorkerDoesNothing()
{
    OpenMouse mouse;
    writeDiff(1);
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    working.Debounce = 55;
    KivProcessThread worker(mouse.connection(), working, written);
    worker.requestStop();
    QTest::ignoreMessage(QtDebugMsg, "the write was stopped before it began");
    QCOMPARE(runWorker(worker), 0);
    QCOMPARE(mouse->writeCount(), 0);
    QVERIFY(int(loadedStore().Debounce) != 55); // not even saved
}

void TestProcessThread::signalArrivesQueuedOnTheCreatorsThread()
{
    OpenMouse mouse;
    ProfileStore working = loadedStore();
    ProfileStore written = working;
    KivProcessThread worker(mouse.connection(), working, written);
    worker.setWriteEverything(true);
    QObject receiver;
    QThread *seenOn = nullptr;
    connect(&worker, &KivProcessThread::DoProcessDlg, &receiver,
            [&] { seenOn = QThread::currentThread(); });
    QSignalSpy done(&worker, &KivProcessThread::DoProcessDlg);
    worker.start();
    QVERIFY(done.wait(10000));
    QTRY_VERIFY(seenOn != nullptr);
    QCOMPARE(seenOn, QThread::currentThread());
    QCOMPARE(int(worker.result()), 0);
}

QTEST_GUILESS_MAIN(TestProcessThread)
#include "test_processthread.moc"
