// The shared dialog frame.
#include "buttons/ui/kivdialogframe.h"

#include "widgets/kivlabel.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace mc {

namespace {
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kBottomMargin = 20;
} // namespace

KivDialogFrame::KivDialogFrame(int iDesignWidth, int iDesignHeight, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    setFixedSize(scaled(iDesignWidth), scaled(iDesignHeight));
    setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    applySharedFont(this);

    m_title = makeLabel(QString());
    m_title->setAlignment(Qt::AlignCenter);
    // Above the rule the background image draws at 48.5 / 309 of its height.
    const int ruleY = iDesignHeight * 485 / 3090;
    m_title->setGeometry(scaledRect(20, qMax(2, ruleY - 26), iDesignWidth - 40, 24));

    m_ok = makeButton(QCoreApplication::translate("KivDialogFrame", "OK"));
    m_cancel = makeButton(QCoreApplication::translate("KivDialogFrame", "Cancel"));
    const int y = iDesignHeight - kBottomMargin - kButtonHeight;
    const int gap = (iDesignWidth - 2 * kButtonWidth) / 3;
    m_ok->setGeometry(scaledRect(gap, y, kButtonWidth, kButtonHeight));
    m_cancel->setGeometry(scaledRect(2 * gap + kButtonWidth, y, kButtonWidth, kButtonHeight));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter answers with the accept button wherever the focus is (QDialog presses the default
    // one), Esc rejects; Tab reaches both, and the button marks keyboard focus itself.
    m_ok->setDefault(true);
}

// The accept and reject buttons are made before the dialog's own controls, so Qt's chain would
// reach them first; Tab follows the layout instead: the body's controls, then OK, then Cancel.
QList<QWidget *> KivDialogFrame::tabChain() const
{
    QList<QWidget *> chain;
    for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w == m_ok || w == m_cancel || !isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) ||
            !w->isVisibleTo(this) || !w->isEnabled())
            continue;
        // The parts of a compound control (a spin box's field) are reached through it.
        if (std::any_of(chain.cbegin(), chain.cend(),
                        [w](const QWidget *c) { return c->isAncestorOf(w); }))
            continue;
        chain << w;
    }
    for (KivPushButton *b : {m_ok, m_cancel}) {
        if ((b->focusPolicy() & Qt::TabFocus) && b->isVisibleTo(this))
            chain << b;
    }
    return chain;
}

bool KivDialogFrame::focusNextPrevChild(bool bNext)
{
    const QList<QWidget *> chain = tabChain();
    if (chain.isEmpty())
        return QDialog::focusNextPrevChild(bNext);
    const QWidget *now = focusWidget();
    int at = -1;
    for (int i = 0; i < chain.size(); ++i) {
        if (chain.at(i) == now || chain.at(i)->isAncestorOf(now))
            at = i;
    }
    const int n = int(chain.size());
    const int to = at < 0 ? (bNext ? 0 : n - 1) : (at + (bNext ? 1 : n - 1)) % n;
    chain.at(to)->setFocus(bNext ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void KivDialogFrame::showEvent(QShowEvent *event)
{
    // Focus starts in the body, as Tab would bring it there; Enter still accepts.
    if (!focusWidget()) {
        const QList<QWidget *> chain = tabChain();
        if (!chain.isEmpty())
            chain.first()->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void KivDialogFrame::keepKeysForCapture()
{
    // Every key, Enter and Esc included, is what the user is choosing here: a focused button
    // would take the key meant for the dialog. The buttons answer to the mouse.
    for (KivPushButton *b : {m_ok, m_cancel})
        b->setFocusPolicy(Qt::NoFocus);
}

void KivDialogFrame::setTitleText(const QString &text)
{
    m_title->setText(text);
    setWindowTitle(text);
}

QString KivDialogFrame::titleText() const
{
    return m_title->text();
}

void KivDialogFrame::setButtonTexts(const QString &accept, const QString &reject)
{
    m_ok->setText(accept);
    m_cancel->setText(reject);
}

KivPushButton *KivDialogFrame::makeButton(const QString &text)
{
    auto *b = new KivPushButton({skinPath(QStringLiteral("tabbutton-1.png")),
                                 skinPath(QStringLiteral("tabbutton-3.png")),
                                 skinPath(QStringLiteral("tabbutton-2.png"))},
                                this);
    // Reachable by Tab. Enter stays the dialog's (its accept button, or the menu of a button
    // that has one); Space presses the focused button.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    b->setText(text);
    return b;
}

KivLabel *KivDialogFrame::makeLabel(const QString &text)
{
    auto *l = new KivLabel(text, this);
    l->setPalette(palette());
    return l;
}

void KivDialogFrame::paintEvent(QPaintEvent *)
{
    paintDialogBackground(this);
}

// Frameless, the dialog is moved by dragging its background.
void KivDialogFrame::mousePressEvent(QMouseEvent *event)
{
    m_dragOffset = event->globalPos() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void KivDialogFrame::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPos() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

} // namespace mc
