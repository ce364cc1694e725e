// The profile per application in the window, against the emulated mouse, with a watcher of the
// application in front that the test drives: the application of a rule selects its slot with
// one SelectProfile (and the slot's pointer speed); any other application selects the default
// slot; the slot already active sends nothing; this program's own windows select nothing; a
// burst of focus changes makes one switch, for the application that stayed; a write in
// progress holds the switch back until it has ended.
// The rules dialog edits, orders and saves the rules, and says when the application in front
// cannot be known.
#include "app/focusswitcher.h"
#include "app/kivfocusrulesdialog.h"
#include "app/profilelibrary.h"
#include "app/writecontroller.h"
#include "platform/focuswatcher.h"
#include "profile/focusrules.h"
#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

using namespace mc;
using namespace mc::test;

namespace {

class FakeWatcher final : public FocusWatcher
{
public:
    bool available() const override { return m_available; }
    QVector<FocusReport> runningApplications() const override { return m_running; }
    void bring(const QString &executable, const QString &windowClass = QString())
    {
        FocusReport r;
        r.executable = executable;
        r.windowClass = windowClass;
        r.pid = 4242;
        emit focusChanged(r);
    }
    bool m_available = true;
    QVector<FocusReport> m_running;
};

// Installs a factory that hands out one fake watcher and keeps a pointer to it.
class FakeWatcherInstalled
{
public:
    FakeWatcherInstalled()
    {
        setFocusWatcherFactory([this] {
            auto w = std::make_unique<FakeWatcher>();
            w->m_running = running;
            watcher = w.get();
            ++made;
            return w;
        });
    }
    ~FakeWatcherInstalled() { setFocusWatcherFactory({}); }
    FakeWatcher *watcher = nullptr; // the last one made
    int made = 0;
    QVector<FocusReport> running;
};

int selectProfileCount(const EmulatedMouse &mouse)
{
    int n = 0;
    for (const QByteArray &r : mouse.writtenReports())
        n += uint8_t(r.at(3)) == 0x44 ? 1 : 0;
    return n;
}

// Longer than the settling time, so that a switch that was going to happen has happened.
void settle()
{
    QTest::qWait(FocusSwitcher::kSettleMs + 200);
}

FocusRules gameRules()
{
    FocusRules r;
    r.enabled = true;
    r.defaultSlot = 0;
    r.rules = {{QStringLiteral("shooter"), 2}, {QStringLiteral("Racer"), 3}};
    return r;
}

} // namespace

class TestFocusSwitch : public QObject
{
    Q_OBJECT

private slots:
    void rulesDecideTheSlot()
    {
        WindowFixture fx(true);
        FakeWatcherInstalled fake;
        QVERIFY(writeFocusRules(gameRules()));
        MousecfgWidget w;
        QVERIFY(w.hasDevice());
        QList<int> speeds;
        w.profileLibrary()->setPointerSpeedApplier(
            [&](const ProfileStore &s) { speeds << int(s.ProfileID); });
        fx.mouse().clearLog();

        // A rule by executable name, ignoring case.
        fake.watcher->bring(QStringLiteral("SHOOTER"));
        QTRY_COMPARE(fx.mouse().activeSlot(), 2);
        settle();
        QCOMPARE(selectProfileCount(fx.mouse()), 1);
        QCOMPARE(int(w.workingStore().ProfileID), 2);
        QCOMPARE(speeds, QList<int>{2});

        // This program's other windows in front (the display program, the window by its
        // Wayland app_id, both from processes of their own) leave the slot as it is: the
        // default slot here would make each announcement switch the profile.
        fake.watcher->bring(QStringLiteral("mousecfg-osd"));
        settle();
        fake.watcher->bring(QString(), QStringLiteral("org.mousecfg.Mousecfg"));
        settle();
        QCOMPARE(selectProfileCount(fx.mouse()), 1);
        QCOMPARE(fx.mouse().activeSlot(), 2);

        // A rule by window class, and a Windows executable named without ".exe".
        fake.watcher->bring(QStringLiteral("wine64-preloader"), QStringLiteral("racer.exe"));
        QTRY_COMPARE(fx.mouse().activeSlot(), 3);

        // Another application gets the default slot; the next one, already there, nothing.
        fake.watcher->bring(QStringLiteral("editor"));
        QTRY_COMPARE(fx.mouse().activeSlot(), 0);
        settle();
        const int sent = selectProfileCount(fx.mouse());
        QCOMPARE(sent, 3);
        fake.watcher->bring(QStringLiteral("browser"));
        settle();
        QCOMPARE(selectProfileCount(fx.mouse()), sent);
        QCOMPARE(speeds, (QList<int>{2, 3, 0}));
    }

    void burstMakesOneSwitch()
    {
        WindowFixture fx(true);
        FakeWatcherInstalled fake;
        QVERIFY(writeFocusRules(gameRules()));
        MousecfgWidget w;
        fx.mouse().clearLog();
        for (const char *app : {"shooter", "editor", "racer", "shooter", "racer"}) {
            fake.watcher->bring(QString::fromLatin1(app));
            QTest::qWait(FocusSwitcher::kSettleMs / 5);
        }
        settle();
        QCOMPARE(selectProfileCount(fx.mouse()), 1);
        QCOMPARE(fx.mouse().activeSlot(), 3);
    }

    void switchedOffDoesNothing()
    {
        WindowFixture fx(true);
        FakeWatcherInstalled fake;
        FocusRules rules = gameRules();
        rules.enabled = false;
        QVERIFY(writeFocusRules(rules));
        MousecfgWidget w;
        // Nothing watches the desktop while the rules are off.
        QVERIFY(!w.focusWatcher());
        QCOMPARE(fake.made, 0);
    }

    void writeHoldsTheSwitchBack()
    {
        WindowFixture fx(true);
        FakeWatcherInstalled fake;
        QVERIFY(writeFocusRules(gameRules()));
        MousecfgWidget w;
        fx.mouse().clearLog();
        int reportsAtEnd = -1;
        connect(w.writer(), &WriteController::writeFinished, this,
                [&] { reportsAtEnd = fx.mouse().writtenReports().size(); });
        // The game comes to the front while everything is being written, which takes longer
        // than the settling time.
        QTimer::singleShot(0, this, [&] { fake.watcher->bring(QStringLiteral("shooter")); });
        w.writer()->write(true);
        QVERIFY(reportsAtEnd > 0);
        const QVector<QByteArray> during = fx.mouse().writtenReports().mid(0, reportsAtEnd);
        QVERIFY(std::none_of(during.cbegin(), during.cend(),
                             [](const QByteArray &r) { return uint8_t(r.at(3)) == 0x44; }));
        // Held back, not lost.
        QTRY_COMPARE(fx.mouse().activeSlot(), 2);
        QCOMPARE(selectProfileCount(fx.mouse()), 1);
    }

    void dialogEditsAndSavesTheRules()
    {
        WindowFixture fx(true);
        FakeWatcherInstalled fake;
        MousecfgWidget w;
        FocusReport running;
        running.executable = QStringLiteral("shooter");
        running.windowClass = QStringLiteral("Shooter");
        fake.running = {running};
        // Off, nothing follows the application in front.
        QVERIFY(!w.focusWatcher());
        QCOMPARE(fake.made, 0);
        QVERIFY(w.slotMenu()->actions().contains(w.focusRulesAction()));

        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto *d = qobject_cast<KivFocusRulesDialog *>(QApplication::activeModalWidget());
            QVERIFY(d);
            QVERIFY(d->unavailableNotice()->isHidden());
            d->enableBox()->setChecked(true);
            // Picked from the running applications, for slot 3.
            emit d->runningMenu()->aboutToShow();
            QCOMPARE(d->runningMenu()->actions().size(), 1);
            d->runningMenu()->actions().first()->trigger();
            QCOMPARE(d->applicationEdit()->text(), QStringLiteral("shooter"));
            d->slotMenu()->actions().at(2)->trigger();
            d->addButton()->click();
            // Typed, for slot 5; then moved above the first.
            d->applicationEdit()->setText(QStringLiteral(" racer "));
            d->slotMenu()->actions().at(4)->trigger();
            d->addButton()->click();
            d->upButton()->click();
            // A third, typed and added with Enter (which does not close the dialog), removed
            // again; the default slot 2.
            d->applicationEdit()->setFocus();
            d->applicationEdit()->setText(QStringLiteral("editor"));
            QTest::keyClick(d->applicationEdit(), Qt::Key_Return);
            QVERIFY(d->isVisible());
            QCOMPARE(d->ruleList()->topLevelItemCount(), 3);
            d->removeButton()->click();
            d->defaultSlotMenu()->actions().at(1)->trigger();
            QCOMPARE(d->ruleList()->topLevelItemCount(), 2);
            checked = true;
            // Enter elsewhere saves.
            d->ruleList()->setFocus();
            QTest::keyClick(d->ruleList(), Qt::Key_Return);
        });
        w.focusRulesAction()->trigger();
        QVERIFY(checked);

        FocusRules expected;
        expected.enabled = true;
        expected.defaultSlot = 1;
        expected.rules = {{QStringLiteral("racer"), 4}, {QStringLiteral("shooter"), 2}};
        QCOMPARE(readFocusRules(), expected);
        // In force at once, with a watcher of its own (the dialog's is gone).
        QVERIFY(w.focusWatcher());
        QCOMPARE(fake.made, 2);
        fx.mouse().clearLog();
        fake.watcher->bring(QStringLiteral("racer"));
        QTRY_COMPARE(fx.mouse().activeSlot(), 4);
    }

    void dialogSaysWhenTheFrontCannotBeKnown()
    {
        WindowFixture fx(true);
        FocusRules stored = gameRules();
        QVERIFY(writeFocusRules(stored));
        // No watcher installed: the offscreen platform has no desktop to follow.
        MousecfgWidget w;
        QVERIFY(!w.focusWatcher()->available());
        KivFocusRulesDialog d(readFocusRules(), w.focusWatcher(), &w);
        QVERIFY(!d.unavailableNotice()->isHidden());
        QVERIFY(!d.enableBox()->isEnabled());
        // In the watcher's words (on GNOME: what would enable it).
        QCOMPARE(d.unavailableNotice()->text(), w.focusWatcher()->unavailableReason());
        // The stored choice is kept for a desktop where it works.
        QCOMPARE(d.rules(), stored);
    }
};

QTEST_MAIN(TestFocusSwitch)
#include "test_focusswitch.moc"
