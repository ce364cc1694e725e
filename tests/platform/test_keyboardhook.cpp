// The keyboard hook: the Linux key identity turned into set-1 codes (checked through the key
// codes and names the program derives from them, so a wrong row shows as a wrong key), the
// chain of installed hooks, and the application-wide filter that feeds it and can swallow keys.
#include "buttons/keycodes.h"
#include "platform/keyboardhook.h"

#include <QKeyEvent>
#include <QtTest>
#include <QWindow>

using mc::HookKeyEvent;
using mc::KeyboardHook;

namespace {

QString nameOfEvdev(uint32_t evdev, bool released = false)
{
    uint32_t scan = 0;
    bool extended = false;
    if (!mc::evdevToSet1(evdev, scan, extended))
        return QStringLiteral("<none>");
    uint32_t flags = extended ? mc::keyflag::kExtended : 0;
    if (released)
        flags |= mc::keyflag::kReleased;
    return mc::keyName(mc::keyEventToKeyCode(scan, flags, 0).code, false);
}

class KeyWindow : public QWindow
{
public:
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent *) override { ++keys; }
    void keyReleaseEvent(QKeyEvent *) override { ++keys; }
};

} // namespace

class TestKeyboardHook : public QObject
{
    Q_OBJECT
private slots:
    void linuxKeysGiveTheirKeyCodes_data()
    {
        QTest::addColumn<uint>("evdev");
        QTest::addColumn<QString>("name");
        // Every key the system reports as extended, and its non-extended twin where one exists.
        QTest::newRow("KPENTER") << 96u << "Num Enter";
        QTest::newRow("ENTER") << 28u << "Enter";
        QTest::newRow("RIGHTCTRL") << 97u << "RCtr";
        QTest::newRow("LEFTCTRL") << 29u << "LCtr";
        QTest::newRow("KPSLASH") << 98u << "Num /";
        QTest::newRow("SLASH") << 53u << "/";
        QTest::newRow("SYSRQ") << 99u << "Print Screen";
        QTest::newRow("KPASTERISK") << 55u << "Num *";
        QTest::newRow("RIGHTALT") << 100u << "RAlt";
        QTest::newRow("LEFTALT") << 56u << "LAlt";
        QTest::newRow("HOME") << 102u << "Home";
        QTest::newRow("KP7") << 71u << "Num 7";
        QTest::newRow("UP") << 103u << "Up";
        QTest::newRow("PAGEUP") << 104u << "Page Up";
        QTest::newRow("LEFT") << 105u << "Left";
        QTest::newRow("RIGHT") << 106u << "Right";
        QTest::newRow("END") << 107u << "End";
        QTest::newRow("DOWN") << 108u << "Down";
        QTest::newRow("PAGEDOWN") << 109u << "Page Down";
        QTest::newRow("INSERT") << 110u << "Insert";
        QTest::newRow("KP0") << 82u << "Num 0";
        QTest::newRow("DELETE") << 111u << "Delete";
        QTest::newRow("KPDOT") << 83u << "Num De";
        QTest::newRow("NUMLOCK") << 69u << "Num Lock";
        QTest::newRow("PAUSE") << 119u << "Pause Break";
        QTest::newRow("LEFTMETA") << 125u << "LWindows";
        QTest::newRow("RIGHTMETA") << 126u << "RWindows";
        QTest::newRow("COMPOSE") << 127u << "App";
        QTest::newRow("ESC") << 1u << "Esc";
        QTest::newRow("F12") << 88u << "F12";
        QTest::newRow("no key") << 0u << "<none>";
        QTest::newRow("KEY_MUTE has no code") << 113u << "<none>";
    }
    void linuxKeysGiveTheirKeyCodes()
    {
        QFETCH(uint, evdev);
        QFETCH(QString, name);
        QCOMPARE(nameOfEvdev(evdev), name);
        QCOMPARE(nameOfEvdev(evdev, true), name);
    }

    void newestHookFirstAndSwallowingEndsTheChain()
    {
        QStringList seen;
        bool innerSwallows = false;
        KeyboardHook outer([&](const HookKeyEvent &) {
            seen << "outer";
            return false;
        });
        auto *inner = new KeyboardHook([&](const HookKeyEvent &) {
            seen << "inner";
            return innerSwallows;
        });
        QVERIFY(outer.install());
        inner->install();
        QVERIFY(!KeyboardHook::dispatch({30, 0, 0}));
        QCOMPARE(seen, QStringList({"inner", "outer"}));

        seen.clear();
        innerSwallows = true;
        QVERIFY(KeyboardHook::dispatch({30, 0, 0}));
        QCOMPARE(seen, QStringList({"inner"}));

        seen.clear();
        delete inner; // a destroyed hook leaves the chain
        QVERIFY(!KeyboardHook::dispatch({30, 0, 0}));
        QCOMPARE(seen, QStringList({"outer"}));
        outer.remove();
        QCOMPARE(KeyboardHook::installedCount(), 0);
        seen.clear();
        KeyboardHook::dispatch({30, 0, 0});
        QVERIFY(seen.isEmpty());
    }

    void applicationKeysReachTheHookAndCanBeSwallowed()
    {
        KeyWindow window;
        QVector<HookKeyEvent> events;
        bool swallow = false;
        KeyboardHook hook([&](const HookKeyEvent &e) {
            events << e;
            return swallow;
        });
        auto send = [&](QEvent::Type type, quint32 x11Code, bool repeat = false) {
            QKeyEvent ev(type, 0, Qt::NoModifier, x11Code, 0, 0, QString(), repeat);
            QCoreApplication::sendEvent(&window, &ev);
        };
        send(QEvent::KeyPress, 97 + 8); // nothing installed yet
        QVERIFY(events.isEmpty());
        QCOMPARE(window.keys, 1);

        hook.install();
        send(QEvent::KeyPress, 100 + 8);        // right Alt
        send(QEvent::KeyPress, 30 + 8);         // A while Alt is held
        send(QEvent::KeyRelease, 30 + 8, true); // a repeated release is no release
        send(QEvent::KeyRelease, 100 + 8);
        send(QEvent::KeyPress, 30 + 8);
        QCOMPARE(events.size(), 4);
        QCOMPARE(events[0].scanCode, 56u);
        QCOMPARE(events[0].flags, 0x21u);
        QCOMPARE(events[0].vkCode, mc::kVkRightAlt);
        QCOMPARE(events[1].scanCode, 30u);
        QCOMPARE(events[1].flags, 0x20u);
        QCOMPARE(events[2].flags, 0x81u);
        QCOMPARE(events[3].flags, 0u);
        QCOMPARE(window.keys, 6); // passed on

        swallow = true;
        send(QEvent::KeyPress, 46 + 8);
        QCOMPARE(window.keys, 6);
        hook.remove();
        send(QEvent::KeyPress, 46 + 8);
        QCOMPARE(window.keys, 7);
        QCOMPARE(events.size(), 5);
    }
};

QTEST_MAIN(TestKeyboardHook)
#include "test_keyboardhook.moc"
