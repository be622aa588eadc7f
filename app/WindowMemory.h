#pragma once
// What the window remembers between runs, in the user's settings (QSettings; on Linux
// $XDG_CONFIG_HOME/skelmar/skelmar.conf): the last station, by its display text, the time
// type (Local or Zulu) and the unit (Fahrenheit or Celsius).

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSettings;
class QWidget;

namespace skelmar {

class RadioGroup;
class StationComboBox;

// The settings the program keeps for its user: QSettings's own place for an application
// "skelmar" of the organisation "skelmar".
std::unique_ptr<QSettings> UserSettings();

class WindowMemory final : public QObject {
    Q_OBJECT
public:
    // Remembers every later choice in `settings`, which must outlive this object.
    WindowMemory(QSettings& settings, StationComboBox& stations, RadioGroup& timeType, RadioGroup& unit,
                 QObject* parent = nullptr);

    // Sets the time type and the unit as remembered, and selects the remembered station when
    // the list holds it; a station it no longer holds is forgotten, silently. True when a
    // station was selected: its report is then to be fetched once the window is painted.
    bool Restore();

    // Runs `fetch` once, just after the first paint of `window` (queued behind that frame).
    static void AfterFirstPaint(QWidget& window, std::function<void()> fetch);

private:
    void RememberStation();

    QSettings& settings_;
    StationComboBox& stations_;
    RadioGroup& timeType_;
    RadioGroup& unit_;
    bool restoring_ = false;
};

}  // namespace skelmar
