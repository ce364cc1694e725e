// The frame the button function dialogs share: frameless, the skin's dialog background with a
// theme-coloured rim, a title, and the accept and reject buttons at the bottom (Enter accepts,
// Esc rejects, Tab reaches both). Each dialog puts its own controls between title and buttons
// at design coordinates of its size. User-interface thread.
#pragma once

#include <QDialog>
#include <QList>

namespace mc {

class KivLabel;
class KivPushButton;

class KivDialogFrame : public QDialog
{
    Q_OBJECT
public:
    KivDialogFrame(int iDesignWidth, int iDesignHeight, QWidget *parent = nullptr);

    void setTitleText(const QString &text);
    QString titleText() const;
    void setButtonTexts(const QString &accept, const QString &reject);
    KivPushButton *okButton() const { return m_ok; }
    KivPushButton *cancelButton() const { return m_cancel; }

    // A styled push button for the dialog's body.
    KivPushButton *makeButton(const QString &text);
    // A label in the dialog's font, white on the dark background.
    KivLabel *makeLabel(const QString &text);

protected:
    // For a dialog that captures keys: the accept and reject buttons leave the Tab chain.
    void keepKeysForCapture();
    void showEvent(QShowEvent *event) override;
    bool focusNextPrevChild(bool bNext) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The controls Tab visits, in order.
    QList<QWidget *> tabChain() const;

    KivLabel *m_title = nullptr;
    KivPushButton *m_ok = nullptr;
    KivPushButton *m_cancel = nullptr;
    QPoint m_dragOffset;
};

} // namespace mc
