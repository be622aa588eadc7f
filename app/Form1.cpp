#include "app/Form1.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>

#include "app/PickMapTable.h"
#include "app/QtText.h"
#include "app/ReportExport.h"
#include "app/RichTextViews.h"
#include "app/Services.h"
#include "app/Widgets.h"
#include "graph/ForecastGraph.h"
#include "report/ForecastGraphModel.h"
#include "report/ReportComposer.h"
#include "retrieval/ConfigFile.h"
#include "retrieval/ConnectionCheck.h"
#include "retrieval/GifPicture.h"
#include "retrieval/StationEntry.h"
#include "text/Error.h"
#include "text/StringRoutines.h"
#include "time/RegistryTimeZones.h"

namespace skelmar {

namespace {

constexpr int kTrackBarDelayMs = 1000;
constexpr int kTimeLabelRightEdge = 161;
constexpr std::array<int, 10> kTimeLabelTops = {420, 380, 339, 298, 257, 217, 176, 135, 94, 54};  // +6 .. +60

// Reads nothing: the configuration while the file is not open.
class NoConfig final : public ConfigTexts {
public:
    std::string Value(std::string_view, std::string_view) const override { return {}; }
};

QFont PixelFont(const QString& family, int pixels, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

template <typename T>
T* Place(T* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QWidget* Page(const char* name)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    page->setAutoFillBackground(true);
    return page;
}

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
    ConnectHandlers();
}

TForm1::~TForm1() = default;

void TForm1::CreateControls()
{
    setWindowTitle(QStringLiteral("Skelmar - Extended Aviation Weather Report (Version 1.04 of 20 Aug 2005)"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/skelmar/icons/hicolor/32x32/apps/skelmar.png")));
    setFont(PixelFont(QStringLiteral("Comic Sans MS"), 13));
    resize(838, 604);

    // Strip above the pages.
    Label1 = Place(new QLabel(QStringLiteral("Station"), this), "Label1", 14, 17, 44, 18);
    ecComboBoxWxLoc = Place(new StationComboBox(this), "ecComboBoxWxLoc", 63, 15, 234, 24);
    zBitColBtnCloseX = Place(new PictureButton(QStringLiteral("&Exit"), this), "zBitColBtnCloseX", 740, 24, 75, 30);
    zBitColBtnCloseX->SetPicture(PictureButton::Normal, QPixmap(QStringLiteral(":/skelmar/exit-door-normal.png")));
    zBitColBtnCloseX->SetPicture(PictureButton::Disabled, QPixmap(QStringLiteral(":/skelmar/exit-door-disabled.png")));
    zBitColBtnCloseX->SetPicture(PictureButton::Pressed, QPixmap(QStringLiteral(":/skelmar/exit-door-pressed.png")));
    zBitColBtnCloseX->SetPicture(PictureButton::Hot, QPixmap(QStringLiteral(":/skelmar/exit-door-hot.png")));

    PanelNotebook = Place(new QWidget(this), "PanelNotebook", 0, 54, 838, 550);
    auto* pages = new ColouredTabWidget(PanelNotebook);
    ecPageControl1 = Place(pages, "ecPageControl1", 0, 0, 838, 550);

    // Select Station.
    TabSheet4 = Page("TabSheet4");
    ImageUSPickMap = Place(new PickMap(TabSheet4), "ImageUSPickMap", 191, 89, 450, 300);
    ImageUSPickMap->setPixmap(QPixmap(QStringLiteral(":/skelmar/USPickMap.png")));
    ImageUSPickMap->resize(ImageUSPickMap->pixmap().isNull() ? QSize(450, 300) : ImageUSPickMap->pixmap().size());
    Label2 = Place(new QLabel(QStringLiteral("Click on station to retrieve forecast\n"
                                             "(Drop down contains 15 additional stations not on this map)"),
                              TabSheet4),
                   "Label2", 238, 396, 357, 36);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // Text Report.
    TabSheet1 = Page("TabSheet1");
    GroupBox1 = Place(new QGroupBox(QStringLiteral("Time"), TabSheet1), "GroupBox1", 14, 21, 212, 460);
    RzRadioGroupTimeType = Place(new RadioGroup({QStringLiteral("Local  "), QStringLiteral("Zulu")}, 2, GroupBox1),
                                 "RzRadioGroupTimeType", 36, 23, 129, 25);
    RzRadioGroupTimeType->setFont(PixelFont(QStringLiteral("Comic Sans MS"), 16));
    for (int i = 0; i < 2; ++i)
        RzRadioGroupTimeType->Item(i)->setFont(PixelFont(QStringLiteral("Arial"), 13, true));
    RzRadioGroupTimeType->SetItemIndex(static_cast<int>(TimeType::Zulu));

    for (std::size_t k = 0; k < LabelTime.size(); ++k) {
        const int hours = 6 * static_cast<int>(k + 1);
        const QString name = QStringLiteral("LabelTime%1").arg(hours, 2, 10, QLatin1Char('0'));
        auto* label = new QLabel(QStringLiteral("+%1 Hours").arg(hours), GroupBox1);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        const int left = hours >= 24 ? 99 : hours >= 12 ? 101 : 107;
        label->setGeometry(left, kTimeLabelTops[k], kTimeLabelRightEdge - left, 18);
        LabelTime[k] = label;
    }

    RzTrackBar1 = Place(new QSlider(Qt::Vertical, GroupBox1), "RzTrackBar1", 162, 53, 33, 387);
    RzTrackBar1->setRange(2, 20);  // minimum at the bottom
    RzTrackBar1->setValue(2);
    RzTrackBar1->setSingleStep(1);
    RzTrackBar1->setPageStep(2);
    RzTrackBar1->setTickPosition(QSlider::TicksLeft);
    RzTrackBar1->setTickInterval(1);
    RzTrackBar1->setEnabled(false);
    RzTrackBar1->setStyleSheet(QStringLiteral(
        "QSlider::groove:vertical { border: 1px solid blue; width: 6px; background: white; }"
        "QSlider::handle:vertical { height: 10px; margin: 0 -5px; border: 1px solid gray;"
        " background: palette(button); }"));

    LabelForecast = Place(new QLabel(QStringLiteral(" No Forecast"), TabSheet1), "LabelForecast", 253, 44, 78, 18);
    WPRichText1 = Place(new ReportView(TabSheet1), "WPRichText1", 253, 64, 554, 314);
    RzRadioGroupTempFormat = Place(new RadioGroup({QStringLiteral("Fahrenheit    "), QStringLiteral("Celsius")}, 2, TabSheet1),
                                   "RzRadioGroupTempFormat", 252, 385, 255, 25);
    RzRadioGroupTempFormat->setFont(PixelFont(QStringLiteral("Comic Sans MS"), 16));
    for (int i = 0; i < 2; ++i)
        RzRadioGroupTempFormat->Item(i)->setFont(PixelFont(QStringLiteral("Arial"), 13));
    RzRadioGroupTempFormat->SetItemIndex(0);
    Memo1 = Place(new QPlainTextEdit(QStringLiteral("Memo1"), TabSheet1), "Memo1", 250, 419, 555, 156);
    Memo1->setVisible(false);

    // Graphic Report.
    TabSheet2 = Page("TabSheet2");
    Image1 = Place(new QLabel(TabSheet2), "Image1", 96, 3, 640, 512);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setScaledContents(false);
    RzLabelForecastPlaceTime = new RotatedLabel(QStringLiteral("Forecast"), TabSheet2);
    RzLabelForecastPlaceTime->setObjectName(QStringLiteral("RzLabelForecastPlaceTime"));
    RzLabelForecastPlaceTime->move(76, 9);
    RzLabelForecastPlaceTime->setVisible(false);

    // References.
    TabSheet3 = Page("TabSheet3");
    PanelBeneathRefs = Place(new QWidget(TabSheet3), "PanelBeneathRefs", 0, 0, 832, 518);
    WPRichTextRefs = Place(new ReferencesView(PanelBeneathRefs), "WPRichTextRefs", 52, 22, 727, 468);
    RzURLLabel1 = Place(new LinkLabel(QStringLiteral("E-mail author"), PanelBeneathRefs), "RzURLLabel1", 52, 489, 62, 13);
    RzURLLabel1->setFont([] {
        QFont f = PixelFont(QStringLiteral("MS Sans Serif"), 11);
        f.setUnderline(true);
        return f;
    }());
    // Sized to its caption: the font that stands in for MS Sans Serif here is wider.
    RzURLLabel1->adjustSize();

    ecPageControl1->addTab(TabSheet4, QStringLiteral("Select Station"));
    ecPageControl1->addTab(TabSheet1, QStringLiteral("Text Report"));
    ecPageControl1->addTab(TabSheet2, QStringLiteral("Graphic Report"));
    ecPageControl1->addTab(TabSheet3, QStringLiteral("References"));

    if (services_.timer1 != nullptr)
        services_.timer1->setObjectName(QStringLiteral("Timer1"));

    setTabOrder(ecComboBoxWxLoc, ecPageControl1);
    setTabOrder(ecPageControl1, zBitColBtnCloseX);
}

void TForm1::ConnectHandlers()
{
    connect(ecComboBoxWxLoc, &QComboBox::activated, this, [this] { ecComboBoxWxLocChange(); });
    connect(ImageUSPickMap, &PickMap::MouseUp, this, [this](int x, int y) { ImageUSPickMapMouseUp(x, y); });
    connect(zBitColBtnCloseX, &QPushButton::clicked, this, [this] { zBitColBtnCloseXClick(); });
    connect(RzTrackBar1, &QSlider::valueChanged, this, [this] { RzTrackBar1Change(); });
    if (services_.timer1 != nullptr)
        connect(services_.timer1, &IntervalTimer::Fired, this, [this] { Timer1Timer(); });
    connect(RzRadioGroupTimeType, &RadioGroup::clicked, this, [this] { RzRadioGroupTimeTypeClick(); });
    connect(RzRadioGroupTempFormat, &RadioGroup::clicked, this, [this] { RzRadioGroupTempFormatClick(); });
    connect(WPRichText1, &ReportView::CopyRequested, this, [this] { WPRichText1Copy(); });
    connect(WPRichText1, &ReportView::SaveAsRequested, this, [this] { WPRichText1SaveAs(); });
    connect(WPRichText1, &ReportView::PrintRequested, this, [this] { WPRichText1Print(); });
    connect(WPRichTextRefs, &ReferencesView::HyperLinkEvent, this,
            [this](const QString& text, const QString& stamp) { WPRichTextRefsHyperLinkEvent(text, stamp); });
    connect(WPRichTextRefs, &ReferencesView::DoubleClicked, this, [this] { WPRichTextRefsDblClick(); });
    connect(RzURLLabel1, &LinkLabel::clicked, this, [this] { RzURLLabel1Click(); });
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
    const std::filesystem::path configPath = services_.programDir / "Skelmar.ini";
    ecPageControl1->setCurrentWidget(TabSheet4);
    const std::filesystem::path refsPath = services_.programDir / "SkelmarRefs.htm";
    WPRichTextRefs->LoadHtmlFile(refsPath);  // an error ends the start-up here

    config_ = ConfigFile::Open(configPath);
    if (config_) {
        ecComboBoxWxLoc->clear();
        for (const std::string& entry : config_->SectionEntries("STATIONS"))
            ecComboBoxWxLoc->addItem(ToQString(entry));
        ecComboBoxWxLoc->setCurrentIndex(-1);
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
    config_.reset();
    zoneList_.reset();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The page area keeps its height and stays docked to the bottom.
    PanelNotebook->setGeometry(0, height() - 550, width(), 550);
    ecPageControl1->setGeometry(0, 0, width(), 550);
}

void TForm1::ecComboBoxWxLocChange()
{
    Guard([this] { ChangeStation(); });
}

void TForm1::ChangeStation()
{
    state_.lastLabelTime = 0;
    if (!services_.connection->IsConnected()) {
        services_.messages->Warning(
            "Could not detect Internet connection.\r\nPlease establish an Internet connection and try again.");
        return;
    }

    static const NoConfig kNoConfig;
    const ConfigTexts& config = config_ ? static_cast<const ConfigTexts&>(*config_) : kNoConfig;
    const std::string entry = FromQString(ecComboBoxWxLoc->currentText());
    if (const auto zoneName = StationZoneName(entry, config); zoneName && zoneList_)
        if (const TVeskRegistryTimeZone* zone = zoneList_->FindByKeyName(*zoneName))
            state_.stationTimeZone = zone->TimeZone();

    if (ecComboBoxWxLoc->currentIndex() >= 0) {
        const std::string stationCode = StationCodeOf(entry);
        if (!stationCode.empty()) {
            struct ShowLines {
                TForm1* form;
                ~ShowLines() { form->ShowBulletinLines(); }
            } showLines{this};  // also when the retrieval ends with an error
            RetrievalContext context{state_, config, *services_.http, *this, *services_.clock,
                                     services_.picturePath(), services_.formatSettings.TimeSeparator};
            if (RetrieveBulletin(context, stationCode)) {
                drawsGraph_ = !GraphServerConfigured(config);
                ComposeReport();
            }
        }
    }
    if (ecPageControl1->currentWidget() == TabSheet4)
        ecPageControl1->setCurrentWidget(TabSheet1);
}

void TForm1::ImageUSPickMapMouseUp(int x, int y)
{
    const auto code = PickMapHit(x, y);
    if (!code)
        return;
    const QString wanted = QStringLiteral("(%1)").arg(QString::fromLatin1(code->data(), static_cast<qsizetype>(code->size())));
    for (int i = 0; i < ecComboBoxWxLoc->count(); ++i) {
        if (!ecComboBoxWxLoc->itemText(i).contains(wanted))
            continue;
        ecComboBoxWxLoc->setCurrentIndex(i);
        // A failed change (an error) leaves the page as it is.
        Guard([this] {
            ChangeStation();
            ecPageControl1->setCurrentWidget(TabSheet1);
        });
        return;
    }
}

void TForm1::ShowBulletinLines()
{
    QStringList lines;
    for (const std::string& line : state_.bulletinLines)
        lines << ToQString(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm1::Warning(const std::string& text)
{
    services_.messages->Warning(text);
}

void TForm1::Error(const std::string& text)
{
    services_.messages->Error(text);
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

void TForm1::ShowPicture(const std::filesystem::path& file)
{
    const QString name = QString::fromStdString(file.string());
    QFile in(name);
    if (!in.open(QIODevice::ReadOnly))
        throw skelmar::Error("Invalid GIF picture: " + FromQString(in.errorString()));
    const QByteArray bytes = in.readAll();
    QBuffer buffer;
    buffer.setData(bytes);  // shared, not copied
    buffer.open(QIODevice::ReadOnly);
    // The format follows the file's extension, as the picture control chooses it.
    QImageReader reader(&buffer, QFileInfo(name).suffix().toLatin1());
    reader.setDecideFormatFromContent(false);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        if (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a"))
            throw skelmar::Error("Invalid GIF signature");
        throw skelmar::Error("Invalid GIF picture: " + FromQString(reader.errorString()));
    }
    // The decoder shows a picture that was cut short as far as it goes.
    if (!GifPictureLength(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        throw skelmar::Error("Invalid GIF picture: incomplete data");
    Image1->setPixmap(QPixmap::fromImage(picture));
    drawsGraph_ = false;
}

void TForm1::EnableTrackBar()
{
    RzTrackBar1->setEnabled(true);
}

void TForm1::SetForecastCaption(const std::string& caption)
{
    LabelForecast->setText(ToQString(caption));
    LabelForecast->adjustSize();
}

void TForm1::zBitColBtnCloseXClick()
{
    close();
}

TimeTextContext TForm1::TimeContext() const
{
    TimeTextContext context;
    context.timeType = RzRadioGroupTimeType->ItemIndex() == 0 ? TimeType::Local : TimeType::Zulu;
    context.zone = state_.stationTimeZone;
    context.settings = services_.formatSettings;
    return context;
}

void TForm1::ComposeReport()
{
    WPRichText1->ClearText();
    composedRtf_.clear();
    static const NoConfig kNoConfig;
    const std::string entry = FromQString(ecComboBoxWxLoc->currentText());
    const TimeTextContext time = TimeContext();
    const std::string station = StationDisplayText(entry);
    const ReportInputs inputs{
        state_.forecast,
        state_.forecastBaseTime,
        RzTrackBar1->value(),
        RzRadioGroupTempFormat->ItemIndex() == 1 ? TemperatureUnit::Celsius : TemperatureUnit::Fahrenheit,
        station,
        config_ ? static_cast<const ConfigTexts&>(*config_) : kNoConfig,
        time,
    };
    if (drawsGraph_)
        Image1->setPixmap(QPixmap::fromImage(DrawForecastGraph(BuildForecastGraphModel(inputs))));
    const std::string rtf = ComposeReportText(inputs);  // on an error the view stays empty
    WPRichText1->LoadReport(rtf);
    composedRtf_ = rtf;
    composedName_ = ProposedReportName(StationCodeOf(entry), ReportTime(inputs));
    emit reportComposed();
}

void TForm1::WPRichText1Copy()
{
    if (WPRichText1->textCursor().hasSelection()) {
        WPRichText1->copy();
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
        Guard([&] { SaveReportFile(target->path, target->format, composedRtf_, Image1->pixmap().toImage()); });
}

void TForm1::WPRichText1Print()
{
    if (composedRtf_.empty() || services_.dialogs == nullptr)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(composedName_);
    if (services_.dialogs->AskPrint(printer))
        Guard([&] { PaintReportPage(printer, composedRtf_, Image1->pixmap().toImage()); });
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
    const std::string station = ExtractField(FromQString(ecComboBoxWxLoc->currentText()), '=', 1);
    const TimeLabelCaptions captions =
        ComputeTimeLabelCaptions(state_.forecastBaseTime, station, TimeContext(), state_.lastLabelTime);
    for (std::size_t k = 0; k < LabelTime.size(); ++k)
        SetTimeLabelCaption(LabelTime[k], ToQString(captions.timeLabels[k]));
    state_.lastLabelTime = captions.lastLabelTime;

    LabelForecast->setText(ToQString(captions.labelForecast));
    LabelForecast->adjustSize();

    const QString placeTime = ToQString(captions.placeTime);
    RzLabelForecastPlaceTime->setText(placeTime);
    // The text runs at 90 degrees: its middle lies 8 pixels below half the picture's height.
    const int width = fontMetrics().horizontalAdvance(placeTime);
    RzLabelForecastPlaceTime->move(RzLabelForecastPlaceTime->x(), Image1->height() / 2 - width / 2 + 8);
    RzLabelForecastPlaceTime->setVisible(true);
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
    const std::string shown = FromQString(text);
    std::string target;
    // A shown web address opens as shown; one without a scheme gets "http://". A shown
    // "https://" address is complete too: prefixing it would make it unusable.
    if (shown.find("www") != std::string::npos)
        target = shown.find("http://") == std::string::npos && shown.find("https://") == std::string::npos
                     ? "http://" + shown
                     : shown;
    else
        target = FromQString(stamp);
    services_.urls->Open(target);
}

void TForm1::WPRichTextRefsDblClick()
{
    WPRichTextRefs->clear();
    Guard([this] { WPRichTextRefs->LoadHtmlFile("DornveilRefs.htm"); });
}

void TForm1::RzURLLabel1Click()
{
    // The target is data, kept with the other texts of the program.
    const std::string target = config_ ? config_->Value("GENERAL", "EMailAuthor") : std::string();
    if (!target.empty() && services_.urls->Open(target))
        RzURLLabel1->MarkUsed();
}

}  // namespace skelmar
