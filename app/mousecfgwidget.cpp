// Main window: construction in the start-up order, the button dispatcher, the tabs and the
// enabling of the controls while the macro editor records.
#include "app/mousecfgwidget.h"

#include "app/devicelink.h"
#include "app/focusswitcher.h"
#include "app/pendingguard.h"
#include "app/presence.h"
#include "app/profilebar.h"
#include "app/profilelibrary.h"
#include "app/titlemenu.h"
#include "lighting/kivcolorwindow.h"
#include "macro/ui/macrodialog.h"
#include "profile/paths.h"
#include "profile/settings.h"
#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivprocessbar.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScrollArea>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <cstdlib>

namespace mc {

MousecfgWidget::MousecfgWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MousecfgWidget"));
    setWindowTitle(QCoreApplication::translate("MousecfgWidget", "MousecfgWidget"));

    setupScale();

    m_ledDisable = readLedDisable();
    m_disableMacro = readDisableMacro();
    m_colorMode = readColorMode();

    createWorkers();
    // The mouse: fill the table and find the present mice; presence opens the current one.
    startDevices(m_presence->connection());
    m_miceAtStart = presentProductNames(m_presence->connection()).size();

    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);

    const LanguageTable table = readLanguageTable();
    m_langCount = table.count;
    for (int i = 0; i < kMaxLanguages; ++i) {
        m_langNames << table.names[size_t(i)];
        m_langFiles << table.files[size_t(i)];
    }
    m_language = readLanguage();
    if (m_language < 0 || m_language >= kMaxLanguages)
        m_language = 0;
    setUiLanguage(m_language);
    m_translator = new QTranslator(this);

    useProgramStyle();
    buildUi();
    wireWorkers();
    wireProfileBar();
    setupFocusFollowing();
    m_presence->begin();
    loadProfileState(true);
    if (m_langCount < 2)
        m_langBtn->hide();
    loadTranslation(m_language);

    switchTab(m_ledDisable != 0 ? 1 : 0);
    clearHotspotSelection();
    applyTexts();
    layoutPass();
    showViewSide(true);
    switchTab(m_tab);

    setupTray();
    applyStatusDisplay(m_presence->display());
    // Last: the start-up worker decodes these while everything above is built.
    loadFrameImages();
    QTimer::singleShot(200, this, &MousecfgWidget::startupShowRequest);
}

MousecfgWidget::~MousecfgWidget()
{
    // The poller's loop ends before the handles close.
    m_presence->stop();
    shutdownDevices(m_presence->connection());
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator);
}

void MousecfgWidget::onButtonClicked()
{
    auto *b = qobject_cast<KivPushButton *>(sender());
    if (!b)
        return;
    if (b == m_closeBtn) {
        close();
    } else if (b == m_minBtn) {
        showMinimized();
    } else if (b == m_loadBtn) {
        // A loaded configuration replaces every slot: edits not yet written are asked about.
        if (confirmDrop(QObject::tr("LOAD A CONFIGURATION"), PendingGuard::kAll)) {
            m_writeConfirmation = QObject::tr("CONFIGURATION LOADED AND WRITTEN TO THE MOUSE.");
            dispatchProfileButton(b);
            m_writeConfirmation.clear();
        }
    } else if (b == m_frontBtn) {
        showViewSide(true);
    } else if (b == m_sideBtn) {
        showViewSide(false);
    } else if (dispatchProfileButton(b)) {
    } else if (b == m_upBtn || b == m_downBtn) {
        SelBtnChanged(b == m_upBtn ? 0 : 1, 2);
    } else {
        for (int j = 0; j < kTabCount; ++j) {
            if (b == m_tabs[size_t(j)])
                switchTab(j);
        }
        // Only a slot button moves the highlight: any other button leaves it on the current
        // slot.
        if (std::find(m_slotBtns.begin(), m_slotBtns.end(), b) != m_slotBtns.end()) {
            for (KivPushButton *slotBtn : m_slotBtns)
                slotBtn->setState(slotBtn == b ? 1 : 0);
        }
        for (int k = 0; k < kHotspotCount; ++k) {
            if (b == m_frontSpots[size_t(k)])
                SelBtnChanged(quint8(k), 0);
            else if (b == m_sideSpots[size_t(k)])
                SelBtnChanged(quint8(k), 1);
        }
    }
}

void MousecfgWidget::onTabPressed(KivPushButton *btn)
{
    for (int j = 0; j < kTabCount; ++j) {
        if (btn == m_tabs[size_t(j)])
            switchTab(j);
    }
}

void MousecfgWidget::switchTab(int j)
{
    j = qBound(0, j, kTabCount - 1);
    if (j == 0 && m_ledDisable != 0)
        j = 1;
    m_tab = j;
    for (int i = 0; i < kTabCount; ++i)
        m_tabs[size_t(i)]->setState(i == j ? 1 : 0);

    m_lightingPanel->setVisible(j == 0);
    m_modelLabel->setVisible(j == 0 || j == 1);
    // Controls without a place stay hidden, so that the keyboard cannot reach them either.
    m_frontBtn->setVisible(j == 1 && !m_frontBtn->geometry().isEmpty());
    m_sideBtn->setVisible(j == 1 && !m_sideBtn->geometry().isEmpty());
    if (j == 1)
        ensureButtonPanel();
    if (m_buttonPanel)
        m_buttonPanel->setVisible(j == 1);
    m_scroll->setVisible(j == 1 && !m_scroll->geometry().isEmpty());
    if (j == 2)
        ensureDpiPanels();
    if (m_dpiPanel) {
        m_dpiPanel->setVisible(j == 2);
        m_pointerPanel->setVisible(j == 2);
        m_ratePanel->setVisible(j == 2);
    }
    if (j == 3)
        macroPanel()->show();
    else if (m_macroPanel)
        m_macroPanel->hide();
    showScope();
    // Pictures and hotspots follow the tab and, on CUSTOMIZE, the view side.
    showViewSide(m_viewFront);
    if (m_frontPic->pixmap(Qt::ReturnByValue).isNull())
        m_frontPic->hide();
}

void MousecfgWidget::slotGotoMacro(quint8 iBtn)
{
    switchTab(iBtn);
}

void MousecfgWidget::slotPopOneClickBox()
{
    KivMessageBox::ask(2, QObject::tr("Warning"),
                       QObject::tr("AT LEAST ONE CLICK FUNCTION TO BE RETAINED."), this);
}

void MousecfgWidget::slotEnableButtons(bool bEnable)
{
    for (KivPushButton *b : m_tabs)
        b->setEnabled(bEnable);
    for (KivPushButton *b :
         {m_langBtn, m_closeBtn, m_minBtn, m_firmwareBtn, m_slotSelector, m_exportBtn, m_importBtn,
          m_resetBtn, m_addBtn, m_delBtn, m_copyBtn, m_resetAllBtn, m_okBtn, m_cancelBtn,
          m_applyBtn, m_loadBtn, m_saveBtn, m_libraryBtn, m_mouseBtn})
        b->setEnabled(bEnable);
    m_nameEdit->setEnabled(bEnable);
    m_bar->setEnabled(bEnable);
    m_menuBtn->setEnabled(bEnable);
    if (bEnable) // the selected tab keeps its highlight
        m_tabs[size_t(m_tab)]->setState(1);
    // The macro editor disables the controls while it records: no profile switch then.
    m_recording = !bEnable;
    if (bEnable)
        m_focusSwitcher->retry();
}

void MousecfgWidget::slotLiftChange(quint8 iLift)
{
    m_lift = iLift;
}

bool MousecfgWidget::hasDevice() const
{
    return m_presence->hasDevice();
}

bool MousecfgWidget::warningOpen() const
{
    return m_presence->warningOpen();
}

} // namespace mc
