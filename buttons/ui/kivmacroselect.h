// The macro selection dialog: a macro of the macro list and how it repeats. The caller gives
// the title. User-interface thread.
#pragma once

#include "buttons/assignment.h"
#include "buttons/ui/kivdialogframe.h"

#include <array>

class QLineEdit;
class QMenu;
class QRadioButton;

namespace mc {

class KivMacroSelect final : public KivDialogFrame
{
    Q_OBJECT
public:
    KivMacroSelect(const QString &title, QWidget *parent = nullptr);

    void setChoice(const MacroChoice &choice); // preset
    MacroChoice choice() const;
    QMenu *macroMenu() const { return m_menu; }
    QRadioButton *modeButton(int iMode) const;
    QLineEdit *countEdit() const { return m_count; }

private:
    KivPushButton *m_macroBtn = nullptr;
    QMenu *m_menu = nullptr;
    std::array<QRadioButton *, 3> m_modes{};
    QLineEdit *m_count = nullptr;
    QString m_name;
};

} // namespace mc
