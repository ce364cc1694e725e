// Edits not yet written to the mouse, driven through the window's parts on the emulated mouse:
// kept across a slot switch, a switch made on the mouse and a re-plug; asked about before a
// close without tray and LOAD; written by the "apply" answer and confirmed without a click.
#include "app/mousecfgwidget.h"
#include "app/pendingguard.h"
#include "app/profilebar.h"
#include "app/profilelibrary.h"
#include "app/userprompts.h"
#include "app/writecontroller.h"
#include "buttons/catalogue.h"
#include "buttons/ui/kivbtnwindow.h"
#include "performance/kivsingledpi.h"
#include "performance/kivtwobarslider.h"
#include "widgets/kivlabel.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivpushbutton.h"
#include "widgets/kivslider.h"
#include "windowfixture.h"

#include <QMenu>
#include <QSlider>
#include <QtTest>

using namespace mc;
using namespace mc::test;
using A = EmulatedMouse::Attachment;

namespace {

constexpr uint8_t k125Hz = 8; // the rate menu's first entry

// The user picks 125 Hz for the slot in view; the guard looks again as after a click.
void editRate(MousecfgWidget &w)
{
    w.ratePanel()->rateMenu()->actions().at(0)->trigger();
    w.pendingGuard()->recheck();
}

// Presses the n-th button of the open box: 0 apply, 1 discard, 2 cancel.
std::function<void(KivMessageBox *)> pressChoice(int n)
{
    return [n](KivMessageBox *box) {
        QList<KivPushButton *> buttons = box->findChildren<KivPushButton *>();
        std::sort(buttons.begin(), buttons.end(),
                  [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
        QVERIFY(buttons.size() == 3);
        buttons.at(n)->click();
    };
}

} // namespace

class TestPendingGuard : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { MousecfgWidget::setTrayProbe(nullptr); }

    void slotSwitchesKeepEdits()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        QTRY_VERIFY(w.hasDevice());
        const uint8_t mouseRate = w.workingStore().profiles[0].pollrate;
        QVERIFY(mouseRate != k125Hz);
        QCOMPARE(w.pendingGuard()->pending(), 0);
        editRate(w);
        QCOMPARE(w.pendingGuard()->pending(), 1);
        QVERIFY(w.profileBar()->row(0)->isPending());
        QVERIFY(w.applyButton()->text().endsWith(QLatin1String(" *")));

        // Slot 3 from the bar: the mouse switches, slot 1's edit stays where it was made.
        w.profileBar()->row(2)->click();
        QTRY_COMPARE(fx.mouse().activeSlot(), 2);
        QVERIFY(w.profileBar()->row(2)->isEdited());
        QVERIFY(w.profileBar()->row(2)->isActive());
        QCOMPARE(w.workingStore().profiles[0].pollrate, k125Hz);
        QCOMPARE(w.pendingGuard()->pending(), 1);

        // The mouse's own button to slot 2: the bar follows, slot 1's edit is still there.
        const ProfileData &second = w.workingStore().profiles[1];
        fx.mouse().sendChangeReport(1, second.dpi, second.pollrate, 0);
        QTRY_VERIFY(w.profileBar()->row(1)->isActive());
        QVERIFY(w.profileBar()->row(1)->isEdited());
        QVERIFY(!w.profileBar()->row(2)->isEdited());
        QCOMPARE(w.workingStore().profiles[0].pollrate, k125Hz);
        QVERIFY(w.profileBar()->row(0)->isPending());

        // Back to slot 1 on the mouse, which reports the rate it still has there: the rate
        // chosen and not applied stays in view and pending.
        const ProfileData &first = w.workingStore().profiles[0];
        fx.mouse().sendChangeReport(0, first.dpi, mouseRate, 0);
        QTRY_VERIFY(w.profileBar()->row(0)->isActive());
        QTRY_VERIFY(w.profileBar()->row(0)->isEdited());
        QTest::qWait(50);
        QCOMPARE(w.workingStore().profiles[0].pollrate, k125Hz);
        QCOMPARE(w.ratePanel()->profileData().pollrate, k125Hz);
        w.pendingGuard()->recheck();
        QCOMPARE(w.pendingGuard()->pending(), 1);
    }

    // Only the user's edits count: with slot 3 active, whose buttons differ from the ones all
    // slots share (slot 1's), neither a re-plug nor LOAD leaves anything marked.
    void nothingPendingAfterReplugOrLoadOnAnotherSlot()
    {
        WindowFixture fx(true);
        {
            MousecfgWidget first;
            QTRY_VERIFY(first.hasDevice());
            auto *panel = qobject_cast<KivBtnWindow *>(first.buttonPanel());
            QVERIFY(panel);
            panel->slotMouseEnter(panel->buttonOfEntry(40));
            panel->actionOf(fun::kVolumeDown)->trigger();
            first.pendingGuard()->recheck();
            QCOMPARE(first.pendingGuard()->pending(), 1);
            // Slot 1's first stage, which all slots share, set apart from slot 3's own.
            QSlider *stage = first.dpiPanel()->row(0)->slider()->linkedSlider();
            stage->setValue(stage->value() == stage->minimum() ? stage->maximum()
                                                               : stage->minimum());
            QTest::mouseClick(first.applyButton(), Qt::LeftButton);
            QTRY_COMPARE(first.pendingGuard()->pending(), 0);
            first.profileBar()->row(2)->click();
            QTRY_COMPARE(fx.mouse().activeSlot(), 2);
            QTRY_VERIFY(!first.writer()->isBusy());
            QVERIFY(first.workingStore().profiles[2].buttons[40].Fun != fun::kVolumeDown);
            QVERIFY(first.workingStore().profiles[2].stages[0].y !=
                    first.workingStore().profiles[0].stages[0].y);
            first.pendingGuard()->recheck();
            QCOMPARE(first.pendingGuard()->pending(), 0);
        }
        // The next start reads slot 3 as the active one from the files.
        MousecfgWidget w;
        QTRY_VERIFY(w.hasDevice());
        QCOMPARE(int(w.workingStore().ProfileID), 2);
        w.switchTab(1);
        QTRY_VERIFY(!w.writer()->isBusy());
        QTest::qWait(100);
        w.pendingGuard()->recheck();
        QCOMPARE(w.pendingGuard()->pending(), 0);

        fx.mouse().unplug(A::Receiver);
        QTRY_VERIFY(!w.hasDevice());
        fx.mouse().plug(A::Receiver);
        QTRY_VERIFY(w.hasDevice());
        QTRY_VERIFY(!w.writer()->isBusy());
        QTest::qWait(100);
        QTRY_VERIFY(!w.writer()->isBusy());
        w.pendingGuard()->recheck();
        QCOMPARE(w.pendingGuard()->pending(), 0);
        QVERIFY(!w.applyButton()->text().endsWith(QLatin1String(" *")));

        const QString conf = fx.path() + QStringLiteral("/saved.conf");
        UserPrompts prompts;
        prompts.ask = [](int, const QString &) { return true; };
        prompts.chooseSaveFile = [conf](const QString &, const QString &) { return conf; };
        prompts.chooseOpenFile = [conf](const QString &, const QString &) { return conf; };
        w.profileLibrary()->setPrompts(prompts);
        w.profileLibrary()->saveConfiguration();
        QVERIFY(QFile::exists(conf));
        w.profileLibrary()->loadConfiguration();
        QTRY_VERIFY(!w.writer()->isBusy());
        QTest::qWait(100);
        w.pendingGuard()->recheck();
        QCOMPARE(w.pendingGuard()->pending(), 0);
        QVERIFY(!w.applyButton()->text().endsWith(QLatin1String(" *")));
    }

    void closeWithoutTrayAsks_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("pendingAfter");
        QTest::newRow("apply") << 0 << true << 0;
        QTest::newRow("discard") << 1 << true << 0;
        QTest::newRow("cancel") << 2 << false << 1;
    }
    void closeWithoutTrayAsks()
    {
        QFETCH(int, choice);
        QFETCH(bool, closed);
        QFETCH(int, pendingAfter);
        WindowFixture fx(true);
        MousecfgWidget::setTrayProbe([] { return false; });
        MousecfgWidget w;
        w.show();
        QTRY_VERIFY(w.hasDevice());
        const uint8_t before = w.workingStore().profiles[0].pollrate;
        editRate(w);
        fx.mouse().clearLog();
        BoxAnswerer answer(pressChoice(choice));
        // A close that goes on quits: the loop that ends is this one.
        QTimer::singleShot(0, &w, [&w] {
            if (!w.close())
                QCoreApplication::exit(3);
        });
        QCOMPARE(QCoreApplication::exec(), closed ? 0 : 3);
        QCOMPARE(answer.count(), 1);
        QCOMPARE(w.pendingGuard()->pending(), pendingAfter);
        const uint8_t kept = w.ratePanel()->profileData().pollrate;
        QCOMPARE(kept, choice == 1 ? before : k125Hz);
        // Only "apply" reaches the mouse, and says so without a box.
        QCOMPARE(fx.mouse().commitCount() > 0, choice == 0);
        QCOMPARE(w.feedbackLine()->text().isEmpty(), choice != 0);
    }

    void loadAsksFirst()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        QTRY_VERIFY(w.hasDevice());
        editRate(w);
        BoxAnswerer answer(pressChoice(2));
        // Cancelled: no file is asked for, nothing changes.
        for (KivPushButton *b : w.findChildren<KivPushButton *>()) {
            if (b->toolTip() == QLatin1String("LOAD1") || b->toolTip() == QLatin1String("LOAD"))
                b->click();
        }
        QCOMPARE(answer.count(), 1);
        QCOMPARE(w.ratePanel()->profileData().pollrate, k125Hz);
        QCOMPARE(w.pendingGuard()->pending(), 1);
    }

    void replugKeepsEdits()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        QTRY_VERIFY(w.hasDevice());
        editRate(w);
        fx.mouse().unplug(A::Receiver);
        QTRY_VERIFY(!w.hasDevice());
        fx.mouse().plug(A::Receiver);
        QTRY_VERIFY(w.hasDevice());
        QTRY_VERIFY(!w.writer()->isBusy());
        // Still in the window, or (written when the mouse came back) on the mouse.
        QCOMPARE(w.workingStore().profiles[0].pollrate, k125Hz);
        QCOMPARE(w.ratePanel()->profileData().pollrate, k125Hz);
    }
};

QTEST_MAIN(TestPendingGuard)
#include "test_pendingguard.moc"
