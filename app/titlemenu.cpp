// Actions and texts of the program's menu.
#include "app/titlemenu.h"

#include "widgets/kivaction.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include "widgets/kivpushbutton.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QWidget>

namespace mc {

TitleMenuButton::TitleMenuButton(QWidget *parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void TitleMenuButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool marked = m_focusMarked && hasFocus();
    const bool lit = underMouse() || isDown() || marked;
    const QColor colour = lit ? themeColour() : QColor(200, 200, 200);
    const int w = width(), h = height();
    const int bar = qMax(2, h / 9);
    const int left = w / 5, right = w - w / 5;
    for (int i = 0; i < 3; ++i) {
        const int y = h / 4 + i * (h / 4) - bar / 2;
        p.fillRect(QRect(left, y, right - left, bar), colour);
    }
    if (marked)
        paintFocusMark(p, rect());
}

void TitleMenuButton::focusInEvent(QFocusEvent *event)
{
    m_focusMarked = keyboardFocusReason(event->reason());
    QPushButton::focusInEvent(event);
}

void TitleMenuButton::keyPressEvent(QKeyEvent *event)
{
    m_focusMarked = true;
    if (menu() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                   event->key() == Qt::Key_Down)) {
        showMenu();
        return;
    }
    QPushButton::keyPressEvent(event);
}

TitleMenu::TitleMenu(QWidget *window) : QObject(window)
{
    m_menu = new QMenu(window);
    m_focusRules = new KivAction(m_menu);
    m_reapply = new KivAction(m_menu);
    m_reapply->setCheckable(true);
    m_diagnostics = new KivAction(m_menu);
    m_diagnostics->setCheckable(true);
    m_autostart = new KivAction(m_menu);
    m_autostart->setCheckable(true);
    m_quit = new KivAction(m_menu);
    connect(m_focusRules, &QAction::triggered, this, &TitleMenu::focusRulesRequested);
    connect(m_reapply, &QAction::toggled, this, &TitleMenu::reapplyToggled);
    // A recording that could not start leaves the entry unchecked: its owner says so.
    connect(m_diagnostics, &QAction::triggered, this, &TitleMenu::diagnosticsToggled);
    // Written to the desktop's settings, which may refuse: the owner sets the state it got.
    connect(m_autostart, &QAction::triggered, this, [this](bool bOn) {
        m_autostart->setChecked(!bOn);
        emit autostartToggled(bOn);
    });
    connect(m_quit, &QAction::triggered, this, &TitleMenu::quitRequested);
    connect(m_menu, &QMenu::aboutToShow, this, &TitleMenu::aboutToOpen);
    m_menu->addAction(m_focusRules);
    m_menu->addAction(m_reapply);
    m_menu->addAction(m_diagnostics);
    m_menu->addAction(m_autostart);
    m_menu->addSeparator();
    m_menu->addAction(m_quit);
    retranslate();
    relayout();
}

void TitleMenu::setReapplyChecked(bool bOn)
{
    m_reapply->setChecked(bOn);
}

void TitleMenu::setRecording(bool bRecording)
{
    m_recording = bRecording;
    m_diagnostics->setChecked(bRecording);
    retranslate();
}

void TitleMenu::setAutostartChecked(bool bOn)
{
    m_autostart->setChecked(bOn);
}

void TitleMenu::retranslate()
{
    m_focusRules->setText(QObject::tr("Profile per application..."));
    m_reapply->setText(
        QCoreApplication::translate("MousecfgWidget", "Write settings when the mouse connects"));
    m_diagnostics->setText(
        m_recording ? QCoreApplication::translate("MousecfgWidget", "Stop recording diagnostics")
                    : QCoreApplication::translate("MousecfgWidget", "Record diagnostics..."));
    m_autostart->setText(QCoreApplication::translate("MousecfgWidget", "Start when you log in"));
    m_quit->setText(QCoreApplication::translate("MousecfgWidget", "&Quit"));
}

void TitleMenu::relayout()
{
    styleMenu(m_menu);
    for (QAction *a : m_menu->actions())
        a->setFont(sharedFont());
}

} // namespace mc
