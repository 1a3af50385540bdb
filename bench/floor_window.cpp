// The floor of the window: a minimal Qt Widgets program (one empty widget at the size of the
// main window) that shows its window, lets it paint and exits. tools/bench-all.sh times it
// against `startup_bench --memory=window`, which does the same with the real main window.
//
// `floor_window --text` adds one label of Chinese text: the least any window that shows Chinese
// pays, for Qt reads the system's font list (fontconfig) and opens a CJK font before it can draw
// the first character, none of which the empty window does.

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool withText = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.resize(769, 648);
    if (withText)
        (new QVBoxLayout(&window))
            ->addWidget(new QLabel(QStringLiteral("宝宝取名 姓名评测"), &window));
    window.show();
    QCoreApplication::processEvents();
    return 0;
}
