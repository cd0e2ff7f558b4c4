// Feeds arbitrary text to the provisioning profile reader, as if it were a profile in
// a folder that holds a settings file, a picture and a download file (named in the
// seeds). A refused profile must say why after the profile's name and leave nothing
// behind; an accepted one must name something to send, with every picture prepared
// for the sizes its slot can have.
#include "app/provision/Profile.h"
#include "files/FileWrite.h"
#include "pictures/Bitmap.h"
#include "pictures/BmpCodec.h"
#include "protocol/PictureSlots.h"
#include "settings/DefaultSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace tavisto;
using namespace tavisto::provision;

namespace {

std::filesystem::path folder;

void write(const std::string& name, const Bytes& bytes) {
    std::string message;
    if (!SaveFile(folder / name, bytes, message))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = std::filesystem::temp_directory_path() /
             ("tavisto-profile-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    const std::string settings = DefaultSettingsText();
    write("s.ini", Bytes(settings.begin(), settings.end()));
    write("p.bmp", EncodeBmp(Bitmap(3, 2, kWhite)));
    write("f.bin", Bytes(64, 0x5A));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path file = folder / "profile.json";
    const std::string name = file.string() + ": ";

    Profile profile;
    std::string error;
    if (!ReadProfileText(text, file, profile, error)) {
        if (error.size() <= name.size() || error.compare(0, name.size(), name) != 0)
            std::abort();
        if (profile.settings || !profile.pictures.empty() || profile.play || profile.builtInFonts ||
            !profile.fontItems.empty() || profile.firmware)
            std::abort();
        return 0;
    }
    if (!profile.settings && profile.pictures.empty() && !profile.play && !profile.builtInFonts &&
        profile.fontItems.empty() && !profile.firmware)
        std::abort();
    int previous = 0;
    for (const ProfilePicture& picture : profile.pictures) {
        if (picture.slot <= previous || picture.slot < kFirstPictureSlot ||
            picture.slot > kLastPictureSlot || picture.prepared.empty())
            std::abort();
        previous = picture.slot;
        for (const SizedPicture& sized : picture.prepared) {
            if (sized.bitmap.width() != sized.size.width ||
                sized.bitmap.height() != sized.size.height)
                std::abort();
        }
    }
    if (profile.firmware && !profile.model)
        std::abort();
    return 0;
}
