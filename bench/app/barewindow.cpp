// The yardstick of the start-up benchmark: a bare Qt Widgets window of the main window's size
// that says when it first paints, as mousecfg does under MOUSECFG_STARTUP_PROBE.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <cstdio>

namespace {

class BareWindow : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), QColor(21, 22, 26));
        if (!m_said) {
            m_said = true;
            std::printf("bare: first paint\n");
            std::fflush(stdout);
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
