// Building the main window's children and the layout pass that places them at the current
// scale factor. Geometry is in design pixels of the 999 x 640 window; most profile controls
// exist and work but have an empty geometry, as the product shows them.
#include "app/mousecfgwidget.h"
#include "app/pendingguard.h"
#include "app/presence.h"
#include "buttons/ui/kivbtnwindow.h"
#include "lighting/kivcolorwindow.h"
#include "macro/ui/macrodialog.h"
#include "performance/kivdpiwindow.h"
#include "performance/kivpointspeed.h"
#include "performance/kivreportrate.h"
#include "profile/profilestore.h"
#include "profile/settings.h"
#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "widgets/kivprocessbar.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QToolTip>

namespace mc {

namespace {

QStringList skins(std::initializer_list<const char *> names)
{
    QStringList list;
    for (const char *n : names)
        list << skinPath(QLatin1String(n));
    return list;
}

// The darkest colour of the window background image.
const QColor kWindowUnderSkin(13, 14, 17);

const std::initializer_list<const char *> kPlainButton = {"tabbutton-1.png", "tabbutton-3.png",
                                                          "tabbutton-2.png"};

void place(QWidget *w, int x, int y, int width, int height)
{
    w->setGeometry(scaledRect(x, y, width, height));
}

// Without a place a control is also hidden: nothing that cannot be seen can be reached.
void empty(QWidget *w)
{
    w->setGeometry(0, 0, 0, 0);
    w->hide();
}

} // namespace

KivPushButton *MousecfgWidget::makeButton(const QStringList &images, const QString &single)
{
    auto *b = new KivPushButton(images, this, single);
    connect(b, &QPushButton::clicked, this, &MousecfgWidget::onButtonClicked);
    return b;
}

void MousecfgWidget::buildPanels()
{
    // Placed first at the rectangles the panels used to have; the layout pass moves them.
    m_lightingPanel = m_colorWindow = new KivColorWindow(m_store, this);
    place(m_lightingPanel, 285, 342, 664, 199);

    m_scroll = new QScrollArea(this);
    m_scroll->setStyleSheet(
        QStringLiteral("QScrollArea{background-color:transparent;margin:0px;border:0px}"));
    m_scroll->viewport()->setStyleSheet(QStringLiteral("background-color:transparent;margin:0px;"));
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void MousecfgWidget::buildUi()
{
    // Scaled, the window's shape has partly transparent edge pixels, which show the window's
    // own background: dark like the skin, not the platform's light grey, or the rounded
    // corners get a pale rim.
    QPalette dark = palette();
    dark.setColor(QPalette::Window, kWindowUnderSkin);
    setPalette(dark);

    buildPanels();

    m_frontPic = new QLabel(this);
    m_sidePic = new QLabel(this);
    m_logo = new QLabel(this);
    m_chargePic = new QLabel(this);
    m_donglePic = new QLabel(this);
    for (QLabel *l : {m_frontPic, m_sidePic, m_logo, m_chargePic, m_donglePic})
        l->setAlignment(Qt::AlignCenter);
    m_chargePic->hide();
    m_modelLabel = new KivLabel(this);
    m_modelLabel->setAlignment(Qt::AlignCenter);
    m_versionLabel = new KivLabel(this);
    m_nameLabel = new KivLabel(this);
    m_battery = new KivProcessbar(this);
    m_battery->setRange(0, 100);

    m_mouseBtn = makeButton(skins(kPlainButton));
    m_langBtn = makeButton(skins({"lang.png", "lang2.png"}));
    m_minBtn = makeButton(skins({"min-1.png", "min-2.png", "min-3.png"}));
    m_closeBtn = makeButton(skins({"close-1.png", "close-2.png", "close-3.png"}));
    for (int i = 0; i < kTabCount; ++i) {
        m_tabs[size_t(i)] =
            makeButton(skins({"tabbutton2-1.png", "tabbutton2-3.png", "tabbutton2-2.png"}));
        // Checkable, so that the selected tab keeps its image when the cursor leaves it.
        m_tabs[size_t(i)]->setCheckable(true);
        connect(m_tabs[size_t(i)], &KivPushButton::EnterSignal, this,
                &MousecfgWidget::onTabPressed);
    }
    m_resetAllBtn = makeButton(skins({"Reset1.png", "Reset2.png"}));
    m_loadBtn = makeButton(skins({"Import1.png", "Import2.png"}));
    m_saveBtn = makeButton(skins({"Export1.png", "Export2.png"}));
    m_applyBtn = makeButton(skins(kPlainButton));

    m_addBtn = makeButton(skins({"profile_add1.png", "profile_add2.png"}));
    m_delBtn = makeButton(skins({"profile_del1.png", "profile_del2.png"}));
    m_exportBtn = makeButton(skins({"profile_export1.png"}));
    m_importBtn = makeButton(skins({"profile_import1.png", "profile_import2.png"}));
    m_copyBtn = makeButton(skins({"profile_copy1.png", "profile_copy2.png"}));
    m_resetBtn = makeButton(skins({"profile_reset1.png", "profile_reset2.png"}));
    m_okBtn = makeButton(skins(kPlainButton));
    m_cancelBtn = makeButton(skins(kPlainButton));
    m_firmwareBtn = new KivPushButton(skins(kPlainButton), this);
    // Prompting on the click only: asking on the press as well would put the question twice.
    connect(m_firmwareBtn, &QPushButton::clicked, this, &MousecfgWidget::onFirmwareClicked);
    m_slotSelector = makeButton(skins({"profilesel.png"}));
    for (auto &b : m_slotBtns) {
        b = makeButton(skins({"profile_edit_name_1.png", "profile_edit_name_2.png"}));
        b->setCheckable(true);
    }
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setStyleSheet(
        QStringLiteral("QLineEdit{border-width:2px;background-color:rgb(30,30,30);color:white}"
                       "QToolTip{background-color:black}"));
    connect(m_nameEdit, &QLineEdit::returnPressed, this, &MousecfgWidget::slotProfileNameChange);
    m_libraryBtn = makeButton(skins({"profile_apply1.png"}));
    m_frontBtn = makeButton({});
    m_sideBtn = makeButton({});
    m_frontBtn->setVertical(true);
    m_sideBtn->setVertical(true);
    for (int i = 0; i < kHotspotCount; ++i) {
        for (auto *spots : {&m_frontSpots, &m_sideSpots}) {
            KivPushButton *b = makeButton(skins({"btn_2.png", "btn_1.png"}));
            b->setRound(true);
            b->setCheckable(true);
            b->setThemeHighlight(true);
            (*spots)[size_t(i)] = b;
        }
    }
    m_upBtn = makeButton({});
    m_downBtn = makeButton({});

    for (KivPushButton *b :
         {m_exportBtn, m_importBtn, m_resetBtn, m_addBtn, m_delBtn, m_copyBtn, m_okBtn, m_cancelBtn,
          m_langBtn, m_firmwareBtn, m_frontBtn, m_sideBtn, m_upBtn, m_downBtn})
        b->setThemeHighlight(true);

    m_mouseMenu = new QMenu(this);
    buildLanguageMenu();
    buildSlotMenu();
    m_libraryMenu = new QMenu(this);
    styleMenu(m_libraryMenu);
    m_libraryBtn->setMenu(m_libraryMenu);

    // The profile controls of the product's own layout have no room in the window; the profile
    // bar does their work. Neither they nor the hotspots without a place take the focus.
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_addBtn, m_delBtn, m_importBtn, m_exportBtn, m_copyBtn, m_resetBtn, m_okBtn,
             m_cancelBtn, m_firmwareBtn, m_slotSelector, m_nameEdit, m_libraryBtn, m_frontBtn,
             m_sideBtn, m_upBtn, m_downBtn})
        w->setFocusPolicy(Qt::NoFocus);
    for (KivPushButton *b : m_slotBtns)
        b->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < kHotspotCount; ++i) {
        m_frontSpots[size_t(i)]->setFocusPolicy(Qt::NoFocus);
        m_sideSpots[size_t(i)]->setFocusPolicy(Qt::NoFocus);
    }
    m_scroll->setFocusPolicy(Qt::NoFocus);
    buildProfileBar();
}

void MousecfgWidget::buildLanguageMenu()
{
    m_langMenu = new QMenu(this);
    styleMenu(m_langMenu);
    m_langActions.clear();
    for (int i = 0; i < m_langCount; ++i) {
        auto *a = new KivAction(m_langNames.value(i), m_langMenu);
        m_langMenu->addAction(a);
        m_langActions.append(a);
        connect(a, &QAction::triggered, this, [this, i] { switchLanguage(i); });
    }
    m_langBtn->setMenu(m_langMenu);
}

void MousecfgWidget::buildSlotMenu()
{
    m_slotMenu = new QMenu(this);
    styleMenu(m_slotMenu);
    for (int i = 0; i < kSlotCount; ++i) {
        auto *a = new KivAction(m_slotMenu);
        m_slotActions[size_t(i)] = a;
        m_slotMenu->addAction(a);
    }
    m_slotMenu->addSeparator();
    m_focusAction = new KivAction(m_slotMenu);
    m_slotMenu->addAction(m_focusAction);
    connect(m_focusAction, &QAction::triggered, this, &MousecfgWidget::openFocusRules);
    m_slotSelector->setMenu(m_slotMenu);
}

void MousecfgWidget::applyTexts()
{
    static const char *const kTabTexts[kTabCount] = {
        QT_TRANSLATE_NOOP("QObject", "LIGHTING"), QT_TRANSLATE_NOOP("QObject", "CUSTOMIZE"),
        QT_TRANSLATE_NOOP("QObject", "DPI"), QT_TRANSLATE_NOOP("QObject", "MACRO")};
    for (int i = 0; i < kTabCount; ++i)
        m_tabs[size_t(i)]->setText(QObject::tr(kTabTexts[i]));
    for (int i = 0; i < kSlotCount; ++i) {
        m_slotBtns[size_t(i)]->setText(QObject::tr("Profile") + QString::asprintf(" %d", i + 1));
        m_slotActions[size_t(i)]->setText(QObject::tr("Mode") + QString::asprintf(" %d", i + 1));
    }
    m_slotSelector->setText(m_slotActions[size_t(qBound(0, m_slot, kSlotCount - 1))]->text());
    m_focusAction->setText(QObject::tr("Profile per application..."));
    m_nameEdit->setToolTip(QObject::tr("Press Enter To Apply"));
    m_nameLabel->setText(QObject::tr("NAME"));
    m_addBtn->setText(QObject::tr("ADD"));
    m_delBtn->setText(QObject::tr("DELETE"));
    m_copyBtn->setText(QObject::tr("COPY"));
    m_okBtn->setText(QObject::tr("OK"));
    m_cancelBtn->setText(QObject::tr("Cancel"));
    m_resetBtn->setText(QObject::tr("RESET"));
    // The three bottom-bar icons are too small to carry a word: their texts are tool tips.
    m_resetAllBtn->setToolTip(QObject::tr("Reset All"));
    m_loadBtn->setToolTip(QObject::tr("LOAD1"));
    m_saveBtn->setToolTip(QObject::tr("SAVE"));
    m_applyBtn->setText(QObject::tr("Apply"));
    m_firmwareBtn->setText(QObject::tr("Firmware Update"));
    m_frontBtn->setText(QObject::tr("Front"));
    m_sideBtn->setText(QObject::tr("Side"));
    m_versionLabel->setText(QString());
    m_modelLabel->setText(readModel());
    if (m_language >= 0 && m_language < m_langCount)
        m_langBtn->setText(m_langNames.value(m_language));
    if (m_tray)
        applyTrayTexts();
    if (m_guard)
        showPending(m_guard->pending());
}

void MousecfgWidget::retranslate()
{
    applyTexts();
    if (m_dpiPanel) {
        m_dpiPanel->retranslate();
        m_ratePanel->retranslate();
        m_pointerPanel->retranslate();
    }
    m_colorWindow->setTexts();
    if (m_btnWindow)
        m_btnWindow->RetranslateUi();
    if (m_macroPanel)
        m_macroPanel->RetranslateUi();
    layoutPass();
}

// The button panel, like the DPI tab's panels, is built once the first frame is out (or when
// its tab is opened first).
void MousecfgWidget::ensureButtonPanel()
{
    if (m_btnWindow)
        return;
    m_btnWindow = new KivBtnWindow(&m_store.profiles[size_t(m_slot)], this, scaleFactor());
    m_btnWindow->SetSharedRecord(&m_store.profiles[0]);
    m_buttonPanel = m_btnWindow;
    m_buttonPanel->setVisible(m_tab == 1);
    connect(m_btnWindow, &KivBtnWindow::SelBtnControl, this, &MousecfgWidget::slotMouseOver);
    connect(m_btnWindow, &KivBtnWindow::GotoMacroTab, this, &MousecfgWidget::slotGotoMacro);
    connect(m_btnWindow, &KivBtnWindow::PopOneClickBox, this, &MousecfgWidget::slotPopOneClickBox);
    placeButtonPanel();
    orderFocusChain();
}

void MousecfgWidget::placeButtonPanel()
{
    place(m_buttonPanel, 285, 99, 332, 440);
    m_btnWindow->SetScale(scaleFactor());
}

// The DPI tab's panels are built once the first frame is out (or when something needs them
// earlier): nothing of them is on that frame, and they take a good share of the start-up.
void MousecfgWidget::ensureDpiPanels()
{
    if (m_dpiPanel)
        return;
    m_dpiPanel = new KivDPIWindow(ProfileData(), this);
    m_pointerPanel = new KivPointSpeed(this);
    m_ratePanel = new KivReportRate(this);
    for (QWidget *w : {static_cast<QWidget *>(m_dpiPanel), static_cast<QWidget *>(m_pointerPanel),
                       static_cast<QWidget *>(m_ratePanel)})
        w->setVisible(m_tab == 2);
    placeDpiPanels();
    connect(m_ratePanel, &KivReportRate::RefreshLift, this, &MousecfgWidget::slotLiftChange);
    // One lift-off value, whichever panel shows it.
    connect(m_ratePanel, &KivReportRate::RefreshLift, m_pointerPanel, &KivPointSpeed::setLift);
    connect(m_presence, &DevicePresence::stageSelected, m_dpiPanel,
            [this](int iStage) { m_dpiPanel->selectStage(quint8(iStage)); });
    connect(m_presence, &DevicePresence::rateShown, m_ratePanel, [this] {
        m_ratePanel->refresh(m_store.profiles[size_t(m_slot)], m_pointerPanel->lift());
    });
    refreshDpiPanels();
    // What the panels show of the loaded settings is no edit of the user's.
    if (m_guard && !m_guard->hasPending())
        m_guard->rebase();
    if (m_bar)
        orderFocusChain();
}

void MousecfgWidget::placeDpiPanels()
{
    place(m_dpiPanel, 285, 90, 456, 460);
    place(m_pointerPanel, 746, 185, 229, 366);
    place(m_ratePanel, 746, 90, 229, 90);
}

// The macro editor is built when its tab is first opened: it is the largest panel, and the
// first frame (and most sessions) never show it.
MacroDialog *MousecfgWidget::macroPanel()
{
    if (!m_macroPanel) {
        m_macroPanel = new MacroDialog(this);
        m_macroPanel->hide();
        place(m_macroPanel, 285, 90, 665, 467);
        // While the editor records or edits an action, the window's own controls rest.
        connect(m_macroPanel, &MacroDialog::EnableButtonsSignal, this,
                &MousecfgWidget::slotEnableButtons);
        // The buttons that ran the macro keep running it: under its old name the mouse would
        // get an empty macro. The panels' pending edits are taken in first and shown again.
        connect(m_macroPanel, &MacroDialog::macroRenamed, this,
                [this](const QString &from, const QString &to) {
                    collectPanels();
                    if (renameMacroInStore(m_store, from, to) > 0)
                        refreshPanels();
                });
        orderFocusChain();
    }
    return m_macroPanel;
}

void MousecfgWidget::layoutPass()
{
    // Pictures first: for one product they place "Front" and "Side", which this pass empties.
    loadProductPictures();
    place(m_lightingPanel, 285, 90, 351, 440);
    if (m_btnWindow)
        placeButtonPanel();
    empty(m_scroll);
    if (m_dpiPanel)
        placeDpiPanels();
    if (m_macroPanel)
        place(m_macroPanel, 285, 90, 665, 467);
    place(m_frontPic, 637, 99, 300, 400);
    place(m_sidePic, 637, 99, 316, 443);
    place(m_modelLabel, 637, 515, 300, 20);
    place(m_logo, 69, 20, 200, 50);
    place(m_mouseBtn, 670, 33, 100, 20);
    place(m_langBtn, 774, 33, 105, 20);
    place(m_minBtn, 903, 33, 19, 19);
    place(m_closeBtn, 924, 33, 19, 19);
    for (int i = 0; i < kTabCount; ++i)
        place(m_tabs[size_t(i)], 69, 90 + 34 * i, 149, 25);
    if (m_ledDisable != 0)
        empty(m_tabs[0]);
    if (m_disableMacro != 0)
        empty(m_tabs[3]);
    place(m_resetAllBtn, 600, 591, 26, 25);
    place(m_loadBtn, 675, 591, 26, 25);
    place(m_saveBtn, 751, 591, 26, 25);
    place(m_applyBtn, 812, 588, 138, 35);
    place(m_versionLabel, 757, 594, 190, 20);
    place(m_battery, 75, 587, 71, 34);
    place(m_chargePic, 174, 584, 26, 40);
    place(m_donglePic, 174, 581, 48, 48);
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_addBtn, m_delBtn, m_importBtn, m_exportBtn, m_copyBtn, m_resetBtn, m_okBtn,
             m_cancelBtn, m_firmwareBtn, m_slotSelector, m_nameEdit, m_nameLabel, m_libraryBtn,
             m_frontBtn, m_sideBtn})
        empty(w);
    for (KivPushButton *b : m_slotBtns)
        empty(b);
    placeProfileBar();

    const QFont font = sharedFont();
    m_nameEdit->setFont(font);
    QToolTip::setFont(font);
    m_langMenu->setFixedWidth(scaled(105));
    m_slotMenu->setFixedWidth(scaled(152));
    m_libraryMenu->setFixedWidth(scaled(152));
    for (QMenu *menu : {m_langMenu, m_slotMenu, m_libraryMenu}) {
        menu->setFont(font);
        for (QAction *a : menu->actions())
            a->setFont(font);
    }
}

} // namespace mc
