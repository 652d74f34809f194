// Writes the picture of every frame holder as Image<k>.pbm into a folder, so that screenshots
// of the running window can be matched against them, and refuses pictures that could not be
// told apart on screen.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "frames/holder_pictures.h"

namespace {

using kelto::frames::MonoPicture;

// What of a picture the window shows: 479 columns and 481 rows of the inner area.
constexpr int kVisibleColumns = 479;
constexpr int kVisibleRows = 481;

bool WritePbm(const MonoPicture& picture, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P4\n" << picture.width << ' ' << picture.height << '\n';
    const int rowBytes = (picture.width + 7) / 8;
    std::vector<char> row(static_cast<std::size_t>(rowBytes));
    for (int y = 0; y < picture.height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < picture.width; ++x)
            if (picture.IsBlack(x, y))
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out.write(row.data(), rowBytes);
    }
    return static_cast<bool>(out);
}

bool SameOnScreen(const MonoPicture& a, const MonoPicture& b) {
    const int columns = std::min(kVisibleColumns, std::max(a.width, b.width));
    const int rows = std::min(kVisibleRows, std::max(a.height, b.height));
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) {
            const bool inA = x < a.width && y < a.height;
            const bool inB = x < b.width && y < b.height;
            if (inA != inB) return false;
            if (inA && a.At(x, y) != b.At(x, y)) return false;
        }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    std::vector<MonoPicture> pictures;
    for (int k = 1; k <= kelto::frames::kHolderCount; ++k) {
        pictures.push_back(kelto::frames::HolderPicture(k));
        const std::string path = std::string(argv[1]) + "/Image" + std::to_string(k) + ".pbm";
        if (!WritePbm(pictures.back(), path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    for (std::size_t i = 0; i < pictures.size(); ++i)
        for (std::size_t j = i + 1; j < pictures.size(); ++j)
            if (SameOnScreen(pictures[i], pictures[j])) {
                std::fprintf(stderr, "holders Image%zu and Image%zu look the same on screen\n",
                             i + 1, j + 1);
                return 1;
            }
    return 0;
}
