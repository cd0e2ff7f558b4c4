#include "sim/runtime/SettingsReader.h"

#include <cstdint>
#include <string>
#include <variant>

namespace tavisto::sim {

namespace {

class Reader {
public:
    explicit Reader(const Bytes& text) : text_(text) {}

    bool failed() const { return !error_.empty(); }
    // Named in front of the next error: the member being read.
    void setContext(std::string context) { context_ = std::move(context); }
    const std::string& error() const { return error_; }

    void skipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }
    bool atEnd() {
        skipSpace();
        return pos_ >= text_.size();
    }
    bool take(char c) {
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool expect(char c) {
        if (take(c))
            return true;
        return fail(std::string("expected '") + c + "'");
    }
    bool fail(const std::string& what) {
        if (error_.empty())
            error_ = context_ + what + " at byte " + std::to_string(pos_ + 1);
        return false;
    }
    bool string(Bytes& out) {
        if (!expect('"'))
            return false;
        out.clear();
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return fail("control byte in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size())
                break;
            const char e = text_[pos_++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned value = 0;
                for (int i = 0; i < 4; ++i, ++pos_) {
                    const char h = pos_ < text_.size() ? text_[pos_] : '\0';
                    int digit = h >= '0' && h <= '9'   ? h - '0'
                                : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                       : -1;
                    if (digit < 0)
                        return fail("bad \\u escape");
                    value = value * 16 + static_cast<unsigned>(digit);
                }
                if (value > 0xFF)
                    return fail("\\u escape beyond 8-bit text");
                out += static_cast<char>(value);
                break;
            }
            default:
                return fail("unknown escape");
            }
        }
        return fail("unterminated string");
    }
    bool number(std::uint64_t max, std::uint64_t& value) {
        skipSpace();
        const std::size_t start = pos_;
        value = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            value = value * 10 + static_cast<unsigned>(text_[pos_] - '0');
            if (value > max)
                return fail("number above " + std::to_string(max));
            ++pos_;
        }
        if (pos_ == start)
            return fail("expected a whole number");
        return true;
    }

private:
    const Bytes& text_;
    std::size_t pos_ = 0;
    std::string error_;
    std::string context_;
};

using Field = std::variant<std::uint8_t DeviceSettings::*, std::uint16_t DeviceSettings::*,
                           Bytes DeviceSettings::*>;

struct Member {
    const char* name;
    Field field;
};

const Member kMembers[] = {
    {"temp1", &DeviceSettings::temp1},
    {"Baud_Rate", &DeviceSettings::Baud_Rate},
    {"temp2", &DeviceSettings::temp2},
    {"Char_No", &DeviceSettings::Char_No},
    {"Expand_Char_No", &DeviceSettings::Expand_Char_No},
    {"Comm_No", &DeviceSettings::Comm_No},
    {"wel_mess1", &DeviceSettings::wel_mess1},
    {"wel_mess2", &DeviceSettings::wel_mess2},
    {"font_Foreground_color", &DeviceSettings::font_Foreground_color},
    {"font_Background_color", &DeviceSettings::font_Background_color},
    {"back_light", &DeviceSettings::back_light},
    {"pic_reg", &DeviceSettings::pic_reg},
    {"line_mode", &DeviceSettings::line_mode},
    {"bm_back_rgb", &DeviceSettings::bm_back_rgb},
    {"bm_font_rgb", &DeviceSettings::bm_font_rgb},
    {"tp_back_rgb", &DeviceSettings::tp_back_rgb},
    {"tp_font_rgb", &DeviceSettings::tp_font_rgb},
    {"tp_mode", &DeviceSettings::tp_mode},
    {"main_str", &DeviceSettings::main_str},
    {"into_lun_bo", &DeviceSettings::into_lun_bo},
    {"lun_time", &DeviceSettings::lun_time},
};

bool readMember(Reader& r, DeviceSettings& s) {
    Bytes name;
    if (!r.string(name) || !r.expect(':'))
        return false;
    for (const Member& m : kMembers) {
        if (name != m.name)
            continue;
        r.setContext(name + ": ");
        std::uint64_t n = 0;
        if (auto* p = std::get_if<std::uint8_t DeviceSettings::*>(&m.field)) {
            if (!r.number(0xFF, n))
                return false;
            s.*(*p) = static_cast<std::uint8_t>(n);
        } else if (auto* q = std::get_if<std::uint16_t DeviceSettings::*>(&m.field)) {
            if (!r.number(0xFFFF, n))
                return false;
            s.*(*q) = static_cast<std::uint16_t>(n);
        } else {
            return r.string(s.*std::get<Bytes DeviceSettings::*>(m.field));
        }
        return true;
    }
    return r.fail("unknown member \"" + name + "\"");
}

} // namespace

bool readSettingsText(const Bytes& text, DeviceSettings& out, std::string& error) {
    DeviceSettings s = out;
    Reader r(text);
    if (r.expect('{') && !r.take('}')) {
        do {
            if (!readMember(r, s))
                break;
        } while (r.take(','));
        if (!r.failed())
            r.expect('}');
    }
    if (!r.failed() && !r.atEnd())
        r.fail("text after the end");
    if (r.failed()) {
        error = r.error();
        return false;
    }
    out = std::move(s);
    return true;
}

} // namespace tavisto::sim
