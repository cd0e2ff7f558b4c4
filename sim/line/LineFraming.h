#pragma once

#include "link/Bytes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tavisto::sim {

// How a UART frames each character: a start bit, 5 to 8 data bits (least significant
// first), an optional parity bit and one or two stop bits. The display's UART is
// always 8N1; a host may be set to anything its port allows.
struct Framing {
    enum class Parity { None, Even, Odd, Mark, Space };

    int dataBits = 8;
    Parity parity = Parity::None;
    int stopBits = 1;

    bool operator==(const Framing&) const = default;
    // Bits on the wire per character, start and stop bits included.
    int bitsPerCharacter() const;
    // "8N1", "7E1", "8O2" and so on.
    std::string name() const;
};

// Reads "8N1", "7E1", "8O2" and the like (data bits 5 to 8; parity N, E, O, M or S;
// stop bits 1 or 2); false when the text is not one.
bool parseFraming(const std::string& text, Framing& framing);

// What a host's line discipline does with a character that arrived with a framing or
// parity error (the input flags IGNPAR and INPCK): pass it on as it was assembled,
// drop it, or put a 00 byte in its place.
enum class ErrorHandling { Pass, Ignore, Zero };

// The framing set on a terminal and what it does with damaged characters; false when
// the settings cannot be read.
bool framingOf(int fd, Framing& framing, ErrorHandling& errors);

// One character as a receiving UART assembled it.
struct Character {
    unsigned char value = 0;
    bool framingError = false; // the stop bit was not there
    bool parityError = false;  // only when the receiver checks parity
};

// What a receiver with framing `to` assembles from characters sent back to back with
// framing `from`, the line resting (high) after the last one. After a missing stop bit
// the receiver takes the low bit it found there as the next start bit, as 16550-style
// UARTs do; otherwise it waits for the line to fall. Deterministic for a given input.
std::vector<Character> reframe(const Bytes& bytes, const Framing& from, const Framing& to);

// The bytes a reader gets from reframed characters under the given error handling.
Bytes deliver(const std::vector<Character>& characters, ErrorHandling errors);

// How many characters in the list carry an error.
std::size_t damagedCount(const std::vector<Character>& characters);

} // namespace tavisto::sim
