// The dialog of the profile per application. Design size 460 x 430.
#include "app/kivfocusrulesdialog.h"

#include "platform/focuswatcher.h"
#include "profile/profiledata.h"
#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidget>

namespace mc {

namespace {

constexpr int kDialogWidth = 460;
constexpr int kDialogHeight = 430;

QString boxStyle()
{
    return QStringLiteral("QCheckBox{color:white;background:transparent}"
                          "QCheckBox::indicator{width:12px;height:12px}"
                          "QCheckBox::indicator:checked{background-color:%1;border:2px solid white}"
                          "QCheckBox::indicator:unchecked{border:2px solid gray}"
                          "QCheckBox:disabled{color:rgb(120,120,120)}")
        .arg(themeColour().name());
}

QString listStyle()
{
    return QStringLiteral("QTreeWidget{background-color:rgb(30,30,30);color:white;"
                          "border:1px solid %1;outline:0px}"
                          "QTreeWidget::item{padding:2px 0px}"
                          "QTreeWidget::item:selected{background-color:%1;color:white}")
        .arg(themeColour().name());
}

} // namespace

QString slotMenuText(int iSlot)
{
    return QObject::tr("Mode") + QString::asprintf(" %d", iSlot + 1);
}

KivFocusRulesDialog::KivFocusRulesDialog(const FocusRules &rules, const FocusWatcher *watcher,
                                         QWidget *parent)
    : KivDialogFrame(kDialogWidth, kDialogHeight, parent), m_watcher(watcher),
      m_rules(usableFocusRules(rules))
{
    setTitleText(QCoreApplication::translate("KivFocusRulesDialog", "PROFILE PER APPLICATION"));
    const bool available = watcher && watcher->available();

    m_enable = new QCheckBox(
        QCoreApplication::translate("KivFocusRulesDialog",
                                    "Switch the profile with the application in front"),
        this);
    m_enable->setStyleSheet(boxStyle());
    m_enable->setFont(sharedFont());
    m_enable->setFocusPolicy(Qt::NoFocus);
    m_enable->setChecked(m_rules.enabled);
    // The stored choice stays as it is for a desktop where it works.
    m_enable->setEnabled(available);
    m_enable->setGeometry(scaledRect(30, 78, 400, 24));
    m_notice = makeLabel(QCoreApplication::translate(
        "KivFocusRulesDialog", "The application in front cannot be known on this desktop."));
    m_notice->setGeometry(scaledRect(30, 102, 400, 22));
    m_notice->setVisible(!available);
    // The watcher's own reason says more (on GNOME on Wayland: what would enable it), in two
    // lines of a smaller size where the notice stands.
    const QString reason = watcher && !available ? watcher->unavailableReason() : QString();
    if (!reason.isEmpty()) {
        m_notice->setText(QCoreApplication::translate("FocusWatcher", reason.toUtf8().constData()));
        QFont small = m_notice->font();
        small.setPixelSize(scaled(11));
        m_notice->setFont(small);
        m_notice->setWordWrap(true);
        m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_notice->setGeometry(scaledRect(30, 100, 400, 30));
    }

    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setStyleSheet(listStyle());
    m_list->setFont(sharedFont());
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    m_list->header()->resizeSection(1, scaled(70));
    m_list->setGeometry(scaledRect(30, 130, 300, 150));
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &KivFocusRulesDialog::takeSelected);

    m_up = makeButton(QCoreApplication::translate("KivFocusRulesDialog", "UP"));
    m_up->setGeometry(scaledRect(340, 130, 90, 28));
    m_down = makeButton(QCoreApplication::translate("KivFocusRulesDialog", "DOWN"));
    m_down->setGeometry(scaledRect(340, 166, 90, 28));
    m_remove = makeButton(QCoreApplication::translate("KivFocusRulesDialog", "DELETE"));
    m_remove->setGeometry(scaledRect(340, 202, 90, 28));
    connect(m_up, &QPushButton::clicked, this, [this] { moveRule(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveRule(1); });
    connect(m_remove, &QPushButton::clicked, this, &KivFocusRulesDialog::removeRule);

    m_edit = new KivLineEdit(this);
    m_edit->setMaxLength(kMaxFocusApplicationLength);
    m_edit->setFont(sharedFont());
    m_edit->setStyleSheet(themedLineEditStyle());
    m_edit->setPlaceholderText(
        QCoreApplication::translate("KivFocusRulesDialog", "Executable or window class"));
    m_edit->setGeometry(scaledRect(30, 292, 150, 28));
    // Enter in the field adds the rule, and goes no further: the dialog's own Enter saves.
    m_edit->installEventFilter(this);
    m_running = makeButton(QCoreApplication::translate("KivFocusRulesDialog", "RUNNING"));
    m_running->setThemeHighlight(true);
    m_running->setGeometry(scaledRect(185, 292, 80, 28));
    m_runningMenu = new QMenu(this);
    styleMenu(m_runningMenu);
    m_runningMenu->setMinimumWidth(scaled(150));
    connect(m_runningMenu, &QMenu::aboutToShow, this, &KivFocusRulesDialog::fillRunningMenu);
    m_running->setMenu(m_runningMenu);
    m_slot = makeButton(QString());
    m_slot->setThemeHighlight(true);
    m_slot->setGeometry(scaledRect(270, 292, 65, 28));
    m_slotMenu = makeSlotMenu(m_slot, &m_newSlot);
    m_add = makeButton(QCoreApplication::translate("KivFocusRulesDialog", "ADD"));
    m_add->setGeometry(scaledRect(340, 292, 90, 28));
    connect(m_add, &QPushButton::clicked, this, &KivFocusRulesDialog::addRule);

    m_defaultLabel =
        makeLabel(QCoreApplication::translate("KivFocusRulesDialog", "Every other application"));
    m_defaultLabel->setGeometry(scaledRect(30, 334, 235, 28));
    m_defaultSlot = makeButton(QString());
    m_defaultSlot->setThemeHighlight(true);
    m_defaultSlot->setGeometry(scaledRect(270, 334, 65, 28));
    m_defaultMenu = makeSlotMenu(m_defaultSlot, &m_rules.defaultSlot);

    // The keyboard reaches everything; Enter saves the rules (in the application field it adds
    // the rule instead), Esc cancels.
    for (KivPushButton *b : findChildren<KivPushButton *>())
        b->setFocusPolicy(Qt::TabFocus);
    m_enable->setFocusPolicy(Qt::TabFocus);
    m_list->setFocusPolicy(Qt::StrongFocus);
    okButton()->setDefault(true);

    showRules();
}

bool KivFocusRulesDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            addRule();
            return true;
        }
    }
    return KivDialogFrame::eventFilter(watched, event);
}

QMenu *KivFocusRulesDialog::makeSlotMenu(KivPushButton *button, int *slot)
{
    auto *menu = new QMenu(this);
    styleMenu(menu);
    menu->setFixedWidth(scaled(80));
    for (int i = 0; i < kSlotCount; ++i) {
        auto *a = new KivAction(slotMenuText(i), menu);
        menu->addAction(a);
        connect(a, &QAction::triggered, this, [button, slot, i] {
            *slot = i;
            button->setText(slotMenuText(i));
        });
    }
    button->setText(slotMenuText(*slot));
    button->setMenu(menu);
    return menu;
}

void KivFocusRulesDialog::fillRunningMenu()
{
    m_runningMenu->clear();
    const QVector<FocusReport> running =
        m_watcher ? m_watcher->runningApplications() : runningProcesses();
    for (const FocusReport &r : running) {
        const QString name = r.name();
        auto *a = new KivAction(name, m_runningMenu);
        // The window class says which window it is when the executable's name does not.
        if (!r.windowClass.isEmpty() && r.windowClass != name)
            a->setToolTip(r.windowClass);
        connect(a, &QAction::triggered, this, [this, name] { m_edit->setText(name); });
        m_runningMenu->addAction(a);
    }
    if (running.isEmpty()) {
        auto *none = new KivAction(
            QCoreApplication::translate("KivFocusRulesDialog", "No application found"),
            m_runningMenu);
        none->setEnabled(false);
        m_runningMenu->addAction(none);
    }
}

void KivFocusRulesDialog::showRules()
{
    const int row = selectedRow();
    m_list->clear();
    for (const FocusRule &r : m_rules.rules) {
        auto *item = new QTreeWidgetItem(m_list, {r.application, slotMenuText(r.slot)});
        item->setToolTip(0, r.application);
    }
    if (row >= 0 && row < m_list->topLevelItemCount())
        m_list->setCurrentItem(m_list->topLevelItem(row));
    m_add->setEnabled(m_rules.rules.size() < kMaxFocusRules);
}

int KivFocusRulesDialog::selectedRow() const
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first());
}

void KivFocusRulesDialog::takeSelected()
{
    const int row = selectedRow();
    if (row < 0 || row >= m_rules.rules.size())
        return;
    // The selected rule in the edit row: ADD with another slot changes it.
    m_edit->setText(m_rules.rules.at(row).application);
    m_newSlot = m_rules.rules.at(row).slot;
    m_slot->setText(slotMenuText(m_newSlot));
}

void KivFocusRulesDialog::addRule()
{
    const QString name = m_edit->text().trimmed();
    if (name.isEmpty())
        return;
    int row = -1;
    for (int i = 0; i < m_rules.rules.size(); ++i) {
        if (m_rules.rules.at(i).application.compare(name, Qt::CaseInsensitive) == 0)
            row = i;
    }
    if (row >= 0) {
        m_rules.rules[row].slot = m_newSlot;
    } else {
        if (m_rules.rules.size() >= kMaxFocusRules)
            return;
        m_rules.rules.append({name, m_newSlot});
        row = m_rules.rules.size() - 1;
    }
    m_list->clearSelection();
    showRules();
    m_list->setCurrentItem(m_list->topLevelItem(row));
}

void KivFocusRulesDialog::removeRule()
{
    const int row = selectedRow();
    if (row < 0 || row >= m_rules.rules.size())
        return;
    m_rules.rules.removeAt(row);
    showRules();
}

void KivFocusRulesDialog::moveRule(int step)
{
    const int row = selectedRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= m_rules.rules.size())
        return;
    m_rules.rules.move(row, to);
    m_list->clearSelection();
    showRules();
    m_list->setCurrentItem(m_list->topLevelItem(to));
}

FocusRules KivFocusRulesDialog::rules() const
{
    FocusRules r = m_rules;
    r.enabled = m_enable->isChecked();
    return usableFocusRules(r);
}

} // namespace mc
