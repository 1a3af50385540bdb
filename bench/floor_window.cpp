// The floor of the window: a minimal Qt Widgets program (one empty widget at the size of the
// main window) that shows its window, lets it paint and exits. tools/bench-all.sh times it
// against `startup_bench --memory=window`, which does the same with the real main window.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget window;
    window.resize(769, 648);
    window.show();
    QCoreApplication::processEvents();
    return 0;
}
