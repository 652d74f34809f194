// Checks the program icon files: sizes, the 16-colour palette, the two-colour version and
// the drawing itself (a white window with a cyan title bar, a grey shadow to the lower
// right, seen slightly from the side).
// Usage: packaging_icon_check <16.png> <32.png> <32-mono.png> <scalable.svg>
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> iconFiles;

const QSet<QRgb> kPalette16 = {
    qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00), qRgb(0x80, 0x80, 0x00),
    qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80), qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
    qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
    qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF)};

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);
const QRgb kCyan = qRgb(0x00, 0xFF, 0xFF);
const QRgb kGrey = qRgb(0x80, 0x80, 0x80);

QImage loadIcon(int index) {
    QImage image(QString::fromStdString(iconFiles.at(index)), "PNG");
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Pixels are either see-through (the icon's mask) or fully opaque.
bool isOpaque(QRgb pixel) {
    return qAlpha(pixel) == 255;
}

bool hasColour(QRgb pixel, QRgb colour) {
    return isOpaque(pixel) && (pixel & 0xFFFFFF) == (colour & 0xFFFFFF);
}

struct Extent {
    int count = 0;
    int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1;
    double sumY = 0;
    void add(int x, int y) {
        ++count;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        sumY += y;
    }
    double meanY() const { return sumY / count; }
};

Extent extentOf(const QImage& image, QRgb colour) {
    Extent extent;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (hasColour(image.pixel(x, y), colour)) extent.add(x, y);
    return extent;
}

// Opaque pixels of one column that are not shadow: the window's height there.
int windowHeightAt(const QImage& image, int x, QRgb shadow) {
    int height = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb pixel = image.pixel(x, y);
        if (isOpaque(pixel) && !hasColour(pixel, shadow)) ++height;
    }
    return height;
}

void expectOnlyColours(const QImage& image, const QSet<QRgb>& allowed) {
    int partlyTransparent = 0, foreign = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0) continue;
            if (qAlpha(pixel) != 255)
                ++partlyTransparent;
            else if (!allowed.contains(qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel))))
                ++foreign;
        }
    EXPECT_EQ(partlyTransparent, 0) << "pixels neither opaque nor see-through";
    EXPECT_EQ(foreign, 0) << "opaque pixels in a colour that is not allowed";
}

// The drawing common to both 16-colour sizes.
void expectColourWindow(const QImage& image) {
    const Extent outline = extentOf(image, kBlack);
    const Extent body = extentOf(image, kWhite);
    const Extent bar = extentOf(image, kCyan);
    const Extent shadow = extentOf(image, kGrey);
    ASSERT_GT(outline.count, 0);
    ASSERT_GT(body.count, 0);
    ASSERT_GT(bar.count, 0);
    ASSERT_GT(shadow.count, 0);
    // White is the window itself, the largest area; the bar sits on top of it.
    EXPECT_GT(body.count, bar.count);
    EXPECT_GT(body.count, shadow.count);
    EXPECT_LT(bar.meanY(), body.meanY());
    EXPECT_LE(bar.minY, body.minY);
    // The bar is inside the window's outline.
    EXPECT_GT(bar.minX, outline.minX);
    EXPECT_LT(bar.maxX, outline.maxX);
    // The shadow falls to the lower right of the window.
    EXPECT_GT(shadow.maxX, outline.maxX);
    EXPECT_GT(shadow.maxY, outline.maxY);
    EXPECT_GT(shadow.minX, outline.minX);
    // Seen from the side: the nearer (left) edge is taller than the far (right) one.
    EXPECT_GT(windowHeightAt(image, outline.minX, kGrey),
              windowHeightAt(image, outline.maxX, kGrey));
    // Not a filled square: the corners are see-through.
    const int last = image.width() - 1;
    for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
        EXPECT_EQ(qAlpha(image.pixel(x, y)), 0) << "corner " << x << "," << y;
}

TEST(ColourIcons, HaveTheirSizesAndOnlyPaletteColours) {
    const QImage small = loadIcon(0);
    const QImage large = loadIcon(1);
    ASSERT_FALSE(small.isNull()) << iconFiles.at(0);
    ASSERT_FALSE(large.isNull()) << iconFiles.at(1);
    EXPECT_EQ(small.size(), QSize(16, 16));
    EXPECT_EQ(large.size(), QSize(32, 32));
    expectOnlyColours(small, kPalette16);
    expectOnlyColours(large, kPalette16);
}

TEST(ColourIcons, ShowAWhiteWindowWithCyanTitleBarAndGreyShadow) {
    expectColourWindow(loadIcon(0));
    expectColourWindow(loadIcon(1));
}

TEST(MonochromeIcon, IsBlackAndWhiteWithTitleBarDrawnAsLines) {
    const QImage mono = loadIcon(2);
    ASSERT_FALSE(mono.isNull()) << iconFiles.at(2);
    EXPECT_EQ(mono.size(), QSize(32, 32));
    expectOnlyColours(mono, {kBlack, kWhite});
    const Extent black = extentOf(mono, kBlack);
    const Extent white = extentOf(mono, kWhite);
    ASSERT_GT(black.count, 0);
    ASSERT_GT(white.count, 0);

    // Down the middle column of the window: top edge, at least two title lines, the line
    // under the bar, then the white body and the bottom edge; so at least five black runs,
    // with white between them.
    const int middle = (black.minX + black.maxX) / 2;
    int blackRuns = 0, longestWhite = 0, whiteRun = 0;
    QRgb previous = 0;
    for (int y = 0; y < mono.height(); ++y) {
        const QRgb pixel = mono.pixel(middle, y);
        const bool isBlack = hasColour(pixel, kBlack);
        const bool isWhite = hasColour(pixel, kWhite);
        if (isBlack && previous != kBlack) ++blackRuns;
        whiteRun = isWhite ? whiteRun + 1 : 0;
        longestWhite = std::max(longestWhite, whiteRun);
        previous = isBlack ? kBlack : (isWhite ? kWhite : 0);
    }
    EXPECT_GE(blackRuns, 5);
    EXPECT_GE(longestWhite, mono.height() / 4) << "the window body should stay white";
    EXPECT_EQ(qAlpha(mono.pixel(0, 0)), 0);
}

TEST(ScalableIcon, IsAnSvgDrawnInTheSameColours) {
    QFile file(QString::fromStdString(iconFiles.at(3)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << iconFiles.at(3);
    QXmlStreamReader svg(&file);
    QSet<QString> fills;
    bool rootIsSvg = false, hasViewBox = false;
    while (!svg.atEnd()) {
        if (svg.readNext() != QXmlStreamReader::StartElement) continue;
        if (svg.name() == u"svg") {
            rootIsSvg = svg.namespaceUri() == u"http://www.w3.org/2000/svg";
            hasViewBox = svg.attributes().hasAttribute("viewBox");
        }
        for (const char* paint : {"fill", "stroke"}) {
            const QString value = svg.attributes().value(paint).toString().toLower();
            if (!value.isEmpty() && value != "none") fills.insert(value);
        }
    }
    ASSERT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_TRUE(rootIsSvg);
    EXPECT_TRUE(hasViewBox);
    EXPECT_EQ(fills, (QSet<QString>{"#000000", "#ffffff", "#00ffff", "#808080"}));
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <16.png> <32.png> <32-mono.png> <scalable.svg>\n", argv[0]);
        return 2;
    }
    iconFiles.assign(argv + 1, argv + 5);
    return RUN_ALL_TESTS();
}
