// Writes what this build's code-page conversion makes of every byte and byte pair of
// every code page of the CodePages table, for the Windows test program to compare its
// own conversion with. One line per byte string, fields separated by tabs, in hex:
//   <code page> <bytes> <CodePageToText(bytes)> <TextToCodePage of that text>
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
    out.close();
    return out ? 0 : 1;
}
