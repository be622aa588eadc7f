#include "graph/QtText.h"

#include <algorithm>

#include "text/Cp1252.h"

namespace skelmar {

QString ToQString(std::string_view cp1252)
{
    // Code page 1252 is Latin-1 but for 0x80..0x9F: without those the conversion is direct
    // (the station list alone is 2,000 texts at start-up).
    if (std::none_of(cp1252.begin(), cp1252.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte >= 0x80 && byte <= 0x9F;
        }))
        return QString::fromLatin1(cp1252.data(), static_cast<qsizetype>(cp1252.size()));
    const std::string utf8 = Cp1252ToUtf8(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToCp1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString MessageText(std::string_view cp1252)
{
    QString text = ToQString(cp1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace skelmar
