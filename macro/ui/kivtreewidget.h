// The macro editor's mouse command tree: the five buttons, each with "PRESS DOWN" and
// "BOUNCE UP" below it, and "MOVEMENT" with the four movement commands, each of which carries
// its own distance field. The items only say which command they are; the editor decides what a
// click inserts. User-interface thread.
#pragma once

#include "macro/ui/mousecommands.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace mc {

class KivLineEdit;

class KivTreeItem final : public QTreeWidgetItem
{
public:
    enum Kind
    {
        Button,   // a whole click; its children insert halves
        Half,     // "PRESS DOWN" or "BOUNCE UP" of the parent's button
        Movement, // the "MOVEMENT" group
        Move,     // one movement command
    };

    KivTreeItem(Kind kind, int iIndex, QTreeWidget *parent);
    KivTreeItem(Kind kind, int iIndex, QTreeWidgetItem *parent);

    Kind kind() const { return m_kind; }
    // Button: the button index (0..4); Half: 0 press, 1 release; Move: the direction.
    int index() const { return m_index; }
    int buttonIndex() const; // of a Button or Half item, else -1
    mousecmd::Part part() const;
    mousecmd::Direction direction() const { return mousecmd::Direction(m_index); }

    KivLineEdit *distanceEdit() const { return m_distance; }
    void setDistanceEdit(KivLineEdit *edit) { m_distance = edit; }
    int distance() const; // the field's value within 1..120

private:
    Kind m_kind;
    int m_index;
    KivLineEdit *m_distance = nullptr;
};

class KivTreeWidget final : public QTreeWidget
{
    Q_OBJECT
public:
    explicit KivTreeWidget(QWidget *parent = nullptr);

    KivTreeItem *buttonItem(int iButton) const;
    KivTreeItem *halfItem(int iButton, mousecmd::Part part) const;
    KivTreeItem *movementItem() const { return m_movement; }
    KivTreeItem *moveItem(mousecmd::Direction dir) const;

    void retranslate();
    void applyScale();

private:
    QVector<KivTreeItem *> m_buttons;
    KivTreeItem *m_movement = nullptr;
    QVector<KivTreeItem *> m_moves;
};

} // namespace mc
