#include "sim/device/Display.h"

#include "sim/device/Models.h"
#include "sim/emulation/PosEmulation.h"
#include "sim/emulation/TextArea.h"

#include <algorithm>

namespace tavisto::sim {

namespace {

unsigned byteAt(const Frame& frame, std::size_t i) {
    return static_cast<unsigned char>(frame.bytes[i]);
}

std::uint32_t bigEndian(const Frame& frame, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value = (value << 8) | byteAt(frame, at + i);
    return value;
}

Bytes versionBytes(std::uint32_t version) {
    Bytes out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (!out.empty() || (version >> shift) != 0 || shift == 0)
            out += static_cast<char>((version >> shift) & 0xFF);
    }
    return out;
}

// Frames whose effect the screen can show (queries and link control change nothing).
bool showsOnScreen(FrameType type) {
    switch (type) {
    case FrameType::ModelQuery:
    case FrameType::VersionQuery:
    case FrameType::ConfigQuery:
    case FrameType::LinkBaudRate:
    case FrameType::TransferSetup:
    case FrameType::DownloadStart:
    case FrameType::FirmwareWakeUp:
    case FrameType::MakeFile:
    case FrameType::QrImageStart:
        return false;
    default:
        return true;
    }
}

std::string printable(const Bytes& text) {
    std::string out = "\"";
    for (unsigned char c : text)
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
    return out + "\"";
}

} // namespace

Display::Display(int model, int baudRate, std::uint32_t version, Journal& journal)
    : journal_(journal),
      sink_([this](Frame&& frame) { handle(std::move(frame), sinkAt_, *sinkOut_); }),
      blocks_(journal, storage_), files_(journal, storage_) {
    state_.model = model;
    state_.baudRate = baudRate;
    state_.version = version;
    int code = codeOfBaudRate(baudRate);
    state_.settings.Baud_Rate = static_cast<std::uint8_t>(code < 0 ? 0 : code);
    state_.started = std::chrono::steady_clock::now();
    state_.lastCommand = state_.started;
    clearScreen();
    state_.content = MainContent::MainText;
}

void Display::setModel(int model) {
    if (model >= 0 && model < kModelCount)
        state_.model = model;
}

void Display::restore(const std::optional<DeviceSettings>& settings, Storage storage) {
    storage_ = std::move(storage);
    if (!settings)
        return;
    state_.settings = *settings;
    // Brightness codes 6 down to 3 are the steps 1 to 4.
    if (settings->back_light >= 3 && settings->back_light <= 6)
        state_.brightnessStep = 7 - settings->back_light;
    setSpeed(baudRateOfCode(settings->Baud_Rate), "stored settings");
}

void Display::receive(unsigned char byte, SteadyTime at, std::vector<Reply>& out) {
    if (silenced_ || (files_.expectsData() && !takeFileByte(byte)))
        return;
    sinkOut_ = &out;
    sinkAt_ = at;
    parser_.feed(byte, at, sink_);
    if (silenced_)
        parser_.reset();
}

// The transfer faults on a named file's bytes, counted in the host's 256-byte pieces.
// False when the display goes silent instead of taking the byte.
bool Display::takeFileByte(unsigned char& byte) {
    const auto piece = static_cast<int>(fileTaken_ / BlockTransfer::kBlockSize);
    if (fileTaken_ % BlockTransfer::kBlockSize == 0 && piece == faults_.corruptBlock) {
        byte ^= 0x04;
        journal_.add(LogKind::Note, {}, "file piece " + std::to_string(piece) + " damaged (fault)");
    }
    ++fileTaken_;
    const bool pieceEnds = fileTaken_ % BlockTransfer::kBlockSize == 0 || fileTaken_ == fileLength_;
    if (pieceEnds && piece == faults_.silentAfterBlock) {
        goSilent("display went silent after file piece " + std::to_string(piece) + " (fault)");
        return false;
    }
    return true;
}

void Display::goSilent(const std::string& why) {
    silenced_ = true;
    files_.abort();
    parser_.reset();
    journal_.add(LogKind::Note, {}, why + "; it takes and answers nothing from now on");
}

void Display::tick(SteadyTime now, std::vector<Reply>& out) {
    sinkOut_ = &out;
    sinkAt_ = now;
    parser_.idle(now, sink_);
    blocks_.tick(now, faults_, out);
    parser_.setTransferFrames(blocks_.expectsFrames());
}

std::optional<SteadyTime> Display::deadline() const {
    auto a = parser_.deadline();
    auto b = blocks_.deadline();
    if (a && b)
        return std::min(*a, *b);
    return a ? a : b;
}

void Display::handle(Frame&& frame, SteadyTime at, std::vector<Reply>& out) {
    if (silenced_)
        return; // silenced by a fault while the parser was still at work
    switch (frame.type) {
    case FrameType::Rejected:
        journal_.add(LogKind::Rejected, frame.bytes, frame.reason);
        return;
    case FrameType::TransferFrame:
        blocks_.onFrame(frame, at, faults_, out);
        if (blocks_.takeSilenced())
            goSilent("display silent by a fault");
        parser_.setTransferFrames(blocks_.expectsFrames());
        // A finished transfer may have stored a font or a picture the screen shows.
        if (!blocks_.expectsFrames())
            ++state_.screenGeneration;
        return;
    case FrameType::MakeFile:
        if (!usesNamedTransfer(state_.model)) {
            journal_.add(LogKind::Rejected, frame.bytes, "make file: not taken by this model");
        } else if (auto length = files_.onMakeFile(frame, faults_, out)) {
            fileLength_ = *length;
            fileTaken_ = 0;
            if (*length == 0)
                files_.onData({}, faults_, out);
            else
                parser_.expectData(*length);
        }
        return;
    case FrameType::RawData:
        if (files_.expectsData()) {
            files_.onData(std::move(frame.text), faults_, out);
            ++state_.screenGeneration;
        } else if (takingQrPicture_) {
            journal_.add(LogKind::Received, frame.text.substr(0, 64),
                         "QR picture data, " + std::to_string(frame.text.size()) + " bytes");
            qrPicture_.text = std::move(frame.text);
        }
        return;
    default:
        break;
    }

    std::string note;
    std::vector<Reply> replies;
    const int speedBefore = state_.baudRate;
    // Speed changes take effect after the frame, so the display's own speed is
    // switched only once the frame has been logged.
    if (apply(frame, at, replies, note)) {
        if (showsOnScreen(frame.type)) {
            ++state_.screenGeneration;
            state_.lastCommand = at;
        }
        journal_.add(LogKind::Received, frame.bytes,
                     std::string(frameName(frame.type)) + (note.empty() ? "" : ": " + note));
        for (Reply& reply : replies) {
            const auto& lost = faults_.lostReplies;
            if (std::find(lost.begin(), lost.end(), repliesToFrames_++) == lost.end())
                out.push_back(std::move(reply));
            else
                journal_.add(LogKind::Dropped, reply.bytes, "reply lost (fault)");
        }
    } else {
        journal_.add(LogKind::Rejected, frame.bytes,
                     std::string(frameName(frame.type)) + ": " + note);
    }
    if (state_.baudRate != speedBefore)
        journal_.add(LogKind::Note, {},
                     "display now at " + std::to_string(state_.baudRate) + " baud");
    // The parser still holds the byte that ended a frame: it lets go once it returns.
    if (!faults_.silentAfter.empty() && frame.bytes.starts_with(faults_.silentAfter)) {
        silenced_ = true;
        journal_.add(LogKind::Note, {},
                     "display went silent after " + std::string(frameName(frame.type)) +
                         " (fault); it takes and answers nothing from now on");
    }
    parser_.setTransferFrames(blocks_.expectsFrames());
}

// Checks a frame and acts on it. False (with the reason in note) when the display
// does not accept it.
bool Display::apply(const Frame& frame, SteadyTime at, std::vector<Reply>& out, std::string& note) {
    DeviceSettings& s = state_.settings;
    auto refuse = [&note](const char* why) {
        note = why;
        return false;
    };
    switch (frame.type) {
    case FrameType::Text:
        note = printable(frame.text) + " at column " + std::to_string(state_.cursorColumn) +
               ", row " + std::to_string(state_.cursorRow);
        showText(frame.text);
        return true;
    case FrameType::PosCommand:
        return applyPosSequence(frame.bytes, state_, note);
    case FrameType::Control:
        control(static_cast<unsigned char>(frame.bytes[0]));
        state_.content = MainContent::TextArea;
        return true;
    case FrameType::ClearDisplay:
        clearScreen();
        state_.content = MainContent::TextArea;
        return true;
    case FrameType::CursorTo: {
        const unsigned column = byteAt(frame, 2);
        const unsigned row = byteAt(frame, 3);
        if (column < 1 || column > DisplayState::kColumns || row < 1 || row > DisplayState::kRows)
            return refuse("position out of range");
        state_.cursorColumn = static_cast<int>(column);
        state_.cursorRow = static_cast<int>(row);
        state_.content = MainContent::TextArea;
        note = "column " + std::to_string(column) + ", row " + std::to_string(row);
        return true;
    }
    case FrameType::Brightness: {
        const unsigned step = byteAt(frame, 2);
        if (step < 1 || step > 4)
            return refuse("brightness step out of range");
        state_.brightnessStep = static_cast<int>(step);
        s.back_light = brightnessCodeOfStep(static_cast<int>(step));
        note = "step " + std::to_string(step);
        return true;
    }
    case FrameType::EscCodePage:
    case FrameType::CodePage: {
        const unsigned number = byteAt(frame, 2);
        if (!isKnownCodePage(static_cast<int>(number)))
            return refuse("unknown code page");
        s.Expand_Char_No = static_cast<std::uint8_t>(number);
        note = "code page " + std::to_string(number);
        return true;
    }
    case FrameType::EscInterChar:
    case FrameType::InterChar: {
        const unsigned number = byteAt(frame, 2);
        if (!isKnownInterChar(static_cast<int>(number)))
            return refuse("unknown character set");
        s.Char_No = static_cast<std::uint8_t>(number);
        note = "character set " + std::to_string(number);
        return true;
    }
    case FrameType::Restart:
        restart();
        return true;
    case FrameType::CommandMode: {
        // The host sends the position in its list; the last entry is automatic mode.
        const int index = std::stoi(frame.text);
        if (index > 14)
            return refuse("unknown command mode");
        s.Comm_No = static_cast<std::uint8_t>(index == 14 ? 255 : index);
        return true;
    }
    case FrameType::BaudCode: {
        const int code = std::stoi(frame.text);
        if (baudRateOfCode(code) < 0)
            return refuse("unknown baud rate code");
        if (faults_.keepSpeed)
            return refuse("speed change not taken (fault)");
        s.Baud_Rate = static_cast<std::uint8_t>(code);
        setSpeed(baudRateOfCode(code), "baud rate code");
        return true;
    }
    case FrameType::TransferSetup: {
        if (usesNamedTransfer(state_.model))
            return refuse("not taken by this model");
        const std::uint32_t address = bigEndian(frame, 2, 4);
        const std::uint32_t length = bigEndian(frame, 6, 4);
        if (!blocks_.setUp(address, length))
            return refuse("file too long");
        note = std::to_string(length) + " bytes";
        echo(frame, out);
        return true;
    }
    case FrameType::LinkBaudRate: {
        const std::uint32_t rate = bigEndian(frame, 3, 4);
        if (!isLineSpeed(rate))
            return refuse("unsupported line speed");
        note = std::to_string(rate);
        setSpeed(static_cast<int>(rate), "link baud rate");
        return true;
    }
    case FrameType::FormatStorage:
        storage_.format();
        return true;
    case FrameType::HeaderMode:
        s.tp_mode = static_cast<std::uint8_t>(byteAt(frame, 2));
        echo(frame, out);
        return true;
    case FrameType::TextColor:
    case FrameType::BackgroundColor: {
        const std::uint16_t colour = rgb565(static_cast<std::uint8_t>(byteAt(frame, 3)),
                                            static_cast<std::uint8_t>(byteAt(frame, 4)),
                                            static_cast<std::uint8_t>(byteAt(frame, 5)));
        switch (byteAt(frame, 2)) {
        case 0x0B:
            s.tp_font_rgb = colour;
            break;
        case 0x0C:
            s.tp_back_rgb = colour;
            break;
        case 0x0E:
            s.font_Foreground_color = colour;
            break;
        case 0x0F:
            s.font_Background_color = colour;
            break;
        case 0x10:
            s.bm_font_rgb = colour;
            break;
        case 0x11:
            s.bm_back_rgb = colour;
            break;
        }
        note = "RGB565 " + std::to_string(colour);
        echo(frame, out);
        return true;
    }
    case FrameType::MainTextLines: {
        const unsigned mode = byteAt(frame, 3);
        if (mode != 1 && mode != 2)
            return refuse("line mode out of range");
        s.line_mode = static_cast<std::uint8_t>(mode);
        echo(frame, out);
        return true;
    }
    case FrameType::FactoryReset:
        s = DeviceSettings{};
        state_.brightnessStep = 2;
        state_.content = MainContent::MainText;
        setSpeed(baudRateOfCode(s.Baud_Rate), "factory reset");
        return true;
    case FrameType::ModelQuery:
        out.push_back(
            {faults_.modelReply ? *faults_.modelReply : Bytes(modelName(state_.model)) + '\0',
             ReplyKind::Answer});
        return true;
    case FrameType::VersionQuery:
        out.push_back({faults_.versionReply ? *faults_.versionReply : versionBytes(state_.version),
                       ReplyKind::Answer});
        return true;
    case FrameType::ConfigQuery:
        out.push_back({faults_.settingsReply ? *faults_.settingsReply : settingsText(s) + '\0',
                       ReplyKind::Answer});
        return true;
    case FrameType::WelcomeLine1:
        s.wel_mess1 = frame.text;
        note = printable(frame.text);
        return true;
    case FrameType::WelcomeLine2:
        s.wel_mess2 = frame.text;
        note = printable(frame.text);
        return true;
    case FrameType::ScrollFlags:
        s.temp2 = static_cast<std::uint8_t>(byteAt(frame, 4));
        return true;
    case FrameType::MainText:
        s.main_str = frame.text;
        note = printable(frame.text);
        return true;
    case FrameType::QrImageStart: {
        if (drawsQrCodes(state_.model))
            return refuse("this model draws QR codes itself");
        const unsigned alignment = byteAt(frame, 3);
        if (alignment < 1 || alignment > 3 || byteAt(frame, 4) != 0)
            return refuse("bad alignment");
        qrPicture_ = QrRequest{static_cast<int>(alignment), 0, {}, true};
        takingQrPicture_ = true;
        parser_.expectData(kQrPictureBytes);
        return true;
    }
    case FrameType::QrImageEnd:
        if (!takingQrPicture_ || qrPicture_.text.size() != kQrPictureBytes)
            return refuse("no QR picture taken");
        takingQrPicture_ = false;
        state_.content = MainContent::QrCode;
        state_.qrCodes.push_back(std::move(qrPicture_));
        qrPicture_ = {};
        return true;
    case FrameType::ShowPicture: {
        const unsigned picture = byteAt(frame, 3);
        if (picture < 1 || picture > 10)
            return refuse("picture number out of range");
        state_.shownPicture = static_cast<int>(picture);
        state_.content = MainContent::Picture;
        note = "picture " + std::to_string(picture);
        return true;
    }
    case FrameType::PlayInterval: {
        const unsigned seconds = byteAt(frame, 3);
        if (seconds < 1 || seconds > 10)
            return refuse("play interval out of range");
        s.lun_time = static_cast<std::uint8_t>(seconds);
        return true;
    }
    case FrameType::StandbyTime: {
        const unsigned seconds = byteAt(frame, 3);
        if (seconds > 120)
            return refuse("standby time out of range");
        s.into_lun_bo = static_cast<std::uint8_t>(seconds);
        return true;
    }
    case FrameType::QrCode:
    case FrameType::QrCodeAt: {
        if (!drawsQrCodes(state_.model))
            return refuse("this model takes QR codes as pictures");
        const unsigned alignment = byteAt(frame, 3);
        const unsigned second = byteAt(frame, 4);
        if (alignment < 1 || alignment > 3)
            return refuse("bad alignment");
        const bool onPicture = frame.type == FrameType::QrCodeAt;
        if (onPicture ? (second < 1 || second > 10) : second != 0)
            return refuse(onPicture ? "picture number out of range" : "bad second byte");
        state_.qrCodes.push_back(QrRequest{static_cast<int>(alignment),
                                           onPicture ? static_cast<int>(second) : 0, frame.text,
                                           false});
        state_.content = MainContent::QrCode;
        note = printable(frame.text);
        return true;
    }
    case FrameType::DownloadStart:
        if (!blocks_.isSetUp())
            return refuse("no transfer set up");
        blocks_.start(at, faults_, out);
        return true;
    case FrameType::PictureSelection:
        s.pic_reg = static_cast<std::uint16_t>(bigEndian(frame, 3, 2));
        return true;
    case FrameType::FirmwareWakeUp:
        if (!usesFirmwareWakeUp(state_.model))
            return refuse("not taken by this model");
        blocks_.awaitAnnounce();
        out.push_back({"A", ReplyKind::Transfer});
        return true;
    case FrameType::TransferFrame:
    case FrameType::MakeFile:
    case FrameType::RawData:
    case FrameType::Rejected:
        break;
    }
    return refuse("not handled");
}

void Display::echo(const Frame& frame, std::vector<Reply>& out) {
    out.push_back({distortEcho(frame.bytes, faults_), ReplyKind::Echo});
}

void Display::clearScreen() {
    for (Bytes& row : state_.screen)
        row.assign(DisplayState::kColumns, ' ');
    state_.cursorColumn = 1;
    state_.cursorRow = 1;
}

void Display::showText(const Bytes& text) {
    state_.content = MainContent::TextArea;
    putText(state_, text);
}

void Display::control(unsigned char byte) {
    switch (byte) {
    case 0x08:
        state_.cursorColumn = std::max(1, state_.cursorColumn - 1);
        break;
    case 0x09:
        state_.cursorColumn = std::min(DisplayState::kColumns, state_.cursorColumn + 1);
        break;
    case 0x0A:
        lineFeed(state_);
        break;
    case 0x0B:
        state_.cursorColumn = 1;
        state_.cursorRow = 1;
        break;
    case 0x0D:
        state_.cursorColumn = 1;
        break;
    }
}

void Display::restart() {
    ++state_.restarts;
    clearScreen();
    blocks_.abort("display restarted");
    files_.abort();
    takingQrPicture_ = false;
    parser_.reset();
    state_.shownPicture = 0;
    state_.content = MainContent::MainText;
    state_.writeMode = WriteMode::Overwrite;
    state_.autoCommandSet = -1;
    // A restart forgets a temporary link speed and comes up at the stored one.
    setSpeed(baudRateOfCode(state_.settings.Baud_Rate), "restart");
}

void Display::setSpeed(int baudRate, const std::string&) {
    if (baudRate > 0)
        state_.baudRate = baudRate;
}

} // namespace tavisto::sim
