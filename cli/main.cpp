// skelmar-report: hands the arguments and the standard streams to the command, and, where the
// graph library is built, the means to draw the graph.

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "cli/ReportCommand.h"

#ifdef SKELMAR_WITH_GRAPH
#include "graph/ForecastGraph.h"
#include "graph/OffscreenGui.h"
#endif

namespace {

// The folder of the running executable, from which its shipped files are found; the folder
// named by argv[0] when the system does not tell.
std::filesystem::path ProgramDir(const char* argv0)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    return std::filesystem::path(argv0 != nullptr ? argv0 : "").parent_path();
}

#ifdef SKELMAR_WITH_GRAPH
// The painter needs a GUI application for its fonts; it is made only when a graph is drawn,
// on the offscreen platform, so that the command never needs a display. Qt's own notices
// (a missing runtime folder and the like) are no output of the command.
class GraphDrawing {
public:
    std::string Png(const skelmar::ForecastGraphModel& model)
    {
        if (!app_) {
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtCriticalMsg || type == QtFatalMsg)
                    std::fprintf(stderr, "skelmar-report: %s\n", message.toLocal8Bit().constData());
            });
            app_ = std::make_unique<skelmar::OffscreenGuiApplication>();
        }
        return skelmar::ForecastGraphPng(model);
    }

private:
    std::unique_ptr<skelmar::OffscreenGuiApplication> app_;
};
#endif

}  // namespace

int main(int argc, char* argv[])
{
    // A reader of standard output that goes away is a write error with a message, not the
    // silent end of the program; and the standard streams report the system's errors (a
    // closed or unreadable standard input) rather than reading as empty.
    std::signal(SIGPIPE, SIG_IGN);
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    skelmar::GraphWriter graphWriter;
#ifdef SKELMAR_WITH_GRAPH
    GraphDrawing drawing;
    graphWriter = [&drawing](const skelmar::ForecastGraphModel& model) { return drawing.Png(model); };
#endif
    try {
        return skelmar::RunReportCommand(args, ProgramDir(argc > 0 ? argv[0] : nullptr), std::cin, std::cout,
                                         std::cerr, graphWriter);
    } catch (const std::bad_alloc&) {
        std::fputs("skelmar-report: out of memory\n", stderr);
        return skelmar::kExitFailure;
    }
}
