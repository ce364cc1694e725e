// The check boxes and radio buttons of the performance panels: the skin's check-box images and a
// round indicator in the theme colour, with the text in the shared font. Standard Qt buttons
// underneath, so checking, groups and the clicked signal behave as usual.
#pragma once

#include <QCheckBox>
#include <QRadioButton>

namespace mc {

class KivCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit KivCheckBox(QWidget *parent = nullptr);
    KivCheckBox(const QString &text, QWidget *parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};

class KivRadioButton : public QRadioButton
{
    Q_OBJECT
public:
    KivRadioButton(const QString &text, QWidget *parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};

} // namespace mc
