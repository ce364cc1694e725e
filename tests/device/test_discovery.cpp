// Finding the mouse: the device table from the product files, enumeration with its path rules
// and the last-wins rule, opening and closing, interface-name classification and the found
// flags kept current by arrivals and removals (from names and from the emulator's hot-plug).
#include "device/devicetable.h"
#include "device/discovery.h"
#include "device/mouseconnection.h"
#include "emulator/emulatedmouse.h"
#include "scriptedbackend.h"
#include "testproduct.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace mc;
using A = EmulatedMouse::Attachment;
using C = EmulatedMouse::Collection;
using Style = EmulatedMouse::PathStyle;

Q_DECLARE_METATYPE(mc::EmulatedMouse::PathStyle)

namespace {
HidDeviceInfo device(const char *path, int vid, int pid, int usagePage, int usage, int release = 0)
{
    HidDeviceInfo d;
    d.path = path;
    d.vendorId = uint16_t(vid);
    d.productId = uint16_t(pid);
    d.usagePage = uint16_t(usagePage);
    d.usage = uint16_t(usage);
    d.release = uint16_t(release);
    return d;
}
} // namespace

class DiscoveryTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<EmulatedMouse> m_mouse;
    std::unique_ptr<test::ScriptedBackend> m_scripted;
    std::unique_ptr<MouseConnection> m_conn;

    MouseConnection &conn() { return *m_conn; }
    const DeviceEntry &entry0() { return m_conn->state().entries[0]; }

    void useScripted(const QVector<HidDeviceInfo> &devices)
    {
        m_conn.reset();
        m_scripted = std::make_unique<test::ScriptedBackend>();
        m_scripted->devices = devices;
        m_conn = std::make_unique<MouseConnection>(*m_scripted);
    }

    void discover()
    {
        InitDeviceTable(conn());
        QCOMPARE(EnumerateDevices(conn()), 0);
        OpenDeviceByName(conn(), test::kTestProduct);
    }

private slots:
    void init()
    {
        test::writeTestProduct(m_dir);
        m_mouse = std::make_unique<EmulatedMouse>();
        m_conn = std::make_unique<MouseConnection>(*m_mouse);
    }

    void cleanup()
    {
        m_conn.reset(); // closes what it opened
        m_scripted.reset();
        m_mouse.reset();
    }

    void tableIsFilledFromTheProductFiles()
    {
        test::writeTestProduct(m_dir, 0x1111, 0x2222, 0x3333, 0x4444);
        conn().state().entries[0].cableCommandFound = true;
        conn().state().entries[5].receiverPointerPath = "stale";
        InitDeviceTable(conn());
        QCOMPARE(conn().state().count, 1);
        QCOMPARE(entry0().receiverVid, 0x1111);
        QCOMPARE(entry0().receiverPid, 0x2222);
        QCOMPARE(entry0().cableVid, 0x3333);
        QCOMPARE(entry0().cablePid, 0x4444);
        QCOMPARE(entry0().productName, QByteArray(test::kTestProduct));
        QCOMPARE(entry0().receiverPointerUsage, 2);
        QCOMPARE(entry0().receiverCommandUsage, 0);
        QCOMPARE(entry0().cableCommandUsagePage, 1);
        QVERIFY(!entry0().cableCommandFound);
        QVERIFY(conn().state().entries[5].receiverPointerPath.isEmpty());
    }

    void missingProductDescriptionGivesTheDefaultIds()
    {
        QTemporaryDir empty;
        setAppDir(empty.path());
        QDir(empty.path()).mkpath(QStringLiteral("Configs"));
        QSettings(appSettingsFile(), QSettings::IniFormat)
            .setValue(QStringLiteral("Mouse_List/0"), QLatin1String(test::kTestProduct));
        InitDeviceTable(conn());
        QCOMPARE(conn().state().count, 1);
        QCOMPARE(entry0().receiverVid, 0x248A);
        QCOMPARE(entry0().receiverPid, 0xFA02);
        QCOMPARE(entry0().cablePid, 0xFB01);
        test::writeTestProduct(m_dir);
    }

    // A Config.ini that names no mouse lists none, whatever is plugged in or asked for.
    void emptyProductNameListsNoMouse()
    {
        QSettings(appSettingsFile(), QSettings::IniFormat)
            .setValue(QStringLiteral("Mouse_List/0"), QString());
        m_mouse->plug(A::Receiver);
        m_mouse->plug(A::Cable);
        InitDeviceTable(conn());
        QCOMPARE(conn().state().count, 0);
        QCOMPARE(EnumerateDevices(conn()), 0);
        QCOMPARE(presentProductCount(conn()), 0);
        QVERIFY(!cableConnected(conn()) && !receiverCommandFound(conn()) &&
                !cablePointerFound(conn()));
        OpenDeviceByName(conn(), QByteArray());
        OpenDeviceByName(conn(), test::kTestProduct);
        QCOMPARE(m_mouse->openHandleCount(), 0);
        QVERIFY(
            NoteInterfaceArrival(conn(), InterfaceMatch{0x248A, 0xFA02, kKindCommand}, "hidraw3")
                .isEmpty());
        // Nor is an entry without a name present, whatever its flags say.
        DeviceEntry nameless;
        nameless.cablePointerFound = nameless.cableCommandFound = true;
        QVERIFY(!productPresent(nameless));
    }

    void attachments_data()
    {
        QTest::addColumn<bool>("receiver");
        QTest::addColumn<bool>("cable");
        QTest::addColumn<Style>("style");
        for (Style style : {Style::Emu, Style::Linux, Style::Windows}) {
            const char *name = style == Style::Emu     ? "emu"
                               : style == Style::Linux ? "linux"
                                                       : "windows";
            QTest::addRow("receiver only, %s paths", name) << true << false << style;
            QTest::addRow("cable only, %s paths", name) << false << true << style;
            QTest::addRow("both, %s paths", name) << true << true << style;
            QTest::addRow("nothing, %s paths", name) << false << false << style;
        }
    }

    void attachments()
    {
        QFETCH(bool, receiver);
        QFETCH(bool, cable);
        QFETCH(Style, style);
        m_mouse->setPathStyle(style);
        if (receiver)
            m_mouse->plug(A::Receiver);
        if (cable)
            m_mouse->plug(A::Cable);
        discover();
        QCOMPARE(entry0().receiverPointerFound, receiver);
        QCOMPARE(entry0().receiverCommandFound, receiver);
        QCOMPARE(entry0().cablePointerFound, cable);
        QCOMPARE(entry0().cableCommandFound, cable);
        QCOMPARE(presentProductCount(conn()), (receiver || cable) ? 1 : 0);
        QCOMPARE(cableConnected(conn()), cable);
        QCOMPARE(receiverCommandFound(conn()), receiver);
        QCOMPARE(cableFirmwareRelease(conn()), cable ? int(m_mouse->cableRelease()) : 0);
        if (receiver) {
            QCOMPARE(entry0().receiverCommandPath,
                     m_mouse->collectionPath(A::Receiver, C::Command));
            QCOMPARE(entry0().receiverPointerPath,
                     m_mouse->collectionPath(A::Receiver, C::Pointer));
        }
        const DeviceState &s = conn().state();
        QCOMPARE(s.receiverPointer != nullptr, receiver);
        QCOMPARE(s.receiverCommand != nullptr, receiver);
        QCOMPARE(s.cablePointer != nullptr, cable);
        QCOMPARE(s.cableCommand != nullptr, cable);
        QCOMPARE(m_mouse->openHandleCount(), (receiver ? 2 : 0) + (cable ? 2 : 0));
        QCOMPARE(conn().commandHandle(), cable ? s.cableCommand : s.receiverCommand);
        CloseDevices(conn());
        QVERIFY(!s.receiverPointer && !s.receiverCommand && !s.cablePointer && !s.cableCommand);
        QCOMPARE(m_mouse->openHandleCount(), 0);
    }

    void receiverCommandPathRule_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("windows col04")
            << QByteArray("\\\\?\\hid#vid_248a&pid_fa02&mi_00&col04#7&1&0&0003#{guid}") << true;
        QTest::newRow("windows COL04 upper case")
            << QByteArray("\\\\?\\HID#VID_248A&PID_FA02&MI_00&COL04#7&1&0&0003#{guid}") << true;
        QTest::newRow("windows col03")
            << QByteArray("\\\\?\\hid#vid_248a&pid_fa02&mi_00&col03#7&1&0&0002#{guid}") << false;
        QTest::newRow("windows without collection")
            << QByteArray("\\\\?\\hid#vid_248a&pid_fa02&mi_01#8&2&0&0000#{guid}") << false;
        QTest::newRow("linux hidraw") << QByteArray("/dev/hidraw3") << true;
        QTest::newRow("linux naming col02") << QByteArray("/dev/col02") << false;
        QTest::newRow("emulated") << QByteArray("emu://receiver/command") << true;
        QTest::newRow("empty") << QByteArray() << true;
    }

    void receiverCommandPathRule()
    {
        QFETCH(QByteArray, path);
        QFETCH(bool, accepted);
        QCOMPARE(acceptsReceiverCommandPath(path), accepted);
    }

    void receiverCommandWithoutCol04InAWindowsPathIsNotFound()
    {
        m_mouse->setPathStyle(Style::Windows);
        m_mouse->setCollectionPath(A::Receiver, C::Command,
                                   "\\\\?\\hid#vid_248a&pid_fa02&mi_01#8&2&0&0000#{guid}");
        m_mouse->plug(A::Receiver);
        discover();
        QVERIFY(entry0().receiverPointerFound);
        QVERIFY(!entry0().receiverCommandFound);
        QCOMPARE(presentProductCount(conn()), 0);
        QVERIFY(!conn().state().receiverPointer); // half an attachment is not opened
        QCOMPARE(m_mouse->openHandleCount(), 0);
    }

    void cableCommandIsAcceptedWhateverItsPath()
    {
        m_mouse->setPathStyle(Style::Windows);
        m_mouse->setCollectionPath(A::Cable, C::Command,
                                   "\\\\?\\hid#vid_248a&pid_fb01&mi_01#8&2&0&0000#{guid}");
        m_mouse->plug(A::Cable);
        discover();
        QVERIFY(entry0().cableCommandFound);
        QVERIFY(conn().state().cableCommand);
    }

    void linuxPathsOpenTheSameNodeTwice()
    {
        m_mouse->setPathStyle(Style::Linux);
        m_mouse->plug(A::Receiver);
        discover();
        QCOMPARE(entry0().receiverPointerPath, entry0().receiverCommandPath);
        QVERIFY(conn().state().receiverPointer);
        QVERIFY(conn().state().receiverCommand);
        QVERIFY(conn().state().receiverPointer != conn().state().receiverCommand);
    }

    void lastMatchWinsAndFlagsAreNeverCleared()
    {
        useScripted({device("first-pointer", 0x248A, 0xFA02, 1, 2),
                     device("cable-cmd-1", 0x248A, 0xFB01, 1, 0, 0x0101),
                     device("second-pointer", 0x248A, 0xFA02, 1, 2),
                     device("other-vendor", 0x1234, 0xFA02, 1, 2),
                     device("keyboard", 0x248A, 0xFA02, 1, 6),
                     device("cable-cmd-2", 0x248A, 0xFB01, 1, 0, 0x0207)});
        InitDeviceTable(conn());
        QCOMPARE(EnumerateDevices(conn()), 0);
        QCOMPARE(entry0().receiverPointerPath, QByteArray("second-pointer"));
        QCOMPARE(entry0().cableCommandPath, QByteArray("cable-cmd-2"));
        QCOMPARE(cableFirmwareRelease(conn()), 0x0207);
        QVERIFY(!entry0().receiverCommandFound);
        m_scripted->devices.clear();
        QCOMPARE(EnumerateDevices(conn()), 0);
        QVERIFY(entry0().receiverPointerFound);
        QVERIFY(entry0().cableCommandFound);
    }

    void longPathsAreKeptWhole()
    {
        const QByteArray longPath = "/dev/bus/" + QByteArray(300, 'x') + "/node";
        useScripted({device(longPath.constData(), 0x248A, 0xFB01, 1, 2),
                     device(longPath.constData(), 0x248A, 0xFB01, 1, 0)});
        discover();
        QCOMPARE(entry0().cablePointerPath, longPath);
        QCOMPARE(m_scripted->opened, (QVector<QByteArray>{longPath, longPath}));
    }

    void failingHidLibraryLeavesTheTableUntouched()
    {
        m_mouse->plug(A::Receiver);
        m_mouse->setHidInitFails(true);
        InitDeviceTable(conn());
        QCOMPARE(EnumerateDevices(conn()), -1);
        QVERIFY(!entry0().receiverPointerFound);
        OpenDeviceByName(conn(), test::kTestProduct);
        QCOMPARE(m_mouse->openHandleCount(), 0);
    }

    void hostileEntryCountIsClamped()
    {
        m_mouse->plug(A::Receiver);
        InitDeviceTable(conn());
        conn().state().count = 100000;
        QCOMPARE(EnumerateDevices(conn()), 0);
        QCOMPARE(presentProductCount(conn()), 1);
        conn().state().count = -3;
        QCOMPARE(presentProductCount(conn()), 0);
    }

    void openingAgainReplacesHandlesInsteadOfLeakingThem()
    {
        m_mouse->plug(A::Receiver);
        m_mouse->plug(A::Cable);
        discover();
        OpenDeviceByName(conn(), test::kTestProduct);
        QCOMPARE(m_mouse->openHandleCount(), 4);
    }

    void interfaceNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::addColumn<int>("kind");
        const QString guid =
            QStringLiteral("#7&2a3b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}");
        const struct
        {
            const char *tag;
            const char *name;
            int kind;
        } rows[] = {
            {"pointer", "HID#VID_248A&PID_FA02&Col01", 1},
            {"command", "HID#VID_248A&PID_FA02&Col04", 4},
            {"interface pointer", "HID#VID_248A&PID_FA02&MI_00&Col01", 1},
            {"interface command", "HID#VID_248A&PID_FA02&MI_00&Col04", 4},
        };
        for (const auto &row : rows) {
            const QString name = QLatin1String(row.name) + guid;
            QTest::addRow("%s", row.tag) << name << 0x248A << 0xFA02 << row.kind;
            QTest::addRow("%s, lower case", row.tag)
                << name.toLower() << 0x248A << 0xFA02 << row.kind;
            QTest::addRow("%s, upper case", row.tag)
                << name.toUpper() << 0x248A << 0xFA02 << row.kind;
        }
        QTest::newRow("other collection") << "HID#VID_248A&PID_FA02&Col02" + guid << 0 << 0 << 0;
        QTest::newRow("other interface")
            << "HID#VID_248A&PID_FA02&MI_01&Col01" + guid << 0 << 0 << 0;
        QTest::newRow("no collection") << "HID#VID_248A&PID_FB01" + guid << 0 << 0 << 0;
        QTest::newRow("not hexadecimal") << "HID#VID_ZZ_Z&PID_FA02&Col01" + guid << 0 << 0 << 0;
        QTest::newRow("empty") << QString() << 0 << 0 << 0;
    }

    void interfaceNames()
    {
        QFETCH(QString, name);
        QFETCH(int, vid);
        QFETCH(int, pid);
        QFETCH(int, kind);
        const InterfaceMatch m = MatchInterfaceName(name);
        QCOMPARE(m.vid, vid);
        QCOMPARE(m.pid, pid);
        QCOMPARE(m.kind, kind);
    }

    void arrivalAndRemovalBookkeeping()
    {
        InitDeviceTable(conn());
        const QString pointer = QStringLiteral("HID#VID_248A&PID_FA02&Col01#1");
        const QString command = QStringLiteral("HID#VID_248A&PID_FA02&MI_00&Col04#2");

        QVector<InterfaceOutcome> o = NoteInterfaceArrival(conn(), pointer);
        QCOMPARE(o.size(), 1);
        QVERIFY(o[0].arrivalNew && !o[0].complete && !o[0].completedNow && !o[0].cable);
        QCOMPARE(entry0().receiverPointerPath, QByteArray("\\\\?\\") + pointer.toLatin1());
        QCOMPARE(presentProductCount(conn()), 0);

        o = NoteInterfaceArrival(conn(), command);
        QVERIFY(o[0].arrivalNew && o[0].complete && o[0].completedNow);
        QCOMPARE(o[0].kind, kKindCommand);
        QCOMPARE(presentProductCount(conn()), 1);

        o = NoteInterfaceArrival(conn(), command); // the same collection again
        QVERIFY(!o[0].arrivalNew && o[0].complete && !o[0].completedNow);

        o = NoteInterfaceRemoval(conn(), pointer);
        QCOMPARE(o.size(), 1);
        QVERIFY(o[0].changed && o[0].attachmentFound && !o[0].lostLast);
        QCOMPARE(presentProductCount(conn()), 0);
        QVERIFY(!entry0().receiverPointerPath.isEmpty()); // paths stay, only flags go

        QVERIFY(NoteInterfaceRemoval(conn(), pointer).isEmpty()); // already clear: entry skipped

        o = NoteInterfaceRemoval(conn(), command);
        QVERIFY(o[0].lostLast && !o[0].attachmentFound);

        QVERIFY(NoteInterfaceArrival(conn(), QStringLiteral("HID#VID_1234&PID_FA02&Col01#1"))
                    .isEmpty());
        QVERIFY(NoteInterfaceArrival(conn(), QStringLiteral("garbage")).isEmpty());
    }

    void cableArrivalKeepsTheReceiverEntryAlive()
    {
        InitDeviceTable(conn());
        NoteInterfaceArrival(conn(), QStringLiteral("HID#VID_248A&PID_FA02&Col04#r"));
        QVector<InterfaceOutcome> o =
            NoteInterfaceArrival(conn(), QStringLiteral("HID#VID_248A&PID_FB01&Col04#c"));
        QVERIFY(o[0].cable && o[0].arrivalNew && !o[0].complete);
        QVERIFY(cableConnected(conn()));
        o = NoteInterfaceRemoval(conn(), QStringLiteral("HID#VID_248A&PID_FA02&Col04#r"));
        QVERIFY(!o[0].lostLast); // the cable's command collection is still there
    }

    void emulatorHotplugKeepsTheTableCurrent()
    {
        InitDeviceTable(conn());
        QSignalSpy spy(m_mouse.get(), &EmulatedMouse::interfaceChanged);
        QObject::connect(m_mouse.get(), &EmulatedMouse::interfaceChanged,
                         [this](bool arrival, int vid, int pid, int kind, const QByteArray &path) {
                             const InterfaceMatch m{vid, pid, kind};
                             if (arrival)
                                 NoteInterfaceArrival(conn(), m, path);
                             else
                                 NoteInterfaceRemoval(conn(), m);
                         });
        m_mouse->plug(A::Cable);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy[0][0].toBool(), true);
        QCOMPARE(spy[0][3].toInt(), kKindPointer);
        QCOMPARE(spy[1][3].toInt(), kKindCommand);
        QCOMPARE(spy[1][2].toInt(), 0xFB01);
        QCOMPARE(presentProductCount(conn()), 1);
        QCOMPARE(entry0().cableCommandPath, m_mouse->collectionPath(A::Cable, C::Command));
        OpenDeviceByName(conn(), test::kTestProduct);
        QVERIFY(conn().state().cableCommand);

        m_mouse->unplug(A::Cable);
        QCOMPARE(spy.size(), 4);
        QCOMPARE(spy[3][0].toBool(), false);
        QCOMPARE(presentProductCount(conn()), 0);
    }
};

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "test_discovery.moc"
