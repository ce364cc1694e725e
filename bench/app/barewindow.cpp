// The yardstick of the start-up benchmark: a bare Qt Widgets window of the main window's size.
// Under MOUSECFG_STARTUP_PROBE it says when its first frame has been flushed, as mousecfg does.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class BareWindow : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), QColor(21, 22, 26));
        if (!m_said && qEnvironmentVariableIsSet("MOUSECFG_STARTUP_PROBE")) {
            m_said = true;
            // The frame is flushed once this handler returns; a 0-timer runs after that.
            QTimer::singleShot(0, [] {
                std::printf("bare: first paint\n");
                std::fflush(stdout);
            });
        }
    }

private:
    bool m_said = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    BareWindow w;
    w.resize(999, 640);
    w.show();
    return app.exec();
}
