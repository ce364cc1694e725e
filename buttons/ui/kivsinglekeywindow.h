// The single key dialog: the next key the user presses anywhere becomes the button's key. Keys
// are caught by a keyboard hook while the dialog is shown and passed on; inside the dialog they
// only name the key (Esc and Enter are keys to assign here, not ways to close it).
// User-interface thread.
#pragma once

#include "buttons/ui/kivdialogframe.h"

#include <cstdint>

namespace mc {

class KeyboardHook;
struct HookKeyEvent;

class KivSingleKeyWindow final : public KivDialogFrame
{
    Q_OBJECT
public:
    explicit KivSingleKeyWindow(QWidget *parent = nullptr);
    ~KivSingleKeyWindow() override;

    void setKeyCode(uint8_t iCode); // preset, shown by name
    uint8_t keyCode() const { return m_code; }
    QString keyText() const;

signals:
    void SetSingleKeyValue(quint8 iCode);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool onKey(const HookKeyEvent &event);

    KivLabel *m_keyLabel = nullptr;
    KeyboardHook *m_hook = nullptr;
    uint8_t m_code = 0;
    uint8_t m_lastCode = 0;
    uint32_t m_lastFlags = 0xFFFFFFFF;
    bool m_active = false;
};

} // namespace mc
