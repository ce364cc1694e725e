// One row of a list of macro steps: an icon and a text, holding the step's three bytes. Rows of
// the delay type edit their value in place; the value is kept in the product's delay units
// (PROFILE/MinDelay, 10 ms unless the owner says otherwise), so what the user types is rounded
// down to whole units between one unit and 65535 ms.
#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>

class QLabel;

namespace mc {

class KivLabel;
class KivLineEdit;

constexpr int kDelayStepType = 6;

constexpr int kDefaultDelayUnitMs = 10;

// The delay in milliseconds that typed text commits to with a unit of iUnitMs: below one unit
// is one unit, anything else truncated to whole units of at most 65535 ms. Text that is no
// number counts as 0; a unit outside 1..1000 ms counts as 10.
int committedDelay(const QString &typed, int iUnitMs = kDefaultDelayUnitMs);

class KivListItem : public QWidget
{
    Q_OBJECT
public:
    // iconPath: full path of the row's icon (may be empty).
    KivListItem(int iType, uint8_t map, uint8_t dataH, uint8_t dataL, const QString &text,
                const QString &iconPath, QWidget *parent = nullptr);
    ~KivListItem() override;

    int type() const { return m_type; }
    uint8_t map() const { return m_map; }
    uint8_t dataH() const { return m_dataH; }
    uint8_t dataL() const { return m_dataL; }
    int delayMs() const { return (m_dataH * 256 + m_dataL) * m_unit; }
    // The product's delay unit in ms (PROFILE/MinDelay), as the macro editor uses it.
    void setDelayUnit(int iUnitMs);
    int delayUnit() const { return m_unit; }
    QString text() const;

    // The widget that gets the focus back when editing ends (default: the parent).
    void setFocusOwner(QWidget *owner) { m_owner = owner; }

    void startEdit(); // delay rows only
    bool isEditing() const;
    KivLineEdit *editor() const { return m_edit; }

signals:
    void delayChanged(int iMs);

public slots:
    void editPressSlot();
    void lostFocusSlot();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showDelay();
    void returnFocus();

    int m_type = 0;
    uint8_t m_map = 0;
    uint8_t m_dataH = 0;
    uint8_t m_dataL = 0;
    int m_unit = kDefaultDelayUnitMs;
    QLabel *m_icon = nullptr; // KivLabel draws only its own text, not a picture
    KivLabel *m_label = nullptr;
    KivLineEdit *m_edit = nullptr;
    QPointer<QWidget> m_owner; // may go before the row does
};

} // namespace mc
