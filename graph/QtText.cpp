#include "graph/QtText.h"

#include "text/Cp1252.h"

namespace skelmar {

QString ToQString(std::string_view cp1252)
{
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
