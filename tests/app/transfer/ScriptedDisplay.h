#pragma once

#include "tests/support/FakeLine.h"
#include "tests/support/Wire.h"

#include <cstdint>
#include <map>
#include <string>

namespace tavisto::testing {

using namespace std::chrono_literals;

// CRC-16/CCITT-FALSE written out bit by bit, apart from the code under test.
inline std::uint16_t referenceCrc(const Bytes& bytes) {
    std::uint16_t crc = 0xFFFF;
    for (unsigned char byte : bytes) {
        crc ^= static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

inline Bytes be32(std::uint32_t v) {
    return Bytes{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                 static_cast<char>(v)};
}

// A display frame "ACT=k,L=004," + four bytes.
inline Bytes displayFrame(char kind, std::uint32_t payload) {
    return Bytes("ACT=") + kind + ",L=004," + be32(payload);
}

// A display on the fake line that speaks both transfer styles, as scripted as a
// test needs: it answers the model query, echoes setups, asks for blocks one at a
// time, takes named files and reports the CRC of what it stored.
class ScriptedDisplay {
public:
    ScriptedDisplay(FakeLine& line, std::string model) : line_(line), model_(std::move(model)) {
        line_.onWrite = [this](const Bytes& written) {
            onWrite(written);
        };
    }

    // Faults and knobs.
    bool wrongSetupEcho = false;
    bool silentWakeUp = false;
    Bytes makeFileReply = "OK\r\n";
    bool wrongCrc = false;
    int stopAfterBlocks = -1;  // asks for no more blocks after this many
    bool pairRequests = false; // the request for block 1 comes with a repeat of it
    Bytes garbage;             // sent before every block request
    Micros delay = 2ms;

    std::map<std::uint32_t, Bytes> flash; // addressed files by address
    std::map<std::string, Bytes> files;   // named files
    Bytes firmware;
    int blocksTaken = 0;

private:
    void send(const Bytes& bytes) { line_.arrive(bytes, delay); }

    void request() {
        Bytes frame = garbage + displayFrame('0', next_);
        if (pairRequests && next_ == 1)
            frame += frame;
        send(frame);
    }

    void finishBlocks() {
        std::uint16_t crc = referenceCrc(data_);
        if (wrongCrc)
            ++crc;
        if (announced_)
            firmware = data_;
        else
            flash[address_] = data_;
        receiving_ = false;
        send(garbage + displayFrame('9', crc));
    }

    void onWrite(const Bytes& w) {
        if (takingFile_) {
            fileData_ += w;
            if (fileData_.size() >= fileLength_) {
                takingFile_ = false;
                files[fileName_] = fileData_;
                std::uint16_t crc = referenceCrc(fileData_);
                if (wrongCrc)
                    ++crc;
                send(std::to_string(crc) + "\n");
            }
            return;
        }
        if (w == wire("02 07 16 01")) {
            send(model_ + '\0');
        } else if (w.size() == 10 && w.compare(0, 2, wire("02 10")) == 0) {
            address_ = static_cast<std::uint32_t>(std::stoul(hexOf(w.substr(2, 4)), nullptr, 16));
            length_ = static_cast<std::uint32_t>(std::stoul(hexOf(w.substr(6, 4)), nullptr, 16));
            announced_ = false;
            Bytes echo = w;
            if (wrongSetupEcho)
                echo.back() ^= 1;
            send(echo);
        } else if (w == wire("02 07 27 27 27")) {
            beginBlocks();
        } else if (w == wire("07 07 07 07")) {
            if (!silentWakeUp)
                send("A");
        } else if (w.size() == 20 && w.compare(0, 12, "ACT=1,L=002,") == 0) {
            length_ = static_cast<std::uint32_t>(std::stoul(hexOf(w.substr(12, 4)), nullptr, 16));
            announced_ = true;
            beginBlocks();
        } else if (w.size() == 274 && w.compare(0, 12, "ACT=0,L=100,") == 0 && receiving_) {
            takeBlock(w);
        } else if (w.size() > 4 && w.compare(0, 4, wire("02 07 05 01")) == 0) {
            makeFile(w.substr(4, w.size() - 5));
        }
    }

    void beginBlocks() {
        receiving_ = true;
        next_ = 0;
        data_.clear();
        if (length_ == 0)
            finishBlocks();
        else
            request();
    }

    void takeBlock(const Bytes& w) {
        const std::uint32_t number =
            static_cast<std::uint32_t>(std::stoul(hexOf(w.substr(12, 4)), nullptr, 16));
        if (number != next_ ||
            referenceCrc(w.substr(0, 272)) !=
                static_cast<std::uint16_t>((static_cast<unsigned char>(w[272]) << 8) |
                                           static_cast<unsigned char>(w[273])))
            return; // a repeat or a damaged block: the next request decides
        data_ += w.substr(16, std::min<std::size_t>(256, length_ - data_.size()));
        ++blocksTaken;
        if (stopAfterBlocks >= 0 && blocksTaken >= stopAfterBlocks)
            return;
        ++next_;
        if (data_.size() >= length_)
            finishBlocks();
        else
            request();
    }

    void makeFile(const std::string& text) {
        if (makeFileReply.compare(0, 2, "OK") == 0) {
            const auto second = text.rfind(',');
            const auto first = text.rfind(',', second - 1);
            fileName_ = text.substr(0, first);
            fileLength_ = std::stoul(text.substr(first + 1, second - first - 1));
            fileData_.clear();
            takingFile_ = fileLength_ > 0;
        }
        send(makeFileReply);
    }

    static std::string hexOf(const Bytes& bytes) {
        static const char* digits = "0123456789ABCDEF";
        std::string text;
        for (unsigned char b : bytes) {
            text += digits[b >> 4];
            text += digits[b & 15];
        }
        return text;
    }

    FakeLine& line_;
    std::string model_;
    std::uint32_t address_ = 0;
    std::uint32_t length_ = 0;
    std::uint32_t next_ = 0;
    bool receiving_ = false;
    bool announced_ = false;
    Bytes data_;
    bool takingFile_ = false;
    std::string fileName_;
    std::size_t fileLength_ = 0;
    Bytes fileData_;
};

} // namespace tavisto::testing
