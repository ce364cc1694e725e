// The macro selection dialog.
#include "buttons/ui/kivmacroselect.h"

#include "macro/macrolist.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QIntValidator>
#include <QMenu>
#include <QRadioButton>

namespace mc {

namespace {

constexpr int kMaxLoops = 255;

} // namespace

KivMacroSelect::KivMacroSelect(const QString &title, QWidget *parent)
    : KivDialogFrame(460, 300, parent)
{
    setTitleText(title);
    setButtonTexts(QCoreApplication::translate("KivMacroSelect", "Yes"),
                   QCoreApplication::translate("KivMacroSelect", "No"));

    m_macroBtn = makeButton(QString());
    m_macroBtn->setThemeHighlight(true);
    m_macroBtn->setGeometry(scaledRect(110, 55, 240, 30));
    m_menu = new QMenu(this);
    styleMenu(m_menu);
    m_menu->setFixedWidth(scaled(240));
    for (const QString &name : macroNames()) {
        QAction *a = m_menu->addAction(name);
        connect(a, &QAction::triggered, this, [this, name] {
            m_name = name;
            m_macroBtn->setText(name);
        });
    }
    m_macroBtn->setMenu(m_menu);

    static const char *const kModeTexts[3] = {
        QT_TRANSLATE_NOOP("KivMacroSelect", "LOOPS TIME(1-255)"),
        QT_TRANSLATE_NOOP("KivMacroSelect", "REPEAT RUN WHEN KEY DOWN"),
        QT_TRANSLATE_NOOP("KivMacroSelect", "REPEAT RUN UNTILL THE KEY DOWN")};
    const QString radio = QStringLiteral("QRadioButton{color:white;background:transparent}"
                                         "QRadioButton::indicator:checked{background-color:%1;"
                                         "border:2px solid white;border-radius:6px}"
                                         "QRadioButton::indicator:unchecked{border:2px solid gray;"
                                         "border-radius:6px}"
                                         "QRadioButton:focus{border:1px solid %1;"
                                         "border-radius:3px}")
                              .arg(themeColour().name());
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto *r =
            new QRadioButton(QCoreApplication::translate("KivMacroSelect", kModeTexts[i]), this);
        r->setStyleSheet(radio);
        r->setFont(sharedFont());
        r->setFocusPolicy(Qt::StrongFocus); // Tab reaches the chosen mode, the arrows the others
        r->setGeometry(scaledRect(40, 105 + 40 * i, 300, 28));
        group->addButton(r, i);
        m_modes[size_t(i)] = r;
    }
    m_count = new KivLineEdit(this);
    m_count->setValidator(new QIntValidator(1, kMaxLoops, m_count));
    m_count->setMaxLength(3);
    m_count->setFont(sharedFont());
    m_count->setStyleSheet(themedLineEditStyle());
    m_count->setGeometry(scaledRect(350, 105, 70, 28));
    setChoice(MacroChoice());
}

QRadioButton *KivMacroSelect::modeButton(int iMode) const
{
    return iMode >= 0 && iMode < 3 ? m_modes[size_t(iMode)] : nullptr;
}

void KivMacroSelect::setChoice(const MacroChoice &choice)
{
    m_name = choice.name;
    m_macroBtn->setText(choice.name);
    m_count->setText(QString::number(qBound(1, choice.loopCount, kMaxLoops)));
    m_modes[size_t(qMin<int>(choice.loopMode, 2))]->setChecked(true);
}

MacroChoice KivMacroSelect::choice() const
{
    MacroChoice c;
    c.name = m_name;
    c.loopMode = 0; // none chosen counts as a number of loops
    for (int i = 0; i < 3; ++i) {
        if (m_modes[size_t(i)]->isChecked())
            c.loopMode = uint8_t(i);
    }
    bool ok = false;
    const int n = m_count->text().toInt(&ok);
    c.loopCount = ok ? qBound(1, n, kMaxLoops) : 1;
    return c;
}

} // namespace mc
