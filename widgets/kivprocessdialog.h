// The busy indicator shown modally while the apply worker writes to the mouse: a small
// frameless square playing the embedded loading animation. The worker's end signal is
// connected to slotProcessDlg, which closes it from the event loop.
#pragma once

#include <QDialog>

class QLabel;
class QMovie;

namespace mc {

class KivProcessDialog : public QDialog
{
    Q_OBJECT
public:
    explicit KivProcessDialog(QWidget *parent = nullptr);

    QMovie *movie() const { return m_movie; }

public slots:
    void slotProcessDlg();
    void updateProgress();

private:
    QLabel *m_label = nullptr;
    QMovie *m_movie = nullptr;
};

// The resource path of the animation.
extern const char kLoadingAnimation[];

} // namespace mc
