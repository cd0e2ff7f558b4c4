#include "HostPort.h"
#include "sim/device/Checksum.h"

#include <gtest/gtest.h>

namespace tavisto::sim::test {
namespace {

Bytes bigEndian(std::uint32_t value, int width) {
    Bytes out;
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
    return out;
}

Bytes request(std::uint32_t block) {
    return "ACT=0,L=004," + bigEndian(block, 4);
}

Bytes finished(std::uint16_t crc) {
    return "ACT=9,L=004," + hex("00 00") + bigEndian(crc, 2);
}

// The host's block frame: header, the block number, 256 bytes (zero-padded), CRC.
Bytes block(std::uint32_t number, const Bytes& file) {
    Bytes data = number * 256 < file.size() ? file.substr(number * 256, 256) : Bytes();
    data.resize(256, '\0');
    Bytes frame = "ACT=0,L=100," + bigEndian(number, 4) + data;
    return frame + bigEndian(testCrc(frame), 2);
}

Bytes sampleFile(std::size_t size) {
    Bytes file;
    for (std::size_t i = 0; i < size; ++i)
        file += static_cast<char>((i * 7 + 3) & 0xFF);
    return file;
}

SimOptions model(int index) {
    SimOptions options;
    options.model = index;
    options.baudRate = 115200;
    return options;
}

TEST(Transfer, ChecksumMatchesTheKnownCheckValues) {
    EXPECT_EQ(crc16("123456789"), 0x29B1);
    EXPECT_EQ(crc16(""), 0xFFFF);
    EXPECT_EQ(crc16("abc"), 0x514A);
}

TEST(Transfer, AddressedFileIsPulledBlockByBlock) {
    SimFixture f(model(0));
    const Bytes file = sampleFile(300);
    const Bytes setup = hex("02 10 00 4F B0 00 00 00 01 2C");
    EXPECT_EQ(f.ask(setup, 10), setup);
    EXPECT_EQ(f.ask(hex("02 07 27 27 27"), 16), request(0));
    EXPECT_EQ(f.ask(block(0, file), 16), request(1));
    EXPECT_EQ(f.ask(block(1, file), 16), finished(testCrc(file)));
    EXPECT_EQ(f.sim().storage().flash.at(0x004FB000), file);
}

TEST(Transfer, DamagedOrWrongBlocksAreAskedForAgain) {
    SimFixture f(model(4));
    const Bytes file = sampleFile(600);
    f.ask(hex("02 10 00 00 10 00 00 00 02 58"), 10);
    EXPECT_EQ(f.ask(hex("02 07 27 27 27"), 16), request(0));
    Bytes damaged = block(0, file);
    damaged[100] ^= 0x01;
    EXPECT_EQ(f.ask(damaged, 16), request(0));
    EXPECT_EQ(f.ask(block(1, file), 16), request(0));
    EXPECT_EQ(f.ask(block(0, file), 16), request(1));
    EXPECT_EQ(f.ask(block(1, file), 16), request(2));
    EXPECT_EQ(f.ask(block(2, file), 16), finished(testCrc(file)));
    EXPECT_EQ(f.sim().count(LogKind::Rejected), 2u);
}

TEST(Transfer, DownloadStartWithoutSetupIsRefused) {
    SimFixture f(model(1));
    f.tell(hex("02 07 27 27 27"));
    EXPECT_EQ(f.sim().count(LogKind::Rejected), 1u);
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 1), hex("0E"));
}

TEST(Transfer, NamedFileIsTakenRawAndAnsweredWithItsCrc) {
    SimFixture f(model(5));
    const Bytes file = sampleFile(700);
    const std::string crc = std::to_string(testCrc(file));
    EXPECT_EQ(f.ask(hex("02 07 05 01") + "P1.jpg,700," + crc + "\n", 4), "OK\r\n");
    f.host().send(file);
    EXPECT_EQ(f.host().readUntil('\n'), crc + "\n");
    EXPECT_EQ(f.sim().storage().files.at("P1.jpg"), file);

    // An empty file is answered at once.
    EXPECT_EQ(f.ask(hex("02 07 05 01") + "e.bin,0,65535\n", 4), "OK\r\n");
    EXPECT_EQ(f.host().readUntil('\n'), "65535\n");

    // Formatting empties the storage.
    f.tell(hex("02 07 05 00"));
    EXPECT_TRUE(f.sim().storage().files.empty());
}

TEST(Transfer, EachModelTakesOnlyItsOwnTransferStyle) {
    SimFixture named(model(6));
    named.tell(hex("02 10 00 00 00 00 00 00 00 10"));
    named.tell(hex("07 07 07 07"));
    EXPECT_EQ(named.sim().count(LogKind::Rejected), 2u);
    EXPECT_EQ(named.sim().count(LogKind::Answered), 0u);

    SimFixture addressed(model(0));
    addressed.tell(hex("02 07 05 01") + "a.bin,5,4660\n");
    addressed.tell(hex("07 07 07 07"));
    EXPECT_EQ(addressed.sim().count(LogKind::Rejected), 2u);
    EXPECT_EQ(addressed.sim().count(LogKind::Answered), 0u);
}

TEST(Transfer, FirmwareWakeUpAnnounceAndBlocks) {
    SimFixture f(model(2));
    const Bytes file = sampleFile(256);
    EXPECT_EQ(f.ask(hex("07 07 07 07"), 1), "A");
    Bytes announce = "ACT=1,L=002," + bigEndian(256, 4) + bigEndian(testCrc(file), 2);
    announce += bigEndian(testCrc(announce), 2);
    EXPECT_EQ(f.ask(announce, 16), request(0));
    EXPECT_EQ(f.ask(block(0, file), 16), finished(testCrc(file)));
    EXPECT_EQ(f.sim().storage().firmware, file);
}

TEST(Transfer, FaultsInTheDisplaysAnswers) {
    SimFixture f(model(3));
    Faults faults;
    faults.wrongFileCrc = true;
    f.sim().setFaults(faults);
    const Bytes file = sampleFile(10);
    const std::uint16_t crc = testCrc(file);
    EXPECT_EQ(f.ask(hex("02 07 05 01") + "a.bin,10," + std::to_string(crc) + "\n", 4), "OK\r\n");
    f.host().send(file);
    EXPECT_EQ(f.host().readUntil('\n'), std::to_string(crc + 1) + "\n");

    SimFixture g(model(0));
    faults = {};
    faults.hangUpAfterBlocks = 1;
    g.sim().setFaults(faults);
    const Bytes big = sampleFile(1000);
    g.ask(hex("02 10 00 00 00 00 00 00 03 E8"), 10);
    EXPECT_EQ(g.ask(hex("02 07 27 27 27"), 16), request(0));
    g.tell(block(0, big));
    EXPECT_EQ(g.host().readFor(100ms), "") << "no request after the hang-up";
    EXPECT_TRUE(g.sim().storage().flash.empty());
}

TEST(Transfer, ALostBlockIsAskedForAgainAfterAPause) {
    SimFixture f(model(0));
    Faults faults;
    faults.dropBlock = 0;
    f.sim().setFaults(faults);
    const Bytes file = sampleFile(20);
    f.ask(hex("02 10 00 00 00 00 00 00 00 14"), 10);
    EXPECT_EQ(f.ask(hex("02 07 27 27 27"), 16), request(0));
    f.host().send(block(0, file));
    EXPECT_EQ(f.host().readCount(16, 3000ms), request(0));
    EXPECT_EQ(f.ask(block(0, file), 16), finished(testCrc(file)));
}

TEST(Transfer, ACorruptedBlockIsCaughtWhereTheProtocolCatchesIt) {
    // Addressed: the block's own CRC shows the damage and the display asks again.
    SimFixture f(model(0));
    Faults faults;
    faults.corruptBlock = 1;
    f.sim().setFaults(faults);
    const Bytes file = sampleFile(600);
    f.ask(hex("02 10 00 00 00 00 00 00 02 58"), 10);
    EXPECT_EQ(f.ask(hex("02 07 27 27 27"), 16), request(0));
    EXPECT_EQ(f.ask(block(0, file), 16), request(1));
    EXPECT_EQ(f.ask(block(1, file), 16), request(1));
    EXPECT_EQ(f.ask(block(1, file), 16), request(2));
    EXPECT_EQ(f.ask(block(2, file), 16), finished(testCrc(file)));
    EXPECT_EQ(f.sim().storage().flash.at(0), file);

    // Named: only the file's CRC at the end can tell; one byte of piece 1 is off.
    SimFixture g(model(5));
    g.sim().setFaults(faults);
    const std::string crc = std::to_string(testCrc(file));
    EXPECT_EQ(g.ask(hex("02 07 05 01") + "a.bin,600," + crc + "\n", 4), "OK\r\n");
    g.host().send(file);
    const Bytes answer = g.host().readUntil('\n');
    ASSERT_FALSE(answer.empty());
    EXPECT_NE(answer, crc + "\n");
    const Bytes stored = g.sim().storage().files.at("a.bin");
    ASSERT_EQ(stored.size(), file.size());
    std::vector<std::size_t> differ;
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (stored[i] != file[i])
            differ.push_back(i);
    }
    ASSERT_EQ(differ.size(), 1u);
    EXPECT_GE(differ[0], 256u);
    EXPECT_LT(differ[0], 512u);
    EXPECT_EQ(answer, std::to_string(testCrc(stored)) + "\n");
}

TEST(Transfer, ADisplayGoneSilentAfterABlockTakesAndAnswersNothingMore) {
    const Bytes query = hex("02 07 16 02");
    const Bytes file = sampleFile(700);
    // Addressed: block 0 is asked for and taken, block 1 taken, then nothing, not
    // even the repeated request a second later.
    SimFixture f(model(0));
    Faults faults;
    faults.silentAfterBlock = 1;
    f.sim().setFaults(faults);
    f.ask(hex("02 10 00 00 00 00 00 00 02 BC"), 10);
    EXPECT_EQ(f.ask(hex("02 07 27 27 27"), 16), request(0));
    EXPECT_EQ(f.ask(block(0, file), 16), request(1));
    f.host().send(block(1, file));
    EXPECT_EQ(f.host().readFor(1500ms), Bytes());
    f.host().send(query);
    EXPECT_EQ(f.host().readFor(300ms), Bytes());
    EXPECT_TRUE(f.sim().storage().flash.empty());
    // New faults bring it back.
    f.sim().setFaults({});
    EXPECT_EQ(f.ask(query, 1), hex("0E"));

    // Named, silent after the last, partial piece: no CRC answer, no file.
    SimFixture g(model(6));
    faults.silentAfterBlock = 2;
    g.sim().setFaults(faults);
    const std::string crc = std::to_string(testCrc(file));
    EXPECT_EQ(g.ask(hex("02 07 05 01") + "b.bin,700," + crc + "\n", 4), "OK\r\n");
    g.host().send(file);
    EXPECT_EQ(g.host().readFor(300ms), Bytes());
    g.host().send(query);
    EXPECT_EQ(g.host().readFor(300ms), Bytes());
    EXPECT_TRUE(g.sim().storage().files.empty());
}

} // namespace
} // namespace tavisto::sim::test
