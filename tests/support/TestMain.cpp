// The main of every GoogleTest program: the tests run with a pinned time zone and locale,
// without the user's proxies and configuration folder, and with the variables their CMake
// target names, so none depends on the machine's settings
// unless it sets them itself, whether it runs under CTest or on its own.

#include <cstdlib>
#include <ctime>
#include <string_view>

#include <gtest/gtest.h>

namespace {

// "NAME=VALUE;NAME=VALUE" from the program's CMake target.
void SetEnvironment(std::string_view assignments)
{
    while (!assignments.empty()) {
        const std::size_t end = assignments.find(';');
        const std::string_view one = assignments.substr(0, end);
        const std::size_t equals = one.find('=');
        if (equals != std::string_view::npos)
            setenv(std::string(one.substr(0, equals)).c_str(), std::string(one.substr(equals + 1)).c_str(), 1);
        if (end == std::string_view::npos)
            break;
        assignments.remove_prefix(end + 1);
    }
}

// Variables of the user's session that would change what a test sees: the proxies that
// downloads honour, and the folder where the user's own Skelmar.ini would take precedence
// (it names a folder that does not exist). A test that needs one sets it itself.
void ClearSessionEnvironment()
{
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                             "no_proxy", "NO_PROXY"})
        unsetenv(name);
    setenv("XDG_CONFIG_HOME", "/nonexistent/skelmar-tests/config", 1);
}

}  // namespace

int main(int argc, char** argv)
{
    SetEnvironment("TZ=UTC;LANG=C;LC_ALL=C");
    ClearSessionEnvironment();
    SetEnvironment(SKELMAR_TEST_ENVIRONMENT);
    tzset();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
