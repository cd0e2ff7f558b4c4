#include "settings/SettingsText.h"

#include "settings/HostCodePage.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>
#include <variant>
#include <vector>

namespace tavisto {
namespace {

// ---- The members -------------------------------------------------------------

using IntField = std::variant<std::uint8_t TDisplayInfo::*, std::uint16_t TDisplayInfo::*,
                              TColor TDisplayInfo::*>;
using Field = std::variant<IntField, Bytes TDisplayInfo::*>;

struct Member {
    std::string_view name;
    Field field;
};

const std::array<Member, 21> kMembers{{
    {"temp1", IntField{&TDisplayInfo::temp1}},
    {"Baud_Rate", IntField{&TDisplayInfo::Baud_Rate}},
    {"temp2", IntField{&TDisplayInfo::temp2}},
    {"Char_No", IntField{&TDisplayInfo::Char_No}},
    {"Expand_Char_No", IntField{&TDisplayInfo::Expand_Char_No}},
    {"Comm_No", IntField{&TDisplayInfo::Comm_No}},
    {"wel_mess1", &TDisplayInfo::wel_mess1},
    {"wel_mess2", &TDisplayInfo::wel_mess2},
    {"font_Foreground_color", IntField{&TDisplayInfo::font_Foreground_color_565}},
    {"font_Background_color", IntField{&TDisplayInfo::font_Background_color_565}},
    {"back_light", IntField{&TDisplayInfo::back_light}},
    {"pic_reg", IntField{&TDisplayInfo::pic_reg}},
    {"line_mode", IntField{&TDisplayInfo::line_mode}},
    {"bm_back_rgb", IntField{&TDisplayInfo::bm_back_rgb_565}},
    {"bm_font_rgb", IntField{&TDisplayInfo::bm_font_rgb_565}},
    {"tp_back_rgb", IntField{&TDisplayInfo::tp_back_rgb_565}},
    {"tp_font_rgb", IntField{&TDisplayInfo::tp_font_rgb_565}},
    {"tp_mode", IntField{&TDisplayInfo::tp_mode}},
    {"main_str", &TDisplayInfo::main_str},
    {"into_lun_bo", IntField{&TDisplayInfo::into_lun_bo}},
    {"lun_time", IntField{&TDisplayInfo::lun_time}},
}};

const Member* findMember(std::string_view name) {
    for (const Member& member : kMembers) {
        if (member.name == name)
            return &member;
    }
    return nullptr;
}

// Whitespace and control characters, as the settings texts have always been trimmed.
bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back()))
        text.remove_suffix(1);
    return text;
}

// ---- Reading -----------------------------------------------------------------

// A member value as far as the reader cares.
struct NotScalar {}; // an object, an array, a boolean or null
struct NotIntegral {};
using Value = std::variant<NotScalar, NotIntegral, std::int64_t, std::uint64_t, std::string>;

struct MemberValue {
    std::string name;
    Value value;
};

// Collects the members of the root object in document order without building a
// document tree, so that deeply nested input cannot exhaust the stack.
class MemberCollector final : public nlohmann::json_sax<nlohmann::json> {
public:
    std::vector<MemberValue> members;
    bool rootIsObject = false;

    bool null() override { return scalar(NotScalar{}); }
    bool boolean(bool) override { return scalar(NotScalar{}); }
    bool number_integer(number_integer_t value) override {
        return scalar(static_cast<std::int64_t>(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return scalar(static_cast<std::uint64_t>(value));
    }
    bool number_float(number_float_t value, const string_t&) override {
        // An integral number written with a fraction or an exponent (5.0, 1e2) is still
        // an integer; anything else is not.
        constexpr double kLimit = 9223372036854775808.0; // 2^63
        if (std::isfinite(value) && std::trunc(value) == value && value >= -kLimit &&
            value < kLimit)
            return scalar(static_cast<std::int64_t>(value));
        return scalar(NotIntegral{});
    }
    bool string(string_t& value) override { return scalar(std::move(value)); }
    bool binary(binary_t&) override { return scalar(NotScalar{}); }
    bool start_object(std::size_t) override { return open(true); }
    bool key(string_t& name) override {
        if (depth_ == 1)
            pendingName_ = std::move(name);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    bool scalar(Value value) {
        if (depth_ == 1)
            members.push_back({std::move(pendingName_), std::move(value)});
        return true;
    }
    bool open(bool isObject) {
        if (depth_ == 0)
            rootIsObject = isObject;
        else if (depth_ == 1)
            members.push_back({std::move(pendingName_), NotScalar{}});
        ++depth_;
        return true;
    }
    bool close() {
        --depth_;
        return true;
    }

    int depth_ = 0;
    std::string pendingName_;
};

// Stores `value` into the integer field at the field's width.
bool storeInteger(TDisplayInfo& info, const IntField& field, const Value& value) {
    std::uint64_t bits = 0;
    if (const auto* signedValue = std::get_if<std::int64_t>(&value))
        bits = static_cast<std::uint64_t>(*signedValue);
    else if (const auto* unsignedValue = std::get_if<std::uint64_t>(&value))
        bits = *unsignedValue;
    else
        return false;
    std::visit(
        [&](auto pointer) {
            using Target = std::remove_reference_t<decltype(info.*pointer)>;
            info.*pointer = static_cast<Target>(bits);
        },
        field);
    return true;
}

bool storeString(TDisplayInfo& info, Bytes TDisplayInfo::*field, const Value& value) {
    const auto* text = std::get_if<std::string>(&value);
    if (!text)
        return false;
    info.*field = TextToHostBytes(*text);
    return true;
}

std::string typeError(std::string_view name, const char* expected) {
    return "Invalid settings: member \"" + std::string(name) + "\" is not " + expected + "!";
}

} // namespace

std::string WriteSettingsText(const TDisplayInfo& info) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (const Member& member : kMembers) {
        const std::string name(member.name);
        if (const auto* intField = std::get_if<IntField>(&member.field)) {
            std::visit(
                [&](auto pointer) { json[name] = static_cast<std::uint32_t>(info.*pointer); },
                *intField);
        } else {
            json[name] = HostBytesToText(info.*std::get<Bytes TDisplayInfo::*>(member.field));
        }
    }
    return json.dump(4);
}

bool ReadSettingsText(const std::string& text, TDisplayInfo& info, std::string& message) {
    if (text.empty()) {
        message = kSettingsEmptyMessage;
        return false;
    }
    const std::string_view body = trim(text);
    MemberCollector collector;
    if (!nlohmann::json::sax_parse(body.begin(), body.end(), &collector)) {
        message = kSettingsParseMessage;
        return false;
    }
    if (!collector.rootIsObject) {
        message = "Invalid settings: the text is not a JSON object!";
        return false;
    }

    // Work on a copy so that a member of the wrong type changes nothing.
    TDisplayInfo result = info;
    for (const MemberValue& member : collector.members) {
        const std::string_view name = trim(member.name);
        const Member* known = findMember(name);
        if (!known)
            continue;
        if (const auto* intField = std::get_if<IntField>(&known->field)) {
            if (!storeInteger(result, *intField, member.value)) {
                message = typeError(name, "an integer");
                return false;
            }
        } else if (!storeString(result, std::get<Bytes TDisplayInfo::*>(known->field),
                                member.value)) {
            message = typeError(name, "a string");
            return false;
        }
    }
    info = std::move(result);
    message = "OK";
    return true;
}

} // namespace tavisto
