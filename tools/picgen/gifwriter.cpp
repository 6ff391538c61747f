#include "gifwriter.h"

#include <QList>

#include <bit>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace picgen {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeSize = 12;

void put16(QByteArray& out, int value) {
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

// Packs variable-width codes least significant bit first.
class BitWriter {
public:
    void write(int code, int size) {
        buffer_ |= std::uint32_t(code) << count_;
        count_ += size;
        while (count_ >= 8) {
            bytes_.append(char(buffer_ & 0xff));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }

    QByteArray finish() {
        if (count_ > 0)
            bytes_.append(char(buffer_ & 0xff));
        buffer_ = 0;
        count_ = 0;
        return bytes_;
    }

private:
    QByteArray bytes_;
    std::uint32_t buffer_ = 0;
    int count_ = 0;
};

// String table of the compressor: code of (prefix code, next index), or -1 when absent.
class CodeTable {
public:
    explicit CodeTable(int alphabet) : alphabet_(alphabet), codes_(kMaxCodes * alphabet, -1) {}

    int find(int prefix, int index) const { return codes_[prefix * alphabet_ + index]; }
    void add(int prefix, int index, int code) { codes_[prefix * alphabet_ + index] = code; }
    void clear() { std::fill(codes_.begin(), codes_.end(), -1); }

private:
    int alphabet_;
    std::vector<int> codes_;
};

} // namespace

QByteArray lzwEncode(const QImage& indexed, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;

    CodeTable table(clearCode);
    BitWriter bits;
    int codeSize = minCodeSize + 1;
    int nextCode = endCode + 1;
    bits.write(clearCode, codeSize);

    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int index = line[x];
            if (index >= clearCode)
                throw std::invalid_argument("pixel index outside the colour table");
            if (prefix < 0) {
                prefix = index;
                continue;
            }
            const int known = table.find(prefix, index);
            if (known >= 0) {
                prefix = known;
                continue;
            }
            bits.write(prefix, codeSize);
            if (nextCode < kMaxCodes) {
                table.add(prefix, index, nextCode);
                // The reader widens its codes one entry later than we add them.
                if (nextCode == (1 << codeSize) && codeSize < kMaxCodeSize)
                    ++codeSize;
                ++nextCode;
            } else {
                bits.write(clearCode, codeSize);
                table.clear();
                codeSize = minCodeSize + 1;
                nextCode = endCode + 1;
            }
            prefix = index;
        }
    }
    if (prefix >= 0)
        bits.write(prefix, codeSize);
    bits.write(endCode, codeSize);
    return bits.finish();
}

QByteArray encodeGif(const QImage& indexed, int transparentIndex) {
    if (indexed.format() != QImage::Format_Indexed8)
        throw std::invalid_argument("GIF needs an indexed image");
    const QList<QRgb> colours = indexed.colorTable();
    const auto entries = unsigned(colours.size());
    if (entries < 2 || entries > 256 || !std::has_single_bit(entries))
        throw std::invalid_argument("GIF colour tables hold 2, 4, ... 256 entries");
    const int tableBits = std::countr_zero(entries); // 2^tableBits entries
    const int minCodeSize = std::max(2, tableBits);

    QByteArray out("GIF89a");
    // Logical screen descriptor with a global colour table.
    put16(out, indexed.width());
    put16(out, indexed.height());
    out.append(char(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));
    out.append('\0'); // background colour index
    out.append('\0'); // no aspect ratio
    for (const QRgb colour : colours) {
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }

    // Graphic control extension: no disposal, no delay, transparency.
    out.append("\x21\xf9\x04", 3);
    out.append(char(transparentIndex >= 0 ? 0x01 : 0x00));
    put16(out, 0);
    out.append(char(transparentIndex >= 0 ? transparentIndex : 0));
    out.append('\0');

    // Image descriptor: the whole screen, no local table, not interlaced.
    out.append(char(0x2c));
    put16(out, 0);
    put16(out, 0);
    put16(out, indexed.width());
    put16(out, indexed.height());
    out.append('\0');

    out.append(char(minCodeSize));
    const QByteArray codes = lzwEncode(indexed, minCodeSize);
    for (qsizetype pos = 0; pos < codes.size(); pos += 255) {
        const qsizetype length = std::min<qsizetype>(255, codes.size() - pos);
        out.append(char(length));
        out.append(codes.mid(pos, length));
    }
    out.append('\0'); // block terminator
    out.append(char(0x3b));
    return out;
}

} // namespace picgen
