// A line edit that reports losing the focus, so an inline editor can close itself.
#pragma once

#include <QLineEdit>

namespace mc {

class KivLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit KivLineEdit(QWidget *parent = nullptr);

signals:
    void kivLostFocus();

protected:
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace mc
