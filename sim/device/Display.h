#pragma once

#include "sim/device/DeviceSettings.h"
#include "sim/device/Faults.h"
#include "sim/device/FrameParser.h"
#include "sim/device/Journal.h"
#include "sim/device/Storage.h"
#include "sim/device/Transfer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tavisto::sim {

struct QrRequest {
    int alignment = 0; // 1 left, 2 centre, 3 right
    int picture = 0;   // the stored picture it is drawn over; 0 for none
    Bytes text;        // the QR content, or the 1-bit picture data for a QR picture
    bool isPicture = false;
};

// What the main area shows: the idle main text until a customer-display command
// writes to it, then the text area; a picture or a QR code until the next of these.
enum class MainContent { MainText, TextArea, Picture, QrCode };

// What text written past the end of a line does: wrap to the next line (and from
// the last to the first), scroll the lines up, or scroll the line left.
enum class WriteMode { Overwrite, VerticalScroll, HorizontalScroll };

// What the display shows and keeps.
struct DisplayState {
    static constexpr int kColumns = 20;
    static constexpr int kRows = 4;

    int model = 5;
    std::uint32_t version = 14;
    int baudRate = 9600; // the speed the display listens and talks at
    DeviceSettings settings;
    std::array<Bytes, kRows> screen; // the customer-display text area
    int cursorColumn = 1;
    int cursorRow = 1;
    int brightnessStep = 2;
    int shownPicture = 0;
    std::vector<QrRequest> qrCodes;
    int restarts = 0;
    MainContent content = MainContent::MainText;
    WriteMode writeMode = WriteMode::Overwrite;
    bool cursorShown = false;
    int autoCommandSet = -1;  // in AUTO mode, the command mode taken from what arrived
    SteadyTime started{};     // when the display came up: scrolling counts from here
    SteadyTime lastCommand{}; // the last frame the screen shows: idle play waits from here
    std::uint64_t screenGeneration = 0; // counts changes that can alter the screen
};

// The display itself, without the line: bytes in, replies out. It judges frames
// strictly; what it does not accept is logged as rejected and not answered.
// Not synchronised; the virtual display guards it.
class Display {
public:
    static constexpr std::size_t kQrPictureBytes = 192 * 192 / 8;

    Display(int model, int baudRate, std::uint32_t version, Journal& journal);
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // One byte from the line, already known to be at the display's speed.
    void receive(unsigned char byte, SteadyTime at, std::vector<Reply>& out);
    // Lets time pass: ends frames at idle, repeats block requests.
    void tick(SteadyTime now, std::vector<Reply>& out);
    std::optional<SteadyTime> deadline() const;
    bool busy() const { return parser_.busy(); }

    int baudRate() const { return state_.baudRate; }
    const DisplayState& state() const { return state_; }
    const Storage& storage() const { return storage_; }

    // New faults also bring back a display that went silent by a fault.
    void setFaults(const Faults& faults) {
        faults_ = faults;
        silenced_ = false;
        repliesToFrames_ = 0;
    }
    const Faults& faults() const { return faults_; }
    void setModel(int model);
    void setVersion(std::uint32_t version) { state_.version = version; }
    // Brings back what the display kept over a power cycle: its storage and, when
    // given, its settings, with which it comes up at its stored speed and brightness.
    void restore(const std::optional<DeviceSettings>& settings, Storage storage);

private:
    void handle(Frame&& frame, SteadyTime at, std::vector<Reply>& out);
    bool takeFileByte(unsigned char& byte);
    void goSilent(const std::string& why);
    bool apply(const Frame& frame, SteadyTime at, std::vector<Reply>& out, std::string& note);
    void echo(const Frame& frame, std::vector<Reply>& out);
    void showText(const Bytes& text);
    void control(unsigned char byte);
    void clearScreen();
    void restart();
    void setSpeed(int baudRate, const std::string& why);

    Journal& journal_;
    DisplayState state_;
    Storage storage_;
    Faults faults_;
    FrameParser parser_;
    // Built once: the parser calls it for every frame, and files come byte by byte.
    FrameParser::Sink sink_;
    std::vector<Reply>* sinkOut_ = nullptr;
    SteadyTime sinkAt_{};
    BlockTransfer blocks_;
    NamedTransfer files_;
    std::uint32_t fileLength_ = 0; // of the named file being taken
    std::uint32_t fileTaken_ = 0;  // its bytes taken so far
    bool silenced_ = false;        // gone silent by a fault: takes and answers nothing
    int repliesToFrames_ = 0;      // since the faults were set, for Faults::lostReplies
    bool takingQrPicture_ = false;
    QrRequest qrPicture_;
};

} // namespace tavisto::sim
