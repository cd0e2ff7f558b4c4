#include "sim/program/CommandLine.h"

#include "sim/device/Models.h"
#include "sim/line/LineSpeed.h"

#include <cctype>
#include <charconv>

namespace tavisto::sim {

namespace {

bool parseNumber(const std::string& text, std::uint64_t max, std::uint64_t& value) {
    int base = 10;
    std::string_view digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    if (digits.empty())
        return false;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    return ec == std::errc() && end == digits.data() + digits.size() && value <= max;
}

bool parseHex(const std::string& text, Bytes& out) {
    std::string digits;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
        else if (c != ' ' && c != ':')
            return false;
    }
    if (digits.size() % 2 != 0)
        return false;
    out.clear();
    for (std::size_t i = 0; i < digits.size(); i += 2)
        out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return true;
}

} // namespace

std::string usageText(bool paced) {
    return std::string("Usage: tavisto-sim [options]\n") +
           "A virtual customer display on a pseudo-terminal. Prints the device path to open,\n"
           "then runs until interrupted (SIGINT or SIGTERM).\n"
           "\n"
           "  --model NAME|INDEX    display model (default KT350-MK): KT350--MKA, KT350--MKB,\n"
           "                        KT350-MKC, KT350-MKD, KT750--MK, KT350-MK, KT750-MK or 0..6\n"
           "  --baud RATE           the display's line speed (default 9600): 1200, 2400,\n"
           "                        4800, 9600, 19200, 38400, 57600, 115200, 230400,\n"
           "                        460800 or 921600\n"
           "  --version N           firmware version reported (default 14; 0x.. for hex)\n"
           "  --link PATH           also make PATH a symbolic link to the device\n"
           "  --verbose             print every frame received and every reply on stderr\n"
           "  --unpaced             move bytes as fast as the pseudo-terminal takes them\n"
           "                        (for tests and scripts); without it, bytes take their\n"
           "                        time on the wire: a tenth of the baud rate in bytes a\n"
           "                        second at 8N1, in pieces of up to 16 as a UART's FIFO\n"
           "                        hands them over (pacing is on by default)\n"
           "  --pacing              pacing on (the default)\n"
           "  --state DIR           keep the display's settings and stored items in DIR\n"
           "                        across runs and start from them: settings.ini (the\n"
           "                        settings text as the display reports it; with it the\n"
           "                        display starts at its stored speed, not --baud),\n"
           "                        files/NAME, flash/ADDRESS.bin, firmware.bin. Without\n"
           "                        it the display starts fresh\n"
           "\n" +
           (paced ? "Pacing is on for this run.\n" : "Pacing is off for this run (--unpaced).\n") +
           "\n"
           "The display's UART is 8N1. A host at another line speed gets nothing through;\n"
           "a host at the same speed but other data bits, parity or stop bits gets what a\n"
           "UART makes of the other's characters (garbage and framing errors). The host's\n"
           "data bits and parity do not reach the display through a pseudo-terminal (see\n"
           "--host-framing); its stop bits and its parity-check flags (INPCK, IGNPAR) do.\n"
           "\n"
           "Faults:\n"
           "  --silent              answer nothing\n"
           "  --wrong-echo          echo with the last byte changed\n"
           "  --short-echo          echo without the last byte\n"
           "  --model-name TEXT     report this model name (followed by 00)\n"
           "  --model-reply HEX     send these bytes as the model reply (no 00 added)\n"
           "  --version-reply HEX   send these bytes as the version reply\n"
           "  --split N             send replies in two pieces, the first N bytes long\n"
           "  --split-pause MS      pause between the pieces (default 50)\n"
           "  --garbage HEX         send these bytes before every reply\n"
           "  --host-framing FRAMING  take the host's port to be at FRAMING (such as 7E1,\n"
           "                        8O1, 7N2): a pseudo-terminal shows the stop bits a host\n"
           "                        sets, but always 8 data bits and no parity\n"
           "  --wrong-file-crc      report a wrong CRC for stored files\n"
           "  --drop-block N        lose the first arrival of transfer block N\n"
           "  --hang-up-after N     stop asking for blocks after N blocks\n"
           "  --repeat-request N    write the request for block N twice, back to back\n"
           "  --transfer-garbage HEX  send these bytes before every block request and\n"
           "                        finished frame\n"
           "  --refuse-make-file    answer make-file frames with ERR and store nothing\n"
           "  --keep-speed          refuse baud rate codes: the display stays at its speed\n"
           "  --corrupt-block N     flip a bit in the first arrival of transfer block N\n"
           "  --silent-after-block N  take transfer block N, then read and answer nothing\n"
           "                        more until the program ends\n"
           "                        (blocks count from 0; in a named transfer, block N is\n"
           "                        the file's 256-byte piece N)\n"
           "  --help                show this text\n";
}

bool parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    Faults& f = out.options.faults;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            v = args[++i];
            return true;
        };
        auto number = [&](std::uint64_t max, std::uint64_t& n) {
            std::string v;
            if (!value(v))
                return false;
            if (!parseNumber(v, max, n)) {
                error = "invalid value for " + arg + ": " + v;
                return false;
            }
            return true;
        };
        auto hex = [&](Bytes& bytes) {
            std::string v;
            if (!value(v))
                return false;
            if (!parseHex(v, bytes)) {
                error = "invalid hex bytes for " + arg + ": " + v;
                return false;
            }
            return true;
        };
        std::uint64_t n = 0;
        std::string v;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--model") {
            if (!value(v))
                return false;
            int model = modelIndexOf(v);
            if (model < 0 && parseNumber(v, kModelCount - 1, n))
                model = static_cast<int>(n);
            if (model < 0) {
                error = "unknown model: " + v;
                return false;
            }
            out.options.model = model;
        } else if (arg == "--baud") {
            if (!number(4'000'000, n))
                return false;
            if (!isLineSpeed(n)) {
                error = "invalid value for --baud: " + std::to_string(n) + " (not a line speed)";
                return false;
            }
            out.options.baudRate = static_cast<int>(n);
        } else if (arg == "--version") {
            if (!number(0xFFFFFFFF, n))
                return false;
            out.options.version = static_cast<std::uint32_t>(n);
        } else if (arg == "--state") {
            if (!value(out.options.stateDir))
                return false;
            if (out.options.stateDir.empty()) {
                error = "--state needs a folder";
                return false;
            }
        } else if (arg == "--link") {
            if (!value(out.options.linkPath))
                return false;
        } else if (arg == "--verbose" || arg == "-v") {
            out.verbose = true;
        } else if (arg == "--silent") {
            f.silent = true;
        } else if (arg == "--wrong-echo") {
            f.wrongEcho = true;
        } else if (arg == "--short-echo") {
            f.shortEcho = true;
        } else if (arg == "--model-name") {
            if (!value(v))
                return false;
            f.modelReply = v + '\0';
        } else if (arg == "--model-reply") {
            Bytes bytes;
            if (!hex(bytes))
                return false;
            f.modelReply = bytes;
        } else if (arg == "--version-reply") {
            Bytes bytes;
            if (!hex(bytes))
                return false;
            f.versionReply = bytes;
        } else if (arg == "--split") {
            if (!number(1'000'000, n))
                return false;
            f.splitAt = n;
        } else if (arg == "--split-pause") {
            if (!number(600'000, n))
                return false;
            f.splitPause = Millis(n);
        } else if (arg == "--host-framing") {
            Framing framing;
            if (!value(v))
                return false;
            if (!parseFraming(v, framing)) {
                error = "invalid value for --host-framing: " + v + " (such as 8N1, 7E1, 8O2)";
                return false;
            }
            f.hostFraming = framing;
        } else if (arg == "--garbage") {
            if (!hex(f.garbage))
                return false;
        } else if (arg == "--pacing") {
            f.pacing = true;
        } else if (arg == "--unpaced") {
            f.pacing = false;
        } else if (arg == "--wrong-file-crc") {
            f.wrongFileCrc = true;
        } else if (arg == "--drop-block") {
            if (!number(0x7FFFFFFF, n))
                return false;
            f.dropBlock = static_cast<int>(n);
        } else if (arg == "--hang-up-after") {
            if (!number(0x7FFFFFFF, n))
                return false;
            f.hangUpAfterBlocks = static_cast<int>(n);
        } else if (arg == "--repeat-request") {
            if (!number(0x7FFFFFFF, n))
                return false;
            f.repeatRequest = static_cast<int>(n);
        } else if (arg == "--transfer-garbage") {
            if (!hex(f.transferGarbage))
                return false;
        } else if (arg == "--refuse-make-file") {
            f.refuseMakeFile = true;
        } else if (arg == "--keep-speed") {
            f.keepSpeed = true;
        } else if (arg == "--corrupt-block") {
            if (!number(0x7FFFFFFF, n))
                return false;
            f.corruptBlock = static_cast<int>(n);
        } else if (arg == "--silent-after-block") {
            if (!number(0x7FFFFFFF, n))
                return false;
            f.silentAfterBlock = static_cast<int>(n);
        } else {
            error = "unknown option: " + arg;
            return false;
        }
    }
    return true;
}

} // namespace tavisto::sim
