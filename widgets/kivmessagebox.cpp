// Message box construction, painting and the auto-close poll.
#include "widgets/kivmessagebox.h"

#include "widgets/kivlabel.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace mc {

namespace {

std::function<bool()> &plugInProbe()
{
    static std::function<bool()> probe;
    return probe;
}

KivPushButton *makeButton(const QString &text, const QFont &font, QWidget *parent)
{
    auto *b = new KivPushButton({skinPath(QStringLiteral("tabbutton-1.png")),
                                 skinPath(QStringLiteral("tabbutton-3.png")),
                                 skinPath(QStringLiteral("tabbutton-2.png"))},
                                parent);
    b->setFixedSize(scaled(100), scaled(30));
    b->setFont(font);
    // Reachable by Tab; Enter presses the default button wherever the focus is, Esc closes.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    b->setText(text);
    return b;
}

} // namespace

KivMessageBox::KivMessageBox(int iKind, const QString &windowTitle, const QString &title,
                             const QString &message, QWidget *parent, bool bAutoClose,
                             Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    m_kind = (iKind >= Question && iKind <= Receiver) ? iKind : Notice;
    setWindowTitle(windowTitle);
    setFixedSize(scaled(478), scaled(309));
    setAttribute(Qt::WA_TranslucentBackground);

    QFont font(QStringLiteral("Consolas"));
    font.setWeight(QFont::Bold);
    font.setPixelSize(qMax(1, scaled(14)));
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto *icon = new QLabel(this);
    icon->setFixedSize(scaled(45), scaled(45));
    const QPixmap pm = skinPixmap(
        skinPath(m_kind == Receiver ? QStringLiteral("dongle2.png") : QStringLiteral("warn.png")));
    if (!pm.isNull())
        icon->setPixmap(pm.scaled(icon->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));

    m_titleLabel = new KivLabel(this);
    m_titleLabel->setObjectName(QStringLiteral("msgBoxInfoLabel1"));
    m_titleLabel->setFont(font);
    m_titleLabel->setFixedPixelSize(14);
    m_titleLabel->setWordWrap(true);
    m_titleLabel->setText(title);
    m_titleLabel->setGeometry(scaledRect(20, 20, 300, 20));

    m_messageLabel = new KivLabel(this);
    m_messageLabel->setObjectName(QStringLiteral("msgBoxInfoLabel2"));
    m_messageLabel->setFont(font);
    m_messageLabel->setFixedPixelSize(14);
    m_messageLabel->setWordWrap(true);
    m_messageLabel->setText(message);
    m_messageLabel->adjustSize();

    m_yes = makeButton(m_kind == Question ? QCoreApplication::translate("KivMessageBox", "Yes")
                                          : QCoreApplication::translate("KivMessageBox", "Ok"),
                       font, this);
    connect(m_yes, &QPushButton::clicked, this, &QDialog::accept);
    m_yes->setDefault(true);
    if (m_kind == Question) {
        m_no = makeButton(QCoreApplication::translate("KivMessageBox", "No"), font, this);
        connect(m_no, &QPushButton::clicked, this, &QDialog::reject);
    }

    const int gap = scaled(30);
    auto *top = new QHBoxLayout;
    top->addSpacing(gap);
    top->addWidget(icon);
    top->addSpacing(gap);
    top->addWidget(m_messageLabel, 1);
    top->addSpacing(gap);
    auto *bottom = new QHBoxLayout;
    m_buttons = bottom;
    bottom->addStretch();
    bottom->addWidget(m_yes);
    if (m_no) {
        bottom->addStretch();
        bottom->addWidget(m_no);
    }
    bottom->addStretch();
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, scaled(50), 0, 0);
    rows->addLayout(top, 1);
    rows->addSpacing(gap);
    rows->addLayout(bottom);
    rows->addSpacing(gap);

    if (bAutoClose) {
        m_pollTimer = new QTimer(this);
        m_pollTimer->setInterval(100);
        connect(m_pollTimer, &QTimer::timeout, this, &KivMessageBox::GetPlugInSignal);
        m_pollTimer->start();
    }
}

bool KivMessageBox::autoClose() const
{
    return m_pollTimer != nullptr;
}

void KivMessageBox::setPlugInProbe(std::function<bool()> probe)
{
    plugInProbe() = std::move(probe);
}

bool KivMessageBox::ask(int iKind, const QString &title, const QString &message, QWidget *parent)
{
    KivMessageBox box(iKind, QString(), title, message, parent);
    return box.exec() == QDialog::Accepted;
}

KivPushButton *KivMessageBox::addChoice(const QString &text, int iCode)
{
    KivPushButton *b = makeButton(text, font(), this);
    connect(b, &QPushButton::clicked, this, [this, iCode] { done(iCode); });
    m_buttons->insertStretch(m_buttons->count() - 1);
    m_buttons->insertWidget(m_buttons->count() - 1, b);
    return b;
}

int KivMessageBox::choose(const QString &title, const QString &message, const QStringList &choices,
                          QWidget *parent)
{
    if (choices.isEmpty())
        return -1;
    KivMessageBox box(Notice, QString(), title, message, parent);
    box.m_yes->setText(choices.first());
    for (int i = 1; i < choices.size(); ++i)
        box.addChoice(choices.at(i), QDialog::Accepted + i);
    const int code = box.exec();
    return code >= QDialog::Accepted ? code - QDialog::Accepted : -1;
}

void KivMessageBox::GetPlugInSignal()
{
    if (plugInProbe() && plugInProbe()())
        accept();
}

void KivMessageBox::paintEvent(QPaintEvent *)
{
    paintDialogBackground(this);
}

} // namespace mc
