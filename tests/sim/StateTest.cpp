#include "HostPort.h"
#include "sim/device/DeviceSettings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace tavisto::sim::test {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/tavisto-state-XXXXXX";
        if (::mkdtemp(pattern) == nullptr)
            throw std::runtime_error("mkdtemp");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

Bytes contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Every byte value, in an order that makes each block differ.
Bytes everyByte(std::size_t size, unsigned seed) {
    Bytes out;
    for (std::size_t i = 0; i < size; ++i)
        out += static_cast<char>((i * 131 + seed * 17 + i / 256) & 0xFF);
    return out;
}

Bytes bigEndianField(std::uint32_t value, int width) {
    Bytes out;
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
    return out;
}

// Sends a file to an addressed display the way the host's engine does.
void storeAt(SimFixture& f, std::uint32_t address, const Bytes& file) {
    f.ask(hex("02 10") + bigEndianField(address, 4) +
              bigEndianField(static_cast<std::uint32_t>(file.size()), 4),
          10);
    Bytes request = f.ask(hex("02 07 27 27 27"), 16);
    for (std::uint32_t number = 0; request.compare(0, 5, "ACT=0") == 0; ++number) {
        Bytes data = file.substr(number * 256, 256);
        data.resize(256, '\0');
        Bytes frame = "ACT=0,L=100," + bigEndianField(number, 4) + data;
        request = f.ask(frame + bigEndianField(testCrc(frame), 2), 16);
    }
    ASSERT_EQ(request.compare(0, 5, "ACT=9"), 0);
}

void storeNamed(SimFixture& f, const Bytes& name, const Bytes& file) {
    const std::string crc = std::to_string(testCrc(file));
    ASSERT_EQ(
        f.ask(hex("02 07 05 01") + name + "," + std::to_string(file.size()) + "," + crc + "\n", 4),
        "OK\r\n");
    f.host().send(file);
    ASSERT_EQ(f.host().readUntil('\n'), crc + "\n");
}

SimOptions inFolder(int model, const fs::path& folder) {
    SimOptions options;
    options.model = model;
    options.stateDir = folder.string();
    return options;
}

TEST(State, ARestartKeepsEveryStoredByteAndSetting) {
    TempFolder folder;
    Storage stored;
    DeviceSettings settings;
    {
        SimFixture f(inFolder(0, folder.path()));
        storeAt(f, 0x00032000, everyByte(1000, 1));
        storeAt(f, 0x004FB000, everyByte(256, 2));
        // Texts with the bytes the settings text must escape, and a colour.
        f.tell(hex("02 07 16 06") + "q\"b\\s" + hex("01 1F 7F FF") + hex("00"));
        f.ask(hex("02 07 0E 12 34 56"), 6);
        f.tell(hex("1F 58 04"));
        f.tell(hex("02 42 31")); // 19200 baud from now on
        stored = f.sim().storage();
        settings = f.sim().state().settings;
    }
    EXPECT_EQ(contentsOf(folder.path() / "flash" / "00032000.bin"), everyByte(1000, 1));
    EXPECT_EQ(contentsOf(folder.path() / "settings.ini"), settingsText(settings));

    SimFixture again(inFolder(0, folder.path()));
    EXPECT_EQ(again.sim().storage().flash, stored.flash);
    EXPECT_EQ(again.sim().state().settings, settings);
    EXPECT_EQ(again.sim().state().brightnessStep, 4);
    // It comes up at its stored speed, and reports the same settings text.
    ASSERT_EQ(again.sim().baudRate(), 19200);
    again.reopen(19200);
    const Bytes text = settingsText(settings) + '\0';
    EXPECT_EQ(again.ask(hex("02 07 16 05"), text.size()), text);
}

TEST(State, NamedFilesKeepTheirNamesAndFormattingEmptiesTheFolder) {
    TempFolder folder;
    const Bytes odd = "../a b\xFC%.bin";
    {
        SimFixture f(inFolder(5, folder.path()));
        storeNamed(f, "P1.jpg", everyByte(700, 3));
        storeNamed(f, odd, everyByte(300, 4));
        storeNamed(f, "empty.bin", "");
        storeNamed(f, "P1.jpg", everyByte(513, 5)); // replaced
        storeNamed(f, "firmware.bin", everyByte(400, 6));
    }
    EXPECT_EQ(contentsOf(folder.path() / "files" / "%2E.%2Fa%20b%FC%25.bin"), everyByte(300, 4));
    {
        SimFixture f(inFolder(5, folder.path()));
        const auto& files = f.sim().storage().files;
        ASSERT_EQ(files.size(), 4u);
        EXPECT_EQ(f.sim().storage().firmware, everyByte(400, 6));
        EXPECT_EQ(files.at("P1.jpg"), everyByte(513, 5));
        EXPECT_EQ(files.at(odd), everyByte(300, 4));
        EXPECT_EQ(files.at("empty.bin"), "");
        f.tell(hex("02 07 05 00")); // format
    }
    EXPECT_TRUE(fs::is_empty(folder.path() / "files"));
    SimFixture f(inFolder(5, folder.path()));
    EXPECT_TRUE(f.sim().storage().files.empty());
    EXPECT_EQ(f.sim().storage().firmware, everyByte(400, 6)) << "formatting keeps the firmware";
}

TEST(State, AFolderItCannotReadIsRefusedAndLeftAsItWas) {
    TempFolder folder;
    fs::create_directories(folder.path() / "flash");
    const fs::path settings = folder.path() / "settings.ini";
    for (const char* text :
         {"{\"temp1\":300\n}", "{\"colour\":1\n}", "{\"wel_mess1\":\"a\n", "{\"temp1\":1\n}x"}) {
        std::ofstream(settings, std::ios::binary) << text;
        VirtualDisplay sim(inFolder(0, folder.path()));
        std::string error;
        EXPECT_FALSE(sim.start(error)) << text;
        EXPECT_NE(error.find("settings.ini"), std::string::npos) << error;
        EXPECT_EQ(contentsOf(settings), text);
    }
    fs::remove(settings);
    std::ofstream(folder.path() / "flash" / "32000.bin") << "x";
    VirtualDisplay sim(inFolder(0, folder.path()));
    std::string error;
    EXPECT_FALSE(sim.start(error));
    EXPECT_NE(error.find("32000.bin"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(settings));
}

} // namespace
} // namespace tavisto::sim::test
