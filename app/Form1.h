#pragma once
// TForm1, the program's one window: the station strip above four pages (Select Station,
// Text Report, Graphic Report, References). It gathers inputs from its controls, calls the
// core and shows the results; all wiring of controls to handlers is in the constructor.

#include <QLabel>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/ForecastState.h"
#include "time/TimeFormat.h"

class QGroupBox;
class QSettings;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;

namespace skelmar {

class Clock;
class ConfigFile;
class ConfigTexts;
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
class RetrievalRunner;
struct RetrievalResult;
class RotatedLabel;
class StationComboBox;
class TVeskRegistryTimeZones;
class UrlOpener;

// What the window is given by main (or by a test).
struct FormServices {
    // The folder of the shipped files: SkelmarRefs.htm, and Skelmar.ini unless the user has
    // their own (ConfigFilePath).
    std::filesystem::path dataDir;
    MessagePresenter* messages = nullptr;
    ReportDialogs* dialogs = nullptr;  // the report's Save As... and Print...
    UrlOpener* urls = nullptr;
    IntervalTimer* timer1 = nullptr;  // Timer1
    std::function<std::unique_ptr<TVeskRegistryTimeZones>()> makeZoneList;
    FormatSettings formatSettings;
    // Retrieval. The client serves the window's retrieval thread only, once the window is
    // made; the picture path is asked on that thread, only when a picture is to be written.
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

class TForm1 final : public QWidget {
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

    // True while a retrieval runs (from a station change until its result is shown).
    bool RetrievalRunning() const;
    // Ends the running retrieval; the window stays as it was before the station was chosen.
    void CancelRetrieval();

    // Event handlers. A station change starts a retrieval and returns; its result is shown
    // when it arrives.
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
    // After a retrieval's result was shown, or the retrieval was cancelled.
    void retrievalEnded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What a station change remembers until its result is shown.
    struct PendingChange {
        std::uint64_t id = 0;
        std::string entry;
        TIME_ZONE_INFORMATION zone{};
        bool fromMap = false;  // the map brings the Text Report page in front in any case
    };

    // The station change up to the start of its retrieval; an error it raises goes to the
    // general error box and nothing is started.
    void ChangeStation(bool fromMap);
    // Shows a retrieval's result, all of it in one step.
    void ApplyRetrieval(const RetrievalResult& result);
    void ShowRetrievalProgress(const QString& url, qint64 bytes);
    // The busy cursor, the status line and the Cancel button, on or off.
    void ShowRetrievalRunning(bool running);
    // The station list shows the entry of the report on screen.
    void SelectShownStation();
    void SetWaitCursor(bool wait);
    // The configuration texts: the file while it is open, else texts that are all empty.
    const ConfigTexts& Texts() const;
    void ShowBulletinLines();
    void CreateControls();
    void ConnectHandlers();
    void SetTimeLabelCaption(QLabel* label, const QString& text);
    TimeTextContext TimeContext() const;
    // The graph for the report's page: none when it shows another bulletin than the report.
    QImage ShownGraph() const;
    // Runs one event's work; an error it raises goes to the general error box.
    void Guard(const std::function<void()>& work);

    // The right edge of the time scale's labels, which grow to the left.
    static constexpr int kTimeLabelRightEdge = 161;

    FormServices services_;
    ForecastState state_;
    std::unique_ptr<ConfigFile> config_;
    std::unique_ptr<TVeskRegistryTimeZones> zoneList_;
    std::vector<std::string> stationEntries_;  // [STATIONS] as read at start-up
    bool shown_ = false;
    // Set by a good retrieval without a picture server, cleared by a downloaded picture and
    // by a failed retrieval (the graph shown stays).
    bool drawsGraph_ = false;
    // What the graph shown was drawn from (or the retrieval that brought the picture): its
    // caption names that station and issue time.
    ForecastState graphSource_;
    // The last retrieval did not give a bulletin: the forecast label says so.
    bool noForecast_ = false;
    RetrievalRunner* runner_ = nullptr;
    PendingChange pending_;
    std::string composedRtf_;
    QString composedName_;  // the file name a save proposes for it
    bool waitCursor_ = false;
    bool terminateRequested_ = false;

    // Strip above the pages.
    QLabel* stationLabel_ = nullptr;
    StationComboBox* stationList_ = nullptr;
    QLabel* retrievalStatus_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    PictureButton* exitButton_ = nullptr;
    QWidget* pagePanel_ = nullptr;
    QTabWidget* pages_ = nullptr;
    // Select Station.
    QWidget* selectStationPage_ = nullptr;
    PickMap* pickMap_ = nullptr;
    QLabel* pickMapHint_ = nullptr;
    // Text Report.
    QWidget* textReportPage_ = nullptr;
    QGroupBox* timeGroup_ = nullptr;
    RadioGroup* timeTypeGroup_ = nullptr;
    std::array<QLabel*, 10> timeLabels_{};  // LabelTime06 .. LabelTime60
    QSlider* stepSlider_ = nullptr;
    QLabel* forecastLabel_ = nullptr;
    ReportView* reportView_ = nullptr;
    RadioGroup* unitGroup_ = nullptr;
    QPlainTextEdit* bulletinMemo_ = nullptr;
    // Graphic Report.
    QWidget* graphicReportPage_ = nullptr;
    QLabel* graphImage_ = nullptr;
    RotatedLabel* graphCaption_ = nullptr;
    // References.
    QWidget* referencesPage_ = nullptr;
    QWidget* referencesPanel_ = nullptr;
    ReferencesView* referencesView_ = nullptr;
    LinkLabel* emailLink_ = nullptr;
};

}  // namespace skelmar
