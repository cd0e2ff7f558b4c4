#include "app/provision/Profile.h"

#include "app/provision/ProvisionOperator.h"
#include "app/settings/SettingsWorkflows.h"
#include "app/storage/DownloadFile.h"
#include "files/Utf8Path.h"
#include "pictures/ByteFiles.h"
#include "pictures/PictureConvert.h"
#include "protocol/DownloadTable.h"
#include "protocol/ModelTable.h"
#include "protocol/PictureSlots.h"
#include "settings/DefaultSettings.h"
#include "settings/PlainText.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace tavisto::provision {

namespace {

using nlohmann::json;

// A profile that cannot be used; the text names the key and what is wrong.
struct ProfileError {
    std::string text;
};

[[noreturn]] void fail(const std::string& key, const std::string& what) {
    throw ProfileError{"\"" + key + "\": " + what};
}

void onlyKeys(const json& object, const std::string& key, const std::set<std::string>& known) {
    for (const auto& [name, value] : object.items()) {
        if (!known.count(name))
            fail(key.empty() ? name : key + "." + name,
                 "unknown key" + (key.empty() ? std::string() : " in \"" + key + "\""));
    }
}

std::string typeName(const json& value) {
    return value.type_name();
}

int integer(const json& value, const std::string& key, int low, int high) {
    if (!value.is_number_integer())
        fail(key, "must be a whole number from " + std::to_string(low) + " to " +
                      std::to_string(high) + ", not " + typeName(value));
    // Positive numbers are held unsigned: one above the largest signed number would
    // wrap round to a negative one if it were read as signed.
    const bool tooLarge = value.is_number_unsigned() &&
                          value.get<unsigned long long>() > static_cast<unsigned long long>(high);
    const long long number = tooLarge ? 0 : value.get<long long>();
    if (tooLarge || number < low || number > high)
        fail(key, "must be from " + std::to_string(low) + " to " + std::to_string(high) + ", not " +
                      value.dump());
    return static_cast<int>(number);
}

bool boolean(const json& value, const std::string& key) {
    if (!value.is_boolean())
        fail(key, "must be true or false, not " + typeName(value));
    return value.get<bool>();
}

// A path in the profile, relative to the profile's folder unless absolute; the file
// must be there.
std::filesystem::path filePath(const json& value, const std::string& key,
                               const std::filesystem::path& folder) {
    if (!value.is_string() || value.get<std::string>().empty())
        fail(key, "must name a file");
    std::filesystem::path path = PathFromUtf8(value.get<std::string>());
    if (path.is_relative())
        path = folder / path;
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (!std::filesystem::exists(status))
        fail(key, Utf8FromPath(path) + ": no such file");
    // A named pipe or a device would block the read, or never end it.
    if (std::filesystem::is_directory(status))
        fail(key, Utf8FromPath(path) + ": is a folder, not a file");
    if (!std::filesystem::is_regular_file(status))
        fail(key, Utf8FromPath(path) + ": is not a regular file");
    return path;
}

Bytes downloadFile(const std::filesystem::path& path, const std::string& key) {
    Bytes bytes;
    std::string message;
    if (!ReadDownloadFile(Utf8FromPath(path), bytes, message))
        fail(key, message);
    return bytes;
}

ProfileSettings settings(const json& value, const std::filesystem::path& folder) {
    ProfileSettings result;
    json file = value;
    if (value.is_object()) {
        onlyKeys(value, "settings", {"file", "command_mode", "main_text", "baud_rate"});
        if (!value.contains("file"))
            fail("settings", "names no \"file\"");
        file = value.at("file");
        if (value.contains("command_mode"))
            result.commandMode = boolean(value.at("command_mode"), "settings.command_mode");
        if (value.contains("main_text"))
            result.mainText = boolean(value.at("main_text"), "settings.main_text");
        if (value.contains("baud_rate"))
            result.baudRate = boolean(value.at("baud_rate"), "settings.baud_rate");
    }
    const std::string key = value.is_object() ? "settings.file" : "settings";
    result.file = filePath(file, key, folder);
    // The form starts as the window's does and takes the file on top, as Load
    // Setting does; the reader's message says what is wrong with the file.
    std::string cause;
    if (!ApplySettingsText(DefaultSettingsText(), result.form, result.info, cause))
        fail(key, Utf8FromPath(result.file) + ": " + OneLine(cause));
    const TOutcome loaded = ReadSettingsFile(result.file, result.form, result.info);
    if (!loaded.succeeded)
        fail(key, Utf8FromPath(result.file) + ": " + OneLine(loaded.cause));
    return result;
}

// The sizes slot `slot` has: the model's, or every model's that has the slot.
std::vector<PixelSize> slotSizes(int slot, const DisplayModel* model) {
    std::vector<PixelSize> sizes;
    for (const DisplayModel& row : DisplayModels) {
        if (model && &row != model)
            continue;
        const auto size = SlotPictureSize(row, slot);
        if (size && std::find(sizes.begin(), sizes.end(), *size) == sizes.end())
            sizes.push_back(*size);
    }
    return sizes;
}

// Every picture is decoded whole and cut to each size its slot can have here, once
// for every port of the run (a truncated file has a good header, and is refused here);
// with the profile's model a slot the model does not have is refused before any port
// is opened.
std::vector<ProfilePicture> pictures(const json& value, const std::filesystem::path& folder,
                                     const std::optional<std::string>& modelName) {
    const DisplayModel* model = modelName ? FindModelByName(*modelName) : nullptr;
    if (!value.is_object())
        fail("pictures", "must map slot numbers to picture files, not " + typeName(value));
    std::vector<ProfilePicture> result;
    for (const auto& [slotText, file] : value.items()) {
        const std::string key = "pictures." + slotText;
        ProfilePicture picture;
        std::string notSlot;
        const auto slot =
            ReadWholeNumber(slotText, "the slot", kFirstPictureSlot, kLastPictureSlot, notSlot);
        if (!slot)
            fail(key, "not a picture slot: " + notSlot);
        picture.slot = *slot;
        picture.file = filePath(file, key, folder);
        const auto format = OpenFormatForFileName(Utf8FromPath(picture.file));
        if (!format)
            fail(key,
                 Utf8FromPath(picture.file) + ": must end in .png, .PNG, .jpg, .JPG, .bmp or .BMP");
        if (model && !SlotPictureSize(*model, picture.slot))
            fail(key, "the " + std::string(model->name) + " has no slot " + slotText + " (" +
                          DownFileAt(PositionOfSlot(picture.slot)).Name + ")");
        try {
            const Bytes bytes = FileToBytes(Utf8FromPath(picture.file));
            for (const PixelSize size : slotSizes(picture.slot, model))
                picture.prepared.push_back(
                    {size, ConvertCentred(bytes, *format, PictureSize{size.width, size.height})});
        } catch (const std::exception& error) {
            fail(key, Utf8FromPath(picture.file) + ": " + error.what());
        }
        result.push_back(std::move(picture));
    }
    std::sort(result.begin(), result.end(),
              [](const ProfilePicture& a, const ProfilePicture& b) { return a.slot < b.slot; });
    for (std::size_t i = 1; i < result.size(); ++i) {
        if (result[i].slot == result[i - 1].slot)
            fail("pictures." + std::to_string(result[i].slot), "slot given twice");
    }
    return result;
}

ProfilePlay play(const json& value) {
    if (!value.is_object())
        fail("play", "must be an object with \"pictures\", \"standby\" and \"interval\"");
    onlyKeys(value, "play", {"pictures", "standby", "interval"});
    for (const char* key : {"pictures", "standby", "interval"}) {
        if (!value.contains(key))
            fail("play", std::string("names no \"") + key + "\"");
    }
    ProfilePlay result;
    const json& list = value.at("pictures");
    if (!list.is_array())
        fail("play.pictures", "must be a list of picture numbers 1 to 10");
    for (const json& number : list)
        result.pictures = static_cast<std::uint16_t>(
            result.pictures | (1u << (integer(number, "play.pictures", 1, 10) - 1)));
    result.standby = integer(value.at("standby"), "play.standby", 0, 120);
    result.interval = integer(value.at("interval"), "play.interval", 1, 10);
    return result;
}

// A download item by name (any letter case) or position: a font or the table.
int fontItem(const json& value, const std::string& key) {
    int position = 0;
    if (value.is_number_integer()) {
        position = integer(value, key, 1, kDownFileCount);
    } else if (value.is_string()) {
        const std::string wanted = LowerCase(value.get<std::string>());
        for (int i = 1; i <= kDownFileCount && position == 0; ++i) {
            if (LowerCase(DownFileAt(i).Name) == wanted)
                position = i;
        }
        if (position == 0)
            fail(key, "unknown item '" + value.get<std::string>() + "'");
    } else {
        fail(key, "must be an item name or position, not " + typeName(value));
    }
    if (position > kLastFontPosition && position != kTablePosition)
        fail(key, std::string(DownFileAt(position).Name) +
                      " is not a font or the table (pictures and firmware have keys of their own)");
    return position;
}

void fonts(const json& value, const std::filesystem::path& folder, Profile& profile) {
    if (value.is_boolean()) {
        profile.builtInFonts = value.get<bool>();
        return;
    }
    if (!value.is_array())
        fail("fonts", "must be true, false or a list of {\"item\": ..., \"file\": ...}");
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::string key = "fonts." + std::to_string(i);
        const json& entry = value[i];
        if (!entry.is_object())
            fail(key, "must be {\"item\": ..., \"file\": ...}");
        onlyKeys(entry, key, {"item", "file"});
        if (!entry.contains("item") || !entry.contains("file"))
            fail(key, "needs \"item\" and \"file\"");
        ProfileItem item;
        item.position = fontItem(entry.at("item"), key + ".item");
        item.file = filePath(entry.at("file"), key + ".file", folder);
        item.contents = downloadFile(item.file, key + ".file");
        profile.fontItems.push_back(std::move(item));
    }
}

void firmware(const json& root, const std::filesystem::path& folder, Profile& profile) {
    const bool file = root.contains("firmware");
    const bool version = root.contains("firmware_version");
    if (!file && !version)
        return;
    if (!file)
        fail("firmware_version", "given without \"firmware\"");
    if (!version)
        fail("firmware", "needs \"firmware_version\": the version the file brings");
    if (!profile.model)
        fail("firmware", "needs \"model\": firmware goes only to displays of the model it is for");
    const DisplayModel* model = FindModelByName(*profile.model);
    if (!ModelHasFirmwareCheck(model))
        fail("firmware", "the " + *profile.model +
                             " reports no firmware version, so nothing tells when it is due");
    ProfileFirmware result;
    result.version = static_cast<std::uint32_t>(
        integer(root.at("firmware_version"), "firmware_version", 1, 1000000));
    result.file = filePath(root.at("firmware"), "firmware", folder);
    result.contents = downloadFile(result.file, "firmware");
    profile.firmware = std::move(result);
}

// Follows the parser through the document, so that a problem the parser finds (a key
// given twice, a number too large to hold) names the key it is under: "play.standby",
// "fonts.1.item".
class KeyPath {
public:
    bool operator()(int, json::parse_event_t event, json& parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            levels_.push_back({event == json::parse_event_t::array_start, 0, {}, {}});
            break;
        case json::parse_event_t::key: {
            Level& level = levels_.back();
            level.key = parsed.get<std::string>();
            // The parser would keep the last silently: which one the author meant is
            // not known.
            if (!level.keys.insert(level.key).second)
                fail(text(), "given twice");
            break;
        }
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            levels_.pop_back();
            valueDone();
            break;
        case json::parse_event_t::value:
            valueDone();
            break;
        }
        return true;
    }

    // The key of the value being read.
    std::string text() const {
        std::string path;
        for (const Level& level : levels_) {
            const std::string part = level.array ? std::to_string(level.count) : level.key;
            if (!part.empty())
                path += (path.empty() ? "" : ".") + part;
        }
        return path;
    }

private:
    struct Level {
        bool array = false;
        std::size_t count = 0; // the elements of an array read so far
        std::string key;       // the key of an object's current value
        std::set<std::string> keys;
    };

    void valueDone() {
        if (!levels_.empty() && levels_.back().array)
            ++levels_.back().count;
    }

    std::vector<Level> levels_;
};

json parseProfile(const std::string& text) {
    KeyPath path;
    try {
        return json::parse(text, std::ref(path));
    } catch (const json::parse_error& error) {
        throw ProfileError{std::string("is not JSON: ") + error.what()};
    } catch (const json::out_of_range&) {
        // The only range error of the parser: a number beyond what a double holds.
        const std::string key = path.text();
        throw ProfileError{(key.empty() ? "" : "\"" + key + "\": ") +
                           "holds a number too large to read"};
    }
}

bool sendsAnything(const Profile& profile) {
    return profile.settings || !profile.pictures.empty() || profile.play || profile.builtInFonts ||
           !profile.fontItems.empty() || profile.firmware;
}

void readProfile(const std::string& text, const std::filesystem::path& file, Profile& profile) {
    const json root = parseProfile(text);
    if (!root.is_object())
        throw ProfileError{"must hold a JSON object"};
    onlyKeys(root, "",
             {"model", "settings", "pictures", "play", "fonts", "firmware", "firmware_version"});
    const std::filesystem::path folder = file.parent_path();
    profile.file = file;
    if (root.contains("model")) {
        const json& model = root.at("model");
        if (!model.is_string() || !FindModelByName(model.get<std::string>())) {
            std::string names;
            for (const auto& row : DisplayModels)
                names += (names.empty() ? "" : ", ") + std::string(row.name);
            fail("model", "must be one of " + names);
        }
        profile.model = model.get<std::string>();
    }
    if (root.contains("settings"))
        profile.settings = settings(root.at("settings"), folder);
    if (root.contains("pictures"))
        profile.pictures = pictures(root.at("pictures"), folder, profile.model);
    if (root.contains("play"))
        profile.play = play(root.at("play"));
    if (root.contains("fonts"))
        fonts(root.at("fonts"), folder, profile);
    firmware(root, folder, profile);
    if (!sendsAnything(profile))
        throw ProfileError{"names nothing to send: give \"settings\", \"pictures\", \"play\", "
                           "\"fonts\" or \"firmware\""};
}

} // namespace

const Bitmap* ProfilePicture::sizedFor(PixelSize size) const {
    for (const SizedPicture& picture : prepared) {
        if (picture.size == size)
            return &picture.bitmap;
    }
    return nullptr;
}

bool ReadInputFile(const std::filesystem::path& file, std::string& text, std::string& error) {
    std::error_code code;
    const auto status = std::filesystem::status(file, code);
    if (!std::filesystem::exists(status)) {
        error = "does not exist";
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        error = "is a folder, not a file";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = "is not a regular file";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot be read";
        return false;
    }
    std::ostringstream whole;
    whole << in.rdbuf();
    if (in.bad()) {
        error = "cannot be read";
        return false;
    }
    text = std::move(whole).str();
    return true;
}

bool ReadProfileText(const std::string& text, const std::filesystem::path& file, Profile& profile,
                     std::string& error) {
    profile = Profile{};
    try {
        readProfile(text, file, profile);
        return true;
    } catch (const ProfileError& problem) {
        error = Utf8FromPath(file) + ": " + problem.text;
    } catch (const std::exception& problem) {
        error = Utf8FromPath(file) + ": " + problem.what();
    }
    profile = Profile{};
    return false;
}

bool LoadProfile(const std::filesystem::path& file, Profile& profile, std::string& error) {
    profile = Profile{};
    std::string text;
    if (!ReadInputFile(file, text, error)) {
        error = Utf8FromPath(file) + ": " + error;
        return false;
    }
    return ReadProfileText(text, file, profile, error);
}

} // namespace tavisto::provision
