// Writes what this build's code-page conversion makes of every character of every
// code page of the CodePages table, for the Windows test program to compare its own
// conversion with. One line per row, fields separated by tabs, bytes in hex:
//   D <code page> <bytes> <CodePageToText(bytes)>           every byte and byte pair
//   E <code page> <first code point> <TextToCodePage(256 characters from there)>
#include "settings/CodePage.h"
#include "settings/Vocabulary.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>

namespace {

using tavisto::Bytes;

std::string hex(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text.empty() ? "-" : text;
}

void appendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isDoubleByte(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: record-code-pages OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    std::set<int> codePages;
    for (const auto& row : tavisto::CodePages)
        codePages.insert(row.CodePageName);
    for (int codePage : codePages) {
        const std::string page = std::to_string(codePage);
        for (int first = 0; first < 256; ++first) {
            const Bytes single(1, static_cast<char>(first));
            out << "D\t" << page << '\t' << hex(single) << '\t'
                << hex(tavisto::CodePageToText(single, codePage)) << '\n';
            if (!isDoubleByte(codePage) || first < 0x81)
                continue;
            for (int second = 0x40; second < 0x100; ++second) {
                const Bytes pair{static_cast<char>(first), static_cast<char>(second)};
                out << "D\t" << page << '\t' << hex(pair) << '\t'
                    << hex(tavisto::CodePageToText(pair, codePage)) << '\n';
            }
        }
        for (char32_t block = 0; block < 0x10000; block += 256) {
            if (block >= 0xD800 && block < 0xE000)
                continue; // surrogates are no characters
            std::string text;
            for (char32_t c = block; c < block + 256; ++c)
                appendUtf8(text, c);
            out << "E\t" << page << '\t' << static_cast<unsigned>(block) << '\t'
                << hex(tavisto::TextToCodePage(text, codePage)) << '\n';
        }
    }
    out.close();
    return out ? 0 : 1;
}
