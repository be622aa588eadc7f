#pragma once
// A GUI application on the "offscreen" platform, for drawing without a display: the command
// line's --graph and the graph's tests. The platform is chosen by the application's own
// arguments, so a display or QT_QPA_PLATFORM in the environment changes nothing.

#include <QGuiApplication>

#include <memory>

namespace skelmar {

class OffscreenGuiApplication {
public:
    OffscreenGuiApplication() : app_(std::make_unique<QGuiApplication>(argc_, argv_)) {}
    OffscreenGuiApplication(const OffscreenGuiApplication&) = delete;
    OffscreenGuiApplication& operator=(const OffscreenGuiApplication&) = delete;

private:
    // QGuiApplication keeps references to these for its lifetime.
    int argc_ = 3;
    char name_[8] = "skelmar";
    char option_[10] = "-platform";
    char platform_[10] = "offscreen";
    char* argv_[4] = {name_, option_, platform_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace skelmar
