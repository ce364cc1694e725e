// The image button every window of the program is built from: state images for normal, hover
// or checked, pressed and disabled, its own text drawn with the shared font, an optional badge,
// vertical text and a theme-coloured highlight. Its own enabled flag gates all mouse handling.
#pragma once

#include "widgets/enterevent.h"

#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QVector>

class QPainter;

#include <cstdint>

namespace mc {

// The text a badge value draws: nothing for 0, arrows for 253 and 254, else the number; each
// after two spaces.
QString badgeText(uint8_t badge);

class KivPushButton : public QPushButton
{
    Q_OBJECT
public:
    enum State
    {
        Normal = 0,
        Hover = 1,
        Pressed = 2,
        Disabled = 3
    };

    // imagePaths: full paths in state order; singleImage: full path used for the size hint.
    explicit KivPushButton(const QStringList &imagePaths, QWidget *parent = nullptr,
                           const QString &singleImage = QString());

    // These replace QAbstractButton's members of the same names: the button keeps its own
    // text, checked and enabled flags, which drive its state images.
    void setText(const QString &text);
    QString text() const { return m_text; }
    void setState(int iState);
    int state() const { return m_state; }
    void setCheckable(bool bCheckable);
    bool isCheckable() const { return m_checkable; }
    bool isChecked() const { return m_checked; }
    void setEnabled(bool bEnable);
    bool isEnabled() const { return m_enabled; }

    void setBadge(uint8_t badge);
    uint8_t badge() const { return m_badge; }
    void setVertical(bool bVertical);
    void setThemeHighlight(bool bOn);
    void setRound(bool bRound);

    // Replaces the state images (used when a product needs other pictures).
    void setImages(const QStringList &imagePaths);
    int imageCount() const { return m_paths.size(); }

    QSize sizeHint() const override;

    // Text colour of a state for the product's colour mode.
    static QColor textColour(int iState, int iColorMode);

signals:
    void EnterSignal(KivPushButton *btn);
    void OverSignal(KivPushButton *btn, bool bType);

protected:
    void enterEvent(EnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    const QPixmap *imageOfState() const;
    const QPixmap &image(int index) const;

    // Each state's image is read when the button first shows or is measured in that state:
    // many buttons of the main window keep an empty geometry and never need theirs, and the
    // hover and pressed images wait for the pointer rather than delay the first frame.
    QStringList m_paths;
    QString m_singlePath;
    mutable QVector<QPixmap> m_images; // one per path, null until read
    mutable QVector<bool> m_read;
    QString m_text;
    int m_state = Normal;
    bool m_checkable = false;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_pressedSinceEnter = false;
    uint8_t m_badge = 0;
    bool m_vertical = false;
    bool m_themeHighlight = false;
    bool m_round = false;
    // Focus that came from the keyboard is marked; a click gives focus too, and marking it
    // would only add a frame to the button just pressed.
    bool m_focusMarked = false;
};

// The theme-coloured frame of a control that has the keyboard's focus, drawn inside rect (one
// look for every control of the program that paints itself).
void paintFocusMark(QPainter &p, const QRect &rect);
// Whether focus that arrived for this reason came from the keyboard (Tab, Backtab, a shortcut):
// only then is it marked, not when a click or the window's activation gave it.
bool keyboardFocusReason(Qt::FocusReason reason);

} // namespace mc
