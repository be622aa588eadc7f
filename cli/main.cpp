// skelmar-report: hands the arguments and the standard streams to the command.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "cli/ReportCommand.h"

namespace {

// The folder of the running executable, where its Skelmar.ini lies; the folder named by
// argv[0] when the system does not tell.
std::filesystem::path ProgramDir(const char* argv0)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    return std::filesystem::path(argv0 != nullptr ? argv0 : "").parent_path();
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        return skelmar::RunReportCommand(args, ProgramDir(argc > 0 ? argv[0] : nullptr), std::cin, std::cout,
                                         std::cerr);
    } catch (const std::bad_alloc&) {
        std::fputs("skelmar-report: out of memory\n", stderr);
        return skelmar::kExitFailure;
    }
}
