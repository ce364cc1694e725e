// The fire key dialog: what fires (a mouse button or a keyboard key), how many shots and the
// delay between them. A keyboard key is caught by the keyboard hook, only while "Keyboard Key"
// is chosen. User-interface thread.
#pragma once

#include "buttons/assignment.h"
#include "buttons/ui/kivdialogframe.h"

#include <array>

class QRadioButton;
class QLineEdit;

namespace mc {

class KeyboardHook;
struct HookKeyEvent;

class KivFireKeyWindow final : public KivDialogFrame
{
    Q_OBJECT
public:
    explicit KivFireKeyWindow(QWidget *parent = nullptr);
    ~KivFireKeyWindow() override;

    void setChoice(const FireKeyChoice &choice); // preset
    // The result: the chosen source and key, "Times:" and "Delay:" read as decimal integers.
    FireKeyChoice choice() const;
    QString keyText() const;
    QRadioButton *sourceButton(int iSource) const;
    QLineEdit *timesEdit() const { return m_times; }
    QLineEdit *delayEdit() const { return m_delay; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool onKey(const HookKeyEvent &event);
    int source() const;
    // Whether a key now is the fire key being chosen (not text for a field or a button's).
    bool listening() const;

    std::array<QRadioButton *, 4> m_sources{};
    KivLabel *m_keyLabel = nullptr;
    QLineEdit *m_times = nullptr;
    QLineEdit *m_delay = nullptr;
    KeyboardHook *m_hook = nullptr;
    uint8_t m_keyCode = 0;
    bool m_active = false;
};

} // namespace mc
