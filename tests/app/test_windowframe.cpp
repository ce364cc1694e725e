// The window frame: the dragging threshold, the tray icon's activation rules with and without
// the "Dongle Disconnect!" box, the box closing itself when a mouse is set up, a desktop
// without a tray, the request of a second start, the window's size and place at start-up, the
// start at log-in (its menu entry and the start into the tray), and the pointer speed a desktop
// does not take.
#include "app/dragtracker.h"
#include "app/mousecfgwidget.h"
#include "app/profilebar.h"
#include "app/profilelibrary.h"
#include "app/titlemenu.h"
#include "platform/pointerspeed.h"
#include "widgets/kivlabel.h"
#include "windowfixture.h"

#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QtTest>

using namespace mc;
using mc::test::WindowFixture;

namespace {

void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, const QPointF &global)
{
    const QPointF local = global - QPointF(w->mapToGlobal(QPoint(0, 0)));
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent e(type, local, global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// Everything a box says, its title and message.
QString boxText(KivMessageBox *box)
{
    QStringList texts;
    for (const KivLabel *label : box->findChildren<KivLabel *>())
        texts << label->text();
    return texts.join(QLatin1Char(' '));
}

// Sets environment variables for one test and puts the old values back.
class EnvScope
{
public:
    void set(const char *name, const QByteArray &value)
    {
        remember(name);
        qputenv(name, value);
    }
    void unset(const char *name)
    {
        remember(name);
        qunsetenv(name);
    }
    ~EnvScope()
    {
        for (const auto &old : m_old) {
            if (old.second.isNull())
                qunsetenv(old.first);
            else
                qputenv(old.first, old.second);
        }
    }

private:
    void remember(const char *name)
    {
        m_old.push_back({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
    }
    std::vector<std::pair<const char *, QByteArray>> m_old;
};

} // namespace

class TestWindowFrame : public QObject
{
    Q_OBJECT
private slots:
    void dragThreshold_data()
    {
        QTest::addColumn<QPointF>("delta");
        QTest::addColumn<bool>("moves");
        QTest::newRow("4 right") << QPointF(4, 0) << false;
        QTest::newRow("2 and 2") << QPointF(2, 2) << false;
        QTest::newRow("4 up") << QPointF(0, -4) << false;
        QTest::newRow("5 right") << QPointF(5, 0) << true;
        QTest::newRow("3 and 2") << QPointF(3, 2) << true;
        QTest::newRow("-3 and -2") << QPointF(-3, -2) << true;
        QTest::newRow("4.4 rounds to 4") << QPointF(4.4, 0) << false;
        QTest::newRow("4.5 rounds to 5") << QPointF(4.5, 0) << true;
    }
    // Left of and above the primary screen positions are negative; halves still round away
    // from zero, so the threshold is the same there.
    void dragThresholdLeftOfPrimary_data()
    {
        QTest::addColumn<QPointF>("delta");
        QTest::addColumn<bool>("moves");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("-4.4 rounds to -4") << QPointF(-4.4, 0) << false << QPoint();
        QTest::newRow("-4.5 rounds to -5") << QPointF(-4.5, 0) << true << QPoint(-15, 20);
        QTest::newRow("-2.5 and -2.5") << QPointF(-2.5, -2.5) << true << QPoint(-13, 17);
    }
    void dragThresholdLeftOfPrimary()
    {
        QFETCH(QPointF, delta);
        QFETCH(bool, moves);
        QFETCH(QPoint, topLeft);
        DragTracker t;
        t.press(QPointF(-100, -100), QPoint(-10, 20));
        QPoint to;
        QCOMPARE(t.move(QPointF(-100, -100) + delta, to), moves);
        if (moves)
            QCOMPARE(to, topLeft);
    }
    void dragThreshold()
    {
        QFETCH(QPointF, delta);
        QFETCH(bool, moves);
        DragTracker t;
        QPoint to;
        QVERIFY(!t.move(QPointF(100, 100) + delta, to)); // no press, no drag
        t.press(QPointF(100, 100), QPoint(10, 20));
        QCOMPARE(t.move(QPointF(100, 100) + delta, to), moves);
        if (moves)
            QCOMPARE(to, QPoint(10, 20) + (QPointF(100, 100) + delta).toPoint() - QPoint(100, 100));
        t.release();
        QVERIFY(!t.move(QPointF(200, 200), to));
    }

    void windowFollowsDrag()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        w.move(100, 100);
        const QPoint start = w.pos();
        const QPointF at = QPointF(w.mapToGlobal(QPoint(300, 10)));
        sendMouse(&w, QEvent::MouseButtonPress, Qt::LeftButton, at);
        sendMouse(&w, QEvent::MouseMove, Qt::LeftButton, at + QPointF(2, 2));
        QCOMPARE(w.pos(), start);
        sendMouse(&w, QEvent::MouseMove, Qt::LeftButton, at + QPointF(3, 2));
        QCOMPARE(w.pos(), start + QPoint(3, 2));
        sendMouse(&w, QEvent::MouseButtonRelease, Qt::LeftButton, at + QPointF(3, 2));
        sendMouse(&w, QEvent::MouseMove, Qt::NoButton, at + QPointF(50, 50));
        QCOMPARE(w.pos(), start + QPoint(3, 2));

        // The right button does not drag.
        sendMouse(&w, QEvent::MouseButtonPress, Qt::RightButton, at);
        sendMouse(&w, QEvent::MouseMove, Qt::RightButton, at + QPointF(40, 0));
        QCOMPARE(w.pos(), start + QPoint(3, 2));
    }

    void sizeAtStart()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        QCOMPARE(w.size(), QSize(999, 640));
        QCOMPARE(w.scaleStep(), 0);
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    }

    // The offscreen screen (800 x 600 under Qt 5, 800 x 800 under Qt 6) is narrower than the
    // window: centring would put its left edge, and on the lower screen its top bar, off screen.
    // Where the window fits, it stays wholly inside.
    void largerThanScreenKeepsTopLeftOnScreen()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QString sizes = QStringLiteral("screen %1x%2, window %3x%4")
                                  .arg(area.width())
                                  .arg(area.height())
                                  .arg(w.width())
                                  .arg(w.height());
        QVERIFY2(area.width() < w.width(), qPrintable(sizes));
        QCOMPARE(w.x(), area.left());
        if (area.height() < w.height()) {
            QCOMPARE(w.y(), area.top());
        } else {
            QVERIFY2(w.y() >= area.top() && w.y() + w.height() <= area.y() + area.height(),
                     qPrintable(sizes));
        }
    }

    // Without a tray a hidden window could never come back: a confirmed "Dongle Disconnect!"
    // leaves the window in the task bar, and closing the window ends the program.
    void withoutTrayNothingHides()
    {
        WindowFixture fx(false);
        MousecfgWidget::setTrayProbe([] { return false; });
        MousecfgWidget w;
        test::BoxAnswerer answer(test::acceptBox);
        // The start-up timer's show request brings the box.
        QTRY_COMPARE_WITH_TIMEOUT(answer.count(), 1, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!w.warningOpen(), 5000);
        QVERIFY(w.isVisible());
        QVERIFY(w.isMinimized());
        // What the tray menu offers is in the title bar's menu too.
        const QList<QAction *> menu = w.titleMenu()->menu()->actions();
        for (QAction *a : w.trayIcon()->contextMenu()->actions())
            QVERIFY(a->text() == QLatin1String("&Load Config") || menu.contains(a));
        // Nothing else would bring the window back: the mouse plugged in does.
        fx.mouse().plug(EmulatedMouse::Attachment::Receiver);
        QTRY_VERIFY_WITH_TIMEOUT(w.hasDevice(), 5000);
        QTRY_VERIFY(!w.isMinimized());

        QTimer timeout; // ends the loop below if closing does not
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(2); });
        timeout.start(5000);
        QTimer::singleShot(0, &w, [&w] { w.close(); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void trayKeepsClosedWindow()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        QTRY_VERIFY_WITH_TIMEOUT(w.isVisible(), 5000); // the start-up timer's show request
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(2); });
        timeout.start(300);
        QTimer::singleShot(0, &w, [&w] { w.close(); });
        QCOMPARE(QCoreApplication::exec(), 2); // still running, in the tray
        QVERIFY(!w.isVisible());
    }

    // A second start brings a hidden window back; while a box of the window waits for the
    // user it brings that box up and opens no "Dongle Disconnect!" over it.
    void secondStartBringsWindowToFront()
    {
        WindowFixture fx(false);
        MousecfgWidget w;
        bool visibleWithBox = false;
        int boxesInside = 0;
        test::BoxAnswerer answer([&](KivMessageBox *box) {
            if (box->kind() == KivMessageBox::Notice) {
                // A show request here would run its own box inside this one: answer it.
                QTimer::singleShot(100, &w, [&boxesInside, box] {
                    auto *inner = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                    if (inner && inner != box) {
                        ++boxesInside;
                        inner->accept();
                    }
                });
                w.hide();
                w.bringToFront();
                visibleWithBox = w.isVisible();
            }
            box->accept();
        });
        QTRY_COMPARE_WITH_TIMEOUT(answer.count(), 1, 5000); // the start-up "Dongle Disconnect!"
        QTRY_VERIFY_WITH_TIMEOUT(!w.warningOpen(), 5000);
        KivMessageBox::ask(KivMessageBox::Notice, QStringLiteral("Warning"), QStringLiteral("?"),
                           &w);
        QVERIFY(visibleWithBox);
        QCOMPARE(boxesInside, 0);

        fx.mouse().plug(EmulatedMouse::Attachment::Receiver);
        QTRY_VERIFY(w.hasDevice()); // the arrival sets the mouse up
        w.hide();
        w.bringToFront();
        QVERIFY(w.isVisible());
        QCOMPARE(answer.count(), 2);
    }

    void noMouseShowsWarningAndConfirmHides()
    {
        WindowFixture fx(false);
        MousecfgWidget w;
        QCOMPARE(w.miceAtStart(), 0);
        QVERIFY(!w.isVisible());
        bool visibleWhileOpen = false;
        test::BoxAnswerer answer([&](KivMessageBox *box) {
            visibleWhileOpen = w.isVisible() && w.warningOpen();
            box->accept();
        });
        // The start-up timer brings the window up with the box after about 200 ms.
        QTRY_VERIFY_WITH_TIMEOUT(answer.count() == 1, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!w.warningOpen(), 5000);
        QVERIFY(visibleWhileOpen);
        QVERIFY(!w.isVisible());
        QVERIFY(w.trayIcon() != nullptr);
    }

    void trayClickWhileWarningOpenKeepsWindow()
    {
        WindowFixture fx(false);
        MousecfgWidget w;
        bool stayed = false;
        test::BoxAnswerer answer([&](KivMessageBox *box) {
            w.iconActivated(QSystemTrayIcon::Trigger);
            w.iconActivated(QSystemTrayIcon::DoubleClick);
            stayed = w.isVisible();
            box->accept();
        });
        w.showRequest();
        QCOMPARE(answer.count(), 1);
        QVERIFY(stayed);
        QVERIFY(!w.isVisible()); // confirmed without a mouse: hidden again

        // Hidden: a click is the show request (and the box comes again).
        w.iconActivated(QSystemTrayIcon::Trigger);
        QCOMPARE(answer.count(), 2);
    }

    void trayActivationRules()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        w.showRequest(); // a mouse is present: no box
        QVERIFY(w.isVisible());
        w.iconActivated(QSystemTrayIcon::Context);
        w.iconActivated(QSystemTrayIcon::MiddleClick);
        QVERIFY(w.isVisible());
        w.iconActivated(QSystemTrayIcon::Trigger);
        QVERIFY(!w.isVisible());
        w.iconActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(w.isVisible());
    }

    // Started by the desktop at log-in: into the tray, with or without a mouse and without a
    // box, also when the tray comes a moment later; without any tray the window shows (with
    // the box when there is no mouse), or the program could not be reached.
    void startAtLoginGoesToTheTray_data()
    {
        QTest::addColumn<bool>("mouse");
        QTest::addColumn<int>("trayAfterMs"); // -1: never
        QTest::newRow("mouse, tray") << true << 0;
        QTest::newRow("no mouse, tray") << false << 0;
        QTest::newRow("mouse, tray late") << true << 1500;
        QTest::newRow("no mouse, no tray") << false << -1;
    }
    void startAtLoginGoesToTheTray()
    {
        QFETCH(bool, mouse);
        QFETCH(int, trayAfterMs);
        WindowFixture fx(mouse);
        QElapsedTimer since;
        since.start();
        MousecfgWidget::setTrayProbe(
            [&] { return trayAfterMs >= 0 && since.elapsed() >= trayAfterMs; });
        test::BoxAnswerer answer(test::acceptBox);
        MousecfgWidget w;
        w.startInTray();
        if (trayAfterMs < 0) {
            QTRY_VERIFY_WITH_TIMEOUT(w.isVisible() || answer.count() > 0, 10000);
            QCOMPARE(answer.count(), mouse ? 0 : 1);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(w.trayIcon()->isVisible(), 5000);
        QTest::qWait(500);
        QVERIFY(!w.isVisible());
        QCOMPARE(answer.count(), 0);
        // From the tray it comes up as ever.
        w.iconActivated(QSystemTrayIcon::Trigger);
        QTRY_VERIFY(w.isVisible() || answer.count() > 0);
    }

    // The entry of the title bar's menu and the tray's: it writes and removes the desktop's
    // entry, shows what the desktop's settings did meanwhile, and a refusal is told with its
    // reason and leaves the entry unchecked.
    void startAtLoginEntry()
    {
        QTemporaryDir config;
        EnvScope env;
        env.set("XDG_CONFIG_HOME", config.path().toUtf8());
        const QString entry =
            config.path() + QStringLiteral("/autostart/org.mousecfg.Mousecfg.desktop");
        WindowFixture fx(true);
        MousecfgWidget w;
        QAction *start = w.titleMenu()->autostartAction();
        QVERIFY(start->isCheckable());
        QVERIFY(!start->isChecked());
        QVERIFY(w.trayIcon()->contextMenu()->actions().contains(start));

        start->trigger();
        QVERIFY(start->isChecked());
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains(QCoreApplication::applicationFilePath().toUtf8()));
        QVERIFY(text.contains("--hidden"));
        file.close();

        // Removed by the desktop's own settings: the menu shows it when it opens.
        QVERIFY(QFile::remove(entry));
        emit w.titleMenu()->menu()->aboutToShow();
        QVERIFY(!start->isChecked());
        start->trigger();
        QVERIFY(QFile::exists(entry));
        start->trigger();
        QVERIFY(!QFile::exists(entry));
        QVERIFY(!start->isChecked());

        // A file where the folder should be: nothing can be written.
        QVERIFY(QDir(config.path() + QStringLiteral("/autostart")).removeRecursively());
        QFile blocker(config.path() + QStringLiteral("/autostart"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString told;
        test::BoxAnswerer answer([&](KivMessageBox *box) {
            told = boxText(box);
            box->accept();
        });
        start->trigger();
        QCOMPARE(answer.count(), 1);
        QVERIFY2(told.contains(QStringLiteral("autostart")), qPrintable(told));
        QVERIFY(!start->isChecked());
    }

    // Where the desktop takes no pointer speed from this program, the window says so once:
    // not at start-up, not for a switch made by the application in front, at the first slot
    // the user chooses, and not again.
    void pointerSpeedUnavailableSaidOnce()
    {
        EnvScope env;
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "XDG_CURRENT_DESKTOP"})
            env.unset(name);
        const QString reason = pointerSpeedUnavailableReason();
        QVERIFY(!reason.isEmpty());
        WindowFixture fx(true);
        MousecfgWidget w;
        w.show();
        QTRY_VERIFY(w.hasDevice());
        QTest::qWait(300);
        QVERIFY(w.feedbackLine()->text().isEmpty());
        w.profileLibrary()->chooseSlot(2, true); // the application in front's
        QTest::qWait(100);
        QVERIFY(w.feedbackLine()->text().isEmpty());
        emit w.profileBar()->slotClicked(1);
        QTRY_COMPARE(w.feedbackLine()->text(), reason);
        w.feedbackLine()->setText({});
        emit w.profileBar()->slotClicked(3);
        QTest::qWait(100);
        QVERIFY2(w.feedbackLine()->text().isEmpty(), qPrintable(w.feedbackLine()->text()));
    }

    void warningClosesWhenMouseIsSetUp()
    {
        WindowFixture fx(false);
        MousecfgWidget w;
        test::BoxAnswerer answer([&](KivMessageBox *) {
            // The mouse arrives while the box is open: its arrival closes the box, no poll.
            fx.mouse().plug(EmulatedMouse::Attachment::Receiver);
        });
        w.showRequest();
        QCOMPARE(answer.count(), 1);
        QVERIFY(w.hasDevice());
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(TestWindowFrame)
#include "test_windowframe.moc"
