// A slider on a transparent background that tells when the user lets go of it, so panels can
// act once per drag instead of on every intermediate value.
#pragma once

#include <QSlider>

namespace mc {

class KivSlider : public QSlider
{
    Q_OBJECT
public:
    explicit KivSlider(QWidget *parent = nullptr);
    explicit KivSlider(Qt::Orientation orientation, QWidget *parent = nullptr);

signals:
    void MouseChange();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void init();
};

} // namespace mc
