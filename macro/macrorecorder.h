// Macro recording: desktop-wide key events from the keyboard hook turned into macro actions,
// with the recording limits and the delay rules, plus the edit mode in which one key replaces
// the key of a single action. No widgets: the macro editor drives it and shows what it reports.
//
// User-interface thread only (the hook delivers there). The hook is installed while recording
// (or editing a key action) and removed on stop, at the end of an edit and on destruction, so no
// hook outlives the recorder. Events are always passed on: the focused application still gets
// every key.
#pragma once

#include "macro/macroaction.h"
#include "platform/keyboardhook.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

namespace mc {

class MacroRecorder final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(MacroRecorder)
public:
    // Milliseconds of a monotonic clock; the process clock unless a test brings its own.
    using Clock = std::function<qint64()>;

    // Delay types of a recording.
    enum DelayType
    {
        kNoDelay = 0,
        kRecordDelays = 1,
        kDefaultDelay = 2,
    };

    // Recording stops adding actions beyond these counts.
    static constexpr int kMaxActionsWithDelays = 63;
    static constexpr int kMaxActionsWithoutDelays = 40;

    explicit MacroRecorder(QObject *parent = nullptr);
    explicit MacroRecorder(Clock clock, QObject *parent = nullptr);
    ~MacroRecorder() override;

    // Settings read at each event; out-of-range values read as the nearest sane one.
    void setDelayType(int type);
    void setDefaultDelayMs(int ms);
    void setDelayUnit(int unit);
    int delayType() const { return m_delayType; }

    // "START": clears the actions and the held keys and installs the hook. iKept actions stay in
    // the macro around the recording ("RECORD AFTER") and count towards the limits, so that the
    // whole macro keeps within what a button entry carries.
    void start(int iKept = 0);
    // "STOP": removes the hook. Answers the release check; the actions stay for the caller to
    // save whatever it says.
    bool stop();
    bool isRecording() const { return m_recording; }

    // Edit mode for one action: a key event replaces the key of a key action (press stays press).
    // The hook is installed only for a key action.
    void beginEdit(const MacroAction &action);
    void endEdit();
    bool isEditing() const { return m_editing; }
    MacroAction editedAction() const { return m_edited; }

    const QVector<MacroAction> &actions() const { return m_actions; }

    // The hook's handler: the key code rule (with the recorder's Alt variant), then the record or
    // edit-key routine. Never swallows.
    bool handleKeyEvent(const HookKeyEvent &event);

    // True when every pressed key and mouse button of the actions is released again.
    static bool releaseCheck(const QVector<MacroAction> &actions);
    // What the caller shows (title "Warning") when the release check fails.
    static QString unreleasedMessage();

signals:
    // An action was appended (a delay and its key action one after the other); the editor selects
    // the last one.
    void actionAppended(int index);
    // The edited action's key changed to this key code; the editor shows its name.
    void keyEdited(int iCode);

private:
    void recordKey(uint8_t code, uint32_t flags);
    void editKey(uint8_t code, uint32_t flags);
    void append(const MacroAction &action);
    MacroAction delayBefore(qint64 now) const;
    void ensureHook();
    void dropHook();

    Clock m_clock;
    std::unique_ptr<KeyboardHook> m_hook;
    bool m_recording = false;
    bool m_editing = false;
    int m_delayType = kNoDelay;
    int m_defaultDelayMs = 10;
    int m_kept = 0;
    int m_delayUnit = macro::kDefaultDelayUnit;
    QVector<MacroAction> m_actions;
    QVector<uint8_t> m_heldKeys;
    // The key code each physical key (scan code and extended bit) went down as: the Alt rule can
    // give a key pressed with Alt held another code than its release, and the release must free
    // the key that was pressed.
    QHash<uint32_t, uint8_t> m_downAs;
    std::optional<qint64> m_lastEventMs;
    std::optional<std::pair<uint8_t, uint32_t>> m_lastKey;
    MacroAction m_edited;
};

} // namespace mc
