// A label that paints its own text with the shared font (or a fixed size), optionally on a
// dark plate, and reports presses so that rows of labels can act as buttons.
#pragma once

#include <QLabel>

namespace mc {

class KivLabel : public QLabel
{
    Q_OBJECT
public:
    explicit KivLabel(QWidget *parent = nullptr);
    explicit KivLabel(const QString &text, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    void setNumber(int iValue); // shown as "%d"

    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_alignment; }
    void setWordWrap(bool bWrap);
    bool wordWrap() const { return m_wordWrap; }

    // Unscaled pixel size replacing the configured one; 0 uses the configured size.
    void setFixedPixelSize(int iSize);
    // Subtracted from the (fixed or configured) size before scaling.
    void setSizeDecrement(int iDecrement);
    void setDarkBackground(bool bDark);

    // The font the text is drawn with, as the current settings give it.
    QFont textFont() const;

signals:
    void EnterSignal(KivLabel *label);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void init();

    QString m_text;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool m_wordWrap = false;
    int m_fixedSize = 0;
    int m_decrement = 0;
    bool m_dark = false;
};

} // namespace mc
