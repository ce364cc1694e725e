// The button assignment panel and its dialogs, driven as a user would: a button is entered, a
// menu action triggered, the dialog that opens gets its keys through the keyboard hook and is
// accepted or cancelled; the profile record and the panel's signals show the outcome.
#include "buttons/catalogue.h"
#include "buttons/ui/kivbtnwindow.h"
#include "buttons/ui/kivcombokeywindow.h"
#include "buttons/ui/kivfirekeywindow.h"
#include "buttons/ui/kivsinglekeywindow.h"
#include "buttons/ui/kivsniperwindow.h"
#include "platform/keyboardhook.h"
#include "profile/paths.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace mc;

namespace {

void press(uint32_t scan, uint32_t flags = 0)
{
    KeyboardHook::dispatch({scan, flags, 0});
}

// Runs f on the dialog of type D once the panel has opened it modally; f decides how it ends.
template <class D> void whenOpen(bool &seen, std::function<void(D *)> f)
{
    QTimer::singleShot(0, [&seen, f] {
        auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!d)
            return;
        seen = true;
        f(d);
    });
}

void writeProduct(int buttons, std::initializer_list<int> hidden, bool disableMacro = false)
{
    QSettings s(productDescriptionFile(), QSettings::IniFormat);
    s.setValue(QStringLiteral("PROFILE/ButtonCount"), buttons);
    s.setValue(QStringLiteral("PROFILE/DisableMacro"), disableMacro ? 1 : 0);
    for (int i = 0; i < 16; ++i)
        s.setValue(QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix2").arg(i), i);
    for (int i : hidden)
        s.setValue(QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix2").arg(i), -1);
}

} // namespace

class TestBtnWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<KivPushButton *>("KivPushButton*"); }

    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        setAppDir(m_dir->path());
        QDir().mkpath(m_dir->path() + QStringLiteral("/Configs"));
        writeProduct(6, {});
        for (int i = 0; i < kButtonCount; ++i)
            m_profile.buttons[size_t(i)] = ButtonInfo();
        m_profile.buttons[0].Fun = fun::kLeft;
        for (int i = 1; i < 40; ++i)
            m_profile.buttons[size_t(i)].Fun = fun::kMiddle;
        m_profile.buttons[40].Fun = fun::kScrollUp;
        m_profile.buttons[41].Fun = fun::kScrollDown;
    }

    void sixButtonsWithOneHiddenAndTwelveButtons()
    {
        writeProduct(6, {5});
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        panel.resize(332, 440);
        panel.SetScale(1.0);
        const int a = (panel.listHeight() - 30 * 5) / 6;
        for (int c = 0; c < 5; ++c) {
            KivPushButton *b = panel.buttonOfEntry(c);
            QCOMPARE(b->geometry(), QRect(56, a + c * (a + 25), 215, 25));
            QCOMPARE(int(b->badge()), c + 1);
        }
        QVERIFY(panel.buttonOfEntry(5)->geometry().isEmpty());
        // The wheel sits below the list, inside the panel.
        for (int e : {40, 41}) {
            const QRect r = panel.buttonOfEntry(e)->geometry();
            QVERIFY(r.top() >= panel.listHeight() && r.bottom() < panel.height());
            QCOMPARE(r.height(), 25);
        }

        writeProduct(12, {});
        panel.SetScale(1.5);
        QCOMPARE(panel.buttonOfEntry(0)->geometry().top(), int(1.5 * 5));
        QCOMPARE(panel.buttonOfEntry(1)->geometry().top(), int(1.5 * 50));
        QCOMPARE(panel.buttonOfEntry(2)->geometry().top(), int(1.5 * 95));
        QCOMPARE(panel.buttonOfEntry(11)->badge(), uint8_t(12));
    }

    void combinationShiftCtrlThenC()
    {
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        panel.slotMouseEnter(panel.buttonOfEntry(3));
        bool seen = false;
        bool swallowed = false;
        QString label;
        whenOpen<KivComboKeyWindow>(seen, [&](KivComboKeyWindow *d) {
            press(29);
            press(42);
            swallowed = KeyboardHook::dispatch({46, 0, 0});
            label = d->keysText();
            press(46, 0x80);
            press(42, 0x80);
            press(29, 0x80);
            d->accept();
        });
        panel.actionOf(fun::kComboKey)->trigger();
        QVERIFY(seen);
        QVERIFY(swallowed);
        QCOMPARE(label, QStringLiteral("LShift + LCtr + C"));
        const ButtonInfo &b = m_profile.buttons[3];
        QCOMPARE(b.Fun, fun::kComboKey);
        const uint8_t expected[6][3] = {{0xE1, 5, 0x80}, {0xE0, 5, 0x80}, {0x06, 5, 0x80},
                                        {0x06, 5, 0x00}, {0xE0, 5, 0x00}, {0xE1, 5, 0x00}};
        for (int t = 0; t < 6; ++t) {
            QCOMPARE(b.KeyInfo[size_t(t)].map, expected[t][0]);
            QCOMPARE(b.KeyInfo[size_t(t)].low, expected[t][1]);
            QCOMPARE(b.KeyInfo[size_t(t)].high, expected[t][2]);
        }
        QCOMPARE(panel.buttonOfEntry(3)->text(), menuText(fun::kComboKey));
        QCOMPARE(KeyboardHook::installedCount(), 0);
    }

    void combinationAThenBKeepsB()
    {
        KivComboKeyWindow d;
        d.show();
        press(30);
        press(30, 0x80);
        press(48);
        QCOMPARE(d.keysText(), QStringLiteral("B"));
        QCOMPARE(int(d.comboKeys().iComboKey[4]), 1);
        QCOMPARE(int(d.comboKeys().iHotKeyCode[4][0]), 48);
        QCOMPARE(int(d.comboKeys().iComboKey[0]), 0);
    }

    void singleKeyRightCtrl()
    {
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        panel.slotMouseEnter(panel.buttonOfEntry(2));
        bool seen = false;
        QString label;
        whenOpen<KivSingleKeyWindow>(seen, [&](KivSingleKeyWindow *d) {
            press(29, 0x01);
            press(29, 0x81);
            label = d->keyText();
            d->accept();
        });
        panel.actionOf(fun::kSingleKey)->trigger();
        QVERIFY(seen);
        QCOMPARE(label, QStringLiteral("RCtr"));
        QCOMPARE(m_profile.buttons[2].Fun, fun::kSingleKey);
        QCOMPARE(int(m_profile.buttons[2].Res1), 238);
    }

    void fireKeyPresetsAndCancel()
    {
        m_profile.buttons[4].Fun = fun::kFireKey; // Res1, LoopNumber and KeyNumber all 0
        const ButtonInfo before = m_profile.buttons[4];
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        panel.slotMouseEnter(panel.buttonOfEntry(4));
        bool seen = false;
        QString times, delay;
        bool left = false;
        whenOpen<KivFireKeyWindow>(seen, [&](KivFireKeyWindow *d) {
            times = d->timesEdit()->text();
            delay = d->delayEdit()->text();
            left = d->sourceButton(0)->isChecked();
            d->reject();
        });
        panel.actionOf(fun::kFireKey)->trigger();
        QVERIFY(seen);
        QCOMPARE(times, QStringLiteral("3"));
        QCOMPARE(delay, QStringLiteral("10"));
        QVERIFY(left);
        QVERIFY(m_profile.buttons[4] == before);
    }

    // A digit typed into "Times:" or "Delay:" is the field's, not a new fire key; choosing
    // "Keyboard Key" listens again.
    void fireKeyFieldsKeepTheirDigits()
    {
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        panel.slotMouseEnter(panel.buttonOfEntry(4));
        bool seen = false;
        QString keyBefore, keyAfterTyping, keyAfterChoosing, times;
        whenOpen<KivFireKeyWindow>(seen, [&](KivFireKeyWindow *d) {
            QTest::mouseClick(d->sourceButton(3), Qt::LeftButton);
            press(30); // A
            press(30, 0x80);
            keyBefore = d->keyText();
            d->timesEdit()->setFocus();
            d->timesEdit()->clear();
            press(8); // the digit 7, as the hook sees it while the field has the focus
            QTest::keyClick(d->timesEdit(), Qt::Key_7);
            keyAfterTyping = d->keyText();
            times = d->timesEdit()->text();
            QTest::mouseClick(d->sourceButton(3), Qt::LeftButton);
            press(48); // B
            keyAfterChoosing = d->keyText();
            d->accept();
        });
        panel.actionOf(fun::kFireKey)->trigger();
        QVERIFY(seen);
        QCOMPARE(keyBefore, QStringLiteral("A"));
        QCOMPARE(keyAfterTyping, QStringLiteral("A"));
        QCOMPARE(times, QStringLiteral("7"));
        QCOMPARE(keyAfterChoosing, QStringLiteral("B"));
        QCOMPARE(int(m_profile.buttons[4].LoopNumber), 7);
    }

    // The shared frame answers the keyboard in every dialog that does not capture keys: Tab
    // reaches the accept button and marks it in the theme colour, Enter accepts wherever the
    // focus is, Esc cancels. A field left shows no caret beside the one now typed into.
    void dialogFrameKeys()
    {
        const auto focusKey = [](int key) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        };
        const auto activate = [](QWidget *d) {
            d->activateWindow();
            QApplication::setActiveWindow(d);
            QVERIFY(QTest::qWaitForWindowActive(d));
        };
        QSettings(appSettingsFile(), QSettings::IniFormat)
            .setValue(QStringLiteral("MouseSenSor/1"), 3212);
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        panel.slotMouseEnter(panel.buttonOfEntry(1));
        bool seen = false;
        bool marked = false;
        whenOpen<KivSniperWindow>(seen, [&](KivSniperWindow *d) {
            activate(d);
            // Tab follows the layout: from the slider above to OK, then Cancel.
            QVERIFY(QApplication::focusWidget() != d->okButton());
            focusKey(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), d->okButton());
            const QImage shown = d->okButton()->grab().toImage();
            marked = shown.pixelColor(1, shown.height() / 2) == themeColour();
            focusKey(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), d->cancelButton());
            focusKey(Qt::Key_Right); // the focus goes on, nothing is pressed
            d->setValue(20);
            focusKey(Qt::Key_Return);
        });
        panel.actionOf(fun::kSniper)->trigger();
        QVERIFY(seen);
        QVERIFY(marked);
        QCOMPARE(m_profile.buttons[1].Fun, fun::kSniper);
        QCOMPARE(int(m_profile.buttons[1].Res1), 20);

        panel.slotMouseEnter(panel.buttonOfEntry(1));
        seen = false;
        whenOpen<KivSniperWindow>(seen, [&](KivSniperWindow *d) {
            activate(d);
            d->setValue(30);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        panel.actionOf(fun::kSniper)->trigger();
        QVERIFY(seen);
        QCOMPARE(int(m_profile.buttons[1].Res1), 20);

        panel.slotMouseEnter(panel.buttonOfEntry(4));
        seen = false;
        QImage leftField, untouched;
        whenOpen<KivFireKeyWindow>(seen, [&](KivFireKeyWindow *d) {
            activate(d);
            // The sources are reached by the keyboard too: the arrows choose among them.
            d->sourceButton(0)->setFocus(Qt::TabFocusReason);
            focusKey(Qt::Key_Right);
            QCOMPARE(QApplication::focusWidget(), d->sourceButton(1));
            QVERIFY(d->sourceButton(1)->isChecked());
            QLineEdit *times = d->timesEdit();
            QLineEdit *delay = d->delayEdit();
            // The same field as never focused, to compare the one left with.
            delay->setText(times->text());
            untouched = times->grab().toImage();
            times->setFocus(Qt::TabFocusReason);
            QVERIFY(times->hasFocus());
            delay->setFocus(Qt::TabFocusReason);
            leftField = times->grab().toImage();
            delay->clear();
            focusKey(Qt::Key_4);
            focusKey(Qt::Key_0);
            focusKey(Qt::Key_Enter);
        });
        panel.actionOf(fun::kFireKey)->trigger();
        QVERIFY(seen);
        QCOMPARE(leftField, untouched);
        QCOMPARE(m_profile.buttons[4].Fun, fun::kFireKey);
        QCOMPARE(int(fireKeyPreset(m_profile.buttons[4]).delay), 40);
    }

    // The mouse takes its buttons from slot 1's record: the panel shows those, and a choice
    // goes there and into the active slot's record.
    void sharedRecordShownAndEditedWithTheActiveOne()
    {
        ProfileData shared = m_profile;
        shared.buttons[3].Fun = fun::kRight;
        m_profile.buttons[3].Fun = fun::kLeft;
        const KivBtnWindow alone(&m_profile, nullptr, 1.0);
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        panel.SetSharedRecord(&shared);
        QVERIFY(panel.buttonOfEntry(3)->text() != alone.buttonOfEntry(3)->text());
        QCOMPARE(panel.buttonOfEntry(2)->text(), alone.buttonOfEntry(2)->text());
        panel.slotMouseEnter(panel.buttonOfEntry(3));
        panel.actionOf(fun::kMiddle)->trigger();
        QCOMPARE(shared.buttons[3].Fun, fun::kMiddle);
        QCOMPARE(m_profile.buttons[3].Fun, fun::kMiddle);
        QCOMPARE(shared.buttons[4].Fun, m_profile.buttons[4].Fun);
    }

    void sniperPresetForSensor3212()
    {
        QSettings(appSettingsFile(), QSettings::IniFormat)
            .setValue(QStringLiteral("MouseSenSor/1"), 3212);
        m_profile.buttons[1].Fun = fun::kSniper;
        m_profile.buttons[1].Res1 = 5;
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        panel.slotMouseEnter(panel.buttonOfEntry(1));
        bool seen = false;
        int value = 0;
        QString dpi;
        whenOpen<KivSniperWindow>(seen, [&](KivSniperWindow *d) {
            value = d->value();
            dpi = d->dpiText();
            d->accept();
        });
        panel.actionOf(fun::kSniper)->trigger();
        QVERIFY(seen);
        QCOMPARE(value, 16);
        QCOMPARE(dpi, QStringLiteral("600"));
        QCOMPARE(int(m_profile.buttons[1].Res1), 16);
    }

    void refusalsLeaveTheEntryAndTheSelection()
    {
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        QSignalSpy oneClick(&panel, &KivBtnWindow::PopOneClickBox);
        QSignalSpy macroTab(&panel, &KivBtnWindow::GotoMacroTab);
        panel.slotMouseEnter(panel.buttonOfEntry(0));
        panel.actionOf(fun::kRight)->trigger();
        QCOMPARE(oneClick.size(), 1);
        QCOMPARE(m_profile.buttons[0].Fun, fun::kLeft);
        QCOMPARE(panel.selectedIndex(), uint8_t(0));

        panel.slotMouseEnter(panel.buttonOfEntry(1));
        panel.actionOf(fun::kMacro)->trigger(); // the macro list is empty
        QCOMPARE(macroTab.size(), 1);
        QCOMPARE(macroTab.first().first().toInt(), 3);
        QCOMPARE(m_profile.buttons[1].Fun, fun::kMiddle);
    }

    void macroManagerOnlyWithoutDisableMacro()
    {
        KivBtnWindow offered(&m_profile, nullptr, 1.0);
        QVERIFY(offered.topMenu()->actions().contains(offered.actionOf(fun::kMacro)));

        writeProduct(6, {}, true);
        m_profile.buttons[2].Fun = fun::kMacro;
        m_profile.buttons[2].macroname = QStringLiteral("burst");
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        QVERIFY(!panel.topMenu()->actions().contains(panel.actionOf(fun::kMacro)));
        QCOMPARE(panel.buttonOfEntry(2)->text(), QStringLiteral("burst"));
    }

    void wheelUpChoiceWritesEntry40AndClearsTheSelection()
    {
        KivBtnWindow panel(&m_profile, nullptr, 1.0);
        QSignalSpy highlight(&panel, &KivBtnWindow::SelBtnControl);
        KivPushButton *up = panel.buttonOfEntry(40);
        QVERIFY(panel.wheelMenu()->actions().contains(panel.actionOf(fun::kVolumeUp)));
        panel.slotMouseEnter(up);
        panel.actionOf(fun::kVolumeUp)->trigger();
        QCOMPARE(m_profile.buttons[40].Fun, fun::kVolumeUp);
        QCOMPARE(m_profile.buttons[41].Fun, fun::kScrollDown);
        QCOMPARE(up->text(), menuText(fun::kVolumeUp));
        QCOMPARE(panel.selectedGroup(), KivBtnWindow::kNoSelection);
        QCOMPARE(panel.selectedIndex(), KivBtnWindow::kNoSelection);
        QCOMPARE(highlight.size(), 2);
        QCOMPARE(highlight.last().at(1).toBool(), false);
        // Nothing is selected now: a stray action changes nothing.
        panel.actionOf(fun::kVolumeDown)->trigger();
        QCOMPARE(m_profile.buttons[40].Fun, fun::kVolumeUp);
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
    ProfileData m_profile;
};

QTEST_MAIN(TestBtnWindow)
#include "test_btnwindow.moc"
