// Draws the 18 frames and writes them as picture blocks: as a C++ source that builds them into
// the program, as separate files, and as a contact sheet.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "artwork/contact_sheet.h"
#include "artwork/frame_drawing.h"
#include "frames/picture_block.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    // Leave an unchanged file alone so a rebuild does not recompile it.
    {
        std::ifstream old(path, std::ios::binary);
        if (old) {
            std::ostringstream existing;
            existing << old.rdbuf();
            if (existing.str() == bytes) return;
        }
    }
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string BlocksSource(const std::vector<std::vector<std::uint8_t>>& blocks) {
    std::string s =
        "// Written by kelto_frame_generator from the cam construction; not edited by hand.\n"
        "#include <cstdint>\n#include <span>\n\n#include \"frames/holder_pictures.h\"\n\n"
        "namespace kelto::frames {\n\nstatic_assert(kHolderCount == " +
        std::to_string(blocks.size()) + ", \"one block for each holder\");\n\nnamespace {\n\n";
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        s += "const std::uint8_t kImage" + std::to_string(k + 1) + "[" +
             std::to_string(blocks[k].size()) + "] = {";
        for (std::size_t i = 0; i < blocks[k].size(); ++i) {
            if (i % 24 == 0) s += "\n";
            s += std::to_string(blocks[k][i]);
            s += ',';
        }
        s += "\n};\n\n";
    }
    s += "}  // namespace\n\nextern const std::span<const std::uint8_t> "
         "kHolderBlocks[kHolderCount];\n"
         "const std::span<const std::uint8_t> kHolderBlocks[kHolderCount] = {\n";
    for (std::size_t k = 0; k < blocks.size(); ++k)
        s += "    std::span<const std::uint8_t>(kImage" + std::to_string(k + 1) + "),\n";
    s += "};\n\n}  // namespace kelto::frames\n";
    return s;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: kelto_frame_generator [--blocks-source FILE.cpp] [--block-dir DIR] "
                 "[--sheet FILE.png]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string source, blockDir, sheet;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        if (arg == "--blocks-source")
            source = argv[++i];
        else if (arg == "--block-dir")
            blockDir = argv[++i];
        else if (arg == "--sheet")
            sheet = argv[++i];
        else
            return Usage();
    }
    if (source.empty() && blockDir.empty() && sheet.empty()) return Usage();
    try {
        const std::vector<kelto::frames::MonoPicture> frames = kelto::artwork::DrawAllFrames();
        std::vector<std::vector<std::uint8_t>> blocks;
        for (const auto& frame : frames) blocks.push_back(kelto::frames::EncodePictureBlock(frame));
        if (!source.empty()) WriteFile(source, BlocksSource(blocks));
        if (!blockDir.empty())
            for (std::size_t k = 0; k < blocks.size(); ++k)
                WriteFile(blockDir + "/Image" + std::to_string(k + 1) + ".blk",
                          std::string(blocks[k].begin(), blocks[k].end()));
        if (!sheet.empty()) kelto::artwork::WriteContactSheet(frames, sheet);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kelto_frame_generator: %s\n", failure.what());
        return 1;
    }
    return 0;
}
