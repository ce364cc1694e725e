// The combination key dialog: the keys held together become the button's combination, up to
// one each of Shift, Ctrl, Windows and Alt and one other key. While it is active its keyboard
// hook swallows every key, so combinations the desktop would act on (Alt+Tab, Win+L) can be
// captured. User-interface thread.
#pragma once

#include "buttons/combokey.h"
#include "buttons/ui/kivdialogframe.h"

#include <array>
#include <cstdint>

namespace mc {

class KeyboardHook;
struct HookKeyEvent;

class KivComboKeyWindow final : public KivDialogFrame
{
    Q_OBJECT
public:
    explicit KivComboKeyWindow(QWidget *parent = nullptr);
    ~KivComboKeyWindow() override;

    void setComboKeys(const ComboKeys &keys); // preset, shown by name
    const ComboKeys &comboKeys() const { return m_result; }
    QString keysText() const;

signals:
    void SetComboKeyValue(const std::array<uint8_t, combo::kSlotCount> &iComboKey,
                          const std::array<std::array<uint8_t, 2>, combo::kSlotCount> &iHotKeyCode);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool onKey(const HookKeyEvent &event);
    void showKeys();

    KivLabel *m_keysLabel = nullptr;
    KeyboardHook *m_hook = nullptr;
    std::array<uint8_t, combo::kSlotCount> m_slots{}; // what is held now: 1 left, 2 right
    ComboKeys m_result;
    bool m_active = false;
    bool m_seenFirst = false;
};

} // namespace mc
