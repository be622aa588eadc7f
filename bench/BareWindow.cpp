// The reference of the start-up and memory benchmarks: a bare Qt Widgets window of the
// program's size, built the same way; with --text it also shows one label, so that the fonts
// are loaded as in any window that shows text. With SKELMAR_EXIT_AFTER_FIRST_PAINT set it
// ends after its first paint, as the program does; with --peak-memory it prints its peak
// resident memory (VmHWM, KiB) after its first paint, and ends.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstdio>
#include <cstring>

#include "app/ExitAfterFirstPaint.h"
#include "tests/support/ProcessStatus.h"

int main(int argc, char* argv[])
{
    bool text = false;
    bool peakMemory = false;
    for (int i = 1; i < argc; ++i) {
        text = text || std::strcmp(argv[i], "--text") == 0;
        peakMemory = peakMemory || std::strcmp(argv[i], "--peak-memory") == 0;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(838, 604);
    if (text)
        new QLabel(QStringLiteral("Station"), &window);
    if (peakMemory)
        window.installEventFilter(new skelmar::ExitAfterFirstPaint(
            &window, [] { std::printf("%ld\n", skelmar::test::ProcessStatusKiB("VmHWM")); }));
    else
        skelmar::ExitAfterFirstPaint::InstallIfRequested(window);
    window.show();
    return app.exec();
}
