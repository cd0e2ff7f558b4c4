#include "app/provision/ProfileWriter.h"

#include "app/provision/ProvisionOperator.h"
#include "app/settings/SettingsWorkflows.h"
#include "files/FileWrite.h"
#include "files/Utf8Path.h"
#include "pictures/BmpCodec.h"

#include <nlohmann/json.hpp>

namespace tavisto::provision {

namespace {

// The idle play the record holds, when it is one a profile can name.
std::optional<nlohmann::ordered_json> playOf(const TDisplayInfo& info) {
    if (info.lun_time < 1 || info.lun_time > 10 || info.into_lun_bo > 120)
        return std::nullopt;
    nlohmann::ordered_json play = nlohmann::ordered_json::object();
    play["pictures"] = nlohmann::ordered_json::array();
    for (int picture = 1; picture <= 10; ++picture) {
        if (info.pic_reg & (1u << (picture - 1)))
            play["pictures"].push_back(picture);
    }
    play["standby"] = info.into_lun_bo;
    play["interval"] = info.lun_time;
    return play;
}

} // namespace

std::filesystem::path SettingsFileFor(const std::filesystem::path& profile) {
    std::filesystem::path file = profile;
    return file.replace_extension(".ini");
}

bool WriteProfile(const std::filesystem::path& file, const ProfileSource& source,
                  std::filesystem::path& settingsFile, std::string& error) {
    ProvisionOperator op;
    if (!SaveSettingsFile(source.info, SettingsFileFor(file), op, &settingsFile)) {
        error = op.error();
        return false;
    }
    nlohmann::ordered_json profile = nlohmann::ordered_json::object();
    if (source.model)
        profile["model"] = *source.model;
    profile["settings"] = {{"file", Utf8FromPath(settingsFile.filename())},
                           {"command_mode", true},
                           {"main_text", true},
                           {"baud_rate", true}};
    if (!source.pictures.empty()) {
        nlohmann::ordered_json pictures = nlohmann::ordered_json::object();
        for (const auto& [slot, bitmap] : source.pictures) {
            std::filesystem::path picture = file;
            picture.replace_filename(Utf8FromPath(file.stem()) + "-" + std::to_string(slot) +
                                     ".bmp");
            if (!SaveFile(picture, EncodeBmp(bitmap), error))
                return false;
            pictures[std::to_string(slot)] = Utf8FromPath(picture.filename());
        }
        profile["pictures"] = pictures;
    }
    if (const auto play = playOf(source.info))
        profile["play"] = *play;
    return SaveFile(file, profile.dump(2) + "\n", error);
}

} // namespace tavisto::provision
