// Draws a font image as a PNG, so a person can look at its glyphs: the cells in
// code order, COLUMNS to a row, each framed by a grey line.
//
// usage: tavisto_font_view IMAGE PNG [--cell WxH] [--columns N] [--cells FIRST:COUNT]
// The cell size follows from the file's size for every image the program carries.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <png.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Cell {
    int width = 0;
    int height = 0;
};

// The cell of every image size there is (CELL-LAYOUT.md).
Cell cellForSize(std::size_t size) {
    static const std::map<std::size_t, Cell> cells{
        {36864, {24, 48}}, {102400, {40, 80}}, {16384, {16, 32}}, {1728, {24, 48}},
        {4800, {40, 80}},  {768, {16, 32}},    {51200, {40, 40}}, {4813200, {40, 40}},
    };
    const auto cell = cells.find(size);
    if (cell == cells.end())
        throw std::runtime_error("no known font image holds " + std::to_string(size) +
                                 " bytes: give --cell WxH");
    return cell->second;
}

struct Options {
    std::string image;
    std::string png;
    Cell cell;
    int columns = 16;
    std::size_t first = 0;
    std::size_t count = 0; // 0: to the end
};

Options parse(int argc, char** argv) {
    Options options;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 < argc && arg == "--cell") {
            if (std::sscanf(argv[++i], "%dx%d", &options.cell.width, &options.cell.height) != 2)
                throw std::runtime_error("--cell takes WxH");
        } else if (i + 1 < argc && arg == "--columns") {
            options.columns = std::stoi(argv[++i]);
        } else if (i + 1 < argc && arg == "--cells") {
            unsigned long first = 0;
            unsigned long count = 0;
            if (std::sscanf(argv[++i], "%lu:%lu", &first, &count) != 2)
                throw std::runtime_error("--cells takes FIRST:COUNT");
            options.first = first;
            options.count = count;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2 || options.columns < 1)
        throw std::runtime_error(
            "usage: tavisto_font_view IMAGE PNG [--cell WxH] [--columns N] [--cells FIRST:COUNT]");
    options.image = positional[0];
    options.png = positional[1];
    return options;
}

void writePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& gray) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        throw std::runtime_error("cannot write " + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, gray.data() + static_cast<std::size_t>(y) * width);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

int run(int argc, char** argv) {
    Options options = parse(argc, argv);
    std::ifstream in(options.image, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + options.image);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (options.cell.width <= 0 || options.cell.height <= 0)
        options.cell = cellForSize(bytes.size());
    const int w = options.cell.width;
    const int h = options.cell.height;
    const std::size_t cellBytes = static_cast<std::size_t>((w + 7) / 8 * h);
    const std::size_t total = bytes.size() / cellBytes;
    if (options.first >= total)
        throw std::runtime_error("the image holds " + std::to_string(total) + " cells");
    std::size_t count = total - options.first;
    if (options.count != 0 && options.count < count)
        count = options.count;

    const int columns = static_cast<int>(std::min<std::size_t>(options.columns, count));
    const int rows = static_cast<int>((count + columns - 1) / columns);
    const int width = columns * (w + 1) + 1;
    const int height = rows * (h + 1) + 1;
    std::vector<std::uint8_t> gray(static_cast<std::size_t>(width) * height, 160);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* cell = bytes.data() + (options.first + i) * cellBytes;
        const int x0 = static_cast<int>(i % columns) * (w + 1) + 1;
        const int y0 = static_cast<int>(i / columns) * (h + 1) + 1;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool ink = (cell[y * ((w + 7) / 8) + x / 8] & (0x80 >> (x % 8))) != 0;
                gray[static_cast<std::size_t>(y0 + y) * width + x0 + x] = ink ? 0 : 255;
            }
        }
    }
    writePng(options.png, width, height, gray);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "tavisto_font_view: " << error.what() << '\n';
        return 1;
    }
}
