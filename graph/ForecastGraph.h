#pragma once
// The forecast graph: the model of report/ForecastGraphModel.h drawn with Qt's painter into a
// picture the size of the "Graphic Report" page's picture area. From the top: the title, the
// temperature and dew point curves, the cloud cover, the wind (barbs, and the speed in
// figures), the flight categories, and the bars of the 6-hour probabilities with the lines of
// the 12-hour ones, over one time axis labelled like the time scale. The hour the track bar
// selects is marked by a band and a line across all of them.
//
// Drawing needs a QGuiApplication (the "offscreen" platform will do), for the fonts.

#include <QImage>
#include <QRectF>
#include <QRgb>

#include <array>
#include <string>

#include "report/ForecastGraphModel.h"

namespace skelmar {

inline constexpr int kGraphWidth = 640;
inline constexpr int kGraphHeight = 512;

// The colours, so that tests can find what was drawn.
inline constexpr QRgb kGraphBackground = qRgb(240, 240, 240);  // the window's button face
inline constexpr QRgb kPanelBackground = qRgb(255, 255, 255);
inline constexpr QRgb kMarkerBand = qRgb(255, 241, 184);
inline constexpr QRgb kMarkerLine = qRgb(40, 40, 140);
inline constexpr QRgb kTemperatureColour = qRgb(214, 39, 40);
inline constexpr QRgb kDewPointColour = qRgb(44, 160, 44);
inline constexpr QRgb kPrecipitationColour = qRgb(70, 130, 210);
inline constexpr QRgb kPrecipitation12Colour = qRgb(20, 50, 140);
inline constexpr QRgb kThunderstormColour = qRgb(245, 160, 30);
inline constexpr QRgb kThunderstorm12Colour = qRgb(170, 80, 0);
// By FlightCategory: none, LIFR magenta, IFR red, MVFR blue, VFR green, as pilots know them.
inline constexpr std::array<QRgb, 5> kCategoryColours = {
    qRgb(255, 255, 255), qRgb(200, 0, 200), qRgb(220, 0, 0), qRgb(0, 90, 230), qRgb(0, 150, 0)};

// Where the parts lie in the picture, in pixels.
struct ForecastGraphLayout {
    QRectF title;
    QRectF temperaturePanel;
    QRectF cloudRow;
    QRectF windRow;       // the barbs
    QRectF windSpeedRow;  // the speeds in figures
    QRectF categoryRow;
    QRectF probabilityPanel;
    QRectF timeAxis;      // below the probability panel: the tick marks and the captions
    std::array<double, kGraphHours> hourX{};  // x of hours 6, 9 .. 60
    double markerX = 0;                       // x of the selected hour
    // The temperature axis, in the selected unit: whole tens, the values inside with room.
    double lowestTemperature = 0;
    double highestTemperature = 0;

    double HourX(double hour) const;             // any hour from 6 to 60
    double TemperatureY(double degrees) const;   // inside the temperature panel
    double ProbabilityY(double percent) const;   // 0 at the panel's bottom, 100 at its top
};

ForecastGraphLayout LayOutForecastGraph(const ForecastGraphModel& model);

// The picture, kGraphWidth x kGraphHeight. Never fails: gaps are left empty, and a model
// without a table shows its axes with the NoTable caption.
QImage DrawForecastGraph(const ForecastGraphModel& model);

// DrawForecastGraph's picture as the bytes of a PNG file, for whoever writes it (the command
// line's --graph). Throws Error("Cannot draw the graph") when the encoder fails.
std::string ForecastGraphPng(const ForecastGraphModel& model);

}  // namespace skelmar
