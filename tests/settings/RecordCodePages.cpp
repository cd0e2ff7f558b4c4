// Writes what this build's code-page conversion makes of every code page of the
// CodePages table, for the Windows test program to compare its own conversion with.
// Fields are separated by tabs, in hex. First one line per byte and byte pair:
//   <code page> <bytes> <CodePageToText(bytes)> <TextToCodePage of that text>
// then one line per character of the Basic Multilingual Plane that the code page does
// not have (its bytes do not read back as it) and that is not written as "?":
//   <code page> lacks <character> <TextToCodePage(character)>
// Every other character the code page lacks is written as "?". Listing only these keeps
// the table small (a few thousand lines instead of one and a half million).
#include "settings/CodePage.h"
#include "settings/Vocabulary.h"

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

void record(std::ostream& out, int codePage, const Bytes& bytes) {
    const std::string text = tavisto::CodePageToText(bytes, codePage);
    out << codePage << '\t' << hex(bytes) << '\t' << hex(text) << '\t'
        << hex(tavisto::TextToCodePage(text, codePage)) << '\n';
}

std::string utf8(char32_t c) {
    std::string text;
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
    return text;
}

void recordLackingCharacters(std::ostream& out, int codePage) {
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue; // surrogates are no characters of their own
        const std::string text = utf8(c);
        const Bytes bytes = tavisto::TextToCodePage(text, codePage);
        if (bytes == "?" || tavisto::CodePageToText(bytes, codePage) == text)
            continue;
        out << codePage << "\tlacks\t" << hex(text) << '\t' << hex(bytes) << '\n';
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
        for (int first = 0; first < 256; ++first) {
            record(out, codePage, Bytes(1, static_cast<char>(first)));
            if (!isDoubleByte(codePage) || first < 0x81)
                continue;
            for (int second = 0x40; second < 0x100; ++second)
                record(out, codePage, Bytes{static_cast<char>(first), static_cast<char>(second)});
        }
    }
    for (int codePage : codePages)
        recordLackingCharacters(out, codePage);
    out.close();
    return out ? 0 : 1;
}
