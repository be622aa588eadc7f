#pragma once
// TForm1, the program's one window: the station strip above four pages (Select Station,
// Text Report, Graphic Report, References). It gathers inputs from its controls, calls the
// core and shows the results; all wiring of controls to handlers is in the constructor.

#include <QLabel>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/ForecastState.h"
#include "retrieval/RetrievalSequence.h"
#include "time/TimeFormat.h"

class QGroupBox;
class QSettings;
class QPlainTextEdit;
class QSlider;
class QTabWidget;

namespace skelmar {

class Clock;
class ConfigFile;
class ConnectionCheck;
class HttpClient;
class IntervalTimer;
class LinkLabel;
class MessagePresenter;
class PictureButton;
class RadioGroup;
class ReferencesView;
class ReportDialogs;
class ReportView;
class RotatedLabel;
class StationComboBox;
class TVeskRegistryTimeZones;
class UrlOpener;

// What the window is given by main (or by a test).
struct FormServices {
    std::filesystem::path programDir;  // where Skelmar.ini and SkelmarRefs.htm are looked for
    MessagePresenter* messages = nullptr;
    ReportDialogs* dialogs = nullptr;  // the report's Save As... and Print...
    UrlOpener* urls = nullptr;
    IntervalTimer* timer1 = nullptr;  // Timer1
    std::function<std::unique_ptr<TVeskRegistryTimeZones>()> makeZoneList;
    FormatSettings formatSettings;
    // Retrieval.
    HttpClient* http = nullptr;
    ConnectionCheck* connection = nullptr;
    const Clock* clock = nullptr;
    std::function<std::filesystem::path()> picturePath;  // may throw "Cannot create file ..."
    // Where the last station, time type and unit are remembered; null: nothing is.
    QSettings* settings = nullptr;
};

// The map picture; reports where a mouse button was released over it.
class PickMap final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void MouseUp(int x, int y);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TForm1 final : public QWidget, private RetrievalHost {
    Q_OBJECT
public:
    explicit TForm1(FormServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    ForecastState& State() { return state_; }
    // The configuration file, open from FormShow to FormClose; null otherwise.
    const ConfigFile* Config() const { return config_.get(); }
    const TVeskRegistryTimeZones* ZoneList() const { return zoneList_.get(); }
    // True once the start-up has asked the program to end (no configuration file).
    bool TerminateRequested() const { return terminateRequested_; }

    // The start-up sequence; runs when the window is first shown.
    void FormShow();
    // Releases the configuration file and the time zone list.
    void FormClose();

    // Composes the report from what is held and, while no picture server is configured,
    // draws the forecast graph from the same inputs into Image1.
    void ComposeReport();
    void UpdateTimeLabels();
    // The document the report view was last given; empty when no composition reached it.
    const std::string& ComposedReport() const { return composedRtf_; }

    // Event handlers.
    void ecComboBoxWxLocChange();
    void ImageUSPickMapMouseUp(int x, int y);
    void zBitColBtnCloseXClick();
    void RzTrackBar1Change();
    void Timer1Timer();
    void RzRadioGroupTimeTypeClick();
    void RzRadioGroupTempFormatClick();
    // The report view's commands: the selection or the whole report to the clipboard, the
    // report saved as a file, printed.
    void WPRichText1Copy();
    void WPRichText1SaveAs();
    void WPRichText1Print();
    void WPRichTextRefsHyperLinkEvent(const QString& text, const QString& stamp);
    void WPRichTextRefsDblClick();
    void RzURLLabel1Click();

signals:
    // After each composition that reached the view.
    void reportComposed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The window's side of a retrieval.
    void Warning(const std::string& text) override;
    void Error(const std::string& text) override;
    void SetWaitCursor(bool wait) override;
    void ShowPicture(const std::filesystem::path& file) override;
    void EnableTrackBar() override;
    void SetForecastCaption(const std::string& caption) override;

    // The station change without its error box, so that the map can skip its page change
    // when the change failed.
    void ChangeStation();
    void ShowBulletinLines();
    void CreateControls();
    void ConnectHandlers();
    void SetTimeLabelCaption(QLabel* label, const QString& text);
    TimeTextContext TimeContext() const;
    // Runs one event's work; an error it raises goes to the general error box.
    void Guard(const std::function<void()>& work);

    FormServices services_;
    ForecastState state_;
    std::unique_ptr<ConfigFile> config_;
    std::unique_ptr<TVeskRegistryTimeZones> zoneList_;
    std::vector<std::string> stationEntries_;  // [STATIONS] as read at start-up
    bool shown_ = false;
    // Set by a good retrieval without a picture server, cleared by a downloaded picture.
    bool drawsGraph_ = false;
    std::string composedRtf_;
    QString composedName_;  // the file name a save proposes for it
    bool waitCursor_ = false;
    bool terminateRequested_ = false;

    // Strip above the pages.
    QLabel* Label1 = nullptr;
    StationComboBox* ecComboBoxWxLoc = nullptr;
    PictureButton* zBitColBtnCloseX = nullptr;
    QWidget* PanelNotebook = nullptr;
    QTabWidget* ecPageControl1 = nullptr;
    // Select Station.
    QWidget* TabSheet4 = nullptr;
    PickMap* ImageUSPickMap = nullptr;
    QLabel* Label2 = nullptr;
    // Text Report.
    QWidget* TabSheet1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    RadioGroup* RzRadioGroupTimeType = nullptr;
    std::array<QLabel*, 10> LabelTime{};  // LabelTime06 .. LabelTime60
    QSlider* RzTrackBar1 = nullptr;
    QLabel* LabelForecast = nullptr;
    ReportView* WPRichText1 = nullptr;
    RadioGroup* RzRadioGroupTempFormat = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    // Graphic Report.
    QWidget* TabSheet2 = nullptr;
    QLabel* Image1 = nullptr;
    RotatedLabel* RzLabelForecastPlaceTime = nullptr;
    // References.
    QWidget* TabSheet3 = nullptr;
    QWidget* PanelBeneathRefs = nullptr;
    ReferencesView* WPRichTextRefs = nullptr;
    LinkLabel* RzURLLabel1 = nullptr;
};

}  // namespace skelmar
