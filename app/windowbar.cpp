// The window's wiring of the parts that keep the user informed: the profile bar (the five
// on-board profiles in view, the library's operations), the guard of edits not yet written
// (asked before anything replaces them, marked on "Apply" and in the bar), the confirmation
// line after a write, and the program's menu in the title bar.
#include "app/mousecfgwidget.h"

#include "app/kivfocusrulesdialog.h"
#include "app/log.h"
#include "app/pendingguard.h"
#include "app/presence.h"
#include "app/profilebar.h"
#include "app/profilelibrary.h"
#include "app/titlemenu.h"
#include "app/writecontroller.h"
#include "buttons/ui/kivbtnwindow.h"
#include "lighting/kivcolorwindow.h"
#include "macro/ui/macrodialog.h"
#include "widgets/kivlabel.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace mc {

namespace {

// How long the confirmation of a write stays in view.
constexpr int kFeedbackMs = 4000;

} // namespace

void MousecfgWidget::buildProfileBar()
{
    m_bar = new ProfileBar(this);
    m_scope = new KivLabel(this);
    m_scope->setWordWrap(true);
    m_scope->setSizeDecrement(1);
    m_scope->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_feedback = new KivLabel(this);
    m_feedback->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_feedback->setWordWrap(true); // a notice may take two lines
    m_feedbackTimer = new QTimer(this);
    m_feedbackTimer->setSingleShot(true);
    connect(m_feedbackTimer, &QTimer::timeout, m_feedback, [this] { m_feedback->setText({}); });

    m_titleMenu = new TitleMenu(this);
    m_menuBtn = new TitleMenuButton(this);
    m_menuBtn->setMenu(m_titleMenu->menu());

    PendingGuard::Hooks hooks;
    hooks.snapshot = [this] { return pendingSnapshot(); };
    hooks.ask = [this](const QString &what) {
        const int choice = KivMessageBox::choose(
            QObject::tr("Warning"),
            QObject::tr("CHANGES NOT YET APPLIED TO THE MOUSE WOULD BE LOST: %1.").arg(what),
            {QObject::tr("APPLY"), QObject::tr("DISCARD"), QObject::tr("CANCEL")}, this);
        return choice == 0   ? PendingGuard::Apply
               : choice == 1 ? PendingGuard::Discard
                             : PendingGuard::Cancel;
    };
    hooks.apply = [this] { return applyPending(); };
    hooks.discard = [this] { discardPending(); };
    m_guard = new PendingGuard(hooks, this);
    // The user's input may have changed a panel: compared again once it has been handled.
    qApp->installEventFilter(this);
}

void MousecfgWidget::wireProfileBar()
{
    ProfileBar *bar = m_bar;
    ProfileLibrary *l = m_profiles;
    connect(bar, &ProfileBar::slotClicked, this, &MousecfgWidget::onBarSlotClicked);
    connect(bar, &ProfileBar::libraryEntryChosen, this, [this](int n) {
        if (confirmDrop(QObject::tr("ANOTHER PROFILE FOR THIS SLOT"), 1 << m_slot))
            m_profiles->chooseLibraryEntry(n);
    });
    connect(bar, &ProfileBar::operationRequested, this, &MousecfgWidget::onBarOperation);
    connect(bar, &ProfileBar::renameRequested, this,
            [this](const QString &name) { m_profiles->rename(name, true); });

    // What the panels hold but the store does not yet is taken in before another slot shows.
    connect(
        l, &ProfileLibrary::slotLeaving, this, [this] { collectPanels(); }, Qt::DirectConnection);
    connect(l, &ProfileLibrary::currentChanged, this, [this](int iProfile, const QString &) {
        m_bar->setNames(m_store.names);
        m_bar->setEditedSlot(iProfile);
        m_bar->setLibrary(m_library, m_store.names[size_t(iProfile)]);
        m_guard->recheck();
        showScope();
    });
    connect(l, &ProfileLibrary::libraryChanged, this, [this](const QStringList &names) {
        m_bar->setNames(m_store.names);
        m_bar->setLibrary(names, m_store.names[size_t(m_slot)]);
    });
    connect(l, &ProfileLibrary::panelsRefreshRequested, m_guard, &PendingGuard::recheck,
            Qt::QueuedConnection);
    connect(m_guard, &PendingGuard::pendingChanged, this, &MousecfgWidget::showPending);
    // Queued: after the slot's pending state, which clears the line, is known.
    connect(l, &ProfileLibrary::pointerSpeedUnavailable, this, &MousecfgWidget::showFeedback,
            Qt::QueuedConnection);

    // The mouse's own switch: the bar shows it, the display says it.
    connect(m_presence, &DevicePresence::slotSelectRequested, this, [this](int iSlot) {
        showActiveSlot(iSlot);
        announce(slotMenuText(iSlot));
    });
    // A rate the user chose for a slot and has not applied outlives the mouse's report of that
    // slot's rate (the mouse switched to it, or changed its rate itself).
    m_presence->setRateEditProbe([this](int iSlot) {
        if (!m_guard->hasBaseline() || iSlot < 0 || iSlot >= kSlotCount)
            return false;
        const size_t s = size_t(iSlot);
        return pendingSnapshot().profiles[s].pollrate != m_guard->baseline().profiles[s].pollrate;
    });
    connect(m_writer, &WriteController::profileSelected, this, &MousecfgWidget::showActiveSlot);
    connect(m_writer, &WriteController::writeFinished, this, [this](quint8 iResult) {
        const QString confirmation = m_writeConfirmation;
        m_writeConfirmation.clear();
        if (iResult == 0)
            m_guard->rebase();
        else
            m_guard->recheck();
        // A failure keeps its message box (the write controller's).
        if (iResult == 0)
            showFeedback(confirmation.isEmpty() ? QObject::tr("SETTINGS WRITTEN TO THE MOUSE.")
                                                : confirmation);
    });
    connect(m_writer, &WriteController::backgroundWriteFinished, this, [this](quint8 iResult) {
        if (iResult == 0)
            m_guard->rebase();
    });
    showActiveSlot(m_store.ProfileID);
}

void MousecfgWidget::placeProfileBar()
{
    // Under the four tabs, in the left card.
    m_bar->setGeometry(scaledRect(61, 226, 165, 334));
    m_bar->relayout();
    m_bar->retranslate();
    // In the header, between the logo and the menus.
    m_scope->setGeometry(scaledRect(290, 26, 370, 44));
    showScope();
    // Between the battery and "Reset All", in the bottom bar.
    m_feedback->setGeometry(scaledRect(205, 583, 365, 41));
    m_menuBtn->setGeometry(scaledRect(881, 33, 19, 19));
    m_titleMenu->relayout();
    m_titleMenu->menu()->setMinimumWidth(scaled(220));
    orderFocusChain();
}

void MousecfgWidget::onBarSlotClicked(int iSlot)
{
    if (iSlot == m_slot) {
        m_bar->setEditedSlot(iSlot);
        return;
    }
    // Edits stay in the store (each slot keeps its own); the mouse switches with the bar.
    m_profiles->chooseSlot(iSlot);
}

void MousecfgWidget::onBarOperation(int iOperation)
{
    ProfileLibrary *l = m_profiles;
    const int mine = 1 << m_slot;
    switch (iOperation) {
    case ProfileBar::Add:
        if (confirmDrop(QObject::tr("A NEW PROFILE FOR THIS SLOT"), mine))
            l->addProfile();
        break;
    case ProfileBar::Copy:
        collectPanels();
        l->copyProfile();
        break;
    case ProfileBar::Rename:
        break; // the bar has put the focus into the name field
    case ProfileBar::Reset:
        l->resetProfile();
        break;
    case ProfileBar::Delete:
        if (confirmDrop(QObject::tr("ANOTHER PROFILE FOR THIS SLOT"), mine))
            l->deleteProfile();
        break;
    case ProfileBar::Import:
        if (confirmDrop(QObject::tr("ANOTHER PROFILE FOR THIS SLOT"), mine))
            l->importProfile();
        break;
    case ProfileBar::Export:
        l->exportProfile();
        break;
    default:
        break;
    }
    m_guard->recheck();
}

ProfileStore MousecfgWidget::pendingSnapshot() const
{
    ProfileStore s = m_store;
    // The DPI tab's panels hand their values over at Apply: until then they are theirs.
    if (m_dpiPanel) {
        const size_t slot = size_t(qBound(0, m_slot, kSlotCount - 1));
        ProfileData &record = s.profiles[slot];
        // The stages shown are profile 1's, which the mouse uses: they are compared there, not
        // as an edit of another slot's own (unused) stages.
        const auto ownStages = record.stages;
        m_dpiPanel->collect(record);
        m_dpiPanel->collectStages(s.profiles[0]);
        if (slot != 0)
            record.stages = ownStages;
        m_ratePanel->collect(record);
        // The pointer panel writes the wheel speed straight into the record it shows.
        m_pointerPanel->collect(s);
        record.scrollspeed = m_store.profiles[slot].scrollspeed;
    }
    return s;
}

bool MousecfgWidget::applyPending()
{
    if (m_writer->isBusy())
        return false;
    collectPanels();
    m_writer->write(false);
    return m_writer->lastResult() == 0;
}

void MousecfgWidget::discardPending()
{
    // Back to what the mouse was given, slot by slot; names stay, as their files were renamed.
    const int bits = m_guard->pending();
    const ProfileStore &base = m_guard->baseline();
    for (int i = 0; i < kSlotCount; ++i) {
        if (!(bits & (1 << i)))
            continue;
        ProfileData &record = m_store.profiles[size_t(i)];
        ProfileData written = base.profiles[size_t(i)];
        written.ProfileName = record.ProfileName;
        written.ProfilePath = record.ProfilePath;
        written.dpi = record.dpi;
        record = written;
    }
    if (bits & PendingGuard::kStoreWide) {
        m_store.AngleValue = base.AngleValue;
        m_store.LiftHigh = base.LiftHigh;
        m_store.Sync = base.Sync;
        m_store.Jitter = base.Jitter;
        m_store.Debounce = base.Debounce;
    }
    refreshPanels();
    m_guard->rebase();
}

bool MousecfgWidget::confirmDrop(const QString &what, int iBits)
{
    if (!m_guard)
        return true;
    return m_guard->mayDrop(what, iBits);
}

void MousecfgWidget::showPending(int iBits)
{
    m_bar->setPending(iBits);
    // The options all slots share count for the edited one.
    if (iBits & PendingGuard::kStoreWide)
        m_bar->setPending(iBits | (1 << m_slot));
    m_applyBtn->setText(QObject::tr("Apply") + (iBits ? QStringLiteral(" *") : QString()));
    // A confirmation of the last write no longer holds once something new waits.
    if (iBits) {
        m_feedbackTimer->stop();
        m_feedback->setText({});
    }
}

void MousecfgWidget::showFeedback(const QString &text)
{
    qCDebug(lcApp, "confirmed: %s", qUtf8Printable(text));
    m_feedback->setText(text);
    m_feedbackTimer->start(kFeedbackMs);
}

void MousecfgWidget::showActiveSlot(int iSlot)
{
    qCDebug(lcApp, "profile bar: slot %d active, slot %d edited", iSlot + 1, m_slot + 1);
    m_bar->setActiveSlot(iSlot);
}

void MousecfgWidget::showScope()
{
    if (!m_scope)
        return;
    const QString own = QObject::tr("PROFILE %1").arg(m_slot + 1);
    QString text;
    switch (m_tab) {
    case 0:
        text = QObject::tr("EFFECT: %1'S OWN. COLOURS: SHARED BY ALL PROFILES, SET IN PROFILE 1.")
                   .arg(own);
        break;
    case 1:
        text = QObject::tr("BUTTONS: SHARED BY ALL PROFILES, SET IN PROFILE 1.");
        break;
    case 2:
        text = QObject::tr("REPORT RATE, WHEEL SPEED, ACTIVE STAGE: %1'S OWN. DPI STAGES: SHARED, "
                           "SET IN PROFILE 1.")
                   .arg(own);
        break;
    default:
        text = QObject::tr("MACROS: SHARED BY ALL PROFILES.");
        break;
    }
    m_scope->setText(text);
}

void MousecfgWidget::requestQuit()
{
    if (confirmDrop(QObject::tr("QUIT"), PendingGuard::kAll))
        QCoreApplication::quit();
}

void MousecfgWidget::orderFocusChain()
{
    if (!m_bar)
        return;
    // Tab follows the window from the top: the title bar, the tabs, the profile bar, the
    // panel in view (its own order), then the bottom bar.
    QList<QWidget *> chain{m_mouseBtn, m_langBtn, m_menuBtn, m_minBtn, m_closeBtn};
    for (KivPushButton *tab : m_tabs)
        chain << tab;
    chain << m_bar->focusChain();
    for (QWidget *w : chain)
        w->setFocusPolicy(qobject_cast<QLineEdit *>(w) ? Qt::StrongFocus : Qt::TabFocus);
    // The panels' controls in the order they were built, which is theirs from the top; only the
    // tab's panels are shown, and Tab passes over what is hidden.
    const QWidget *panels[] = {m_lightingPanel, m_buttonPanel,  m_dpiPanel,
                               m_ratePanel,     m_pointerPanel, m_macroPanel};
    for (const QWidget *panel : panels) {
        if (!panel)
            continue;
        for (QWidget *w : panel->findChildren<QWidget *>()) {
            if ((w->focusPolicy() & Qt::TabFocus) && !w->isWindow())
                chain << w;
        }
    }
    chain << m_resetAllBtn << m_loadBtn << m_saveBtn << m_applyBtn;
    m_resetAllBtn->setFocusPolicy(Qt::TabFocus);
    m_loadBtn->setFocusPolicy(Qt::TabFocus);
    m_saveBtn->setFocusPolicy(Qt::TabFocus);
    m_applyBtn->setFocusPolicy(Qt::TabFocus);
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

bool MousecfgWidget::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        if (!m_recheckQueued && m_guard) {
            m_recheckQueued = true;
            QTimer::singleShot(0, this, [this] {
                m_recheckQueued = false;
                m_guard->recheck();
            });
        }
        break;
    case QEvent::FocusIn:
        if (auto *w = qobject_cast<QWidget *>(watched); w && w->window() == this)
            qCDebug(lcApp, "focus: %s \"%s\" %d,%d %dx%d visible %d", w->metaObject()->className(),
                    qPrintable(w->objectName()), w->x(), w->y(), w->width(), w->height(),
                    int(w->isVisible()));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace mc
