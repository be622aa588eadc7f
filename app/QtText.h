#pragma once
// The one crossing between the core's code page 1252 text and Qt's Unicode strings.

#include <QString>

#include <string>
#include <string_view>

namespace skelmar {

QString ToQString(std::string_view cp1252);
std::string FromQString(const QString& text);

// A message of the core for a dialog: CR LF line breaks become Qt's line breaks.
QString MessageText(std::string_view cp1252);

}  // namespace skelmar
