// The battery bar: a progress bar that can carry a text of its own ("MOUSE OFF") over the bar.
#pragma once

#include <QProgressBar>

namespace mc {

class KivProcessbar : public QProgressBar
{
    Q_OBJECT
public:
    explicit KivProcessbar(QWidget *parent = nullptr);

    void setOwnText(const QString &text);
    QString ownText() const { return m_text; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

} // namespace mc
