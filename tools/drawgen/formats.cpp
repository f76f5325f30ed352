#include "formats.h"

#include <array>
#include <stdexcept>

namespace drawgen {

namespace {

void put16(QByteArray &b, quint32 v)
{
    b.append(char(v & 0xff));
    b.append(char((v >> 8) & 0xff));
}

void put32(QByteArray &b, quint32 v)
{
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

void put32be(QByteArray &b, quint32 v)
{
    b.append(char((v >> 24) & 0xff));
    b.append(char((v >> 16) & 0xff));
    b.append(char((v >> 8) & 0xff));
    b.append(char(v & 0xff));
}

void putInfoHeader(
    QByteArray &b, int w, int h, int bpp, quint32 imageSize, quint32 colours, quint32 ppm)
{
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(h));
    put16(b, 1);
    put16(b, quint32(bpp));
    put32(b, 0); // BI_RGB
    put32(b, imageSize);
    put32(b, ppm);
    put32(b, ppm);
    put32(b, colours);
    put32(b, 0);
}

void putColourTable(QByteArray &b, const QList<QRgb> &table, int entries)
{
    for (int i = 0; i < entries; ++i) {
        const QRgb c = i < table.size() ? table.at(i) : 0;
        b.append(char(qBlue(c)));
        b.append(char(qGreen(c)));
        b.append(char(qRed(c)));
        b.append(char(0));
    }
}

void requireIndexed(const QImage &img)
{
    if (img.format() != QImage::Format_Indexed8)
        throw std::invalid_argument("image is not indexed");
}

} // namespace

QByteArray bmp8(const QImage &img)
{
    requireIndexed(img);
    const int w = img.width();
    const int h = img.height();
    const int stride = (w + 3) & ~3;
    const quint32 imageSize = quint32(stride * h);
    const quint32 offset = 14 + 40 + 256 * 4;

    QByteArray b;
    b.reserve(int(offset + imageSize));
    b.append("BM", 2);
    put32(b, offset + imageSize);
    put32(b, 0);
    put32(b, offset);
    // 3780 pixels per metre is 96 dpi, the scale the page layout is made for.
    putInfoHeader(b, w, h, 8, imageSize, 256, 3780);
    putColourTable(b, img.colorTable(), 256);
    for (int y = h - 1; y >= 0; --y) {
        b.append(reinterpret_cast<const char *>(img.constScanLine(y)), w);
        b.append(QByteArray(stride - w, '\0'));
    }
    return b;
}

QByteArray ico4(const QImage &img, const QImage &opaque)
{
    requireIndexed(img);
    if (img.width() != 32 || img.height() != 32 || opaque.size() != img.size())
        throw std::invalid_argument("icon must be 32 x 32");
    constexpr int w = 32;
    constexpr int h = 32;
    constexpr int xorStride = w / 2; // 4 bits a pixel, already a multiple of 4
    constexpr int andStride = w / 8; // 1 bit a pixel, already a multiple of 4
    constexpr quint32 imageSize = xorStride * h + andStride * h;
    constexpr quint32 resSize = 40 + 16 * 4 + imageSize;

    QByteArray b;
    put16(b, 0);
    put16(b, 1); // icon
    put16(b, 1); // one image
    b.append(char(w));
    b.append(char(h));
    b.append(char(16));
    b.append(char(0));
    put16(b, 1);
    put16(b, 4);
    put32(b, resSize);
    put32(b, 6 + 16);
    // The height counts the XOR and the AND bitmap together.
    putInfoHeader(b, w, h * 2, 4, imageSize, 0, 0);
    putColourTable(b, img.colorTable(), 16);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; x += 2) {
            auto index = [&](int px) -> int {
                if (qGray(opaque.pixel(px, y)) == 0)
                    return 0;
                const int i = img.pixelIndex(px, y);
                if (i > 15)
                    throw std::invalid_argument("icon uses more than 16 colours");
                return i;
            };
            b.append(char((index(x) << 4) | index(x + 1)));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; x += 8) {
            int bits = 0;
            for (int k = 0; k < 8; ++k)
                if (qGray(opaque.pixel(x + k, y)) == 0)
                    bits |= 0x80 >> k;
            b.append(char(bits));
        }
    }
    return b;
}

namespace {

const std::array<quint32, 256> &crcTable()
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t {};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

quint32 crc32(const QByteArray &data)
{
    quint32 c = 0xffffffffu;
    for (char ch : data)
        c = crcTable()[(c ^ quint8(ch)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

quint32 adler32(const QByteArray &data)
{
    quint32 a = 1;
    quint32 s = 0;
    for (char ch : data) {
        a = (a + quint8(ch)) % 65521;
        s = (s + a) % 65521;
    }
    return (s << 16) | a;
}

void putChunk(QByteArray &png, const char *type, const QByteArray &data)
{
    put32be(png, quint32(data.size()));
    QByteArray typed(type, 4);
    typed += data;
    png += typed;
    put32be(png, crc32(typed));
}

} // namespace

QByteArray pngIndexed(const QImage &img)
{
    requireIndexed(img);
    const QList<QRgb> table = img.colorTable();

    QByteArray png("\x89PNG\r\n\x1a\n", 8);

    QByteArray ihdr;
    put32be(ihdr, quint32(img.width()));
    put32be(ihdr, quint32(img.height()));
    ihdr.append(char(8)); // bit depth
    ihdr.append(char(3)); // palette
    ihdr.append(char(0));
    ihdr.append(char(0));
    ihdr.append(char(0));
    putChunk(png, "IHDR", ihdr);

    QByteArray plte;
    QByteArray trns;
    for (QRgb c : table) {
        plte.append(char(qRed(c)));
        plte.append(char(qGreen(c)));
        plte.append(char(qBlue(c)));
        trns.append(char(qAlpha(c)));
    }
    putChunk(png, "PLTE", plte);
    while (!trns.isEmpty() && quint8(trns.back()) == 255)
        trns.chop(1);
    if (!trns.isEmpty())
        putChunk(png, "tRNS", trns);

    QByteArray raw;
    for (int y = 0; y < img.height(); ++y) {
        raw.append(char(0)); // filter: none
        raw.append(reinterpret_cast<const char *>(img.constScanLine(y)), img.width());
    }
    QByteArray z;
    z.append(char(0x78));
    z.append(char(0x01));
    for (qsizetype pos = 0; pos < raw.size() || pos == 0;) {
        const qsizetype n = std::min<qsizetype>(65535, raw.size() - pos);
        const bool last = pos + n >= raw.size();
        z.append(char(last ? 1 : 0));
        put16(z, quint32(n));
        put16(z, quint32(~n & 0xffff));
        z.append(raw.mid(pos, n));
        pos += n;
        if (last)
            break;
    }
    put32be(z, adler32(raw));
    putChunk(png, "IDAT", z);
    putChunk(png, "IEND", QByteArray());
    return png;
}

} // namespace drawgen
