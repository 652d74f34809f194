#include "artwork/contact_sheet.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace kelto::artwork {
namespace {

constexpr int kColumns = 3;
constexpr int kRows = 6;
constexpr int kFrameSide = 481;
constexpr int kLabelMargin = 48;
constexpr int kGap = 12;
constexpr int kCellWidth = kLabelMargin + kFrameSide + kGap;
constexpr int kCellHeight = 480 + kGap;
constexpr int kGlyphScale = 4;
constexpr std::uint8_t kPaper = 255, kInk = 0, kEdge = 170;

// 5 by 7 digits, one row per byte, the leftmost pixel in bit 4.
constexpr std::array<std::array<std::uint8_t, 7>, 10> kDigits{{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
}};

struct Sheet {
    int width = kColumns * kCellWidth + kGap;
    int height = kRows * kCellHeight + kGap;
    std::vector<std::uint8_t> grey =
        std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, kPaper);
    void Set(int x, int y, std::uint8_t v) { grey[static_cast<std::size_t>(y) * width + x] = v; }
};

void DrawLabel(Sheet& sheet, int left, int top, int number) {
    const std::string text = std::to_string(number);
    for (std::size_t c = 0; c < text.size(); ++c) {
        const auto& glyph = kDigits[static_cast<std::size_t>(text[c] - '0')];
        for (int gy = 0; gy < 7; ++gy)
            for (int gx = 0; gx < 5; ++gx)
                if (glyph[gy] & (0x10 >> gx))
                    for (int sy = 0; sy < kGlyphScale; ++sy)
                        for (int sx = 0; sx < kGlyphScale; ++sx)
                            sheet.Set(left + static_cast<int>(c) * 6 * kGlyphScale +
                                          gx * kGlyphScale + sx,
                                      top + gy * kGlyphScale + sy, kInk);
    }
}

}  // namespace

void WriteContactSheet(const std::vector<frames::MonoPicture>& frames, const std::string& path) {
    Sheet sheet;
    for (std::size_t i = 0; i < frames.size() && i < kColumns * kRows; ++i) {
        const int left = kGap + static_cast<int>(i % kColumns) * kCellWidth;
        const int top = kGap + static_cast<int>(i / kColumns) * kCellHeight;
        DrawLabel(sheet, left, top, static_cast<int>(i));
        const int frameLeft = left + kLabelMargin;
        const frames::MonoPicture& f = frames[i];
        // A light edge shows where each picture ends.
        for (int x = -1; x <= 480; ++x)
            sheet.Set(frameLeft + x, top - 1, kEdge), sheet.Set(frameLeft + x, top + 480, kEdge);
        for (int y = -1; y <= 480; ++y)
            sheet.Set(frameLeft - 1, y + top, kEdge), sheet.Set(frameLeft + 480, y + top, kEdge);
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width && x < 480; ++x)
                if (f.IsBlack(x, y)) sheet.Set(frameLeft + x, top + y, kInk);
    }

    QImage image(sheet.width, sheet.height, QImage::Format_Grayscale8);
    for (int y = 0; y < sheet.height; ++y)
        std::copy_n(sheet.grey.begin() + static_cast<std::ptrdiff_t>(y) * sheet.width, sheet.width,
                    image.scanLine(y));
    // Quality 0 asks for the strongest compression.
    if (!image.save(QString::fromStdString(path), "PNG", 0))
        throw std::runtime_error("cannot write " + path);
}

}  // namespace kelto::artwork
