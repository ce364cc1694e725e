// The fire key dialog.
#include "buttons/ui/kivfirekeywindow.h"

#include "buttons/keycodes.h"
#include "platform/keyboardhook.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QRadioButton>

#include <algorithm>

namespace mc {

namespace {

constexpr int kMaxTimes = 255;
constexpr int kMaxDelay = 2550; // the mouse carries the delay in tens of ms in one byte

QString radioStyle()
{
    return QStringLiteral("QRadioButton{color:white;background:transparent}"
                          "QRadioButton::indicator:checked{background-color:%1;"
                          "border:2px solid white;border-radius:6px}"
                          "QRadioButton::indicator:unchecked{border:2px solid gray;"
                          "border-radius:6px}"
                          "QRadioButton:focus{border:1px solid %1;border-radius:3px}")
        .arg(themeColour().name());
}

} // namespace

KivFireKeyWindow::KivFireKeyWindow(QWidget *parent) : KivDialogFrame(420, 280, parent)
{
    setTitleText(QCoreApplication::translate("KivFireKeyWindow", "FireKey Setting"));
    setButtonTexts(QCoreApplication::translate("KivFireKeyWindow", "OK"),
                   QCoreApplication::translate("KivFireKeyWindow", "Cancel"));
    static const char *const kSourceTexts[4] = {
        QT_TRANSLATE_NOOP("KivFireKeyWindow", "Left"),
        QT_TRANSLATE_NOOP("KivFireKeyWindow", "Right"),
        QT_TRANSLATE_NOOP("KivFireKeyWindow", "Middle"),
        QT_TRANSLATE_NOOP("KivFireKeyWindow", "Keyboard Key")};
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto *r = new QRadioButton(QCoreApplication::translate("KivFireKeyWindow", kSourceTexts[i]),
                                   this);
        r->setStyleSheet(radioStyle());
        r->setFont(sharedFont());
        // Reached by Tab, moved between by the arrows; choosing "Keyboard Key" by the keyboard
        // hands the focus to the dialog, which then listens for the fire key.
        r->setFocusPolicy(Qt::StrongFocus);
        group->addButton(r, i);
        m_sources[size_t(i)] = r;
    }
    m_sources[0]->setGeometry(scaledRect(30, 55, 110, 26));
    m_sources[1]->setGeometry(scaledRect(150, 55, 110, 26));
    m_sources[2]->setGeometry(scaledRect(270, 55, 120, 26));
    m_sources[3]->setGeometry(scaledRect(30, 95, 150, 26));
    m_keyLabel = makeLabel(QString());
    m_keyLabel->setAlignment(Qt::AlignCenter);
    m_keyLabel->setDarkBackground(true);
    m_keyLabel->setGeometry(scaledRect(190, 93, 200, 30));

    KivLabel *timesLabel = makeLabel(QCoreApplication::translate("KivFireKeyWindow", "Times:"));
    timesLabel->setGeometry(scaledRect(30, 145, 80, 26));
    m_times = new KivLineEdit(this);
    m_times->setValidator(new QIntValidator(1, kMaxTimes, m_times));
    m_times->setMaxLength(3);
    m_times->setGeometry(scaledRect(110, 145, 80, 26));
    KivLabel *delayLabel = makeLabel(QCoreApplication::translate("KivFireKeyWindow", "Delay:"));
    delayLabel->setGeometry(scaledRect(220, 145, 80, 26));
    m_delay = new KivLineEdit(this);
    m_delay->setValidator(new QIntValidator(0, kMaxDelay, m_delay));
    m_delay->setMaxLength(4);
    m_delay->setGeometry(scaledRect(300, 145, 90, 26));
    for (QLineEdit *e : {m_times, m_delay}) {
        e->setStyleSheet(themedLineEditStyle());
        e->setFont(sharedFont());
    }
    m_sources[0]->setChecked(true);
    // Choosing "Keyboard Key" means the next key is the fire key, not a digit for a field.
    connect(m_sources[3], &QRadioButton::clicked, this, [this] { setFocus(); });
    // The dialog itself holds the focus while it listens, so that no field takes the keys.
    setFocusPolicy(Qt::ClickFocus);

    m_hook = new KeyboardHook([this](const HookKeyEvent &e) { return onKey(e); }, this);
    m_hook->install();
}

KivFireKeyWindow::~KivFireKeyWindow()
{
    m_hook->remove();
}

QRadioButton *KivFireKeyWindow::sourceButton(int iSource) const
{
    return iSource >= 0 && iSource < 4 ? m_sources[size_t(iSource)] : nullptr;
}

int KivFireKeyWindow::source() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_sources[size_t(i)]->isChecked())
            return i;
    }
    return FireKeyChoice::Left;
}

void KivFireKeyWindow::setChoice(const FireKeyChoice &choice)
{
    m_sources[size_t(qBound(0, int(choice.source), 3))]->setChecked(true);
    m_keyCode = choice.keyCode;
    m_keyLabel->setText(keyName(m_keyCode));
    m_times->setText(QString::number(choice.times));
    m_delay->setText(QString::number(choice.delay));
}

FireKeyChoice KivFireKeyWindow::choice() const
{
    FireKeyChoice c;
    c.source = uint8_t(source());
    c.keyCode = m_keyCode;
    // Empty or out-of-range fields fall back to the dialog's defaults rather than 0 shots.
    bool ok = false;
    const int times = m_times->text().toInt(&ok);
    c.times = ok && times >= 1 ? qMin(times, kMaxTimes) : 3;
    const int delay = m_delay->text().toInt(&ok);
    c.delay = ok && delay >= 0 ? qMin(delay, kMaxDelay) : 10;
    return c;
}

QString KivFireKeyWindow::keyText() const
{
    return m_keyLabel->text();
}

bool KivFireKeyWindow::onKey(const HookKeyEvent &event)
{
    if (!m_active || !listening())
        return false;
    const KeyStroke k = keyEventToKeyCode(event.scanCode, event.flags, event.vkCode);
    // Only keys the mouse can send: a key without a keyboard usage would fire nothing.
    if (k.code == keycode::kNone || usageOf(k.code) == 0)
        return false;
    m_keyCode = k.code;
    m_keyLabel->setText(keyName(k.code));
    return false;
}

void KivFireKeyWindow::showEvent(QShowEvent *event)
{
    m_active = true;
    KivDialogFrame::showEvent(event);
    setFocus();
}

void KivFireKeyWindow::hideEvent(QHideEvent *event)
{
    m_active = false;
    KivDialogFrame::hideEvent(event);
}

// Keys typed into "Times:" or "Delay:" belong to that field, and those on a focused button to
// the button (the dialog's focus child, also while another window of ours is in front).
bool KivFireKeyWindow::listening() const
{
    const QWidget *f = focusWidget();
    return source() == FireKeyChoice::Keyboard && f != m_times && f != m_delay && f != okButton() &&
           f != cancelButton() &&
           std::find(m_sources.cbegin(), m_sources.cend(), f) == m_sources.cend();
}

void KivFireKeyWindow::keyPressEvent(QKeyEvent *event)
{
    // While the dialog listens, a key only chooses the fire key; otherwise Enter and Esc answer
    // the dialog as everywhere.
    if (listening())
        event->accept();
    else
        KivDialogFrame::keyPressEvent(event);
}

} // namespace mc
