// Transparent slider with a release signal.
#include "widgets/kivslider.h"

#include <QMouseEvent>

namespace mc {

KivSlider::KivSlider(QWidget *parent) : QSlider(parent)
{
    init();
}

KivSlider::KivSlider(Qt::Orientation orientation, QWidget *parent) : QSlider(orientation, parent)
{
    init();
}

void KivSlider::init()
{
    // Groove and handle come from the style sheet of the panel that places the slider.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::transparent);
    setPalette(pal);
}

void KivSlider::mouseReleaseEvent(QMouseEvent *event)
{
    emit MouseChange();
    QSlider::mouseReleaseEvent(event);
}

} // namespace mc
