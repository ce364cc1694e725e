// The DPI panel: rows for the product's stage count, edits kept in the panel's record.
#include "performance/kivdpiwindow.h"

#include "performance/kivsingledpi.h"
#include "profile/settings.h"
#include "widgets/kivlabel.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>

namespace mc {

KivDPIWindow::KivDPIWindow(const ProfileData &profile, QWidget *parent)
    : QWidget(parent), m_ProfileData(profile), m_caption(new KivLabel(this))
{
    for (int i = 0; i < kStageCount; ++i) {
        auto *r = new KivSingleDPI(quint8(i), this);
        m_rows[size_t(i)] = r;
        connect(r, &KivSingleDPI::DPISignal, this, &KivDPIWindow::onSliderChanged);
        connect(r, &KivSingleDPI::LinkSignal, this, &KivDPIWindow::onLinkChanged);
        connect(r, &KivSingleDPI::EnableSignal, this, &KivDPIWindow::onEnableChanged);
        connect(r, &KivSingleDPI::MouseinSignal, this, &KivDPIWindow::MouseinSignal);
        r->setSensor(m_sensor);
    }
    showRecord();
    m_rowCount = usableDpiCount();
    retranslate();
    layoutPanel();
}

void KivDPIWindow::refresh(const ProfileData &profile, const ProfileData &shared, int iSensor)
{
    ProfileData shown = profile;
    shown.stages = shared.stages;
    refresh(shown, iSensor);
}

void KivDPIWindow::refresh(const ProfileData &profile, int iSensor)
{
    m_sensor = iSensor;
    m_ProfileData = profile;
    for (KivSingleDPI *r : m_rows)
        r->setSensor(iSensor);
    showRecord();
    // Another product may have been chosen since the last refresh.
    const int count = usableDpiCount();
    if (count != m_rowCount) {
        m_rowCount = count;
        layoutPanel();
    }
}

void KivDPIWindow::showRecord()
{
    for (int i = 0; i < kStageCount; ++i) {
        DpiStage &s = m_ProfileData.stages[size_t(i)];
        KivSingleDPI *r = m_rows[size_t(i)];
        r->setLink(s.link);
        // Raw values beyond the int range cannot come from a slider; show them as its top.
        r->setValues(int(qMin<uint32_t>(s.x, INT_MAX)), int(qMin<uint32_t>(s.y, INT_MAX)));
        // The row holds a damaged value within the sensor's range: what it shows is sent.
        s.x = uint32_t(qMax(0, r->x()));
        s.y = uint32_t(qMax(0, r->y()));
        r->setEnable(s.used);
    }
    highlight();
}

void KivDPIWindow::selectStage(quint8 stage)
{
    if (stage >= kStageCount)
        return;
    m_ProfileData.dpi = stage;
    highlight();
}

void KivDPIWindow::highlight()
{
    for (int i = 0; i < kStageCount; ++i)
        m_rows[size_t(i)]->setActive(i == m_ProfileData.dpi);
}

void KivDPIWindow::collect(ProfileData &profile) const
{
    profile.dpi = m_ProfileData.dpi;
    profile.stages = m_ProfileData.stages;
}

void KivDPIWindow::collectStages(ProfileData &shared) const
{
    shared.stages = m_ProfileData.stages;
}

void KivDPIWindow::onSliderChanged(int x, int y, quint8 stage)
{
    if (stage >= kStageCount)
        return;
    // `xy` stays as it was: the mouse takes X and Y, and the record keeps its linked value.
    m_ProfileData.stages[stage].x = uint32_t(qMax(0, x));
    m_ProfileData.stages[stage].y = uint32_t(qMax(0, y));
}

void KivDPIWindow::onLinkChanged(quint8 link, quint8 stage)
{
    if (stage < kStageCount)
        m_ProfileData.stages[stage].link = link;
}

void KivDPIWindow::onEnableChanged(quint8 enable, quint8 stage)
{
    if (stage < kStageCount)
        m_ProfileData.stages[stage].used = enable;
}

void KivDPIWindow::MouseinSignal(quint8 stage)
{
    selectStage(stage);
}

void KivDPIWindow::retranslate()
{
    m_caption->setText(QCoreApplication::translate("QObject", "DPI"));
    for (KivSingleDPI *r : m_rows)
        r->retranslate();
}

void KivDPIWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPanel();
}

void KivDPIWindow::layoutPanel()
{
    m_caption->setGeometry(scaledRect(3, 3, 80, 17));
    for (int i = 0; i < kStageCount; ++i) {
        KivSingleDPI *r = m_rows[size_t(i)];
        if (i < m_rowCount) {
            r->setGeometry(scaledRect(15, 43 + 50 * i, 440, 48));
            r->layoutRow();
            r->show();
        } else {
            r->hide();
        }
    }
}

} // namespace mc
