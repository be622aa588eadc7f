#include "graph/ForecastGraph.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "graph/QtText.h"
#include "text/Cp1252.h"
#include "text/Error.h"

namespace skelmar {

namespace {

// Horizontal: hour 6 at x 76, then 10 pixels an hour up to hour 60 at x 616; the panels
// reach half a 3-hour step beyond, so that the first and last hours have a whole cell.
constexpr double kFirstHourX = 76;
constexpr double kPixelsPerHour = 10;
constexpr double kHalfStep = 1.5 * kPixelsPerHour;
constexpr double kPanelLeft = kFirstHourX - kHalfStep;
constexpr double kPanelRight = kFirstHourX + 54 * kPixelsPerHour + kHalfStep;
constexpr double kPanelWidth = kPanelRight - kPanelLeft;
constexpr double kCaptionRight = kPanelLeft - 5;  // captions and tick labels end here

// Vertical, from the top.
constexpr QRectF kTitle(0, 3, kGraphWidth, 20);
constexpr double kLegendHeight = 14;
constexpr QRectF kTemperaturePanel(kPanelLeft, 40, kPanelWidth, 168);
constexpr QRectF kCloudRow(kPanelLeft, 212, kPanelWidth, 24);
constexpr QRectF kWindRow(kPanelLeft, 238, kPanelWidth, 50);
constexpr QRectF kWindSpeedRow(kPanelLeft, 289, kPanelWidth, 14);
constexpr QRectF kCategoryRow(kPanelLeft, 307, kPanelWidth, 20);
constexpr QRectF kProbabilityPanel(kPanelLeft, 349, kPanelWidth, 108);
constexpr QRectF kTimeAxis(kPanelLeft, 457, kPanelWidth, 38);

// The temperature axis: whole tens, at least this many degrees, with room above and below.
constexpr double kMinimumTemperatureSpan = 20;
constexpr double kTemperatureRoom = 3;

const QColor kFrame(160, 160, 160);
const QColor kGrid(225, 225, 225);
const QColor kText(40, 40, 40);
const QColor kSymbol(60, 60, 60);

// The window's font for captions, Arial for figures, as on the "Text Report" page.
QFont CaptionFont(int pixels, bool bold = false) { return PixelFont(QStringLiteral("Comic Sans MS"), pixels, bold); }
QFont FigureFont(int pixels, bool bold = false) { return PixelFont(QStringLiteral("Arial"), pixels, bold); }

template <typename T, std::size_t N>
void ForEachValue(const std::array<std::optional<T>, N>& values, auto&& use)
{
    for (std::size_t i = 0; i < N; ++i)
        if (values[i])
            use(i, static_cast<double>(*values[i]));
}

// A row caption in the left margin, right-aligned and wrapped.
void DrawRowCaption(QPainter& painter, const QRectF& row, const std::string& caption)
{
    painter.setFont(CaptionFont(11));
    painter.setPen(kText);
    painter.drawText(QRectF(0, row.top() - 4, kCaptionRight, row.height() + 8),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextWordWrap, ToQString(caption));
}

// A legend line above a panel, from the left edge of the picture: the axis caption in bold,
// then items, each a sample drawn by `sample` in a 16 x 10 box followed by its text.
class Legend {
public:
    Legend(QPainter& painter, double top, const std::string& axisCaption) : painter_(painter), x_(4), top_(top)
    {
        painter_.setFont(CaptionFont(11, true));
        painter_.setPen(kText);
        const QString text = ToQString(axisCaption);
        painter_.drawText(QRectF(x_, top_ - 2, kGraphWidth, kLegendHeight + 4), Qt::AlignLeft | Qt::AlignVCenter, text);
        x_ = std::max(kPanelLeft, x_ + QFontMetricsF(painter_.font()).horizontalAdvance(text) + 12);
    }
    template <typename Sample>
    void Add(const std::string& caption, Sample&& sample)
    {
        if (caption.empty())
            return;
        const QRectF box(x_, top_ + 2, 16, 10);
        sample(box);
        painter_.setFont(CaptionFont(11));
        painter_.setPen(kText);
        const QString text = ToQString(caption);
        const QRectF where(box.right() + 4, top_ - 2, QFontMetricsF(painter_.font()).horizontalAdvance(text) + 2,
                           kLegendHeight + 4);
        painter_.drawText(where, Qt::AlignLeft | Qt::AlignVCenter, text);
        x_ = where.right() + 12;
    }

private:
    QPainter& painter_;
    double x_;
    double top_;
};

void DrawLineSample(QPainter& painter, const QRectF& box, QRgb colour, double width)
{
    painter.setPen(QPen(QColor(colour), width));
    painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
}

void DrawPanel(QPainter& painter, const QRectF& panel)
{
    painter.setPen(QPen(kFrame, 1));
    painter.setBrush(QColor(kPanelBackground));
    painter.drawRect(panel.adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.setBrush(Qt::NoBrush);
}

void DrawHourGrid(QPainter& painter, const ForecastGraphLayout& layout, const QRectF& panel)
{
    painter.setPen(QPen(kGrid, 1));
    for (int hour = 12; hour < 60; hour += 6)
        painter.drawLine(QPointF(layout.HourX(hour), panel.top()), QPointF(layout.HourX(hour), panel.bottom()));
}

// One curve: lines between neighbouring values, a dot on each; a gap breaks the line.
void DrawCurve(QPainter& painter, const ForecastGraphLayout& layout,
               const std::array<std::optional<long>, kGraphHours>& values, QRgb colour)
{
    painter.setPen(QPen(QColor(colour), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (std::size_t i = 1; i < kGraphHours; ++i) {
        if (values[i - 1] && values[i])
            painter.drawLine(QPointF(layout.hourX[i - 1], layout.TemperatureY(static_cast<double>(*values[i - 1]))),
                             QPointF(layout.hourX[i], layout.TemperatureY(static_cast<double>(*values[i]))));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(colour));
    ForEachValue(values, [&](std::size_t i, double v) {
        painter.drawEllipse(QPointF(layout.hourX[i], layout.TemperatureY(v)), 2.8, 2.8);
    });
    painter.setBrush(Qt::NoBrush);
}

// The sky cover symbol: a circle filled clockwise from the top by the eighths covered.
void DrawSkySymbol(QPainter& painter, const QPointF& centre, int eighths)
{
    const QRectF circle(centre.x() - 7, centre.y() - 7, 14, 14);
    painter.setPen(QPen(kSymbol, 1.2));
    painter.setBrush(Qt::white);
    painter.drawEllipse(circle);
    painter.setBrush(kSymbol);
    if (eighths >= 8)
        painter.drawEllipse(circle);
    else if (eighths > 0)
        painter.drawPie(circle, 90 * 16, -eighths * 45 * 16);
    painter.setBrush(Qt::NoBrush);
}

// A wind barb at `base`: the staff points to where the wind comes from; on its far end, on
// the clockwise side, a pennant for each 50 knots, a long barb for each 10, a short one for
// 5 (the speed rounded to 5 knots). Calm is a circle.
void DrawWindBarb(QPainter& painter, const QPointF& base, int tensOfDegrees, int knots)
{
    painter.setPen(QPen(kSymbol, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const int rounded = (knots + 2) / 5 * 5;
    if (rounded == 0) {
        painter.drawEllipse(base, 4.5, 4.5);
        return;
    }
    constexpr double kStaff = 19;
    constexpr double kBarb = 9;
    constexpr double kSpacing = 3.5;
    const double angle = tensOfDegrees * 10 * std::numbers::pi / 180;
    const QPointF along(std::sin(angle), -std::cos(angle));  // towards the wind's source
    const QPointF side(-along.y(), along.x());                // clockwise from `along`
    const QPointF barb = side * (kBarb * 0.87) + along * (kBarb * 0.5);
    const QPointF tip = base + along * kStaff;
    painter.drawLine(base, tip);
    painter.setBrush(kSymbol);
    painter.drawEllipse(base, 1.6, 1.6);

    int left = rounded;
    QPointF at = tip;
    for (; left >= 50; left -= 50) {
        painter.drawPolygon(QPolygonF({at, at + side * kBarb, at - along * (kSpacing * 1.6)}));
        at -= along * (kSpacing * 2.2);
    }
    painter.setBrush(Qt::NoBrush);
    for (; left >= 10; left -= 10) {
        painter.drawLine(at, at + barb);
        at -= along * kSpacing;
    }
    if (left >= 5) {
        if (at == tip)  // a lone short barb stands a little in from the end
            at -= along * kSpacing;
        painter.drawLine(at, at + barb * 0.55);
    }
}

void DrawTitle(QPainter& painter, const ForecastGraphModel& model, const ForecastGraphLayout& layout)
{
    painter.setFont(CaptionFont(14, true));
    painter.setPen(kText);
    painter.drawText(layout.title, Qt::AlignHCenter | Qt::AlignVCenter, ToQString(model.captions.title));
}

void DrawTemperatures(QPainter& painter, const ForecastGraphModel& model, const ForecastGraphLayout& layout)
{
    const QRectF& panel = layout.temperaturePanel;
    const double span = layout.highestTemperature - layout.lowestTemperature;
    const double step = span > 60 ? 20 : 10;
    painter.setFont(FigureFont(11));
    for (double t = std::ceil(layout.lowestTemperature / step) * step; t <= layout.highestTemperature; t += step) {
        const double y = layout.TemperatureY(t);
        painter.setPen(QPen(t == 0 ? kFrame : kGrid, 1));
        painter.drawLine(QPointF(panel.left(), y), QPointF(panel.right(), y));
        painter.setPen(kText);
        painter.drawText(QRectF(0, y - 8, kCaptionRight, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(t, 'f', 0));
    }
    DrawCurve(painter, layout, model.series.dewPoint, kDewPointColour);
    DrawCurve(painter, layout, model.series.temperature, kTemperatureColour);

    // The daily maxima and minima: a triangle at the end of each one's period, pointing up
    // for a maximum and down for a minimum, with its caption and figure beside it.
    painter.setFont(FigureFont(10));
    for (const ExtremeValue& extreme : model.series.extremes) {
        const double x = layout.HourX(extreme.hour);
        const double y = std::clamp(layout.TemperatureY(static_cast<double>(extreme.temperature)), panel.top() + 6,
                                    panel.bottom() - 6);
        const double tip = extreme.maximum ? -5 : 5;
        painter.setPen(QPen(QColor(kTemperatureColour), 1));
        painter.setBrush(QColor(kTemperatureColour));
        painter.drawPolygon(QPolygonF({QPointF(x, y + tip), QPointF(x - 4, y - tip), QPointF(x + 4, y - tip)}));
        painter.setBrush(Qt::NoBrush);
        const QString caption = ToQString(extreme.maximum ? model.captions.maximum : model.captions.minimum);
        const QRectF box(x - 30, extreme.maximum ? y - 20 : y + 7, 60, 13);
        painter.setPen(kText);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter,
                         (caption.isEmpty() ? QString() : caption + QChar(' ')) + QString::number(extreme.temperature));
    }

    // The selected hour's figures beside the marker: the temperature above its dot, the dew
    // point below its own; on the left of the marker where the right has no room.
    const std::size_t selected = static_cast<std::size_t>(std::clamp(model.selectedIndex, 0, kGraphHours - 1));
    const bool leftSide = layout.markerX + 40 > panel.right();
    painter.setFont(FigureFont(11, true));
    const auto figure = [&](const std::optional<long>& value, QRgb colour, bool above) {
        if (!value)
            return;
        const double y = std::clamp(layout.TemperatureY(static_cast<double>(*value)) + (above ? -15 : 2), panel.top(),
                                    panel.bottom() - 13);
        const QRectF box(leftSide ? layout.markerX - 40 : layout.markerX + 3, y, 37, 13);
        painter.setPen(QColor(colour));
        painter.drawText(box, (leftSide ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                         QString::number(*value) + QChar(0xB0));
    };
    figure(model.series.temperature[selected], kTemperatureColour, true);
    figure(model.series.dewPoint[selected], kDewPointColour, false);

    Legend legend(painter, panel.top() - kLegendHeight - 2, model.captions.temperatureAxis);
    legend.Add(model.captions.temperature, [&](const QRectF& box) { DrawLineSample(painter, box, kTemperatureColour, 2); });
    legend.Add(model.captions.dewPoint, [&](const QRectF& box) { DrawLineSample(painter, box, kDewPointColour, 2); });
}

void DrawClouds(QPainter& painter, const ForecastGraphModel& model, const ForecastGraphLayout& layout)
{
    DrawRowCaption(painter, layout.cloudRow, model.captions.clouds);
    for (std::size_t i = 0; i < kGraphHours; ++i) {
        const QPointF centre(layout.hourX[i], layout.cloudRow.center().y());
        if (model.cloudEighths[i]) {
            DrawSkySymbol(painter, centre, *model.cloudEighths[i]);
        } else if (!model.series.cloudCover[i].empty()) {  // a code without a symbol: the code
            painter.setFont(FigureFont(10));
            painter.setPen(kText);
            painter.drawText(QRectF(centre.x() - kHalfStep, layout.cloudRow.top(), 2 * kHalfStep, layout.cloudRow.height()),
                             Qt::AlignCenter, ToQString(model.series.cloudCover[i]));
        }
    }
}

void DrawWind(QPainter& painter, const ForecastGraphModel& model, const ForecastGraphLayout& layout)
{
    DrawRowCaption(painter, layout.windRow.united(layout.windSpeedRow), model.captions.wind);
    painter.setFont(FigureFont(10));
    for (std::size_t i = 0; i < kGraphHours; ++i) {
        const std::optional<int>& speed = model.series.windSpeed[i];
        const std::optional<int>& direction = model.series.windDirection[i];
        if (!speed)
            continue;
        painter.setPen(kText);
        // "12G22": 12 kt gusting to 22, as aviation reports write it, in a font small enough
        // for its column.
        const std::optional<int>& gust = model.series.windGust[i];
        const QString figures = gust ? QString::number(*speed) + "G" + QString::number(*gust) : QString::number(*speed);
        int pixels = 10;
        while (gust && pixels > 6 && QFontMetricsF(FigureFont(pixels)).horizontalAdvance(figures) > 2 * kHalfStep - 2)
            --pixels;
        painter.setFont(FigureFont(pixels));
        painter.drawText(QRectF(layout.hourX[i] - kHalfStep, layout.windSpeedRow.top(), 2 * kHalfStep,
                                layout.windSpeedRow.height()),
                         Qt::AlignCenter, figures);
        painter.setFont(FigureFont(10));
        if (direction || *speed == 0)
            DrawWindBarb(painter, QPointF(layout.hourX[i], layout.windRow.center().y()), direction.value_or(0), *speed);
    }
}

void DrawCategories(QPainter& painter, const ForecastGraphModel& model, const ForecastGraphLayout& layout)
{
    DrawRowCaption(painter, layout.categoryRow, model.captions.category);
    const QRectF& row = layout.categoryRow;
    painter.setFont(FigureFont(11, true));
    // Neighbouring hours of one category make one block, named once.
    for (std::size_t first = 0; first < kGraphHours;) {
        const FlightCategory category = model.series.category[first];
        std::size_t last = first;
        while (last + 1 < kGraphHours && model.series.category[last + 1] == category)
            ++last;
        if (category != FlightCategory::None) {
            const QRectF block(layout.hourX[first] - kHalfStep, row.top(),
                               layout.hourX[last] - layout.hourX[first] + 2 * kHalfStep, row.height());
            painter.fillRect(block, QColor(kCategoryColours[static_cast<std::size_t>(category)]));
            const QString name = ToQString(model.captions.categoryNames[static_cast<std::size_t>(category) - 1]);
            if (QFontMetricsF(painter.font()).horizontalAdvance(name) + 4 <= block.width()) {
                painter.setPen(Qt::white);
                painter.drawText(block, Qt::AlignCenter, name);
            }
        }
        first = last + 1;
    }
}

void DrawProbabilities(QPainter& painter, const ForecastGraphModel& model, const ForecastGraphLayout& layout)
{
    const QRectF& panel = layout.probabilityPanel;
    painter.setFont(FigureFont(11));
    for (int percent = 0; percent <= 100; percent += 25) {
        const double y = layout.ProbabilityY(percent);
        painter.setPen(QPen(kGrid, 1));
        painter.drawLine(QPointF(panel.left(), y), QPointF(panel.right(), y));
        if (percent % 50 == 0) {
            painter.setPen(kText);
            painter.drawText(QRectF(0, y - 8, kCaptionRight, 16), Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(percent));
        }
    }
    // Two bars side by side in each 6-hour period; the 12-hour probabilities as levels
    // across their periods; then the bars' figures, so that no level hides one: inside a bar
    // that has room, above one that has not.
    constexpr double kBarWidth = 22;
    constexpr double kFigureHeight = 13;
    struct Bar {
        QRectF shape;
        int percent;
        QRgb colour;
    };
    std::vector<Bar> bars;
    const auto bar = [&](double left, std::optional<int> percent, QRgb colour) {
        if (!percent)
            return;
        const double top = layout.ProbabilityY(*percent);
        bars.push_back({QRectF(left, top, kBarWidth, panel.bottom() - top), *percent, colour});
        painter.fillRect(bars.back().shape, QColor(colour));
    };
    for (const PeriodValues& period : model.series.sixHours) {
        const double start = layout.HourX(period.endHour - 6);
        bar(start + 7, period.precipitation, kPrecipitationColour);
        bar(start + 31, period.thunderstorms, kThunderstormColour);
    }
    const auto level = [&](const PeriodValues& period, std::optional<int> percent, QRgb colour, double lift) {
        if (!percent)
            return;
        const double y = layout.ProbabilityY(*percent) - lift;
        painter.setPen(QPen(QColor(colour), 3, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(layout.HourX(period.endHour - 12) + 3, y), QPointF(layout.HourX(period.endHour) - 3, y));
    };
    for (const PeriodValues& period : model.series.twelveHours) {
        level(period, period.precipitation, kPrecipitation12Colour, 0);
        level(period, period.thunderstorms, kThunderstorm12Colour, 3);  // never hidden by the other
    }
    painter.setFont(FigureFont(10));
    for (const Bar& b : bars) {
        const bool inside = b.shape.height() >= kFigureHeight + 2;
        painter.setPen(inside ? QColor(Qt::white) : QColor(b.colour).darker(150));
        painter.drawText(QRectF(b.shape.left() - 4, inside ? b.shape.top() + 1 : b.shape.top() - kFigureHeight,
                                kBarWidth + 8, kFigureHeight),
                         Qt::AlignHCenter | Qt::AlignVCenter, QString::number(b.percent));
    }

    Legend legend(painter, panel.top() - kLegendHeight - 2, model.captions.probabilityAxis);
    const auto box = [&](QRgb colour) {
        return [&painter, colour](const QRectF& b) { painter.fillRect(b.adjusted(3, 0, -3, 0), QColor(colour)); };
    };
    const auto line = [&](QRgb colour) {
        return [&painter, colour](const QRectF& b) { DrawLineSample(painter, b, colour, 3); };
    };
    legend.Add(model.captions.precipitation6, box(kPrecipitationColour));
    legend.Add(model.captions.precipitation12, line(kPrecipitation12Colour));
    legend.Add(model.captions.thunderstorms6, box(kThunderstormColour));
    legend.Add(model.captions.thunderstorms12, line(kThunderstorm12Colour));
}

void DrawTimeAxis(QPainter& painter, const ForecastGraphModel& model, const ForecastGraphLayout& layout)
{
    const QRectF& axis = layout.timeAxis;
    painter.setPen(QPen(kFrame, 1));
    for (int i = 0; i < kGraphHours; ++i) {
        const double x = layout.hourX[static_cast<std::size_t>(i)];
        painter.drawLine(QPointF(x, axis.top()), QPointF(x, axis.top() + (GraphHour(i) % 6 == 0 ? 5 : 3)));
    }
    painter.setPen(kText);
    for (const GraphTimeLabel& label : model.timeLabels) {
        const double x = layout.HourX(label.hour);
        painter.setFont(FigureFont(11, true));
        painter.drawText(QRectF(x - 40, axis.top() + 5, 80, 15), Qt::AlignHCenter | Qt::AlignTop, ToQString(label.time));
        painter.setFont(FigureFont(10));
        painter.drawText(QRectF(x - 40, axis.top() + 20, 80, 14), Qt::AlignHCenter | Qt::AlignTop, ToQString(label.date));
    }
}

// Behind the values: a band one 3-hour step wide; in front of the panels, a line.
void DrawMarkerBand(QPainter& painter, const ForecastGraphLayout& layout)
{
    for (const QRectF& part : {layout.temperaturePanel, layout.cloudRow, layout.windRow, layout.windSpeedRow,
                               layout.probabilityPanel}) {
        painter.fillRect(QRectF(layout.markerX - kHalfStep, part.top(), 2 * kHalfStep, part.height()),
                         QColor(kMarkerBand));
    }
}

void DrawMarkerLine(QPainter& painter, const ForecastGraphLayout& layout)
{
    // Two whole pixel columns, ending at markerX, so that it is as sharp as the grid.
    painter.fillRect(QRectF(layout.markerX - 1, layout.temperaturePanel.top(), 2,
                            layout.probabilityPanel.bottom() - layout.temperaturePanel.top()),
                     QColor(kMarkerLine));
}

}  // namespace

double ForecastGraphLayout::HourX(double hour) const
{
    return kFirstHourX + (hour - 6) * kPixelsPerHour;
}

double ForecastGraphLayout::TemperatureY(double degrees) const
{
    const double share = (degrees - lowestTemperature) / (highestTemperature - lowestTemperature);
    return temperaturePanel.bottom() - share * temperaturePanel.height();
}

double ForecastGraphLayout::ProbabilityY(double percent) const
{
    return probabilityPanel.bottom() - percent / 100 * probabilityPanel.height();
}

ForecastGraphLayout LayOutForecastGraph(const ForecastGraphModel& model)
{
    ForecastGraphLayout layout;
    layout.title = kTitle;
    layout.temperaturePanel = kTemperaturePanel;
    layout.cloudRow = kCloudRow;
    layout.windRow = kWindRow;
    layout.windSpeedRow = kWindSpeedRow;
    layout.categoryRow = kCategoryRow;
    layout.probabilityPanel = kProbabilityPanel;
    layout.timeAxis = kTimeAxis;
    for (int i = 0; i < kGraphHours; ++i)
        layout.hourX[static_cast<std::size_t>(i)] = layout.HourX(GraphHour(i));
    layout.markerX = layout.hourX[static_cast<std::size_t>(std::clamp(model.selectedIndex, 0, kGraphHours - 1))];

    std::optional<double> lowest, highest;
    for (const auto* values : {&model.series.temperature, &model.series.dewPoint})
        ForEachValue(*values, [&](std::size_t, double v) {
            lowest = std::min(lowest.value_or(v), v);
            highest = std::max(highest.value_or(v), v);
        });
    // Without values, a span around freezing in either unit.
    double low = std::floor((lowest.value_or(10) - kTemperatureRoom) / 10) * 10;
    double high = std::ceil((highest.value_or(10) + kTemperatureRoom) / 10) * 10;
    if (high - low < kMinimumTemperatureSpan) {
        const double missing = kMinimumTemperatureSpan - (high - low);
        high += std::ceil(missing / 20) * 10;
        low -= std::ceil(missing / 20) * 10;
    }
    layout.lowestTemperature = low;
    layout.highestTemperature = high;
    return layout;
}

QImage DrawForecastGraph(const ForecastGraphModel& model)
{
    const ForecastGraphLayout layout = LayOutForecastGraph(model);
    QImage image(kGraphWidth, kGraphHeight, QImage::Format_RGB32);
    image.fill(QColor(kGraphBackground));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    DrawTitle(painter, model, layout);
    for (const QRectF& panel : {layout.temperaturePanel, layout.probabilityPanel})
        DrawPanel(painter, panel);
    DrawMarkerBand(painter, layout);
    for (const QRectF& panel : {layout.temperaturePanel, layout.probabilityPanel})
        DrawHourGrid(painter, layout, panel);

    DrawTemperatures(painter, model, layout);
    DrawClouds(painter, model, layout);
    DrawWind(painter, model, layout);
    DrawCategories(painter, model, layout);
    DrawProbabilities(painter, model, layout);
    DrawTimeAxis(painter, model, layout);
    DrawMarkerLine(painter, layout);

    if (!model.holdsTable) {
        painter.setFont(CaptionFont(14));
        painter.setPen(kText);
        painter.drawText(layout.temperaturePanel, Qt::AlignCenter | Qt::TextWordWrap, ToQString(model.captions.noTable));
    }
    return image;
}

std::string ForecastGraphPng(const ForecastGraphModel& model)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!DrawForecastGraph(model).save(&buffer, "PNG"))
        throw Error("Cannot draw the graph");
    return bytes.toStdString();
}

}  // namespace skelmar
