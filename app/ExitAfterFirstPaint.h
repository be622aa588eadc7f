#pragma once
// For the start-up benchmark: with SKELMAR_EXIT_AFTER_FIRST_PAINT set, the program ends as
// soon as its window has been painted once, so that the time from process start to the
// first frame can be taken from outside. Nothing is torn down: the process just ends.

#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

namespace skelmar {

class ExitAfterFirstPaint final : public QObject {
public:
    // `last` runs just before the process ends.
    explicit ExitAfterFirstPaint(QObject* parent, std::function<void()> last = {})
        : QObject(parent), last_(std::move(last))
    {
    }

    // Watches `window` when the environment asks for it.
    static void InstallIfRequested(QObject& window)
    {
        if (qEnvironmentVariableIsSet("SKELMAR_EXIT_AFTER_FIRST_PAINT"))
            window.installEventFilter(new ExitAfterFirstPaint(&window));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // Queued behind the rest of this frame: its children are painted and it is shown.
            QTimer::singleShot(0, [this] {
                if (last_)
                    last_();
                std::fflush(nullptr);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    std::function<void()> last_;
    bool painted_ = false;
};

}  // namespace skelmar
