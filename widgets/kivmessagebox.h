// The program's own frameless message box: a question with "Yes" and "No" (kind 1), a notice
// with "Ok" (kinds 2 and 3) or the receiver notice (kind 4), on the skin's dialog background.
// The receiver notice can close itself once a mouse has been set up. User-interface thread.
#pragma once

#include <QDialog>

#include <functional>

class QHBoxLayout;
class QTimer;

namespace mc {

class KivLabel;
class KivPushButton;

class KivMessageBox : public QDialog
{
    Q_OBJECT
public:
    enum Kind
    {
        Question = 1,
        Notice = 2,
        Notice2 = 3,
        Receiver = 4
    };

    // A kind outside 1..4 is shown as a notice. Callers pass Qt::FramelessWindowHint and an
    // empty window title.
    KivMessageBox(int iKind, const QString &windowTitle, const QString &title,
                  const QString &message, QWidget *parent = nullptr, bool bAutoClose = false,
                  Qt::WindowFlags flags = Qt::FramelessWindowHint);

    int kind() const { return m_kind; }
    KivPushButton *yesButton() const { return m_yes; }
    KivPushButton *noButton() const { return m_no; } // nullptr unless kind 1
    bool autoClose() const;

    // What the auto-closing box asks every 100 ms: has a mouse been set up? The main window
    // sets it once; without it the box never closes by itself.
    static void setPlugInProbe(std::function<bool()> probe);

    // Shows a box modally and returns true when it was accepted.
    static bool ask(int iKind, const QString &title, const QString &message,
                    QWidget *parent = nullptr);
    // A question with a button per choice, the first the default (Enter); returns the index of
    // the button pressed, or -1 when the box was closed otherwise (Esc).
    static int choose(const QString &title, const QString &message, const QStringList &choices,
                      QWidget *parent = nullptr);
    // Adds a button after the others; pressing it ends the box with done(iCode).
    KivPushButton *addChoice(const QString &text, int iCode);

public slots:
    void GetPlugInSignal();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_kind = Notice;
    KivLabel *m_titleLabel = nullptr;
    KivLabel *m_messageLabel = nullptr;
    KivPushButton *m_yes = nullptr;
    KivPushButton *m_no = nullptr;
    QHBoxLayout *m_buttons = nullptr;
    QTimer *m_pollTimer = nullptr;
};

} // namespace mc
