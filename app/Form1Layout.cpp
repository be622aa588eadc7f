// The fixed layout of the window: every control at its place, with its caption, font and
// objectName (which the tests and the configuration know); the wiring is in Form1.cpp.

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include "app/Form1.h"
#include "app/RichTextViews.h"
#include "app/Services.h"
#include "app/Widgets.h"
#include "graph/QtText.h"
#include "report/ReportComposer.h"
#include "text/Version.h"

namespace skelmar {

namespace {

constexpr std::array<int, 10> kTimeLabelTops = {420, 380, 339, 298, 257, 217, 176, 135, 94, 54};  // +6 .. +60

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

void TForm1::CreateControls()
{
    setWindowTitle(QStringLiteral("Skelmar - Extended Aviation Weather Report (Version 1.04 of 20 Aug 2005)"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/skelmar/icons/hicolor/32x32/apps/skelmar.png")));
    setFont(PixelFont(QStringLiteral("Comic Sans MS"), 13));
    resize(838, 604);

    // Strip above the pages.
    stationLabel_ = Place(new QLabel(QStringLiteral("Station"), this), "Label1", 14, 17, 44, 18);
    stationList_ = Place(new StationComboBox(this), "ecComboBoxWxLoc", 63, 15, 234, 24);
    // While a retrieval runs: what it fetches, and a way to end it.
    retrievalStatus_ = Place(new QLabel(this), "LabelRetrieval", 63, 39, 560, 15);
    retrievalStatus_->setFont(PixelFont(QStringLiteral("Arial"), 11));
    retrievalStatus_->setVisible(false);
    cancelButton_ = Place(new QPushButton(QStringLiteral("Cancel"), this), "ButtonCancel", 303, 15, 70, 24);
    cancelButton_->setVisible(false);
    exitButton_ = Place(new PictureButton(QStringLiteral("&Exit"), this), "zBitColBtnCloseX", 740, 24, 75, 30);
    exitButton_->SetPicture(PictureButton::Normal, QPixmap(QStringLiteral(":/skelmar/exit-door-normal.png")));
    exitButton_->SetPicture(PictureButton::Disabled, QPixmap(QStringLiteral(":/skelmar/exit-door-disabled.png")));
    exitButton_->SetPicture(PictureButton::Pressed, QPixmap(QStringLiteral(":/skelmar/exit-door-pressed.png")));
    exitButton_->SetPicture(PictureButton::Hot, QPixmap(QStringLiteral(":/skelmar/exit-door-hot.png")));

    pagePanel_ = Place(new QWidget(this), "PanelNotebook", 0, 54, 838, 550);
    auto* pages = new ColouredTabWidget(pagePanel_);
    pages_ = Place(pages, "ecPageControl1", 0, 0, 838, 550);

    // Select Station.
    selectStationPage_ = Page("TabSheet4");
    pickMap_ = Place(new PickMap(selectStationPage_), "ImageUSPickMap", 191, 89, 450, 300);
    pickMap_->setPixmap(QPixmap(QStringLiteral(":/skelmar/USPickMap.png")));
    pickMap_->resize(pickMap_->pixmap().isNull() ? QSize(450, 300) : pickMap_->pixmap().size());
    pickMapHint_ = Place(new QLabel(QStringLiteral("Click on station to retrieve forecast\n"
                                             "(Drop down contains 15 additional stations not on this map)"),
                              selectStationPage_),
                   "Label2", 238, 396, 357, 36);
    pickMapHint_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // Text Report.
    textReportPage_ = Page("TabSheet1");
    timeGroup_ = Place(new QGroupBox(QStringLiteral("Time"), textReportPage_), "GroupBox1", 14, 21, 212, 460);
    timeTypeGroup_ = Place(new RadioGroup({QStringLiteral("Local  "), QStringLiteral("Zulu")}, 2, timeGroup_),
                                 "RzRadioGroupTimeType", 36, 23, 129, 25);
    timeTypeGroup_->setFont(PixelFont(QStringLiteral("Comic Sans MS"), 16));
    for (int i = 0; i < 2; ++i)
        timeTypeGroup_->Item(i)->setFont(PixelFont(QStringLiteral("Arial"), 13, true));
    timeTypeGroup_->SetItemIndex(static_cast<int>(TimeType::Zulu));

    for (std::size_t k = 0; k < timeLabels_.size(); ++k) {
        const int hours = 6 * static_cast<int>(k + 1);
        const QString name = QStringLiteral("LabelTime%1").arg(hours, 2, 10, QLatin1Char('0'));
        auto* label = new QLabel(QStringLiteral("+%1 Hours").arg(hours), timeGroup_);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        const int left = hours >= 24 ? 99 : hours >= 12 ? 101 : 107;
        label->setGeometry(left, kTimeLabelTops[k], kTimeLabelRightEdge - left, 18);
        timeLabels_[k] = label;
    }

    stepSlider_ = Place(new QSlider(Qt::Vertical, timeGroup_), "RzTrackBar1", 162, 53, 33, 387);
    stepSlider_->setRange(2, 20);  // minimum at the bottom
    stepSlider_->setValue(2);
    stepSlider_->setSingleStep(1);
    stepSlider_->setPageStep(2);
    stepSlider_->setTickPosition(QSlider::TicksLeft);
    stepSlider_->setTickInterval(1);
    stepSlider_->setEnabled(false);
    stepSlider_->setStyleSheet(QStringLiteral(
        "QSlider::groove:vertical { border: 1px solid blue; width: 6px; background: white; }"
        "QSlider::handle:vertical { height: 10px; margin: 0 -5px; border: 1px solid gray;"
        " background: palette(button); }"));

    forecastLabel_ = Place(new QLabel(QStringLiteral(" No Forecast"), textReportPage_), "LabelForecast", 253, 44, 78, 18);
    reportView_ = Place(new ReportView(textReportPage_), "WPRichText1", 253, 64, 554, 314);
    unitGroup_ = Place(new RadioGroup({QStringLiteral("Fahrenheit    "), QStringLiteral("Celsius")}, 2, textReportPage_),
                                   "RzRadioGroupTempFormat", 252, 385, 255, 25);
    unitGroup_->setFont(PixelFont(QStringLiteral("Comic Sans MS"), 16));
    for (int i = 0; i < 2; ++i)
        unitGroup_->Item(i)->setFont(PixelFont(QStringLiteral("Arial"), 13));
    unitGroup_->SetItemIndex(0);
    bulletinMemo_ = Place(new QPlainTextEdit(QStringLiteral("Memo1"), textReportPage_), "Memo1", 250, 419, 555, 156);
    bulletinMemo_->setVisible(false);

    // Graphic Report.
    graphicReportPage_ = Page("TabSheet2");
    graphImage_ = Place(new QLabel(graphicReportPage_), "Image1", 96, 3, 640, 512);
    graphImage_->setAlignment(Qt::AlignCenter);
    graphImage_->setScaledContents(false);
    graphCaption_ = new RotatedLabel(QStringLiteral("Forecast"), graphicReportPage_);
    graphCaption_->setObjectName(QStringLiteral("RzLabelForecastPlaceTime"));
    graphCaption_->move(76, 9);
    graphCaption_->setVisible(false);

    // References.
    referencesPage_ = Page("TabSheet3");
    referencesPanel_ = Place(new QWidget(referencesPage_), "PanelBeneathRefs", 0, 0, 832, 518);
    referencesView_ = Place(new ReferencesView(referencesPanel_), "WPRichTextRefs", 52, 22, 727, 468);
    // The page's footer, in the strip below the references text (which ends at 490): the
    // e-mail link on the left, the program's version on the right.
    emailLink_ = Place(new LinkLabel(QStringLiteral("E-mail author"), referencesPanel_), "RzURLLabel1", 52, 496, 62, 13);
    emailLink_->setFont([] {
        QFont f = PixelFont(QStringLiteral("MS Sans Serif"), 11);
        f.setUnderline(true);
        return f;
    }());
    // Sized to its caption: the font that stands in for MS Sans Serif here is wider.
    emailLink_->adjustSize();
    const QString versionText = QStringLiteral("Skelmar ") +
                                QString::fromLatin1(kSkelmarVersion.data(), static_cast<qsizetype>(kSkelmarVersion.size()));
    auto* version = Place(new QLabel(versionText, referencesPanel_), "LabelVersion", 52 + 727 - 200, 496, 200, 13);
    version->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    version->setAlignment(Qt::AlignRight | Qt::AlignTop);
    version->resize(version->width(), version->sizeHint().height());

    pages_->addTab(selectStationPage_, QStringLiteral("Select Station"));
    pages_->addTab(textReportPage_, QStringLiteral("Text Report"));
    pages_->addTab(graphicReportPage_, QStringLiteral("Graphic Report"));
    pages_->addTab(referencesPage_, QStringLiteral("References"));

    if (services_.timer1 != nullptr)
        services_.timer1->setObjectName(QStringLiteral("Timer1"));

    setTabOrder(stationList_, pages_);
    setTabOrder(pages_, exitButton_);
}

}  // namespace skelmar
