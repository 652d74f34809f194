#pragma once

#include <cstdint>
#include <vector>

namespace kelto::frames {

// Colour indices of a one-bit picture: the lines are colour 0.
inline constexpr std::uint8_t kBlack = 0;
inline constexpr std::uint8_t kWhite = 1;

// A decoded one-bit picture, rows from the top down, one colour index per pixel.
struct MonoPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    MonoPicture() = default;
    MonoPicture(int w, int h)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, kWhite) {}

    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void Set(int x, int y, std::uint8_t colour) {
        pixels[static_cast<std::size_t>(y) * width + x] = colour;
    }
    bool IsBlack(int x, int y) const { return At(x, y) == kBlack; }

    friend bool operator==(const MonoPicture&, const MonoPicture&) = default;
};

}  // namespace kelto::frames
