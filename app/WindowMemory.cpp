#include "app/WindowMemory.h"

#include <QEvent>
#include <QSettings>
#include <QTimer>
#include <QWidget>

#include "app/Widgets.h"

namespace skelmar {

namespace {

const QString kStationKey = QStringLiteral("station");
const QString kTimeTypeKey = QStringLiteral("timeType");
const QString kUnitKey = QStringLiteral("unit");

// Remembers a choice of a radio group by the caption word of its item.
void RememberItem(QSettings& settings, const QString& key, const RadioGroup& group, const QString& first,
                  const QString& second)
{
    settings.setValue(key, group.ItemIndex() == 0 ? first : second);
}

void RestoreItem(const QSettings& settings, const QString& key, RadioGroup& group, const QString& first,
                 const QString& second)
{
    const QString value = settings.value(key).toString();
    if (value == first)
        group.SetItemIndex(0);
    else if (value == second)
        group.SetItemIndex(1);
}

// Runs its function once, after the first paint of the watched window.
class FirstPaintWatcher final : public QObject {
public:
    FirstPaintWatcher(QWidget& window, std::function<void()> run) : QObject(&window), run_(std::move(run)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && run_) {
            // Queued: the frame is finished first, children included.
            QTimer::singleShot(0, parent(), std::exchange(run_, {}));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> run_;
};

}  // namespace

std::unique_ptr<QSettings> UserSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("skelmar"),
                                       QStringLiteral("skelmar"));
}

WindowMemory::WindowMemory(QSettings& settings, StationComboBox& stations, RadioGroup& timeType, RadioGroup& unit,
                           QObject* parent)
    : QObject(parent), settings_(settings), stations_(stations), timeType_(timeType), unit_(unit)
{
    connect(&stations_, &QComboBox::currentIndexChanged, this, [this] { RememberStation(); });
    connect(&timeType_, &RadioGroup::clicked, this, [this] {
        RememberItem(settings_, kTimeTypeKey, timeType_, QStringLiteral("local"), QStringLiteral("zulu"));
    });
    connect(&unit_, &RadioGroup::clicked, this, [this] {
        RememberItem(settings_, kUnitKey, unit_, QStringLiteral("fahrenheit"), QStringLiteral("celsius"));
    });
}

void WindowMemory::RememberStation()
{
    if (restoring_ || stations_.currentIndex() < 0)
        return;
    settings_.setValue(kStationKey, StationComboBox::DisplayText(stations_.currentText()));
}

bool WindowMemory::Restore()
{
    RestoreItem(settings_, kTimeTypeKey, timeType_, QStringLiteral("local"), QStringLiteral("zulu"));
    RestoreItem(settings_, kUnitKey, unit_, QStringLiteral("fahrenheit"), QStringLiteral("celsius"));
    const QString station = settings_.value(kStationKey).toString();
    if (station.isEmpty())
        return false;
    for (int row = 0; row < stations_.count(); ++row) {
        if (StationComboBox::DisplayText(stations_.itemText(row)) != station)
            continue;
        restoring_ = true;
        stations_.setCurrentIndex(row);
        restoring_ = false;
        return true;
    }
    settings_.remove(kStationKey);
    return false;
}

void WindowMemory::AfterFirstPaint(QWidget& window, std::function<void()> fetch)
{
    window.installEventFilter(new FirstPaintWatcher(window, std::move(fetch)));
}

}  // namespace skelmar
