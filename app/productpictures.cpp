// Product pictures, hotspots and their hover pictures, the menu of connected mice and the
// switch from one mouse to another.
#include "app/devicelink.h"
#include "app/log.h"
#include "app/mousecfgwidget.h"
#include "app/pendingguard.h"
#include "app/presence.h"
#include "app/profilelibrary.h"
#include "buttons/ui/kivbtnwindow.h"

#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/profilestore.h"
#include "profile/settings.h"
#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QThread>

namespace mc {

namespace {

// Products whose up/down hotspots use the squarer pair of images.
const char *const kSquareArrowProducts[] = {
    "ZELVARO2",  "KORRIN",   "BRELLIX",  "SANDVEK XR", "SANDVEK",    "MORVAK",
    "MORVAK3",   "TELLUN",   "9173",     "Q630-RGB",   "9173-P5151", "DRISKEL",
    "Q281",      "Q282",     "Q290-RGB", "VANTORE",    "Q291-PRO",   "Q291-RGB",
    "Q291-RGB2", "ORRIKAN2", "HALVEEN2", "CASTRELL"};

bool usesSquareArrows(const QString &product)
{
    for (const char *name : kSquareArrowProducts) {
        if (product == QLatin1String(name))
            return true;
    }
    return false;
}

QPixmap scaledPicture(const QString &path, int w, int h)
{
    const QPixmap pm = skinPixmap(path);
    if (pm.isNull())
        return pm;
    return pm.scaled(scaled(w), scaled(h), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void setPicture(QLabel *label, const QPixmap &pm)
{
    if (pm.isNull())
        label->clear();
    else
        label->setPixmap(pm);
}

} // namespace

void MousecfgWidget::loadProductPictures()
{
    const QString product = readCurrentProduct();
    const QPixmap front = scaledPicture(productPicturePath(QStringLiteral("/Mouse.png")), 300, 400);
    setPicture(m_frontPic, front);
    if (front.isNull())
        m_frontPic->hide();
    // The side picture is read when the side view is first shown.
    m_sidePic->clear();
    m_sidePicLoaded = false;
    setPicture(m_chargePic, scaledPicture(skinPath(QStringLiteral("lightning.png")), 26, 40));
    setPicture(m_donglePic, scaledPicture(skinPath(QStringLiteral("dongle.png")), 48, 48));
    setPicture(m_logo, scaledPicture(skinPath(QStringLiteral("mouselogo.png")), 200, 50));

    const bool square = usesSquareArrows(product);
    m_upBtn->setImages(
        {skinPath(square ? QStringLiteral("btn_up4.png") : QStringLiteral("btn_up2.png")),
         skinPath(square ? QStringLiteral("btn_up3.png") : QStringLiteral("btn_up1.png"))});
    m_downBtn->setImages(
        {skinPath(square ? QStringLiteral("btn_down4.png") : QStringLiteral("btn_down2.png")),
         skinPath(square ? QStringLiteral("btn_down3.png") : QStringLiteral("btn_down1.png"))});

    for (int i = 0; i < kHotspotCount; ++i) {
        m_frontSpots[size_t(i)]->setGeometry(0, 0, 0, 0);
        m_sideSpots[size_t(i)]->setGeometry(0, 0, 0, 0);
    }
    m_upBtn->setGeometry(0, 0, 0, 0);
    m_downBtn->setGeometry(0, 0, 0, 0);
    if (product == QLatin1String("Wireless Mouse")) {
        // Fixed, unscaled rectangles: a following layout pass empties them again.
        m_frontBtn->setGeometry(530, 321, 96, 20);
        m_sideBtn->setGeometry(631, 321, 96, 20);
        m_frontBtn->setVisible(m_tab == 1);
        m_sideBtn->setVisible(m_tab == 1);
    }
}

void MousecfgWidget::setHotspotImages()
{
    for (int i = 0; i < kHotspotCount; ++i) {
        m_frontSpots[size_t(i)]->setState(0);
        m_sideSpots[size_t(i)]->setState(0);
    }
    m_upBtn->setState(0);
    m_downBtn->setState(0);
    KivPushButton *selected = nullptr;
    const int i = m_selIndex;
    if (m_selKind == 0 && i >= 0 && i < kHotspotCount)
        selected = m_frontSpots[size_t(i)];
    else if (m_selKind == 1 && i >= 0 && i < kHotspotCount)
        selected = m_sideSpots[size_t(i)];
    else if (m_selKind == 2 && (i == 0 || i == 1))
        selected = i == 0 ? m_upBtn : m_downBtn;
    if (selected)
        selected->setState(1);
}

void MousecfgWidget::SelBtnChanged(quint8 iBtn, quint8 iType)
{
    m_selKind = iType;
    m_selIndex = iBtn;
    setHotspotImages();
}

void MousecfgWidget::clearHotspotSelection()
{
    m_selKind = 0;
    m_selIndex = -1;
    setHotspotImages();
}

void MousecfgWidget::showViewSide(bool bFront)
{
    m_viewFront = bFront;
    const bool customize = m_tab == 1;
    m_frontPic->setVisible(customize ? bFront : m_tab == 0);
    if (customize && !bFront && !m_sidePicLoaded) {
        setPicture(m_sidePic,
                   scaledPicture(productPicturePath(QStringLiteral("_Side.png")), 300, 300));
        m_sidePicLoaded = true;
    }
    m_sidePic->setVisible(customize && !bFront);
    // A hotspot without a place on the picture stays hidden: the keyboard cannot reach it.
    const auto show = [](QWidget *w, bool bOn) { w->setVisible(bOn && !w->geometry().isEmpty()); };
    for (int i = 0; i < kHotspotCount; ++i) {
        show(m_frontSpots[size_t(i)], customize && bFront);
        show(m_sideSpots[size_t(i)], customize && !bFront);
    }
    show(m_upBtn, customize && bFront);
    show(m_downBtn, customize && bFront);
    m_frontBtn->setState(bFront ? 1 : 0);
    m_sideBtn->setState(bFront ? 0 : 1);
}

void MousecfgWidget::slotMouseOver(KivPushButton *btn, bool bType)
{
    // A front hotspot, or a row of the button panel, which stands for the hotspot of its entry.
    int i = -1;
    for (int k = 0; k < kHotspotCount; ++k) {
        if (m_frontSpots[size_t(k)] == btn)
            i = k;
    }
    // A hotspot lights its row in the panel as a row lights its hotspot, so either way the user
    // sees which mouse button the row stands for.
    if (i >= 0 && m_btnWindow) {
        if (KivPushButton *row = m_btnWindow->buttonOfEntry(i))
            row->setState(bType ? 1 : 0);
    }
    if (i < 0 && m_btnWindow) {
        const int entry = m_btnWindow->entryOfButton(btn);
        if (entry >= 0 && entry < kHotspotCount)
            i = entry;
    }
    if (i < 0)
        return;
    m_frontSpots[size_t(i)]->setState(bType ? 1 : 0);
    QPixmap pm;
    if (bType)
        pm =
            scaledPicture(productPicturePath(QStringLiteral("/mouse_%1.png").arg(i + 1)), 300, 400);
    if (pm.isNull())
        pm = scaledPicture(productPicturePath(QStringLiteral("/Mouse.png")), 300, 400);
    setPicture(m_frontPic, pm);
}

void MousecfgWidget::refreshMouseList()
{
    rebuildMouseMenu(presentProductNames(m_presence->connection()));
    if (m_mice.size() == 1)
        writeCurrentProduct(m_mice.first());
    else if (m_mice.isEmpty())
        writeCurrentProduct(QString());
    else if (!m_mice.contains(readCurrentProduct()))
        writeCurrentProduct(m_mice.first());
    m_mouseBtn->setText(readCurrentProduct());
}

void MousecfgWidget::rebuildMouseMenu(const QStringList &names)
{
    m_mice = names;
    delete m_mouseMenu;
    m_mouseMenu = new QMenu(this);
    for (const QString &name : m_mice)
        m_mouseMenu->addAction(name);
    if (m_mice.size() < 2) {
        m_mouseBtn->hide();
        return;
    }
    m_mouseBtn->show();
    m_mouseBtn->setText(readCurrentProduct());
    connect(m_mouseMenu, &QMenu::triggered, this, &MousecfgWidget::slot_show_mousename);
    m_mouseBtn->setMenu(m_mouseMenu);
    m_mouseMenu->setFixedWidth(int(150 * scaleFactor()));
    styleMenu(m_mouseMenu);
}

void MousecfgWidget::slot_show_mousename(QAction *action)
{
    if (!action)
        return;
    // Stopping the poller waits for its loop, so the handles are ours without pauses.
    m_presence->stop();
    closeMouse(m_presence->connection());
    m_viewFront = true;
    m_selKind = 0;
    m_selIndex = -1;
    const QString name = action->text();
    m_mouseBtn->setText(name);
    writeCurrentProduct(name);
    openMouse(m_presence->connection(), name);
    loadProfileState();
    reloadForProduct(true);
    switchTab(0);
    setHotspotImages();
    m_presence->start();
}

void MousecfgWidget::reloadForProduct(bool bLayout)
{
    if (bLayout)
        layoutPass(); // the product pictures first, then every geometry and font
    else
        loadProductPictures();
    m_modelLabel->setText(readModel());
    m_slot = m_store.ProfileID;
    m_slotSelector->setText(m_slotActions[size_t(m_slot)]->text());
    m_nameEdit->setText(m_store.names[size_t(m_slot)]);
    m_tray->setToolTip(readCurrentProduct());
}

void MousecfgWidget::loadProfileState(bool atStart)
{
    m_loadedProduct = readCurrentProduct();
    LoadStore(m_store);
    m_lastStore = m_store;
    m_slot = m_store.ProfileID;
    m_profiles->loadLibrary();
    if (!atStart)
        WriteDefaultProfileFile();
    // The panels show what was loaded: "Apply" collects them, so a panel still showing the
    // previous (or no) profile would write that to the mouse.
    refreshPanels();
    m_guard->rebase();
}

void MousecfgWidget::rebuildLibraryMenu()
{
    m_libraryMenu->clear();
    for (const QString &name : qAsConst(m_library))
        m_libraryMenu->addAction(name);
    styleMenu(m_libraryMenu);
}

void MousecfgWidget::slotWarnClose()
{
    // Presence has opened the mouse and runs the poller; the window reads the new product.
    m_viewFront = true;
    m_selKind = 0;
    m_selIndex = -1;
    // The same mouse back (a re-plug, a receiver that slept): edits not yet written stay, and
    // the first write sends everything to it. Another mouse reads its own settings.
    m_guard->recheck();
    if (readCurrentProduct() == m_loadedProduct && m_guard->hasPending()) {
        qCDebug(lcApp, "the mouse is back: edits not yet written are kept");
        collectPanels();
        m_profiles->loadLibrary();
        WriteDefaultProfileFile();
        refreshPanels();
    } else {
        loadProfileState();
    }
    reloadForProduct(false);
    switchTab(0);
    SelBtnChanged(0, 0);
    // Without a tray nothing else could bring back a window the user put away while the mouse
    // was missing.
    if ((isMinimized() || isHidden()) && !trayShown()) {
        showNormal();
        raise();
    }
    m_guard->recheck();
}

} // namespace mc
