#pragma once
// The one crossing between the core's code page 1252 text and Qt's Unicode strings, and the
// fonts sized in pixels that the window and the graph draw with (Qt GUI, for both).

#include <QFont>
#include <QString>

#include <string>
#include <string_view>

namespace skelmar {

QString ToQString(std::string_view cp1252);
std::string FromQString(const QString& text);

// `family` at a height of `pixels` pixels, as the window's controls give their fonts.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

// A message of the core for a dialog: CR LF line breaks become Qt's line breaks.
QString MessageText(std::string_view cp1252);

}  // namespace skelmar
