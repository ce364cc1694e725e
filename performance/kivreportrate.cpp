// Report rate menu and lift-off choice.
#include "performance/kivreportrate.h"
#include "performance/log.h"

#include "performance/kivoptionbuttons.h"
#include "widgets/kivaction.h"
#include "widgets/kivlabel.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>

namespace mc {

namespace {

struct RateEntry
{
    const char *text;
    quint8 pollrate; // the report interval in milliseconds
};

constexpr std::array<RateEntry, 4> kRates = {{
    {QT_TRANSLATE_NOOP("QObject", "125 HZ"), 8},
    {QT_TRANSLATE_NOOP("QObject", "250 HZ"), 4},
    {QT_TRANSLATE_NOOP("QObject", "500 HZ"), 2},
    {QT_TRANSLATE_NOOP("QObject", "1000 HZ"), 1},
}};

QString translated(const char *text)
{
    return QCoreApplication::translate("QObject", text);
}

} // namespace

KivReportRate::KivReportRate(QWidget *parent)
    : QWidget(parent), m_caption(new KivLabel(this)), m_icon(new QLabel(this)),
      m_rateBtn(new KivPushButton({skinPath(QStringLiteral("tabbutton-1.png")),
                                   skinPath(QStringLiteral("tabbutton-3.png")),
                                   skinPath(QStringLiteral("tabbutton-2.png"))},
                                  this)),
      m_menu(new QMenu(this)), m_liftCaption(new KivLabel(this)), m_group(new QButtonGroup(this))
{
    styleMenu(m_menu);
    for (size_t i = 0; i < kRates.size(); ++i) {
        auto *a = new KivAction(m_menu);
        m_actions[i] = a;
        m_menu->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { chooseRate(int(i)); });
    }
    m_rateBtn->setMenu(m_menu);
    m_icon->setAlignment(Qt::AlignCenter);
    m_group->setExclusive(true);
    for (int i = 0; i < 2; ++i) {
        auto *r = new KivRadioButton(QString(), this);
        m_radios[size_t(i)] = r;
        m_group->addButton(r, i);
        connect(r, &QAbstractButton::clicked, this, &KivReportRate::onRadioChanged);
    }
    m_radios[1]->setChecked(true);
    retranslate();
    layoutPanel();
}

void KivReportRate::refresh(const ProfileData &profile, quint8 iLift)
{
    m_ProfileData = profile;
    showRate();
    showLift(iLift);
}

void KivReportRate::showLift(quint8 iLift)
{
    m_iLift = (iLift == 1 || iLift == 2) ? iLift : 2;
    m_radios[size_t(m_iLift - 1)]->setChecked(true);
}

void KivReportRate::showRate()
{
    // A rate the menu does not offer leaves the button as it was.
    for (const RateEntry &e : kRates) {
        if (e.pollrate == m_ProfileData.pollrate)
            m_rateBtn->setText(translated(e.text));
    }
}

void KivReportRate::chooseRate(int index)
{
    m_ProfileData.pollrate = kRates[size_t(index)].pollrate;
    m_rateBtn->setText(translated(kRates[size_t(index)].text));
}

void KivReportRate::onRadioChanged()
{
    m_iLift = quint8(m_group->checkedId() + 1);
    emit RefreshLift(m_iLift);
}

void KivReportRate::retranslate()
{
    m_caption->setText(translated(QT_TRANSLATE_NOOP("QObject", "REPORT RATE")));
    m_liftCaption->setText(translated(QT_TRANSLATE_NOOP("QObject", "Lift off Distance")));
    for (size_t i = 0; i < kRates.size(); ++i)
        m_actions[i]->setText(translated(kRates[i].text));
    m_radios[0]->setText(translated(QT_TRANSLATE_NOOP("QObject", "1 mm")));
    m_radios[1]->setText(translated(QT_TRANSLATE_NOOP("QObject", "2 mm")));
    showRate();
}

void KivReportRate::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPanel();
}

void KivReportRate::layoutPanel()
{
    // Two lines in the 229 x 90 panel: the rate with its menu, then the lift-off pair.
    m_icon->setGeometry(scaledRect(8, 10, 20, 20));
    const QPixmap icon = skinPixmap(skinPath(QStringLiteral("rate.png")));
    if (!icon.isNull())
        m_icon->setPixmap(icon.scaled(m_icon->size(), Qt::KeepAspectRatio,
                                      Qt::SmoothTransformation));
    m_caption->setGeometry(scaledRect(34, 10, 90, 20));
    m_rateBtn->setGeometry(scaledRect(126, 8, 96, 24));
    m_menu->setFixedWidth(scaled(96));
    m_menu->setFont(sharedFont());
    for (KivAction *a : m_actions)
        a->setFont(sharedFont());
    m_liftCaption->setGeometry(scaledRect(8, 40, 214, 18));
    m_radios[0]->setGeometry(scaledRect(8, 62, 100, 20));
    m_radios[1]->setGeometry(scaledRect(116, 62, 100, 20));
}

} // namespace mc
