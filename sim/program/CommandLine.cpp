#include "sim/program/CommandLine.h"

#include "sim/device/Models.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <map>

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
           "  --trailer HEX         send these bytes after every reply\n"
           "  --reply-delay MS      send every reply MS after what it answers\n"
           "  --settings-reply HEX  send these bytes as the settings reply (no 00 added)\n"
           "  --wrong-echo-to HEX   change the last byte of the echoes of frames that begin\n"
           "                        with these bytes\n"
           "  --silent-after HEX    after a frame that begins with these bytes, read and\n"
           "                        answer nothing more until the program ends\n"
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

namespace {

// What an option does with its value (empty for a flag); false with a message in `error`.
using Apply = std::function<bool(const std::string& value, std::string& error)>;

struct Rule {
    std::string names; // as CLI11 takes them: "--verbose,-v"
    bool takesValue;
    Apply apply;
};

std::vector<Rule> rules(CommandLine& out) {
    Faults& f = out.options.faults;
    auto number = [](const std::string& name, std::uint64_t max, auto store) -> Apply {
        return [name, max, store](const std::string& v, std::string& error) {
            std::uint64_t n = 0;
            if (!parseNumber(v, max, n)) {
                error = "invalid value for " + name + ": " + v;
                return false;
            }
            return store(n, error);
        };
    };
    auto hex = [](const std::string& name, auto store) -> Apply {
        return [name, store](const std::string& v, std::string& error) {
            Bytes bytes;
            if (!parseHex(v, bytes)) {
                error = "invalid hex bytes for " + name + ": " + v;
                return false;
            }
            store(bytes);
            return true;
        };
    };
    // A text taken as given; `whenEmpty`, when not null, refuses an empty one.
    auto text = [](std::string& field, const char* whenEmpty) -> Apply {
        return [&field, whenEmpty](const std::string& v, std::string& error) {
            if (whenEmpty && v.empty()) {
                error = whenEmpty;
                return false;
            }
            field = v;
            return true;
        };
    };
    auto flag = [](bool& field, bool value) -> Apply {
        return [&field, value](const std::string&, std::string&) {
            field = value;
            return true;
        };
    };
    auto block = [&](const std::string& name, int& field) {
        return Rule{name, true, number(name, 0x7FFFFFFF, [&field](std::uint64_t n, std::string&) {
                        field = static_cast<int>(n);
                        return true;
                    })};
    };
    return {
        {"--help,-h", false, flag(out.help, true)},
        {"--model", true,
         [&out](const std::string& v, std::string& error) {
             int model = modelIndexOf(v);
             std::uint64_t n = 0;
             if (model < 0 && parseNumber(v, kModelCount - 1, n))
                 model = static_cast<int>(n);
             if (model < 0) {
                 error = "unknown model: " + v;
                 return false;
             }
             out.options.model = model;
             return true;
         }},
        {"--baud", true,
         number("--baud", 4'000'000,
                [&out](std::uint64_t n, std::string& error) {
                    if (!isLineSpeed(n)) {
                        error = "invalid value for --baud: " + std::to_string(n) +
                                " (not a line speed)";
                        return false;
                    }
                    out.options.baudRate = static_cast<int>(n);
                    return true;
                })},
        {"--version", true,
         number("--version", 0xFFFFFFFF,
                [&out](std::uint64_t n, std::string&) {
                    out.options.version = static_cast<std::uint32_t>(n);
                    return true;
                })},
        {"--state", true, text(out.options.stateDir, "--state needs a folder")},
        {"--link", true, text(out.options.linkPath, nullptr)},
        {"--verbose,-v", false, flag(out.verbose, true)},
        {"--silent", false, flag(f.silent, true)},
        {"--wrong-echo", false, flag(f.wrongEcho, true)},
        {"--short-echo", false, flag(f.shortEcho, true)},
        {"--model-name", true,
         [&f](const std::string& v, std::string&) {
             f.modelReply = v + '\0';
             return true;
         }},
        {"--model-reply", true, hex("--model-reply", [&f](const Bytes& b) { f.modelReply = b; })},
        {"--version-reply", true,
         hex("--version-reply", [&f](const Bytes& b) { f.versionReply = b; })},
        {"--split", true,
         number("--split", 1'000'000,
                [&f](std::uint64_t n, std::string&) {
                    f.splitAt = n;
                    return true;
                })},
        {"--split-pause", true,
         number("--split-pause", 600'000,
                [&f](std::uint64_t n, std::string&) {
                    f.splitPause = Millis(n);
                    return true;
                })},
        {"--host-framing", true,
         [&f](const std::string& v, std::string& error) {
             Framing framing;
             if (!parseFraming(v, framing)) {
                 error = "invalid value for --host-framing: " + v + " (such as 8N1, 7E1, 8O2)";
                 return false;
             }
             f.hostFraming = framing;
             return true;
         }},
        {"--garbage", true, hex("--garbage", [&f](const Bytes& b) { f.garbage = b; })},
        {"--trailer", true, hex("--trailer", [&f](const Bytes& b) { f.trailer = b; })},
        {"--reply-delay", true,
         number("--reply-delay", 600'000,
                [&f](std::uint64_t n, std::string&) {
                    f.replyDelay = Millis(n);
                    return true;
                })},
        {"--settings-reply", true,
         hex("--settings-reply", [&f](const Bytes& b) { f.settingsReply = b; })},
        {"--wrong-echo-to", true,
         hex("--wrong-echo-to", [&f](const Bytes& b) { f.wrongEchoTo = b; })},
        {"--silent-after", true,
         hex("--silent-after", [&f](const Bytes& b) { f.silentAfter = b; })},
        {"--pacing", false, flag(f.pacing, true)},
        {"--unpaced", false, flag(f.pacing, false)},
        {"--wrong-file-crc", false, flag(f.wrongFileCrc, true)},
        block("--drop-block", f.dropBlock),
        block("--hang-up-after", f.hangUpAfterBlocks),
        block("--repeat-request", f.repeatRequest),
        {"--transfer-garbage", true,
         hex("--transfer-garbage", [&f](const Bytes& b) { f.transferGarbage = b; })},
        {"--refuse-make-file", false, flag(f.refuseMakeFile, true)},
        {"--keep-speed", false, flag(f.keepSpeed, true)},
        block("--corrupt-block", f.corruptBlock),
        block("--silent-after-block", f.silentAfterBlock),
        {"--screen", true, text(out.screen.file, "--screen needs a file name")},
        {"--screen-every", true,
         [&out](const std::string& v, std::string& error) {
             int ms = 0;
             auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), ms);
             if (ec != std::errc() || end != v.data() + v.size() || ms < 1 ||
                 ms > kLongestScreenPause) {
                 error = "invalid value for --screen-every: " + v + " (1 to 60000 ms)";
                 return false;
             }
             out.screen.everyMs = ms;
             return true;
         }},
    };
}

// The long name of an option, as the messages name it.
std::string longName(const std::string& names) {
    return names.substr(0, names.find(','));
}

} // namespace

bool parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    const std::vector<Rule> table = rules(out);
    CLI::App app;
    app.set_help_flag(); // --help is one of the rules
    app.allow_extras();  // an unknown option is named below, in the program's words
    std::map<const CLI::Option*, const Rule*> ruleOf;
    for (const Rule& rule : table) {
        CLI::Option* option =
            rule.takesValue ? app.add_option(rule.names)->expected(1) : app.add_flag(rule.names);
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        ruleOf.emplace(option, &rule);
    }
    // CLI11 takes "--name=" as "--name" with its value still to come; here it is an
    // empty value ("--version-reply=" is an empty reply, not the next option).
    std::vector<std::string> line;
    for (const auto& arg : args) {
        const auto rule = std::find_if(table.begin(), table.end(), [&](const Rule& r) {
            return r.takesValue && arg == longName(r.names) + "=";
        });
        if (rule != table.end()) {
            line.push_back(longName(rule->names));
            line.emplace_back();
        } else {
            line.push_back(arg);
        }
    }
    std::reverse(line.begin(), line.end()); // CLI11 takes the arguments from the back
    try {
        app.parse(line);
    } catch (const CLI::ArgumentMismatch& mismatch) {
        // "--baud: 1 required TEXT missing": an option stood last or before another one.
        const std::string what = mismatch.what();
        error = what.substr(0, what.find(':')) + " needs a value";
        return false;
    } catch (const CLI::ParseError& parseError) {
        error = parseError.what();
        return false;
    }
    if (!app.remaining().empty()) {
        error = "unknown option: " + app.remaining().front();
        return false;
    }
    // The options take effect in the order given, so that the last of --pacing and
    // --unpaced (or of two --baud) counts.
    std::map<const CLI::Option*, std::size_t> used;
    for (const CLI::Option* option : app.parse_order()) {
        const Rule& rule = *ruleOf.at(option);
        std::string value;
        if (rule.takesValue)
            value = option->results().at(used[option]++);
        else if (option->results().at(used[option]++) != "true") {
            error = longName(rule.names) + " takes no value";
            return false;
        }
        if (!rule.apply(value, error))
            return false;
    }
    return true;
}

} // namespace tavisto::sim
