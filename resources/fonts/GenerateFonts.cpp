// Makes the font images and the Big5/GBK conversion table from a list of images
// (one a line: NAME WIDTH HEIGHT MAPPING, or NAME big5gbk) and the fonts of the
// system. Runs at build time; see CELL-LAYOUT.md for what the files hold.
//
// usage: tavisto_font_generator LIST OUTDIR TEXT_FONTS CJK_FONTS
// where the font arguments are ':'-separated chains of font files.

#include "resources/fonts/CellCodes.h"
#include "resources/fonts/GlyphRenderer.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <unicode/uchar.h>
#include <vector>

namespace {

using tavisto::fonts::GlyphRenderer;

std::vector<std::string> splitChain(const std::string& chain) {
    std::vector<std::string> files;
    std::stringstream in(chain);
    for (std::string file; std::getline(in, file, ':');) {
        if (!file.empty())
            files.push_back(file);
    }
    return files;
}

// Written beside the target and renamed over it, so an interrupted run leaves no
// half-written image that a later build would embed.
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path partial = path;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, path);
}

struct Missing {
    std::set<char32_t> codePoints;
    std::set<std::string> images;
};

std::vector<std::uint8_t> renderImage(GlyphRenderer& renderer, const std::string& name, int width,
                                      int height, const std::vector<char32_t>& cells,
                                      Missing& missing) {
    const std::size_t cellBytes = static_cast<std::size_t>((width + 7) / 8 * height);
    std::vector<std::uint8_t> image(cells.size() * cellBytes, 0);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] == 0)
            continue;
        // A space stays blank; any other character left blank is named.
        if (!renderer.render(cells[i], width, height, image.data() + i * cellBytes) &&
            u_isgraph(static_cast<UChar32>(cells[i]))) {
            missing.codePoints.insert(cells[i]);
            missing.images.insert(name);
        }
    }
    return image;
}

int run(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: " << argv[0] << " LIST OUTDIR TEXT_FONTS CJK_FONTS\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[2];
    std::filesystem::create_directories(outDir);
    GlyphRenderer text(splitChain(argv[3]));
    GlyphRenderer cjk(splitChain(argv[4]));
    Missing missing;

    std::ifstream list(argv[1]);
    if (!list)
        throw std::runtime_error(std::string("cannot read ") + argv[1]);
    for (std::string line; std::getline(list, line);) {
        std::istringstream fields(line);
        std::string name;
        std::string first;
        if (!(fields >> name >> first) || name.starts_with('#'))
            continue;
        const std::filesystem::path file = outDir / (name + ".bin");
        if (first == "big5gbk") {
            writeFile(file, tavisto::fonts::Big5ToGbkTable());
            continue;
        }
        int height = 0;
        std::string mapping;
        if (!(fields >> height >> mapping))
            throw std::runtime_error("bad line: " + line);
        const int width = std::stoi(first);
        const auto cells = tavisto::fonts::CellCodePoints(mapping);
        if (!cells || width <= 0 || height <= 0)
            throw std::runtime_error("bad line: " + line);
        GlyphRenderer& renderer = mapping == "gbk" ? cjk : text;
        writeFile(file, renderImage(renderer, name, width, height, *cells, missing));
    }

    if (!missing.codePoints.empty()) {
        std::cerr << "font generator: no font draws " << missing.codePoints.size()
                  << " printable characters (left blank):";
        int shown = 0;
        for (char32_t cp : missing.codePoints) {
            if (++shown > 24)
                break;
            char text[16];
            std::snprintf(text, sizeof text, " U+%04X", static_cast<unsigned>(cp));
            std::cerr << text;
        }
        std::cerr << (missing.codePoints.size() > 24 ? " ..." : "") << " in "
                  << missing.images.size() << " images\n";
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "font generator: " << error.what() << '\n';
        return 1;
    }
}
