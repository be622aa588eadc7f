#include "app/Form1.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>

#include "app/PickMapTable.h"
#include "app/ReferenceLinks.h"
#include "app/ReportExport.h"
#include "app/RetrievalRunner.h"
#include "app/RichTextViews.h"
#include "app/Services.h"
#include "app/Widgets.h"
#include "app/WindowMemory.h"
#include "config/StationEntry.h"
#include "graph/ForecastGraph.h"
#include "graph/QtText.h"
#include "report/ForecastGraphModel.h"
#include "report/ReportComposer.h"
#include "retrieval/ConfigFile.h"
#include "retrieval/ConnectionCheck.h"
#include "retrieval/ProgramFiles.h"
#include "retrieval/RetrievalSequence.h"
#include "text/Error.h"
#include "text/StringRoutines.h"
#include "time/Clock.h"
#include "time/RegistryTimeZones.h"
#include "time/TzifZoneStore.h"

namespace skelmar {

namespace {

constexpr int kTrackBarDelayMs = 1000;

// Reads nothing: the configuration while the file is not open.
class NoConfig final : public ConfigTexts {
public:
    std::string Value(std::string_view, std::string_view) const override { return {}; }
};

}  // namespace

void PickMap::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit MouseUp(at.x(), at.y());
    QLabel::mouseReleaseEvent(event);
}

TForm1::TForm1(FormServices services, QWidget* parent) : QWidget(parent), services_(std::move(services))
{
    setObjectName(QStringLiteral("Form1"));
    CreateControls();
    if (services_.http != nullptr) {
        runner_ = new RetrievalRunner(*services_.http, services_.picturePath, this);
        connect(runner_, &RetrievalRunner::Progress, this, &TForm1::ShowRetrievalProgress);
        connect(runner_, &RetrievalRunner::Finished, this,
                [this](const std::shared_ptr<const RetrievalResult>& result) { ApplyRetrieval(*result); });
    }
    ConnectHandlers();
}

TForm1::~TForm1()
{
    SetWaitCursor(false);
}

void TForm1::ConnectHandlers()
{
    connect(stationList_, &QComboBox::activated, this, [this] { ecComboBoxWxLocChange(); });
    connect(pickMap_, &PickMap::MouseUp, this, [this](int x, int y) { ImageUSPickMapMouseUp(x, y); });
    connect(exitButton_, &QPushButton::clicked, this, [this] { zBitColBtnCloseXClick(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelRetrieval(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { CancelRetrieval(); });
    connect(stepSlider_, &QSlider::valueChanged, this, [this] { RzTrackBar1Change(); });
    if (services_.timer1 != nullptr)
        connect(services_.timer1, &IntervalTimer::Fired, this, [this] { Timer1Timer(); });
    connect(timeTypeGroup_, &RadioGroup::clicked, this, [this] { RzRadioGroupTimeTypeClick(); });
    connect(unitGroup_, &RadioGroup::clicked, this, [this] { RzRadioGroupTempFormatClick(); });
    connect(reportView_, &ReportView::CopyRequested, this, [this] { WPRichText1Copy(); });
    connect(reportView_, &ReportView::SaveAsRequested, this, [this] { WPRichText1SaveAs(); });
    connect(reportView_, &ReportView::PrintRequested, this, [this] { WPRichText1Print(); });
    connect(referencesView_, &ReferencesView::HyperLinkEvent, this,
            [this](const QString& text, const QString& stamp) { WPRichTextRefsHyperLinkEvent(text, stamp); });
    connect(referencesView_, &ReferencesView::DoubleClicked, this, [this] { WPRichTextRefsDblClick(); });
    connect(emailLink_, &LinkLabel::clicked, this, [this] { RzURLLabel1Click(); });
}

void TForm1::Guard(const std::function<void()>& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        services_.messages->GeneralError(GeneralErrorText(error.what()));
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    Guard([this] { FormShow(); });
}

void TForm1::FormShow()
{
    zoneList_ = services_.makeZoneList ? services_.makeZoneList() : nullptr;
    const std::filesystem::path configPath = ConfigFilePath(services_.dataDir);
    pages_->setCurrentWidget(selectStationPage_);
    const std::filesystem::path refsPath = services_.dataDir / "SkelmarRefs.htm";
    referencesView_->LoadHtmlFile(refsPath);  // an error ends the start-up here

    config_ = ConfigFile::Open(configPath);
    if (config_) {
        stationList_->clear();
        stationEntries_ = config_->SectionEntries("STATIONS");
        QStringList entries;
        entries.reserve(static_cast<qsizetype>(stationEntries_.size()));
        for (const std::string& entry : stationEntries_)
            entries.push_back(ToQString(entry));
        stationList_->addItems(entries);  // at once: 2,000 items one by one cost a frame
        stationList_->setCurrentIndex(-1);
        pickMapHint_->setText(QStringLiteral("Click on station to retrieve forecast\n"
                                       "(Drop down contains %1 additional stations not on this map)")
                            .arg(StationsOffTheMap(stationEntries_)));
        if (services_.settings != nullptr) {
            auto* memory = new WindowMemory(*services_.settings, *stationList_, *timeTypeGroup_,
                                            *unitGroup_, this);
            // The last station's report comes once the window is up.
            if (memory->Restore())
                WindowMemory::AfterFirstPaint(*this, [this] { ecComboBoxWxLocChange(); });
        }
        return;
    }
    services_.messages->Error("The mandatory file Skelmar.ini cannot be found.");
    terminateRequested_ = true;
    // Ends the event loop once it runs; before it runs, as at start-up, a direct quit would be lost.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    QWidget::closeEvent(event);
}

void TForm1::FormClose()
{
    CancelRetrieval();
    config_.reset();
    zoneList_.reset();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The page area keeps its height and stays docked to the bottom.
    pagePanel_->setGeometry(0, height() - 550, width(), 550);
    pages_->setGeometry(0, 0, width(), 550);
}

const ConfigTexts& TForm1::Texts() const
{
    static const NoConfig kNoConfig;
    return config_ ? static_cast<const ConfigTexts&>(*config_) : kNoConfig;
}

void TForm1::ecComboBoxWxLocChange()
{
    Guard([this] { ChangeStation(false); });
}

void TForm1::ChangeStation(bool fromMap)
{
    // A newer choice ends the retrieval of an older one, whose result is then never shown.
    if (RetrievalRunning()) {
        runner_->Cancel();
        ShowRetrievalRunning(false);
    }
    if (!services_.connection->IsConnected()) {
        state_.lastLabelTime = 0;
        services_.messages->Warning(
            "Could not detect Internet connection.\r\nPlease establish an Internet connection and try again.");
        if (fromMap)
            pages_->setCurrentWidget(textReportPage_);
        return;
    }

    PendingChange change;
    change.entry = FromQString(stationList_->currentText());
    change.fromMap = fromMap;
    // A station whose code or zone is wrong is refused before anything is downloaded, and the
    // list goes back to the station of the report on screen.
    std::string code;
    try {
        change.zone = StationTimeZone(change.entry, Texts(), zoneList_.get(), SystemZoneDirectory());
        code = ParseStationEntry(change.entry).code;
        CheckStationCodeUnique(stationEntries_, code);
    } catch (...) {
        SelectShownStation();
        throw;
    }

    const std::string stationCode = stationList_->currentIndex() >= 0 ? code : std::string();
    if (stationCode.empty() || runner_ == nullptr) {
        // Nothing to retrieve: the zone is taken and the page changes as after a retrieval.
        state_.lastLabelTime = 0;
        state_.stationTimeZone = change.zone;
        if (fromMap || pages_->currentWidget() == selectStationPage_)
            pages_->setCurrentWidget(textReportPage_);
        return;
    }
    RetrievalRequest request = MakeRetrievalRequest(Texts(), stationCode, services_.clock->Today(),
                                                    services_.formatSettings.TimeSeparator);
    request.now = services_.clock->Now();
    change.id = runner_->Start(request);
    pending_ = std::move(change);
    ShowRetrievalRunning(true);
}

bool TForm1::RetrievalRunning() const
{
    return runner_ != nullptr && runner_->Running();
}

void TForm1::CancelRetrieval()
{
    if (!RetrievalRunning())
        return;
    runner_->Cancel();
    ShowRetrievalRunning(false);
    SelectShownStation();
    emit retrievalEnded();
}

void TForm1::SelectShownStation()
{
    const int shown = state_.stationEntry.empty() ? -1 : stationList_->findText(ToQString(state_.stationEntry));
    if (stationList_->currentIndex() != shown)
        stationList_->setCurrentIndex(shown);
}

void TForm1::ShowRetrievalRunning(bool running)
{
    SetWaitCursor(running);
    cancelButton_->setVisible(running);
    retrievalStatus_->setVisible(running);
    if (!running)
        retrievalStatus_->clear();
}

void TForm1::ShowRetrievalProgress(const QString& url, qint64 bytes)
{
    retrievalStatus_->setText(QStringLiteral("Fetching %1: %2 bytes received").arg(url).arg(bytes));
}

void TForm1::ApplyRetrieval(const RetrievalResult& result)
{
    if (result.id != pending_.id)
        return;
    const RetrievalOutcome& outcome = result.outcome;
    ShowRetrievalRunning(false);

    // The station and everything held of it change together, also when the retrieval failed.
    state_.lastLabelTime = 0;
    state_.stationEntry = pending_.entry;
    SelectShownStation();
    state_.stationTimeZone = pending_.zone;
    state_.bulletinLines = outcome.lines;
    state_.forecast = outcome.verdict.forecast;
    ShowBulletinLines();
    if (outcome.verdict.baseTime)
        state_.forecastBaseTime = *outcome.verdict.baseTime;
    if (outcome.pictureLoaded) {
        graphImage_->setPixmap(QPixmap::fromImage(result.picture));
        drawsGraph_ = false;
        graphSource_ = state_;
    }
    if (outcome.textArrived)
        stepSlider_->setEnabled(true);
    if (outcome.checked) {
        forecastLabel_->setText(ToQString(std::string(kNoForecastObtained)));
        forecastLabel_->adjustSize();
    }
    noForecast_ = !outcome.verdict.accepted;
    if (noForecast_)
        drawsGraph_ = false;  // the graph shown stays, as its caption does

    for (const RetrievalMessage& message : outcome.messages) {
        if (message.kind == RetrievalMessage::Warning)
            services_.messages->Warning(message.text);
        else
            services_.messages->Error(message.text);
    }
    Guard([&] {
        if (outcome.error)
            throw skelmar::Error(*outcome.error);  // the page stays as it is
        if (outcome.verdict.accepted) {
            drawsGraph_ = !GraphServerConfigured(Texts());
            if (drawsGraph_)
                graphSource_ = state_;  // the graph is drawn next, and its caption names it
            UpdateTimeLabels();
            ComposeReport();
        }
        if (pending_.fromMap || pages_->currentWidget() == selectStationPage_)
            pages_->setCurrentWidget(textReportPage_);
    });
    emit retrievalEnded();
}

void TForm1::ImageUSPickMapMouseUp(int x, int y)
{
    const auto code = PickMapHit(x, y);
    if (!code)
        return;
    const QString wanted = QStringLiteral("(%1)").arg(QString::fromLatin1(code->data(), static_cast<qsizetype>(code->size())));
    for (int i = 0; i < stationList_->count(); ++i) {
        if (!stationList_->itemText(i).contains(wanted))
            continue;
        stationList_->setCurrentIndex(i);
        Guard([this] { ChangeStation(true); });
        return;
    }
}

void TForm1::ShowBulletinLines()
{
    QStringList lines;
    for (const std::string& line : state_.bulletinLines)
        lines << ToQString(line);
    bulletinMemo_->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm1::SetWaitCursor(bool wait)
{
    if (wait == waitCursor_)
        return;
    waitCursor_ = wait;
    if (wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TForm1::zBitColBtnCloseXClick()
{
    close();
}

TimeTextContext TForm1::TimeContext() const
{
    TimeTextContext context;
    context.timeType = timeTypeGroup_->ItemIndex() == 0 ? TimeType::Local : TimeType::Zulu;
    context.zone = state_.stationTimeZone;
    context.settings = services_.formatSettings;
    return context;
}

void TForm1::ComposeReport()
{
    reportView_->ClearText();
    composedRtf_.clear();
    const std::string& entry = state_.stationEntry;
    const TimeTextContext time = TimeContext();
    const std::string station = StationDisplayText(entry);
    const ReportInputs inputs{
        state_.forecast,
        state_.forecastBaseTime,
        stepSlider_->value(),
        unitGroup_->ItemIndex() == 1 ? TemperatureUnit::Celsius : TemperatureUnit::Fahrenheit,
        station,
        Texts(),
        time,
    };
    if (drawsGraph_) {
        graphImage_->setPixmap(QPixmap::fromImage(DrawForecastGraph(BuildForecastGraphModel(inputs))));
        graphSource_ = state_;
    }
    if (noForecast_) {
        // The report of no bulletin is its heading alone: the label must not name a forecast.
        forecastLabel_->setText(ToQString(std::string(kNoForecastObtained)));
        forecastLabel_->adjustSize();
    }
    const std::string rtf = ComposeReportText(inputs);  // on an error the view stays empty
    reportView_->LoadReport(rtf);
    composedRtf_ = rtf;
    composedName_ = ProposedReportName(StationCodeOf(entry), ReportTime(inputs));
    emit reportComposed();
}

void TForm1::WPRichText1Copy()
{
    if (reportView_->textCursor().hasSelection()) {
        reportView_->copy();
        return;
    }
    if (!composedRtf_.empty())
        QGuiApplication::clipboard()->setMimeData(ReportMimeData(composedRtf_));
}

void TForm1::WPRichText1SaveAs()
{
    if (composedRtf_.empty() || services_.dialogs == nullptr)
        return;
    const std::optional<ReportDialogs::SaveTarget> target = services_.dialogs->AskSaveReport(composedName_);
    if (target)
        Guard([&] { SaveReportFile(target->path, target->format, composedRtf_, ShownGraph()); });
}

void TForm1::WPRichText1Print()
{
    if (composedRtf_.empty() || services_.dialogs == nullptr)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(composedName_);
    if (services_.dialogs->AskPrint(printer))
        Guard([&] { PaintReportPage(printer, composedRtf_, ShownGraph()); });
}

QImage TForm1::ShownGraph() const
{
    // A graph of another bulletin than the report's stays out of the report's page.
    const bool same = !noForecast_ && graphSource_.stationEntry == state_.stationEntry &&
                      graphSource_.forecastBaseTime == state_.forecastBaseTime;
    return same ? graphImage_->pixmap().toImage() : QImage();
}

void TForm1::SetTimeLabelCaption(QLabel* label, const QString& text)
{
    // Right-aligned and sized to its text: the right edge stays where it is.
    label->setText(text);
    const int width = label->fontMetrics().horizontalAdvance(text) + 2;
    label->setGeometry(kTimeLabelRightEdge - width, label->y(), width, label->height());
}

void TForm1::UpdateTimeLabels()
{
    const TimeTextContext time = TimeContext();
    const TimeLabelCaptions captions = ComputeTimeLabelCaptions(
        state_.forecastBaseTime, StationDisplayText(state_.stationEntry), time, state_.lastLabelTime);
    for (std::size_t k = 0; k < timeLabels_.size(); ++k)
        SetTimeLabelCaption(timeLabels_[k], ToQString(captions.timeLabels[k]));
    state_.lastLabelTime = captions.lastLabelTime;

    forecastLabel_->setText(ToQString(noForecast_ ? std::string(kNoForecastObtained) : captions.labelForecast));
    forecastLabel_->adjustSize();

    // The caption beside the graph names what the graph shows: after a failed retrieval, the
    // graph that stays; a downloaded picture's own bulletin when a newer one brought none.
    const bool olderPicture = !drawsGraph_ && !graphSource_.stationEntry.empty();
    const ForecastState& graph = noForecast_ || olderPicture ? graphSource_ : state_;
    TimeTextContext graphTime = time;
    graphTime.zone = graph.stationTimeZone;
    const QString placeTime = ToQString(
        ComputeTimeLabelCaptions(graph.forecastBaseTime, StationDisplayText(graph.stationEntry), graphTime, 0).placeTime);
    graphCaption_->setText(placeTime);
    // The text runs at 90 degrees: its middle lies 8 pixels below half the picture's height.
    const int width = fontMetrics().horizontalAdvance(placeTime);
    graphCaption_->move(graphCaption_->x(), graphImage_->height() / 2 - width / 2 + 8);
    graphCaption_->setVisible(true);
}

void TForm1::RzTrackBar1Change()
{
    services_.timer1->Stop();
    services_.timer1->Start(kTrackBarDelayMs);
}

void TForm1::Timer1Timer()
{
    services_.timer1->Stop();
    Guard([this] { ComposeReport(); });
}

void TForm1::RzRadioGroupTimeTypeClick()
{
    Guard([this] {
        UpdateTimeLabels();
        ComposeReport();
    });
}

void TForm1::RzRadioGroupTempFormatClick()
{
    Guard([this] { ComposeReport(); });
}

void TForm1::WPRichTextRefsHyperLinkEvent(const QString& text, const QString& stamp)
{
    services_.urls->Open(ReferenceLinkTarget(FromQString(text), FromQString(stamp)));
}

void TForm1::WPRichTextRefsDblClick()
{
    referencesView_->clear();
    Guard([this] { referencesView_->LoadHtmlFile("DornveilRefs.htm"); });
}

void TForm1::RzURLLabel1Click()
{
    // The target is data, kept with the other texts of the program.
    const std::string target = Texts().Value("GENERAL", "EMailAuthor");
    if (!target.empty() && services_.urls->Open(target))
        emailLink_->MarkUsed();
}

}  // namespace skelmar
