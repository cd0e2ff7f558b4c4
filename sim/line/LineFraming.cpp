#include "sim/line/LineFraming.h"

#include <cstring>
#include <termios.h>

namespace tavisto::sim {

namespace {

bool parityBit(unsigned value, int dataBits, Framing::Parity parity) {
    int ones = 0;
    for (int i = 0; i < dataBits; ++i)
        ones += (value >> i) & 1;
    switch (parity) {
    case Framing::Parity::Even:
        return ones % 2 != 0;
    case Framing::Parity::Odd:
        return ones % 2 == 0;
    case Framing::Parity::Mark:
        return true;
    case Framing::Parity::Space:
    case Framing::Parity::None:
        break;
    }
    return false;
}

std::vector<bool> serialise(const Bytes& bytes, const Framing& f) {
    std::vector<bool> bits;
    bits.reserve(bytes.size() * static_cast<std::size_t>(f.bitsPerCharacter()));
    for (unsigned char c : bytes) {
        bits.push_back(false);
        for (int i = 0; i < f.dataBits; ++i)
            bits.push_back(((c >> i) & 1) != 0);
        if (f.parity != Framing::Parity::None)
            bits.push_back(parityBit(c, f.dataBits, f.parity));
        for (int i = 0; i < f.stopBits; ++i)
            bits.push_back(true);
    }
    return bits;
}

} // namespace

int Framing::bitsPerCharacter() const {
    return 1 + dataBits + (parity == Parity::None ? 0 : 1) + stopBits;
}

std::string Framing::name() const {
    static constexpr char kParity[] = {'N', 'E', 'O', 'M', 'S'};
    return std::to_string(dataBits) + kParity[static_cast<int>(parity)] + std::to_string(stopBits);
}

bool parseFraming(const std::string& text, Framing& framing) {
    static constexpr char kParity[] = "NEOMS";
    if (text.size() != 3 || text[0] < '5' || text[0] > '8' || (text[2] != '1' && text[2] != '2'))
        return false;
    const char* p = std::strchr(kParity, text[1]);
    if (p == nullptr || *p == '\0')
        return false;
    framing.dataBits = text[0] - '0';
    framing.parity = static_cast<Framing::Parity>(p - kParity);
    framing.stopBits = text[2] - '0';
    return true;
}

bool framingOf(int fd, Framing& framing, ErrorHandling& errors) {
    termios tio{};
    if (fd < 0 || tcgetattr(fd, &tio) != 0)
        return false;
    switch (tio.c_cflag & CSIZE) {
    case CS5:
        framing.dataBits = 5;
        break;
    case CS6:
        framing.dataBits = 6;
        break;
    case CS7:
        framing.dataBits = 7;
        break;
    default:
        framing.dataBits = 8;
        break;
    }
    framing.parity = Framing::Parity::None;
    if (tio.c_cflag & PARENB) {
        const bool odd = (tio.c_cflag & PARODD) != 0;
        if (tio.c_cflag & CMSPAR)
            framing.parity = odd ? Framing::Parity::Mark : Framing::Parity::Space;
        else
            framing.parity = odd ? Framing::Parity::Odd : Framing::Parity::Even;
    }
    framing.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 1;
    // A serial driver drops damaged characters under IGNPAR whether or not it checks
    // parity; under INPCK alone the line discipline replaces them with 00. (PARMRK's
    // marks cannot be passed through a pseudo-terminal, which would double them.)
    if (tio.c_iflag & IGNPAR)
        errors = ErrorHandling::Ignore;
    else if (tio.c_iflag & INPCK)
        errors = ErrorHandling::Zero;
    else
        errors = ErrorHandling::Pass;
    return true;
}

std::vector<Character> reframe(const Bytes& bytes, const Framing& from, const Framing& to) {
    const std::vector<bool> bits = serialise(bytes, from);
    // Past the end the line rests high.
    auto bit = [&bits](std::size_t i) {
        return i >= bits.size() || bits[i];
    };
    std::vector<Character> out;
    std::size_t i = 0;
    while (i < bits.size()) {
        if (bits[i]) {
            ++i;
            continue;
        }
        Character c;
        std::size_t at = i + 1;
        for (int b = 0; b < to.dataBits; ++b, ++at) {
            if (bit(at))
                c.value = static_cast<unsigned char>(c.value | (1u << b));
        }
        if (to.parity != Framing::Parity::None) {
            c.parityError = bit(at) != parityBit(c.value, to.dataBits, to.parity);
            ++at;
        }
        c.framingError = !bit(at);
        out.push_back(c);
        // A missing stop bit is taken as the next start bit.
        i = c.framingError ? at : at + 1;
    }
    return out;
}

Bytes deliver(const std::vector<Character>& characters, ErrorHandling errors) {
    Bytes out;
    out.reserve(characters.size());
    for (const Character& c : characters) {
        if (c.framingError || c.parityError) {
            if (errors == ErrorHandling::Ignore)
                continue;
            if (errors == ErrorHandling::Zero) {
                out += '\0';
                continue;
            }
        }
        out += static_cast<char>(c.value);
    }
    return out;
}

std::size_t damagedCount(const std::vector<Character>& characters) {
    std::size_t n = 0;
    for (const Character& c : characters)
        n += (c.framingError || c.parityError) ? 1 : 0;
    return n;
}

} // namespace tavisto::sim
