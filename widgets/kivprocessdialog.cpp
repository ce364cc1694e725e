// Busy indicator.
#include "widgets/kivprocessdialog.h"

#include "widgets/skintint.h"
#include "widgets/theme.h"

#include <QLabel>
#include <QMovie>
#include <QTimer>

// The animation lives in this static library's resources; naming the initialiser here makes
// the linker keep it in every program that shows the dialog.
static void initLoadingResource()
{
    Q_INIT_RESOURCE(loading);
}

namespace mc {

const char kLoadingAnimation[] = ":/skin/loading.gif";

KivProcessDialog::KivProcessDialog(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    initLoadingResource();
    setFixedSize(128, 128);
    setAttribute(Qt::WA_TranslucentBackground);
    // Loaded as the skin names it, though the animation is what is shown.
    skinPixmap(skinPath(QStringLiteral("process.png")));

    m_label = new QLabel(this);
    m_label->setGeometry(0, 0, 128, 128);
    m_label->setAlignment(Qt::AlignCenter);
    m_movie = new QMovie(QString::fromLatin1(kLoadingAnimation), QByteArray(), this);
    // The animation is drawn in the skin's accent: each frame takes the theme colour on its way
    // to the label.
    const QColor tint = themeColour();
    connect(m_movie, &QMovie::frameChanged, m_label, [this, tint] {
        m_label->setPixmap(QPixmap::fromImage(tintAccent(m_movie->currentImage(), tint)));
    });
    m_movie->start();

    if (parent) {
        const QRect pr = parent->frameGeometry();
        move(pr.center() - QPoint(width() / 2, height() / 2));
    }
}

void KivProcessDialog::slotProcessDlg()
{
    QTimer::singleShot(0, this, &KivProcessDialog::updateProgress);
}

void KivProcessDialog::updateProgress()
{
    accept();
}

} // namespace mc
