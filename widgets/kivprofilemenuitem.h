// A menu row with a check image and a text, for the drop-down lists of the button panel and
// the key capture dialogs. A click anywhere on the row toggles it and names the row.
#pragma once

#include <QWidget>

namespace mc {

class KivLabel;

class KivProfileMenuItem : public QWidget
{
    Q_OBJECT
public:
    explicit KivProfileMenuItem(const QString &text, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;
    void setChecked(bool bChecked);
    bool isChecked() const { return m_checked; }

signals:
    void CheckBtnSignal(QWidget *item);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    KivLabel *m_label = nullptr;
    bool m_checked = false;
};

} // namespace mc
