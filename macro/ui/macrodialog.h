// The MACRO tab's editor. Left: the macros of the macro list (with check boxes in batch mode),
// the name of the selected one, and adding, deleting, importing, exporting and "GUN SET".
// Right: the selected macro's actions as a table, with the tools that record, insert, edit,
// reorder, copy and delete actions, the mouse command tree, and the macro's delay and loop
// settings. Changes to the actions and settings are kept until "SAVE" (or "STOP" after a
// recording); "CANCEL" reads the macro back from its file, and showing another macro saves the
// pending changes of the one shown first, so none are lost unseen.
//
// While it records or edits one action the editor disables its other controls and asks the main
// window to disable its own (EnableButtonsSignal). A macro whose packed form does not fit the
// mouse's slot is marked in the list, and the editor says how much of it the mouse would miss.
// User-interface thread only.
#pragma once

#include "macro/macrofile.h"
#include "macro/ui/macroprompts.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QModelIndex;
class QTreeWidgetItem;

namespace mc {

class KivLabel;
class KivLineEdit;
class KivPushButton;
class KivTreeWidget;
class MacroActionTable;
class MacroRecorder;
struct MacroFit;

class MacroDialog final : public QWidget
{
    Q_OBJECT
public:
    enum Tool
    {
        Start,
        Stop,
        RecordAfter,
        InsertDelay,
        Edit,
        DeleteAction,
        Clear,
        Save,
        Cancel,
        MoveUp,
        MoveDown,
        Top,
        Bottom,
        Add,
        DeleteMacro,
        ChangeName,
        Batch,
        Import,
        Export,
        GunSet,
        kToolCount
    };
    enum Mode
    {
        Idle,
        Recording,
        Editing,
    };

    explicit MacroDialog(QWidget *parent = nullptr);
    ~MacroDialog() override;

    void setPrompts(MacroPrompts prompts) { m_prompts = std::move(prompts); }
    void RetranslateUi();
    // Reads the macro list again and shows the macro selected before, if it still exists.
    void refreshList();

    Mode mode() const { return m_mode; }
    bool isBatch() const { return m_batch; }
    QString currentMacro() const { return m_current; }
    bool hasPendingChanges() const { return m_dirty; }
    // The settings as the controls show them, within their limits.
    MacroSettings settings() const;
    QVector<MacroAction> actions() const;
    QStringList checkedMacros() const; // ticked in batch mode

    // The parts, for the window and for tests that drive them as a user would.
    KivPushButton *button(Tool tool) const { return m_tools[size_t(tool)]; }
    QListWidget *macroList() const { return m_list; }
    MacroActionTable *actionTable() const { return m_table; }
    KivTreeWidget *mouseTree() const { return m_tree; }
    QCheckBox *delayTypeBox(int iType) const; // 1 or 2
    QCheckBox *loopTypeBox(int iType) const;  // 1, 2 or 3
    KivLineEdit *defaultDelayEdit() const { return m_defaultDelay; }
    KivLineEdit *loopTimeEdit() const { return m_loopTime; }
    KivLineEdit *nameEdit() const { return m_nameEdit; }
    KivLabel *fitLabel() const { return m_fitLabel; }
    // The line under START where keys typed into other programs cannot be recorded; null
    // where they can.
    KivLabel *captureNote() const { return m_captureNote; }
    KivLabel *keyLabel() const { return m_keyLabel; }
    KivLineEdit *delayEdit() const { return m_delayEdit; }
    KivLineEdit *distanceEdit() const { return m_distanceEdit; }
    KivPushButton *mouseActionButton() const { return m_mouseActionBtn; }
    QMenu *buttonMenu() const { return m_buttonMenu; }
    QMenu *moveMenu() const { return m_moveMenu; }

signals:
    void EnableButtonsSignal(bool bEnable);
    // A macro of the database now has another name (its file was moved).
    void macroRenamed(const QString &from, const QString &to);

public slots:
    void TreeitemClick(QTreeWidgetItem *item, int iColumn);
    void EditMoveChanged(const QString &text);
    void EditDelayChanged(const QString &text);
    void DefDelayChanged(const QString &text);
    void LoopTimeChanged(const QString &text);
    void CurrentChanged(int iRow);
    void mousemove_test(QAction *action);
    void KivItemPressed(const QModelIndex &index);
    void checkbtn_clicked(bool bChecked);
    void SelectRow(int iIndex);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Building and layout (macrodialog.cpp).
    void build();
    void buildTools();
    void buildSettings();
    void buildEditPanel();
    KivPushButton *makeButton(Tool tool);
    QCheckBox *makeCheckBox();
    KivLineEdit *makeField(int iMin, int iMax, int iDigits);
    void layoutParts();
    void applyLook();
    void onTool(Tool tool);
    void setMode(Mode mode);
    void applyEnabled();

    // The list and the macro database (macrodialoglist.cpp).
    void rebuildList(const QString &select);
    void addListRow(const QString &name);
    void markRow(int iRow, const MacroFit &fit);
    QString fitText(const MacroFit &fit) const;
    static QColor tooLongColour(); // a macro the mouse would not get whole
    // The skin's check boxes with text in the colour given (a style sheet colour).
    static QString checkStyle(const QString &textColour);
    void showMacro(const QString &name);
    void loadCurrent();
    void showSettings(const MacroSettings &s);
    bool saveCurrent();
    void flushPending();
    void tell(const char *title, const char *text);
    void tellOutcome(int iOutcome);
    void addMacro();
    void deleteMacro();
    void renameMacro();
    void importFiles();
    void exportFiles();
    void toggleBatch();
    void runGunSet();

    // Actions: tools, mouse commands, recording and edit mode (macrodialogactions.cpp).
    void onActionsChanged();
    void updateFit();
    void insertDelay();
    void startRecording(bool bAfter);
    void stopRecording();
    void beginEdit();
    void endEdit(bool bKeep);
    void showEditPanel(const MacroAction &a);
    void onKeyEdited(int iCode);
    void onButtonChosen(int iButton);
    void setEditedAction(const MacroAction &a);
    void onDelayTypeClicked(int iType, bool bChecked);
    void onLoopTypeClicked(int iType, bool bChecked);

    MacroPrompts m_prompts;
    MacroRecorder *m_recorder = nullptr;
    int m_unit = 10;
    Mode m_mode = Idle;
    bool m_batch = false;
    bool m_dirty = false;
    bool m_loading = false; // controls being filled from a file: no change of the user's
    QString m_current;
    int m_editRow = -1;
    // A recording after the selected action keeps the actions around it.
    int m_recordAt = 0;
    QVector<MacroAction> m_keptAfter;
    // The actions a new recording replaces, given back when it records nothing.
    QVector<MacroAction> m_replaced;
    bool m_dirtyBeforeRecording = false;

    std::array<KivPushButton *, kToolCount> m_tools{};
    KivLabel *m_nameCaption = nullptr;
    KivLineEdit *m_nameEdit = nullptr;
    QListWidget *m_list = nullptr;
    MacroActionTable *m_table = nullptr;
    KivLabel *m_fitLabel = nullptr;
    KivLabel *m_captureNote = nullptr;
    KivTreeWidget *m_tree = nullptr;
    std::array<QCheckBox *, 2> m_delayBoxes{};
    std::array<QCheckBox *, 3> m_loopBoxes{};
    KivLineEdit *m_defaultDelay = nullptr;
    KivLineEdit *m_loopTime = nullptr;
    KivLabel *m_editCaption = nullptr;
    KivLabel *m_keyLabel = nullptr;
    KivLineEdit *m_delayEdit = nullptr;
    KivLineEdit *m_distanceEdit = nullptr;
    KivPushButton *m_mouseActionBtn = nullptr;
    QMenu *m_buttonMenu = nullptr;
    QMenu *m_moveMenu = nullptr;
    int m_editDirection = 0;
};

} // namespace mc
