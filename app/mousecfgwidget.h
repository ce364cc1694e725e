// The single top-level window: a frameless, image-shaped window with the tabs LIGHTING,
// CUSTOMIZE, DPI and MACRO, the product pictures and hotspots, the mouse and language menus, the
// tray icon, and one dispatcher for all of its buttons. It owns the settings panels and the
// profile state. Everything here runs on the user-interface thread.
#pragma once

#include "app/dragtracker.h"
#include "performance/kivdpiwindow.h"
#include "performance/kivpointspeed.h"
#include "performance/kivreportrate.h"
#include "profile/profiledata.h"
#include "widgets/runimage.h"
#include "widgets/uiscale.h"

#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QVector>
#include <QWidget>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QTranslator;

namespace mc {

class DevicePresence;
class DiagnosticsRecorder;
class FocusSwitcher;
class FocusWatcher;
class HotplugWatcher;
class KivAction;
class KivColorWindow;
class KivLabel;
class KivBtnWindow;
class KivMessageBox;
class KivProcessbar;
class KivPushButton;
class MacroDialog;
class OsdLink;
class PendingGuard;
class ProfileBar;
class ProfileLibrary;
class TitleMenu;
class TitleMenuButton;
class ReapplyOnConnect;
class WriteController;
struct FocusRules;
struct StatusDisplay;

class MousecfgWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTabCount = 4;
    static constexpr int kHotspotCount = 20;

    explicit MousecfgWidget(QWidget *parent = nullptr);
    ~MousecfgWidget() override;

    // Number of supported mice found while the window was built; decides whether the entry
    // point shows the window at once.
    int miceAtStart() const { return m_miceAtStart; }
    bool hasDevice() const;
    bool warningOpen() const;
    int currentTab() const { return m_tab; }
    int scaleStep() const { return m_step; }
    QStringList presentMice() const { return m_mice; }
    const ProfileStore &workingStore() const { return m_store; }
    const ProfileStore &lastWrittenStore() const { return m_lastStore; }
    QStringList libraryList() const { return m_library; }

    // The show request: shows the window and, without a mouse, the "Dongle Disconnect!" box.
    void showRequest();
    // A second start of the program asked for the window: the show request, or, while a box
    // of the window is open, that box and the window raised.
    void bringToFront();
    // Rebuilds the menu of connected mice from the device table (after a presence change).
    void refreshMouseList();
    // Switches to tab j (0 LIGHTING, 1 CUSTOMIZE, 2 DPI, 3 MACRO).
    void switchTab(int j);
    // Re-applies every translated text, then the layout pass.
    void retranslate();
    // Loads the translation of language i and applies it (the language menu's action).
    void switchLanguage(int i);

    // Children, for the tests and the panels that follow.
    KivPushButton *tabButton(int i) const { return m_tabs.at(size_t(i)); }
    KivPushButton *languageButton() const { return m_langBtn; }
    KivPushButton *mouseSelector() const { return m_mouseBtn; }
    KivPushButton *firmwareButton() const { return m_firmwareBtn; }
    KivPushButton *applyButton() const { return m_applyBtn; }
    KivPushButton *frontHotspot(int i) const { return m_frontSpots.at(size_t(i)); }
    KivPushButton *upButton() const { return m_upBtn; }
    KivPushButton *downButton() const { return m_downBtn; }
    QMenu *mouseMenu() const { return m_mouseMenu; }
    QMenu *languageMenu() const { return m_langMenu; }
    QWidget *lightingPanel() const { return m_lightingPanel; }
    QWidget *buttonPanel()
    {
        ensureButtonPanel();
        return m_buttonPanel;
    }
    // The DPI tab's panels, built on first use.
    KivDPIWindow *dpiPanel()
    {
        ensureDpiPanels();
        return m_dpiPanel;
    }
    KivPointSpeed *pointerPanel()
    {
        ensureDpiPanels();
        return m_pointerPanel;
    }
    KivReportRate *ratePanel()
    {
        ensureDpiPanels();
        return m_ratePanel;
    }
    MacroDialog *macroPanel(); // built on first use
    QLabel *frontPicture() const { return m_frontPic; }
    QSystemTrayIcon *trayIcon() const { return m_tray; }
    DevicePresence *presence() const { return m_presence; }
    ProfileLibrary *profileLibrary() const { return m_profiles; }
    WriteController *writer() const { return m_writer; }
    FocusWatcher *focusWatcher() const { return m_focusWatcher; } // null while the rules are off
    QMenu *slotMenu() const { return m_slotMenu; }
    KivAction *focusRulesAction() const { return m_focusAction; }
    QLineEdit *nameEdit() const { return m_nameEdit; }
    // The parts the window composes: the on-board profiles in view, the guard of edits not
    // yet written, the program's menu, the confirmation line.
    ProfileBar *profileBar() const { return m_bar; }
    PendingGuard *pendingGuard() const { return m_guard; }
    TitleMenu *titleMenu() const { return m_titleMenu; }
    KivLabel *feedbackLine() const { return m_feedback; }

    // Whether the desktop offers a system tray (asked when the window is built). Tests replace
    // the question; nullptr restores it.
    static void setTrayProbe(std::function<bool()> probe);
    // Started by the desktop at log-in (--hidden): no window while the tray icon shows; called
    // right after construction.
    void startInTray();

public slots:
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void SelBtnChanged(quint8 iBtn, quint8 iType);
    void slotGotoMacro(quint8 iBtn);
    void slot_show_mousename(QAction *action);
    void slotPopOneClickBox();
    void slotEnableButtons(bool bEnable);
    void slotLiftChange(quint8 iLift);
    void slotProfileNameChange();
    void slotWarning();
    void slotWarnClose();
    void slotMouseOver(KivPushButton *btn, bool bType);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Where the window draws the battery's frame (the receiver's or the cable's).
    QRect batteryFrameRect() const;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Without a tray icon a closed window would leave a process with no way back: close quits,
    // after asking about edits not yet written.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void onButtonClicked();
    void onTabPressed(KivPushButton *btn);
    void onFirmwareClicked();

private:
    // Construction (mainlayout.cpp).
    void buildUi();
    KivPushButton *makeButton(const QStringList &images, const QString &single = QString());
    void buildPanels();
    void buildLanguageMenu();
    void buildSlotMenu();
    // The layout pass of the composition table, then the product pictures (mainlayout.cpp).
    void layoutPass();
    void ensureDpiPanels();
    void ensureButtonPanel();
    void placeButtonPanel();
    void placeDpiPanels();
    void refreshDpiPanels();
    void applyTexts();

    // Pictures, hotspots and mice (productpictures.cpp).
    void loadProductPictures();
    void setHotspotImages();
    void showViewSide(bool bFront);
    void clearHotspotSelection();
    // bLayout: a mouse switch runs the whole layout pass; a hot-plug reload only reloads the
    // pictures, so what the pictures place stays until the next pass.
    void reloadForProduct(bool bLayout);
    // The current product's stores, library list and default profile file. At start-up the
    // default profile file waits for finishStartup().
    void loadProfileState(bool atStart = false);
    // What the first frame does not need: the system's pointer speed (a helper process on
    // some desktops) and the default profile file. Once the first frame is out, or when the
    // window stays hidden, at the first show request; later calls do nothing.
    void finishStartup();
    void rebuildLibraryMenu();
    void rebuildMouseMenu(const QStringList &names);

    // Presence, library and write, and what the window does with their signals
    // (windowdevices.cpp).
    void createWorkers();
    void wireWorkers();
    // The library, file and write buttons; false for any other button.
    bool dispatchProfileButton(KivPushButton *b);
    void showCurrentProfile(int iProfile, const QString &name);
    void refreshPanels();
    void collectPanels();
    void applyStatusDisplay(const mc::StatusDisplay &d);
    void announce(const QString &text);

    // The profile per application (windowfocus.cpp): the watcher of the application in front,
    // the switcher with the rules of Config.ini, and their dialog.
    void setupFocusFollowing();
    // The switcher takes the rules; the watcher runs while they are switched on.
    void applyFocusRules(const FocusRules &rules);
    void openFocusRules();
    bool maySwitchForFocus() const;
    void selectForFocus(int iSlot);

    // The profile bar, the guard of unwritten edits, the confirmation line and the program's
    // menu (windowbar.cpp).
    void buildProfileBar();
    void wireProfileBar();
    void placeProfileBar();
    void onBarSlotClicked(int iSlot);
    void onBarOperation(int iOperation);
    ProfileStore pendingSnapshot() const;
    bool applyPending();
    void discardPending();
    // True when an action that replaces the edits of the slots in iBits may go on.
    bool confirmDrop(const QString &what, int iBits);
    void showPending(int iBits);
    void showFeedback(const QString &text);
    void requestQuit();
    void showActiveSlot(int iSlot);
    // The header's line on whose settings the tab in view edits: the profile's own, or those
    // all profiles share from profile 1.
    void showScope();
    void orderFocusChain();

    // Frame (windowframe.cpp).
    void setupScale();
    // The background (whose shape is the window's mask) and the battery frames.
    void loadFrameImages();
    bool applyScaleStep(const ScaleStep &s);
    void fillBackgroundSlot(int step);
    void setupTray();
    void showIcons(); // window and tray icon, once
    void applyTrayTexts();
    // Only a visible tray icon brings a hidden window back.
    bool trayShown();
    // Where the close button, "Cancel" and a confirmed "Dongle Disconnect!" send the window:
    // into the tray, or to the task bar when there is no tray.
    void hideToTray();
    void startupShowRequest(); // the start-up timer's: slotWarning, or the tray at log-in
    void setStartAtLogin(bool bOn);
    bool loadTranslation(int language);

    // Tabs and pictures.
    int m_tab = 0;
    bool m_viewFront = true;
    bool m_sidePicLoaded = false;
    int m_selKind = 0;
    int m_selIndex = 0;
    int m_ledDisable = 0;
    int m_disableMacro = 0;
    int m_colorMode = 0;
    quint8 m_lift = 0;

    // Profile state.
    int m_slot = 0;
    ProfileBar *m_bar = nullptr;
    PendingGuard *m_guard = nullptr;
    KivLabel *m_feedback = nullptr;
    KivLabel *m_scope = nullptr;
    class QTimer *m_feedbackTimer = nullptr;
    QString m_writeConfirmation; // what the next successful write confirms
    QString m_loadedProduct;     // the product whose stores the window holds
    bool m_recheckQueued = false;
    ProfileStore m_store;     // working store: what the panels edit
    ProfileStore m_lastStore; // what was last written to the mouse
    QStringList m_library;

    // Presence, library and write.
    DevicePresence *m_presence = nullptr;
    ProfileLibrary *m_profiles = nullptr;
    WriteController *m_writer = nullptr;
    ReapplyOnConnect *m_reapply = nullptr;
    DiagnosticsRecorder *m_diagnostics = nullptr;
    HotplugWatcher *m_watcher = nullptr; // the system's hot-plug, when no emulated mouse
    OsdLink *m_osd = nullptr;
    FocusWatcher *m_focusWatcher = nullptr;
    FocusSwitcher *m_focusSwitcher = nullptr;
    bool m_recording = false;             // the macro editor records: the controls are disabled
    QPointer<KivMessageBox> m_warningBox; // the open "Dongle Disconnect!" box
    int m_miceAtStart = 0;
    QString m_batteryFrame = QStringLiteral("bat1.png"); // the frame the window draws
    QStringList m_mice;

    // Frame.
    int m_step = 0;
    bool m_laterPanelsQueued = false;
    bool m_startupFinished = false;
    bool m_iconsShown = false;
    bool m_startInTray = false;
    int m_trayPolls = 0;
    double m_framedFactor = 0; // the factor the background and layout were last made for
    QSize m_firstSize;
    RunImage m_background; // at the scale in use
    QPixmap m_bat1;
    QPixmap m_bat2;
    DragTracker m_drag;
    QSystemTrayIcon *m_tray = nullptr;
    QMenu *m_trayMenu = nullptr;
    QAction *m_loadAction = nullptr;
    QAction *m_reapplyAction = nullptr;     // checked: a mouse that connects gets the settings
    QAction *m_diagnosticsAction = nullptr; // checked while diagnostics are recorded
    QAction *m_quitAction = nullptr;
    QAction *m_trayFocusAction = nullptr;
    QTranslator *m_translator = nullptr;
    TitleMenu *m_titleMenu = nullptr;
    TitleMenuButton *m_menuBtn = nullptr;
    int m_language = 0;
    QStringList m_langNames;
    QStringList m_langFiles;
    int m_langCount = 0;

    // Panels.
    QWidget *m_lightingPanel = nullptr;
    KivColorWindow *m_colorWindow = nullptr; // the lighting panel, typed
    QWidget *m_buttonPanel = nullptr;
    KivBtnWindow *m_btnWindow = nullptr; // the button panel, typed
    QScrollArea *m_scroll = nullptr;
    KivDPIWindow *m_dpiPanel = nullptr;
    KivPointSpeed *m_pointerPanel = nullptr;
    KivReportRate *m_ratePanel = nullptr;
    MacroDialog *m_macroPanel = nullptr;

    // Pictures and labels.
    QLabel *m_frontPic = nullptr;
    QLabel *m_sidePic = nullptr;
    QLabel *m_logo = nullptr;
    QLabel *m_chargePic = nullptr;
    QLabel *m_donglePic = nullptr;
    KivLabel *m_modelLabel = nullptr;
    KivLabel *m_versionLabel = nullptr;
    KivLabel *m_nameLabel = nullptr;
    KivProcessbar *m_battery = nullptr;
    QLineEdit *m_nameEdit = nullptr;

    // Buttons.
    std::array<KivPushButton *, kTabCount> m_tabs{};
    KivPushButton *m_mouseBtn = nullptr;
    KivPushButton *m_langBtn = nullptr;
    KivPushButton *m_minBtn = nullptr;
    KivPushButton *m_closeBtn = nullptr;
    KivPushButton *m_resetAllBtn = nullptr;
    KivPushButton *m_loadBtn = nullptr;
    KivPushButton *m_saveBtn = nullptr;
    KivPushButton *m_applyBtn = nullptr;
    KivPushButton *m_addBtn = nullptr;
    KivPushButton *m_delBtn = nullptr;
    KivPushButton *m_exportBtn = nullptr;
    KivPushButton *m_importBtn = nullptr;
    KivPushButton *m_copyBtn = nullptr;
    KivPushButton *m_resetBtn = nullptr;
    KivPushButton *m_okBtn = nullptr;
    KivPushButton *m_cancelBtn = nullptr;
    KivPushButton *m_firmwareBtn = nullptr;
    KivPushButton *m_slotSelector = nullptr;
    std::array<KivPushButton *, kSlotCount> m_slotBtns{};
    KivPushButton *m_libraryBtn = nullptr;
    KivPushButton *m_frontBtn = nullptr;
    KivPushButton *m_sideBtn = nullptr;
    std::array<KivPushButton *, kHotspotCount> m_frontSpots{};
    std::array<KivPushButton *, kHotspotCount> m_sideSpots{};
    KivPushButton *m_upBtn = nullptr;
    KivPushButton *m_downBtn = nullptr;

    // Menus.
    QMenu *m_mouseMenu = nullptr;
    QMenu *m_langMenu = nullptr;
    QMenu *m_slotMenu = nullptr;
    QMenu *m_libraryMenu = nullptr;
    std::array<KivAction *, kSlotCount> m_slotActions{};
    KivAction *m_focusAction = nullptr; // the slot menu's entry to the profile per application
    QVector<KivAction *> m_langActions;
};

} // namespace mc
