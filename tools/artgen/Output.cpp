#include "Output.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <stdexcept>

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString temporary = path + ".part";
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error("cannot write " + temporary.toStdString());
    file.close();
    QFile::remove(path);
    if (!QFile::rename(temporary, path))
        throw std::runtime_error("cannot rename " + temporary.toStdString());
}

namespace {

void PutLe(QByteArray& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

} // namespace

QByteArray BitmapBytes(const QImage& image)
{
    const int w = image.width(), h = image.height();
    const int rowBytes = (w * 3 + 3) / 4 * 4;
    const uint32_t offset = 14 + 40;
    QByteArray out;
    out.append("BM");
    PutLe(out, offset + static_cast<uint32_t>(rowBytes * h), 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<uint32_t>(w), 4);
    PutLe(out, static_cast<uint32_t>(h), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4); // no compression
    PutLe(out, static_cast<uint32_t>(rowBytes * h), 4);
    PutLe(out, 2835, 4); // 72 dpi
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
        }
        for (int pad = w * 3; pad < rowBytes; ++pad)
            out.append('\0');
    }
    return out;
}

static QByteArray Encoded(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        throw std::runtime_error(std::string("cannot encode ") + format + ": " + writer.errorString().toStdString());
    return bytes;
}

QByteArray JpegBytes(const QImage& image, int quality)
{
    return Encoded(image.convertToFormat(QImage::Format_RGB32), "jpg", quality);
}

QByteArray PngBytes(const QImage& image) { return Encoded(image, "png", -1); }

QByteArray StoredEntry(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    QByteArray out;
    PutLe(out, static_cast<uint32_t>(image.width()), 4);
    PutLe(out, static_cast<uint32_t>(image.height()), 4);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            PutLe(out, row[x], 4);
    }
    return out;
}

QByteArray EmbeddedSource(const std::vector<EmbeddedArray>& arrays, const std::vector<int>& drawModes)
{
    QByteArray out;
    out.append("// Made by artgen from its drawing code; rebuilt by the build, never edited.\n");
    out.append("#include <cstddef>\n\n");
    for (const EmbeddedArray& a : arrays) {
        // Octal escapes of three digits each can never run into the next character.
        out.append("extern const unsigned char " + QByteArray::fromStdString(a.Name) + "[] =\n\"");
        int column = 0;
        for (char ch : a.Bytes) {
            const auto byte = static_cast<unsigned char>(ch);
            char escape[5] = {'\\', static_cast<char>('0' + (byte >> 6)), static_cast<char>('0' + ((byte >> 3) & 7)),
                              static_cast<char>('0' + (byte & 7)), 0};
            out.append(escape, 4);
            if (++column == 40) {
                out.append("\"\n\"");
                column = 0;
            }
        }
        out.append("\";\n");
        out.append("extern const std::size_t " + QByteArray::fromStdString(a.Name) + "Size = " +
                   QByteArray::number(a.Bytes.size()) + ";\n\n");
    }
    out.append("// 0 blend, 1 opaque, one per catalogue entry.\nextern const unsigned char EmbeddedDrawModes[] = {");
    for (size_t i = 0; i < drawModes.size(); ++i)
        out.append((i ? ", " : "") + QByteArray::number(drawModes[i]));
    out.append("};\nextern const std::size_t EmbeddedDrawModesSize = " + QByteArray::number(static_cast<int>(drawModes.size())) +
               ";\n");
    return out;
}
