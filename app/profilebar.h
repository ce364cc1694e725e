// The five on-board profiles in view, in the window's left card under the tabs: a row per
// slot with its number and name, the one the mouse reports as active marked, the one the tabs
// edit highlighted, and a mark on those with edits not yet written. Below them the name of the
// edited profile (Enter renames it), the library menu (choose a library profile for this slot,
// add, copy, rename, reset, delete, import, export) and a line on what a profile holds of its
// own and what all five share. It only shows and reports: the window connects its signals to
// the profile library. User-interface thread only.
#pragma once

#include "profile/profiledata.h"
#include "widgets/enterevent.h"

#include <QAbstractButton>
#include <QStringList>
#include <QWidget>

#include <array>

class QLineEdit;
class QMenu;

namespace mc {

class KivLabel;
class KivPushButton;

// One slot's row: a button that paints itself in the program's look.
class ProfileBarRow final : public QAbstractButton
{
    Q_OBJECT
public:
    ProfileBarRow(int iSlot, QWidget *parent);

    void setName(const QString &name);
    void setEdited(bool bEdited);
    void setActive(bool bActive);
    void setPending(bool bPending);
    bool isEdited() const { return m_edited; }
    bool isActive() const { return m_active; }
    bool isPending() const { return m_pending; }
    QString name() const { return m_name; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(EnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_slot = 0;
    QString m_name;
    bool m_edited = false;
    bool m_active = false;
    bool m_pending = false;
    bool m_hover = false;
    bool m_focusMarked = false;
};

class ProfileBar final : public QWidget
{
    Q_OBJECT
public:
    // The operations of the library menu after its list of profiles.
    enum Operation
    {
        Add,
        Copy,
        Rename,
        Reset,
        Delete,
        Import,
        Export,
        OperationCount
    };

    explicit ProfileBar(QWidget *parent = nullptr);

    void setNames(const std::array<QString, kSlotCount> &names);
    // The slot the tabs show and edit.
    void setEditedSlot(int iSlot);
    // The slot the mouse reports as its active one.
    void setActiveSlot(int iSlot);
    // Bit i: slot i holds edits not yet written (PendingGuard's bits).
    void setPending(int iBits);
    // The library's profiles; current is the edited slot's.
    void setLibrary(const QStringList &names, const QString &current);
    int editedSlot() const { return m_edited; }
    int activeSlot() const { return m_active; }

    // Texts in the current language, and every geometry and font at the current scale.
    void retranslate();
    void relayout();

    ProfileBarRow *row(int iSlot) const { return m_rows.at(size_t(iSlot)); }
    QLineEdit *nameEdit() const { return m_nameEdit; }
    KivPushButton *libraryButton() const { return m_libraryBtn; }
    QMenu *libraryMenu() const { return m_libraryMenu; }
    QAction *operationAction(Operation op) const { return m_operations.at(size_t(op)); }
    // The widgets that take the focus, in the order Tab visits them.
    QList<QWidget *> focusChain() const;

signals:
    void slotClicked(int iSlot);
    void libraryEntryChosen(int n);
    void operationRequested(int iOperation);
    // Enter in the name field.
    void renameRequested(const QString &name);

private:
    void rebuildLibraryMenu();

    std::array<ProfileBarRow *, kSlotCount> m_rows{};
    KivLabel *m_caption = nullptr;
    KivLabel *m_nameLabel = nullptr;
    QLineEdit *m_nameEdit = nullptr;
    KivPushButton *m_libraryBtn = nullptr;
    QMenu *m_libraryMenu = nullptr;
    std::array<QAction *, OperationCount> m_operations{};
    KivLabel *m_note = nullptr;
    QStringList m_library;
    QString m_current;
    int m_edited = 0;
    int m_active = -1;
};

} // namespace mc
