// The macro editor's list side: showing, loading and saving macros, marking those too long for
// the mouse, and the operations on the macro database (add, delete, rename, import, export,
// batch mode, gun files).
#include "device/macroupload.h"
#include "macro/macrodb.h"
#include "macro/macrolist.h"
#include "macro/ui/macroactiontable.h"
#include "macro/ui/macrodialog.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalBlocker>

#include <algorithm>

namespace mc {

namespace {

constexpr char kFilter[] = QT_TRANSLATE_NOOP("MacroDialog", "Macro File(*.MSMACRO)");
constexpr char kSuffix[] = "MSMACRO";
constexpr int kNameRole = Qt::UserRole;

} // namespace

QColor MacroDialog::tooLongColour()
{
    return QColor(255, 96, 96);
}

void MacroDialog::refreshList()
{
    rebuildList(m_current);
}

void MacroDialog::rebuildList(const QString &select)
{
    {
        const QSignalBlocker block(m_list);
        m_list->clear();
        for (const QString &name : macroNames())
            addListRow(name);
    }
    int row = -1;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->data(kNameRole).toString() == select)
            row = i;
    }
    if (row < 0 && m_list->count() > 0)
        row = 0;
    {
        const QSignalBlocker block(m_list);
        m_list->setCurrentRow(row);
    }
    showMacro(row < 0 ? QString() : m_list->item(row)->data(kNameRole).toString());
    updateFit(); // the macro shown may have changes its file does not hold yet
}

void MacroDialog::addListRow(const QString &name)
{
    auto *item = new QListWidgetItem(m_batch ? QString() : name, m_list);
    item->setData(kNameRole, name);
    if (m_batch) {
        auto *box = new QCheckBox(name, m_list);
        box->setFocusPolicy(Qt::NoFocus);
        box->setFont(sharedFont());
        m_list->setItemWidget(item, box);
    }
    markRow(m_list->count() - 1, macroFit(readStoredActions(name, macro::kMaxReadActions)));
}

QString MacroDialog::fitText(const MacroFit &fit) const
{
    if (fit.fits())
        return QString();
    if (fit.bytesCut > 0)
        return QCoreApplication::translate(
                   "MacroDialog",
                   "TOO LONG FOR THE MOUSE: %1 BYTES PAST ITS 200 ARE CUT, %2 ACTIONS WITH THEM")
            .arg(fit.bytesCut)
            .arg(fit.actionsCut);
    return QCoreApplication::translate(
               "MacroDialog",
               "TOO LONG FOR THE MOUSE: ONLY THE FIRST 63 ACTIONS ARE SENT, %1 ARE CUT")
        .arg(fit.actionsCut);
}

void MacroDialog::markRow(int iRow, const MacroFit &fit)
{
    QListWidgetItem *item = m_list->item(iRow);
    if (!item)
        return;
    const QString text = fitText(fit);
    item->setToolTip(text);
    // A fitting macro keeps the list's own colours (grey while the list is disabled).
    item->setData(Qt::ForegroundRole, fit.fits() ? QVariant() : QVariant(QBrush(tooLongColour())));
    if (auto *box = qobject_cast<QCheckBox *>(m_list->itemWidget(item))) {
        box->setToolTip(text);
        box->setStyleSheet(
            checkStyle(fit.fits() ? QStringLiteral("rgb(255,255,255)") : tooLongColour().name()));
        return;
    }
    // The selected row is drawn in the selection's colours: the sign shows there too.
    item->setIcon(fit.fits() ? QIcon() : QIcon(skinPixmap(skinPath(QStringLiteral("warn.png")))));
}

QStringList MacroDialog::checkedMacros() const
{
    QStringList names;
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        auto *box = qobject_cast<QCheckBox *>(m_list->itemWidget(item));
        if (box && box->isChecked())
            names << item->data(kNameRole).toString();
    }
    return names;
}

void MacroDialog::CurrentChanged(int iRow)
{
    QListWidgetItem *item = m_list->item(iRow);
    if (item)
        showMacro(item->data(kNameRole).toString());
}

void MacroDialog::showMacro(const QString &name)
{
    if (name == m_current && !name.isEmpty())
        return;
    flushPending();
    m_current = name;
    loadCurrent();
}

void MacroDialog::loadCurrent()
{
    m_loading = true;
    m_nameEdit->setText(m_current);
    const Macro macro = m_current.isEmpty() ? Macro() : loadMacro(m_current);
    showSettings(macro.settings);
    m_table->setActions(macro.actions);
    m_loading = false;
    m_dirty = false;
    updateFit();
}

void MacroDialog::showSettings(const MacroSettings &s)
{
    for (int i = 0; i < 2; ++i)
        m_delayBoxes[size_t(i)]->setChecked(s.delayType == i + 1);
    for (int i = 0; i < 3; ++i)
        m_loopBoxes[size_t(i)]->setChecked(s.loopType == i + 1);
    m_defaultDelay->setText(QString::number(s.defaultDelay));
    m_loopTime->setText(QString::number(s.loopTime));
}

MacroSettings MacroDialog::settings() const
{
    MacroSettings s;
    for (int i = 0; i < 2; ++i) {
        if (m_delayBoxes[size_t(i)]->isChecked())
            s.delayType = i + 1;
    }
    for (int i = 0; i < 3; ++i) {
        if (m_loopBoxes[size_t(i)]->isChecked())
            s.loopType = i + 1;
    }
    bool ok = false;
    const int delay = m_defaultDelay->text().toInt(&ok);
    // At least one of the product's delay units; an empty field reads as one unit.
    s.defaultDelay = ok ? std::clamp(delay, m_unit, 65535) : m_unit;
    const int loops = m_loopTime->text().toInt(&ok);
    s.loopTime = ok ? std::clamp(loops, 1, 255) : 1;
    return s;
}

QVector<MacroAction> MacroDialog::actions() const
{
    return m_table->actions();
}

bool MacroDialog::saveCurrent()
{
    if (m_current.isEmpty())
        return false;
    Macro macro;
    macro.settings = settings();
    macro.actions = m_table->actions();
    const SaveResult saved = saveMacro(m_current, macro);
    if (!saved) {
        // The file and the system's reason under the usual text: "no room on the disk" is
        // something the user can act on.
        if (m_prompts.tell)
            m_prompts.tell(macroOutcomeTitle(MacroOutcome::Failed),
                           macroOutcomeText(MacroOutcome::Failed) + QLatin1Char('\n') +
                               saved.message());
        return false;
    }
    m_dirty = false;
    return true;
}

void MacroDialog::flushPending()
{
    if (m_dirty && !m_current.isEmpty())
        saveCurrent();
    m_dirty = false;
}

void MacroDialog::tell(const char *title, const char *text)
{
    if (m_prompts.tell)
        m_prompts.tell(QCoreApplication::translate("MacroDialog", title),
                       QCoreApplication::translate("MacroDialog", text));
}

void MacroDialog::tellOutcome(int iOutcome)
{
    const auto outcome = MacroOutcome(iOutcome);
    const QString text = macroOutcomeText(outcome);
    if (!text.isEmpty() && m_prompts.tell)
        m_prompts.tell(macroOutcomeTitle(outcome), text);
}

void MacroDialog::addMacro()
{
    const MacroResult r = createMacro();
    if (r.outcome != MacroOutcome::Done) {
        tellOutcome(int(r.outcome));
        return;
    }
    rebuildList(r.name);
}

void MacroDialog::deleteMacro()
{
    if (m_current.isEmpty())
        return;
    const int row = m_list->currentRow();
    const MacroOutcome outcome = mc::deleteMacro(m_current);
    if (outcome != MacroOutcome::Done && outcome != MacroOutcome::NotFound) {
        tellOutcome(int(outcome));
        return;
    }
    // The macro is gone: nothing of it is to be saved.
    m_dirty = false;
    m_current.clear();
    const QStringList names = macroNames();
    rebuildList(names.value(std::min(row, int(names.size()) - 1)));
}

void MacroDialog::renameMacro()
{
    const QString wanted = m_nameEdit->text().trimmed();
    if (m_current.isEmpty() || wanted.isEmpty()) {
        m_nameEdit->setText(m_current);
        return;
    }
    const MacroResult r = mc::renameMacro(m_current, wanted);
    if (r.outcome == MacroOutcome::Unchanged)
        return;
    if (r.outcome != MacroOutcome::Done) {
        if (!r.reason.isEmpty() && m_prompts.tell)
            m_prompts.tell(macroOutcomeTitle(r.outcome),
                           macroOutcomeText(r.outcome) + QLatin1Char('\n') + r.reason);
        else
            tellOutcome(int(r.outcome));
        m_nameEdit->setText(m_current);
        return;
    }
    // The shown macro keeps its pending changes under its new name.
    const QString old = m_current;
    m_current = r.name;
    m_nameEdit->setText(r.name);
    rebuildList(r.name);
    emit macroRenamed(old, r.name);
}

void MacroDialog::importFiles()
{
    const QString title = QCoreApplication::translate("MacroDialog", "Load Macro File");
    QString last;
    if (m_batch) {
        const QStringList paths =
            m_prompts.openFiles
                ? m_prompts.openFiles(title, QCoreApplication::translate("MacroDialog", kFilter))
                : QStringList();
        if (paths.isEmpty())
            return;
        // An existing macro is kept and listed; the first real failure is reported once.
        MacroOutcome failure = MacroOutcome::Done;
        for (const MacroResult &r : importMacros(paths)) {
            if (r.outcome == MacroOutcome::Done || r.outcome == MacroOutcome::Exists)
                last = r.name;
            else if (failure == MacroOutcome::Done)
                failure = r.outcome;
        }
        if (failure != MacroOutcome::Done)
            tellOutcome(int(failure));
    } else {
        const QString path =
            m_prompts.openFile
                ? m_prompts.openFile(title, QCoreApplication::translate("MacroDialog", kFilter))
                : QString();
        if (path.isEmpty())
            return;
        const MacroResult r = importMacro(path);
        if (r.outcome != MacroOutcome::Done) {
            tellOutcome(int(r.outcome));
            return;
        }
        last = r.name;
    }
    rebuildList(last.isEmpty() ? m_current : last);
}

void MacroDialog::exportFiles()
{
    // What is exported is what the editor shows.
    flushPending();
    const QString title = QCoreApplication::translate("MacroDialog", "Save Macro File");
    if (m_batch) {
        const QStringList names = checkedMacros();
        if (names.isEmpty())
            return;
        const QString folder =
            m_prompts.folder ? m_prompts.folder(title, QStringLiteral("./")) : QString();
        if (folder.isEmpty())
            return;
        // Files already in the folder are kept; only a real failure is worth a word.
        for (const MacroResult &r : exportMacros(names, folder)) {
            if (r.outcome != MacroOutcome::Done && r.outcome != MacroOutcome::Exists) {
                tellOutcome(int(r.outcome));
                break;
            }
        }
        return;
    }
    if (m_current.isEmpty())
        return;
    QString path =
        m_prompts.saveFile
            ? m_prompts.saveFile(title, QCoreApplication::translate("MacroDialog", kFilter))
            : QString();
    if (path.isEmpty())
        return;
    // The dialog asked about replacing the file it was given, not about one with the suffix
    // added here.
    bool overwrite = true;
    if (QFileInfo(path).suffix().compare(QLatin1String(kSuffix), Qt::CaseInsensitive) != 0) {
        path += QLatin1Char('.') + QLatin1String(kSuffix);
        overwrite = false;
    }
    const MacroOutcome outcome = exportMacro(m_current, path, overwrite);
    if (outcome != MacroOutcome::Done)
        tellOutcome(int(outcome));
}

void MacroDialog::toggleBatch()
{
    m_batch = !m_batch;
    m_tools[Batch]->setState(m_batch ? 1 : 0);
    rebuildList(m_current);
}

void MacroDialog::runGunSet()
{
    flushPending();
    const QString name = m_prompts.gunSet ? m_prompts.gunSet() : QString();
    if (name.isEmpty())
        return;
    // A gun file plays its shots with the pauses it holds: recorded delays, no default delay.
    m_loading = true;
    m_delayBoxes[0]->setChecked(true);
    m_delayBoxes[1]->setChecked(false);
    m_table->setActions({});
    m_defaultDelay->setText(QStringLiteral("10"));
    m_loopTime->setText(QStringLiteral("1"));
    m_loading = false;
    m_dirty = false;
    m_current.clear(); // the new macro is loaded below, whatever was shown
    rebuildList(name);
}

} // namespace mc
