// The main window: tabs with PROFILE/ledDisable, the menu of connected mice, the language
// button, the installed translation and its contexts, what is visible after start-up, enabling and
// disabling, the firmware prompt and the release of the devices at shut-down.
#include "app/mousecfgwidget.h"
#include "app/presence.h"
#include "app/profilebar.h"
#include "device/discovery.h"
#include "macro/ui/macrodialog.h"
#include "windowfixture.h"

#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace mc;
using mc::test::WindowFixture;

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    // Tab visits only what can be seen: on every tab, each control that takes the focus from
    // the keyboard is shown and has a size (controls without a place are hidden, not emptied).
    void keyboardReachesOnlyVisibleControls()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (int tab = 0; tab < MousecfgWidget::kTabCount; ++tab) {
            w.switchTab(tab);
            int reachable = 0;
            for (QWidget *c : w.findChildren<QWidget *>()) {
                if (!(c->focusPolicy() & Qt::TabFocus) || !c->isVisible() || !c->isEnabled() ||
                    c->isWindow())
                    continue;
                ++reachable;
                QVERIFY2(c->width() > 0 && c->height() > 0,
                         qPrintable(QStringLiteral("tab %1: %2 at %3,%4 has no size")
                                        .arg(tab)
                                        .arg(QLatin1String(c->metaObject()->className()))
                                        .arg(c->x())
                                        .arg(c->y())));
            }
            // The title bar, the tabs, the profile bar and the bottom bar at least.
            QVERIFY(reachable > 15);
        }
    }

    void startTabAndTabSwitch_data()
    {
        QTest::addColumn<int>("ledDisable");
        QTest::addColumn<int>("startTab");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("shownTab");
        QTest::newRow("lighting offered") << 0 << 0 << 0 << 0;
        QTest::newRow("customize") << 0 << 0 << 1 << 1;
        QTest::newRow("dpi") << 0 << 0 << 2 << 2;
        QTest::newRow("macro") << 0 << 0 << 3 << 3;
        QTest::newRow("no lighting: start on customize") << 1 << 1 << 2 << 2;
        QTest::newRow("no lighting: LIGHTING shows customize") << 1 << 1 << 0 << 1;
        QTest::newRow("any non-zero value") << 7 << 1 << 0 << 1;
    }
    void startTabAndTabSwitch()
    {
        QFETCH(int, ledDisable);
        QFETCH(int, startTab);
        QFETCH(int, pressed);
        QFETCH(int, shownTab);
        WindowFixture fx(true);
        fx.describe(QStringLiteral("PROFILE/ledDisable"), ledDisable);
        MousecfgWidget w;
        QCOMPARE(w.currentTab(), startTab);
        QCOMPARE(w.tabButton(0)->geometry().isEmpty(), ledDisable != 0);

        // Press as the user does (the tab changes on press), then release.
        w.tabButton(pressed)->setGeometry(0, 0, 50, 20);
        QTest::mouseClick(w.tabButton(pressed), Qt::LeftButton);
        QCOMPARE(w.currentTab(), shownTab);
        for (int i = 0; i < MousecfgWidget::kTabCount; ++i)
            QCOMPARE(w.tabButton(i)->state(), i == shownTab ? 1 : 0);
        QCOMPARE(!w.lightingPanel()->isHidden(), shownTab == 0);
        QCOMPARE(!w.buttonPanel()->isHidden(), shownTab == 1);
        QCOMPARE(!w.dpiPanel()->isHidden(), shownTab == 2);
        QCOMPARE(!w.pointerPanel()->isHidden(), shownTab == 2);
        QCOMPARE(!w.ratePanel()->isHidden(), shownTab == 2);
        QCOMPARE(!w.macroPanel()->isHidden(), shownTab == 3);
        QCOMPARE(!w.frontPicture()->isHidden(), shownTab == 0 || shownTab == 1);
    }

    void macroTabEmptyWhenMacrosDisabled()
    {
        WindowFixture fx(true);
        fx.describe(QStringLiteral("PROFILE/DisableMacro"), 1);
        MousecfgWidget w;
        QVERIFY(w.tabButton(3)->geometry().isEmpty());
        QVERIFY(!w.tabButton(2)->geometry().isEmpty());
    }

    void switchTabClampsIndex()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        w.slotGotoMacro(200);
        QCOMPARE(w.currentTab(), 3);
    }

    void mouseMenu_data()
    {
        QTest::addColumn<int>("mice");
        QTest::addColumn<QString>("storedBefore");
        QTest::addColumn<bool>("selectorShown");
        QTest::addColumn<QString>("current");
        QTest::newRow("none") << 0 << "KIV M1" << false << "";
        QTest::newRow("one") << 1 << "" << false << "KIV M1";
        QTest::newRow("two, current listed") << 2 << "OTHER" << true << "OTHER";
        QTest::newRow("two, current not listed") << 2 << "GONE" << true << "KIV M1";
    }
    void mouseMenu()
    {
        QFETCH(int, mice);
        QFETCH(QString, storedBefore);
        QFETCH(bool, selectorShown);
        QFETCH(QString, current);
        WindowFixture fx(mice > 0);
        MousecfgWidget w;
        if (mice == 2) {
            DeviceState &s = w.presence()->connection().state();
            s.entries[1] = s.entries[0];
            s.entries[1].productName = "OTHER";
            s.count = 2;
        }
        fx.configure(QStringLiteral("Config/CurrentProductName"), storedBefore);
        w.refreshMouseList();
        QCOMPARE(w.presentMice().size(), mice);
        QCOMPARE(!w.mouseSelector()->isHidden(), selectorShown);
        QCOMPARE(fx.configured(QStringLiteral("Config/CurrentProductName")).toString(), current);
        QCOMPARE(w.mouseMenu()->actions().size(), mice);
        if (selectorShown) {
            QCOMPARE(w.mouseSelector()->menu(), w.mouseMenu());
            QCOMPARE(w.mouseMenu()->width(), 150);
        }
    }

    void switchingMouseStoresChoice()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        DeviceState &s = w.presence()->connection().state();
        s.entries[1] = s.entries[0];
        s.entries[1].productName = "OTHER";
        s.count = 2;
        w.refreshMouseList();
        QAction *other = w.mouseMenu()->actions().at(1);
        w.slot_show_mousename(other);
        QCOMPARE(fx.configured(QStringLiteral("Config/CurrentProductName")).toString(),
                 QStringLiteral("OTHER"));
        QCOMPARE(w.mouseSelector()->text(), QStringLiteral("OTHER"));
        QCOMPARE(w.currentTab(), 0);
        w.slot_show_mousename(nullptr); // a signal without an action changes nothing
        QCOMPARE(w.mouseSelector()->text(), QStringLiteral("OTHER"));
    }

    // The stores, the library list and the default profile file follow the current product,
    // at start-up and after the user picks another mouse.
    void storesFollowTheCurrentProduct()
    {
        WindowFixture fx(true);
        fx.configure(QStringLiteral("Config/CurrentProductName"), QStringLiteral("KIV M1"));
        fx.configure(QStringLiteral("Config/ProfileID"), 2);
        fx.configure(QStringLiteral("Config/Profile3"), QStringLiteral("Game"));
        QDir(fx.path()).mkpath(QStringLiteral("Configs/KIV M1/Profile"));
        QSettings(fx.path() + QStringLiteral("/Configs/KIV M1/Profile/Game.prof"),
                  QSettings::IniFormat)
            .setValue(QStringLiteral("PROFILE/pollrate"), 4);
        {
            QSettings lib(fx.path() + QStringLiteral("/Configs/KIV M1/Config.ini"),
                          QSettings::IniFormat);
            lib.setValue(QStringLiteral("PROFILE_LIST/Count"), 2);
            lib.setValue(QStringLiteral("PROFILE_LIST/0"), QStringLiteral("Game"));
            lib.setValue(QStringLiteral("PROFILE_LIST/1"), QStringLiteral("Work"));
        }
        MousecfgWidget w;
        QCOMPARE(int(w.workingStore().ProfileID), 2);
        QCOMPARE(w.workingStore().names[2], QStringLiteral("Game"));
        QCOMPARE(int(w.workingStore().profiles[2].pollrate), 4);
        QVERIFY(w.lastWrittenStore() == w.workingStore());
        QCOMPARE(w.libraryList(), QStringList({QStringLiteral("Game"), QStringLiteral("Work")}));
        // Written once start-up is over, not before the first frame.
        QTRY_VERIFY(
            QFile::exists(fx.path() + QStringLiteral("/Configs/Profile/DefaultProfile.prof")));

        // Another product has no library and slot 2 names no file of its own.
        DeviceState &s = w.presence()->connection().state();
        s.entries[1] = s.entries[0];
        s.entries[1].productName = "OTHER";
        s.count = 2;
        w.refreshMouseList();
        w.slot_show_mousename(w.mouseMenu()->actions().at(1));
        QVERIFY(w.libraryList().isEmpty());
        QCOMPARE(int(w.workingStore().profiles[2].pollrate), 1);
        QVERIFY(w.lastWrittenStore() == w.workingStore());
    }

    void languageButton_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("shown");
        QTest::newRow("none") << 0 << false;
        QTest::newRow("one") << 1 << false;
        QTest::newRow("two") << 2 << true;
        QTest::newRow("ten") << 10 << true;
        QTest::newRow("more than the table holds") << 40 << true;
    }
    void languageButton()
    {
        QFETCH(int, count);
        QFETCH(bool, shown);
        WindowFixture fx(true);
        fx.languages(count);
        MousecfgWidget w;
        QCOMPARE(!w.languageButton()->isHidden(), shown);
        QCOMPARE(w.languageMenu()->actions().size(), qMin(count, 10));
    }

    void translationInstalled()
    {
        WindowFixture fx(true);
        fx.languages(2);
        fx.configure(QStringLiteral("FONT_LIST/LangFile_1"), QStringLiteral("missing"));
        QVERIFY(QFile::copy(QStringLiteral(MC_BIN_DIR "/lang/en.qm"),
                            fx.path() + QStringLiteral("/lang/en.qm")));
        {
            MousecfgWidget w;
            QCOMPARE(QCoreApplication::translate("QObject", "FULL LIGHTED"),
                     QStringLiteral("STATIC"));
            QCOMPARE(w.applyButton()->text(), QStringLiteral("APPLY"));
            QCOMPARE(w.languageButton()->text(), QStringLiteral("Lang 0"));

            // Switching to a language whose file is missing shows the source texts.
            w.languageMenu()->actions().at(1)->trigger();
            QCOMPARE(QCoreApplication::translate("QObject", "FULL LIGHTED"),
                     QStringLiteral("FULL LIGHTED"));
            QCOMPARE(w.applyButton()->text(), QStringLiteral("Apply"));
            QCOMPARE(w.languageButton()->text(), QStringLiteral("Lang 1"));
            QSettings lang(fx.path() + QStringLiteral("/Configs/LangConfig.ini"),
                           QSettings::IniFormat);
            QCOMPARE(lang.value(QStringLiteral("Config/LangID")).toInt(), 1);
        }
        // The destroyed window takes its translation with it.
        QCOMPARE(QCoreApplication::translate("QObject", "FULL LIGHTED"),
                 QStringLiteral("FULL LIGHTED"));
    }

    // A product's translation names the dialogs and the main window by their plain class
    // names (the program's namespace is its own business) and free texts by QObject.
    void textsLiveInTheirClassContexts()
    {
        WindowFixture fx(true);
        fx.languages(1);
        QVERIFY(
            QFile::copy(QStringLiteral(MC_CONTEXTS_QM), fx.path() + QStringLiteral("/lang/en.qm")));
        MousecfgWidget w;
        const QList<QAction *> tray = w.trayIcon()->contextMenu()->actions();
        // Load, the profile per application, the reconnect write's check, diagnostics, the
        // start at log-in, quit.
        QCOMPARE(tray.size(), 6);
        QCOMPARE(tray.first()->text(), QStringLiteral("[window] Load Config"));
        QCOMPARE(tray.last()->text(), QStringLiteral("[window] Quit"));
        QCOMPARE(w.applyButton()->text(), QStringLiteral("[free] Apply"));
        KivMessageBox question(1, QString(), QString(), QString(), &w);
        QCOMPARE(question.yesButton()->text(), QStringLiteral("[box] Yes"));
        QCOMPARE(question.noButton()->text(), QStringLiteral("[box] No"));
        KivMessageBox notice(2, QString(), QString(), QString(), &w);
        QCOMPARE(notice.yesButton()->text(), QStringLiteral("[box] Ok"));
    }

    void hostileLanguageSettings_data()
    {
        QTest::addColumn<QVariant>("langId");
        QTest::addColumn<QString>("stem");
        QTest::newRow("index past the table") << QVariant(99) << "en";
        QTest::newRow("negative index") << QVariant(-3) << "en";
        QTest::newRow("stem climbing out") << QVariant(0) << "../../en";
        QTest::newRow("absolute stem") << QVariant(0) << "/tmp/en";
    }
    void hostileLanguageSettings()
    {
        QFETCH(QVariant, langId);
        QFETCH(QString, stem);
        WindowFixture fx(true);
        fx.languages(2);
        fx.configure(QStringLiteral("FONT_LIST/LangFile_0"), stem);
        QSettings(fx.path() + QStringLiteral("/Configs/LangConfig.ini"), QSettings::IniFormat)
            .setValue(QStringLiteral("Config/LangID"), langId);
        QFile::copy(QStringLiteral(MC_BIN_DIR "/lang/en.qm"),
                    fx.path() + QStringLiteral("/lang/en.qm"));
        MousecfgWidget w;
        QCOMPARE(uiLanguage(), 0);
        if (stem != QLatin1String("en"))
            QCOMPARE(w.applyButton()->text(), QStringLiteral("Apply")); // nothing loaded
    }

    void visibleControlsAfterStartup()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        QVERIFY(w.firmwareButton()->geometry().isEmpty());
        // The window's own buttons; the panels place theirs in their own rectangles.
        const auto buttons = w.findChildren<KivPushButton *>(QString(), Qt::FindDirectChildrenOnly);
        int shown = 0;
        for (KivPushButton *b : buttons) {
            if (w.buttonPanel()->isAncestorOf(b))
                continue; // the panel's own rows
            shown += b->geometry().isEmpty() ? 0 : 1;
        }
        // Language, minimise, close, the four tabs, Reset All, LOAD, SAVE and Apply, and the
        // mouse selector (which keeps its place but is hidden with one mouse).
        QCOMPARE(shown, 12);
        QCOMPARE(w.applyButton()->geometry(), QRect(812, 588, 138, 35));
        QCOMPARE(w.tabButton(3)->geometry(), QRect(69, 192, 149, 25));
    }

    void wirelessMouseKeepsFrontSideUntilLayout()
    {
        WindowFixture fx(true);
        fx.configure(QStringLiteral("Mouse_List/0"), QStringLiteral("Wireless Mouse"));
        MousecfgWidget w;
        // After the layout pass of start-up they are empty like every other product's.
        const auto buttons = w.findChildren<KivPushButton *>();
        for (KivPushButton *b : buttons)
            QVERIFY(b->text() != QLatin1String("Front") || b->geometry().isEmpty());
        // A reload without a layout pass places them at their fixed rectangles.
        w.slotWarnClose();
        int placed = 0;
        for (KivPushButton *b : buttons) {
            if (b->geometry() == QRect(530, 321, 96, 20) ||
                b->geometry() == QRect(631, 321, 96, 20))
                ++placed;
        }
        QCOMPARE(placed, 2);
    }

    // A mouse switch runs the layout pass, so the product whose pictures place "Front" and
    // "Side" ends with them empty like any other.
    void mouseSwitchEmptiesFrontSide()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        DeviceState &s = w.presence()->connection().state();
        s.entries[1] = s.entries[0];
        s.entries[1].productName = "Wireless Mouse";
        s.count = 2;
        w.refreshMouseList();
        w.slot_show_mousename(w.mouseMenu()->actions().at(1));
        int found = 0;
        for (KivPushButton *b : w.findChildren<KivPushButton *>()) {
            if (b->text() == QLatin1String("Front") || b->text() == QLatin1String("Side")) {
                ++found;
                QVERIFY(b->geometry().isEmpty());
            }
        }
        QCOMPARE(found, 2);
    }

    void slotHighlightMovesOnlyWithTheProfileBar_data()
    {
        QTest::addColumn<int>("clickedSlot"); // -1: the Apply button
        QTest::addColumn<int>("highlighted");
        QTest::newRow("Apply keeps the current slot") << -1 << 2;
        QTest::newRow("slot 5") << 4 << 4;
        QTest::newRow("the current slot") << 2 << 2;
    }
    void slotHighlightMovesOnlyWithTheProfileBar()
    {
        QFETCH(int, clickedSlot);
        QFETCH(int, highlighted);
        WindowFixture fx(true);
        fx.configure(QStringLiteral("Config/ProfileID"), 2); // the window edits slot 3
        MousecfgWidget w;
        w.show();
        QTRY_VERIFY(w.hasDevice());
        if (clickedSlot < 0)
            QTest::mouseClick(w.applyButton(), Qt::LeftButton);
        else
            QTest::mouseClick(w.profileBar()->row(clickedSlot), Qt::LeftButton);
        for (int i = 0; i < kSlotCount; ++i)
            QCOMPARE(w.profileBar()->row(i)->isEdited(), i == highlighted);
    }

    void enableButtonsWhileRecording()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        w.switchTab(2);
        w.slotEnableButtons(false);
        QVERIFY(!w.tabButton(0)->isEnabled());
        QVERIFY(!w.applyButton()->isEnabled());
        QTest::mouseClick(w.tabButton(1), Qt::LeftButton);
        QCOMPARE(w.currentTab(), 2);
        w.slotEnableButtons(true);
        QVERIFY(w.tabButton(1)->isEnabled());
        QCOMPARE(w.tabButton(2)->state(), 1);
    }

    void hotspotSelection()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        w.SelBtnChanged(3, 0);
        QCOMPARE(w.frontHotspot(3)->state(), 1);
        QCOMPARE(w.frontHotspot(0)->state(), 0);
        w.SelBtnChanged(1, 2);
        QCOMPARE(w.frontHotspot(3)->state(), 0);
        QCOMPARE(w.downButton()->state(), 1);
        QCOMPARE(w.upButton()->state(), 0);
        // Out of range: nothing selected, nothing read past the end.
        w.SelBtnChanged(200, 0);
        w.SelBtnChanged(0, 9);
        QCOMPARE(w.downButton()->state(), 0);
        for (int i = 0; i < MousecfgWidget::kHotspotCount; ++i)
            QCOMPARE(w.frontHotspot(i)->state(), 0);
    }

    // The firmware button used to ask on press and again on release.
    void firmwarePromptsOnce()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        w.firmwareButton()->setGeometry(0, 0, 60, 20);
        test::BoxAnswerer answer([](KivMessageBox *box) { box->reject(); });
        QTest::mouseClick(w.firmwareButton(), Qt::LeftButton);
        QCOMPARE(answer.count(), 1);
    }

    void shutdownClosesDevices()
    {
        WindowFixture fx(true);
        {
            MousecfgWidget w;
            QVERIFY(w.presence()->connection().commandHandle() != nullptr);
        }
        QCOMPARE(fx.mouse().openHandleCount(), 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
