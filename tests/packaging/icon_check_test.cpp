// Checks the program icon files: sizes, the 16-colour palette, the two-colour version and
// the drawing itself (a white window with a cyan title bar, a grey shadow to the lower
// right, seen slightly from the side).
// Usage: packaging_icon_check <16.png> <32.png> <32-mono.png> <scalable.svg>
#include <gtest/gtest.h>

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

// qRgb gives opaque colours, so an opaque pixel of the colour compares equal.
const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(0xFF, 0xFF, 0xFF);
const QRgb kCyan = qRgb(0x00, 0xFF, 0xFF), kGrey = qRgb(0x80, 0x80, 0x80);
const QSet<QRgb> kPalette16 = {
    qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00), qRgb(0x80, 0x80, 0x00),
    qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80), qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
    qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
    qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF)};

// A null image has no size, so a file that does not load fails here, and the checks after
// find no pixels.
QImage loadIcon(int index, QSize size) {
    const QImage image(QString::fromStdString(iconFiles.at(index)), "PNG");
    EXPECT_EQ(image.size(), size) << iconFiles.at(index);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Where the pixels of one colour lie.
struct Extent {
    int count = 0, minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1;
    double sumY = 0;
    double meanY() const { return sumY / count; }
};

Extent extentOf(const QImage& image, QRgb colour) {
    Extent e;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour) {
                ++e.count, e.sumY += y;
                e.minX = std::min(e.minX, x), e.maxX = std::max(e.maxX, x);
                e.minY = std::min(e.minY, y), e.maxY = std::max(e.maxY, y);
            }
    return e;
}

// Opaque pixels of one column that are not shadow: the window's height there.
int windowHeightAt(const QImage& image, int x) {
    int height = 0;
    for (int y = 0; y < image.height(); ++y)
        height += qAlpha(image.pixel(x, y)) == 255 && image.pixel(x, y) != kGrey;
    return height;
}

// Pixels are either see-through (the icon's mask) or opaque in an allowed colour.
void expectOnlyColours(const QImage& image, const QSet<QRgb>& allowed) {
    int partlyTransparent = 0, foreign = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            partlyTransparent += qAlpha(pixel) != 0 && qAlpha(pixel) != 255;
            foreign += qAlpha(pixel) == 255 && !allowed.contains(pixel);
        }
    EXPECT_EQ(partlyTransparent, 0) << "pixels neither opaque nor see-through";
    EXPECT_EQ(foreign, 0) << "opaque pixels in a colour that is not allowed";
}

// The drawing common to both 16-colour sizes.
void expectColourWindow(const QImage& image) {
    expectOnlyColours(image, kPalette16);
    const Extent outline = extentOf(image, kBlack), body = extentOf(image, kWhite);
    const Extent bar = extentOf(image, kCyan), shadow = extentOf(image, kGrey);
    ASSERT_TRUE(outline.count && body.count && bar.count && shadow.count) << "a colour is missing";
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
    EXPECT_GT(windowHeightAt(image, outline.minX), windowHeightAt(image, outline.maxX));
    // Not a filled square: the corners are see-through.
    const int last = image.width() - 1;
    for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
        EXPECT_EQ(qAlpha(image.pixel(x, y)), 0) << "corner " << x << "," << y;
}

TEST(ColourIcons, SixteenPixelsShowAWhiteWindowWithCyanTitleBarAndGreyShadow) {
    expectColourWindow(loadIcon(0, QSize(16, 16)));
}

TEST(ColourIcons, ThirtyTwoPixelsShowAWhiteWindowWithCyanTitleBarAndGreyShadow) {
    expectColourWindow(loadIcon(1, QSize(32, 32)));
}

TEST(MonochromeIcon, IsBlackAndWhiteWithTitleBarDrawnAsLines) {
    const QImage mono = loadIcon(2, QSize(32, 32));
    expectOnlyColours(mono, {kBlack, kWhite});
    const Extent black = extentOf(mono, kBlack);
    ASSERT_TRUE(black.count && extentOf(mono, kWhite).count) << "black or white is missing";

    // Down the middle column of the window: top edge, at least two title lines, the line
    // under the bar, then the white body and the bottom edge; so at least five black runs,
    // with white between them.
    const int middle = (black.minX + black.maxX) / 2;
    int blackRuns = 0, longestWhite = 0, whiteRun = 0;
    for (int y = 0; y < mono.height(); ++y) {
        const QRgb pixel = mono.pixel(middle, y);
        blackRuns += pixel == kBlack && (y == 0 || mono.pixel(middle, y - 1) != kBlack);
        whiteRun = pixel == kWhite ? whiteRun + 1 : 0;
        longestWhite = std::max(longestWhite, whiteRun);
    }
    EXPECT_GE(blackRuns, 5);
    EXPECT_GE(longestWhite, mono.height() / 4) << "the window body should stay white";
    EXPECT_EQ(qAlpha(mono.pixel(0, 0)), 0);
}

TEST(ScalableIcon, IsAnSvgDrawnInTheSameColours) {
    QFile file(QString::fromStdString(iconFiles.at(3)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << iconFiles.at(3);
    QXmlStreamReader svg(&file);
    QSet<QString> paints;
    bool rootIsSvg = false, hasViewBox = false;
    while (!svg.atEnd()) {
        if (svg.readNext() != QXmlStreamReader::StartElement) continue;
        if (svg.name() == u"svg") {
            rootIsSvg = svg.namespaceUri() == u"http://www.w3.org/2000/svg";
            hasViewBox = svg.attributes().hasAttribute("viewBox");
        }
        for (const char* paint : {"fill", "stroke"}) {
            const QString value = svg.attributes().value(paint).toString().toLower();
            if (!value.isEmpty() && value != "none") paints.insert(value);
        }
    }
    ASSERT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_TRUE(rootIsSvg);
    EXPECT_TRUE(hasViewBox);
    EXPECT_EQ(paints, (QSet<QString>{"#000000", "#ffffff", "#00ffff", "#808080"}));
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
