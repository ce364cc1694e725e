// The program's menu: what the tray icon's menu holds besides bringing the window up, reachable
// as well from a button in the window's title bar, so that a desktop without a tray loses
// nothing. It owns the actions; the tray menu shows the same ones. User-interface thread only.
#pragma once

#include <QObject>
#include <QPushButton>

class QAction;
class QMenu;
class QWidget;

namespace mc {

// The title bar's button of the menu: three bars drawn like the minimise and close images, in
// the theme colour under the cursor or with the keyboard's focus. Enter, Space or a click
// opens the menu.
class TitleMenuButton final : public QPushButton
{
    Q_OBJECT
public:
    explicit TitleMenuButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    bool m_focusMarked = false;
};

class TitleMenu final : public QObject
{
    Q_OBJECT
public:
    explicit TitleMenu(QWidget *window);
    TitleMenu(const TitleMenu &) = delete;
    TitleMenu &operator=(const TitleMenu &) = delete;

    QMenu *menu() const { return m_menu; }
    QAction *focusRulesAction() const { return m_focusRules; }
    QAction *reapplyAction() const { return m_reapply; }
    QAction *diagnosticsAction() const { return m_diagnostics; }
    QAction *autostartAction() const { return m_autostart; }
    QAction *quitAction() const { return m_quit; }

    // The entries' states as their owners report them.
    void setReapplyChecked(bool bOn);
    void setRecording(bool bRecording);
    void setAutostartChecked(bool bOn);
    void retranslate();
    // The shared font and menu width at the current scale.
    void relayout();

signals:
    void focusRulesRequested();
    void reapplyToggled(bool bOn);
    void diagnosticsToggled(bool bOn);
    // The user asked for the program to start, or no longer, when they log in. The entry
    // keeps the state it had until its owner confirms the new one.
    void autostartToggled(bool bOn);
    // The menu is about to open: its owner refreshes what may have changed elsewhere (the
    // desktop's own settings can remove the log-in entry).
    void aboutToOpen();
    // The user asked to quit; the window decides (edits not yet written are asked about).
    void quitRequested();

private:
    QMenu *m_menu = nullptr;
    QAction *m_focusRules = nullptr;
    QAction *m_reapply = nullptr;
    QAction *m_diagnostics = nullptr;
    QAction *m_autostart = nullptr;
    QAction *m_quit = nullptr;
    bool m_recording = false;
};

} // namespace mc
