// Stand-in for a settings panel whose own code has not landed yet: it takes the panel's place,
// geometry and tab, and shows the panel's name, so the window can be laid out and tried.
#pragma once

#include <QWidget>

namespace mc {

class PanelPlaceholder : public QWidget
{
    Q_OBJECT
public:
    PanelPlaceholder(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};

} // namespace mc
