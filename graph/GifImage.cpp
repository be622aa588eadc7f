#include "graph/GifImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "graph/QtText.h"
#include "retrieval/GifPicture.h"
#include "text/Error.h"

namespace skelmar {

QImage ReadGifPicture(const std::filesystem::path& file)
{
    const QString name = QString::fromStdString(file.string());
    QFile in(name);
    if (!in.open(QIODevice::ReadOnly))
        throw Error("Invalid GIF picture: " + FromQString(in.errorString()));
    const QByteArray bytes = in.readAll();
    QBuffer buffer;
    buffer.setData(bytes);  // shared, not copied
    buffer.open(QIODevice::ReadOnly);
    // The format follows the file's extension, as the picture control chooses it.
    QImageReader reader(&buffer, QFileInfo(name).suffix().toLatin1());
    reader.setDecideFormatFromContent(false);
    QImage picture = reader.read();
    if (picture.isNull()) {
        if (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a"))
            throw Error("Invalid GIF signature");
        throw Error("Invalid GIF picture: " + FromQString(reader.errorString()));
    }
    // The decoder shows a picture that was cut short as far as it goes.
    if (!GifPictureLength(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        throw Error("Invalid GIF picture: incomplete data");
    return picture;
}

}  // namespace skelmar
