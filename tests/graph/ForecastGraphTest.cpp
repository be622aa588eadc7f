// The drawn graph: where its parts lie and a few pixels that show what was drawn there. No
// whole-picture comparison: a font change would break it without any fault.

#include "graph/ForecastGraph.h"

#include <QImage>

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "forecast/ForecastReaders.h"
#include "graph/OffscreenGui.h"
#include "tests/support/BulletinFixture.h"
#include "tests/support/MemoryConfigTexts.h"
#include "tests/support/ScopedResources.h"
#include "tests/time/TimeTestSupport.h"
#include "text/Error.h"

namespace skelmar {
namespace {

// The painter needs a GUI application; the tests draw offscreen, whatever display the
// environment offers.
class GuiApplication final : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<OffscreenGuiApplication>(); }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<OffscreenGuiApplication> app_;
};
[[maybe_unused]] ::testing::Environment* const kGuiApplication =
    ::testing::AddGlobalTestEnvironment(new GuiApplication);

const MemoryConfigTexts kCaptions{
    {"GRAPH", "Title", "%s, %s"},
    {"GRAPH", "Temperature", "Temperature"},
    {"GRAPH", "DewPoint", "Dew point"},
    {"GRAPH", "TemperatureAxis", "%s"},
    {"GRAPH", "Clouds", "Clouds"},
    {"GRAPH", "Wind", "Wind"},
    {"GRAPH", "Category", "Flight category"},
    {"GRAPH", "VFR", "VFR"},
    {"GRAPH", "LIFR", "LIFR"},
    {"GRAPH", "Precipitation6", "6 h"},
    {"GRAPH", "NoTable", "No table"},
    {"GRAPH", "CoverOV", "8"},
};

BulletinLines WinterTable()
{
    BulletinLines lines = ReadBulletinFile(std::string(SKELMAR_FIXTURES) + "/bulletins/ngm_bos_winter.txt");
    NormaliseBulletinTable(lines);
    return lines;
}

ForecastGraphModel Model(const BulletinLines& lines, int step, TemperatureUnit unit, TimeType timeType)
{
    TimeTextContext time;
    time.timeType = timeType;
    time.zone = testing::Eastern();
    const ForecastModel forecast = ReadNgmTable(lines);
    return BuildForecastGraphModel(ReportInputs{forecast, testing::At(2026, 12, 9, 12), step, unit,
                                                "Boston, MA (BOS)", kCaptions, time});
}

QRgb Pixel(const QImage& image, double x, double y)
{
    return image.pixel(static_cast<int>(x), static_cast<int>(y));
}

// How many pixels of `area` have exactly `colour`.
int CountColour(const QImage& image, const QRectF& area, QRgb colour)
{
    int count = 0;
    const QRect pixels = area.toAlignedRect().intersected(image.rect());
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            count += (image.pixel(x, y)) == colour;
    return count;
}

TEST(ForecastGraph, MarkerAndCurvesInEachUnitAndTimeType)
{
    const BulletinLines lines = WinterTable();
    for (const TemperatureUnit unit : {TemperatureUnit::Fahrenheit, TemperatureUnit::Celsius}) {
        for (const TimeType timeType : {TimeType::Zulu, TimeType::Local}) {
            for (const int step : {2, 11, 20}) {
                SCOPED_TRACE(::testing::Message() << "unit " << static_cast<int>(unit) << ", time type "
                                                << static_cast<int>(timeType) << ", step " << step);
                const ForecastGraphModel model = Model(lines, step, unit, timeType);
                const ForecastGraphLayout layout = LayOutForecastGraph(model);
                const QImage image = DrawForecastGraph(model);
                ASSERT_EQ(image.size(), QSize(kGraphWidth, kGraphHeight));

                // Hours 3 hours (30 pixels) apart; the marker on the selected one.
                EXPECT_EQ(layout.hourX[0], 76);
                EXPECT_EQ(layout.hourX[18], 616);
                EXPECT_EQ(layout.markerX, layout.hourX[static_cast<std::size_t>(step - 2)]);
                // The marker's line runs from the top of the temperatures to the bottom of
                // the probabilities, in the two pixel columns left of markerX.
                for (const double y : {layout.temperaturePanel.top() + 1, layout.cloudRow.top() + 1,
                                       layout.categoryRow.bottom() - 1, layout.probabilityPanel.bottom() - 1}) {
                    EXPECT_EQ(Pixel(image, layout.markerX, y), kMarkerLine) << y;
                    EXPECT_EQ(Pixel(image, layout.markerX - 1, y), kMarkerLine) << y;
                }
                // Its band behind the values, one 3-hour step wide; other hours have none.
                EXPECT_EQ(Pixel(image, layout.markerX + 10, layout.cloudRow.top() + 1), kMarkerBand);
                const double other = layout.hourX[step == 2 ? 10 : 0];
                EXPECT_EQ(Pixel(image, other + 10, layout.cloudRow.top() + 1), kGraphBackground);
                EXPECT_EQ(Pixel(image, layout.markerX + 20, layout.cloudRow.top() + 1), kGraphBackground);

                // Every value inside the temperature axis; a dot of each curve where its value is.
                for (std::size_t i = 0; i < kGraphHours; ++i) {
                    for (const auto* values : {&model.series.temperature, &model.series.dewPoint}) {
                        ASSERT_TRUE((*values)[i].has_value());
                        const double value = static_cast<double>(*(*values)[i]);
                        EXPECT_GT(value, layout.lowestTemperature);
                        EXPECT_LT(value, layout.highestTemperature);
                    }
                    if (layout.hourX[i] == layout.markerX || model.series.temperature[i] == model.series.dewPoint[i])
                        continue;
                    const double t = static_cast<double>(*model.series.temperature[i]);
                    const double d = static_cast<double>(*model.series.dewPoint[i]);
                    EXPECT_EQ(Pixel(image, layout.hourX[i], layout.TemperatureY(t)), kTemperatureColour) << i;
                    if (std::abs(layout.TemperatureY(t) - layout.TemperatureY(d)) > 4) {
                        EXPECT_EQ(Pixel(image, layout.hourX[i], layout.TemperatureY(d)), kDewPointColour) << i;
                    }
                }
            }
        }
    }
}

TEST(ForecastGraph, TemperatureAxisFollowsTheUnit)
{
    const BulletinLines lines = WinterTable();
    // Fahrenheit -18 to 31, Celsius -28 to -1: whole tens with room around them.
    const ForecastGraphLayout f = LayOutForecastGraph(Model(lines, 2, TemperatureUnit::Fahrenheit, TimeType::Zulu));
    EXPECT_EQ(f.lowestTemperature, -30);
    EXPECT_EQ(f.highestTemperature, 40);
    const ForecastGraphLayout c = LayOutForecastGraph(Model(lines, 2, TemperatureUnit::Celsius, TimeType::Zulu));
    EXPECT_EQ(c.lowestTemperature, -40);
    EXPECT_EQ(c.highestTemperature, 10);
    EXPECT_EQ(c.TemperatureY(-40), c.temperaturePanel.bottom());
    EXPECT_EQ(c.TemperatureY(10), c.temperaturePanel.top());
}

TEST(ForecastGraph, CategoriesAndProbabilities)
{
    const ForecastGraphModel model = Model(WinterTable(), 20, TemperatureUnit::Fahrenheit, TimeType::Zulu);
    const ForecastGraphLayout layout = LayOutForecastGraph(model);
    const QImage image = DrawForecastGraph(model);

    // LIFR at hour 6, IFR at 9, MVFR at 12, VFR from 15 to 33, none from 51 on (no cells).
    struct Expectation {
        int line;
        std::size_t hour;  // index
        QRgb colour;
    };
    const Expectation kExpect[] = {
        {__LINE__, 0, kCategoryColours[1]},
        {__LINE__, 1, kCategoryColours[2]},
        {__LINE__, 2, kCategoryColours[3]},
        {__LINE__, 5, kCategoryColours[4]},
        {__LINE__, 12, kCategoryColours[2]},
        {__LINE__, 15, kGraphBackground},
        {__LINE__, 17, kGraphBackground},
    };
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        EXPECT_EQ(Pixel(image, layout.hourX[e.hour] - 13, layout.categoryRow.top() + 1), e.colour);
    }

    // The first 6-hour period (hours 6 to 12): precipitation 80 %, thunderstorms 3 %.
    const double start = layout.HourX(6);
    EXPECT_EQ(Pixel(image, start + 18, layout.ProbabilityY(70)), kPrecipitationColour);
    EXPECT_EQ(Pixel(image, start + 18, layout.ProbabilityY(97)), kPanelBackground);
    EXPECT_EQ(Pixel(image, start + 42, layout.ProbabilityY(1)), kThunderstormColour);
    EXPECT_NE(Pixel(image, start + 42, layout.ProbabilityY(10)), kThunderstormColour);
    // The first 12-hour period (hours 12 to 24): precipitation 95 %, as a level line.
    EXPECT_EQ(Pixel(image, layout.HourX(18), layout.ProbabilityY(95)), kPrecipitation12Colour);
}

TEST(ForecastGraph, EdgeCases)
{
    // No table: the axes and the marker, no curve, no category, no bar.
    for (const BulletinLines& lines : {BulletinLines{}, BulletinLines{"No Report"}, BulletinLines{"MX/MN"}}) {
        const ForecastGraphModel model = Model(lines, 5, TemperatureUnit::Celsius, TimeType::Local);
        const ForecastGraphLayout layout = LayOutForecastGraph(model);
        const QImage image = DrawForecastGraph(model);
        EXPECT_EQ(layout.highestTemperature - layout.lowestTemperature, 20);
        EXPECT_EQ(Pixel(image, layout.markerX, layout.temperaturePanel.top() + 1), kMarkerLine);
        EXPECT_EQ(CountColour(image, layout.temperaturePanel, kTemperatureColour), 0);
        EXPECT_EQ(CountColour(image, layout.probabilityPanel, kPrecipitationColour), 0);
        for (std::size_t category = 1; category < kCategoryColours.size(); ++category)
            EXPECT_EQ(CountColour(image, layout.categoryRow, kCategoryColours[category]), 0);
    }

    // A partial table: the values that are there, nothing where there are gaps.
    const BulletinLines partial = {"MX/MN 34", "TEMP 30 999 40 ", "WSPD 10 99", "WDIR 27", "CIG 3", "VIS 5 5"};
    const ForecastGraphModel model = Model(partial, 20, TemperatureUnit::Fahrenheit, TimeType::Zulu);
    const ForecastGraphLayout layout = LayOutForecastGraph(model);
    const QImage image = DrawForecastGraph(model);
    EXPECT_EQ(Pixel(image, layout.hourX[0], layout.TemperatureY(30)), kTemperatureColour);
    EXPECT_EQ(Pixel(image, layout.hourX[2], layout.TemperatureY(40)), kTemperatureColour);
    // No line across the gap at hour 9.
    EXPECT_EQ(CountColour(image, QRectF(layout.hourX[1] - 2, layout.temperaturePanel.top(), 4,
                                        layout.temperaturePanel.height()),
                          kTemperatureColour),
              0);
    EXPECT_EQ(Pixel(image, layout.hourX[0] - 13, layout.categoryRow.top() + 1), kCategoryColours[2]);  // IFR
    EXPECT_EQ(Pixel(image, layout.hourX[1] - 13, layout.categoryRow.top() + 1), kGraphBackground);
}

TEST(WriteForecastGraphPng, WholeFileOrNone)
{
    test::TemporaryFolder folder;
    const ForecastGraphModel model = Model(WinterTable(), 8, TemperatureUnit::Fahrenheit, TimeType::Zulu);
    const std::filesystem::path file = folder.Path() / "graph.png";
    WriteForecastGraphPng(model, file);
    const QImage read(QString::fromStdString(file.string()), "PNG");
    EXPECT_EQ(read.size(), QSize(kGraphWidth, kGraphHeight));
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), DrawForecastGraph(model));

    const std::filesystem::path missing = folder.Path() / "no such folder" / "graph.png";
    try {
        WriteForecastGraphPng(model, missing);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + missing.string());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

}  // namespace
}  // namespace skelmar
