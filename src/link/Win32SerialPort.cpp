#include "link/Win32SerialPort.h"

#include "link/Win32Text.h"

#include <vector>

// clang-format off
#include <windows.h>
#include <mmsystem.h> // timeBeginPeriod, timeEndPeriod (winmm); needs windows.h first
// clang-format on

namespace tavisto::link {

namespace {

constexpr const char* kReadFailed = "Failed to read data";
constexpr DWORD kQueueSize = 4096;
// How long a cancelled operation may take to come back from the driver before the
// port is given up as dead.
constexpr DWORD kCancelLimit = 1000;
// How long the close gives a dead port's driver to hand back what it still holds.
constexpr DWORD kCloseGrace = 250;
// What the close allows beyond the wire time of the bytes still to go.
constexpr ULONGLONG kDrainMargin = 500;
// The error later operations on a dead port report.
constexpr DWORD kDeadError = ERROR_DEVICE_NOT_CONNECTED;

HANDLE h(void* handle) {
    return static_cast<HANDLE>(handle);
}

// Milliseconds `bytes` take on an 8N1 line (ten bits a byte) at `baudRate`, rounded up.
ULONGLONG wireMs(ULONGLONG bytes, int baudRate) {
    const ULONGLONG rate = baudRate > 0 ? static_cast<ULONGLONG>(baudRate) : 1;
    return (bytes * 10 * 1000 + rate - 1) / rate;
}

// Raw binary 8N1, as the POSIX side's termios settings: no character is special (the
// protocol is binary) and nothing a previous program left on the port changes the
// bytes or stops the line. Hardware (RTS/CTS) flow control stays as the driver has it,
// as POSIX leaves CRTSCTS; DTR and RTS are raised, as a POSIX open raises them.
void makeRaw(DCB& dcb) {
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;          // no end-of-file character
    dcb.fParity = FALSE;         // no parity checking (INPCK off)
    dcb.fErrorChar = FALSE;      // bytes with errors are not replaced (PARMRK off)
    dcb.fNull = FALSE;           // zero bytes are kept
    dcb.fOutX = FALSE;           // XOFF from the display does not stop output (IXON off)
    dcb.fInX = FALSE;            // no XON/XOFF sent to the display (IXOFF off)
    dcb.fDsrSensitivity = FALSE; // bytes are taken whatever DSR says
    dcb.fOutxDsrFlow = FALSE;    // DSR does not hold output: termios has no DSR flow control
    dcb.fDtrControl = DTR_CONTROL_ENABLE; // DTR on and no DTR handshake
    if (dcb.fRtsControl == RTS_CONTROL_DISABLE)
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE; // a line error does not fail every read and write
    // Drivers refuse a control block whose XON and XOFF characters are the same.
    if (dcb.XonChar == dcb.XoffChar) {
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
    }
}

// Applies raw 8N1 at the given speed. When the driver refuses the speed, the rest is
// applied at the speed the line had, as tcsetattr keeps the flags when the speed is
// not supported. `speed` is the speed the line runs at afterwards.
bool applyLineSettings(HANDLE port, int baudRate, int& speed) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return false;
    const DWORD had = dcb.BaudRate;
    makeRaw(dcb);
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    bool applied = SetCommState(port, &dcb) != 0;
    if (!applied) {
        dcb.BaudRate = had;
        SetCommState(port, &dcb);
    }
    DCB now{};
    now.DCBlength = sizeof now;
    speed = static_cast<int>(GetCommState(port, &now) ? now.BaudRate : dcb.BaudRate);
    return applied;
}

// The errors ClearCommError gives once the device is gone: an unplugged USB adapter
// (access denied, bad command, general failure, not connected, removed) or, under
// wine, a line whose other end closed (not ready).
bool lineGoneError(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_NOT_READY:
        return true;
    default:
        return false;
    }
}

HANDLE openDevice(const std::string& name) {
    const std::wstring path = win32::WideFromUtf8(devicePath(name));
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

// The OVERLAPPED, event and buffer of one kind of operation (writes, reads). They stay
// at one address for the port's life; once the driver has failed to hand one back
// after a cancel, it is never freed (see ~Win32SerialPort).
struct Win32SerialPort::Io {
    Io() : done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Io() {
        if (done != nullptr)
            CloseHandle(done);
    }
    Io(const Io&) = delete;
    Io& operator=(const Io&) = delete;

    // A fresh OVERLAPPED on the reset event, for the next operation.
    OVERLAPPED* start() {
        overlapped = OVERLAPPED{};
        overlapped.hEvent = done;
        ResetEvent(done);
        return &overlapped;
    }

    OVERLAPPED overlapped{};
    HANDLE done; // manual-reset event the driver sets on completion
    std::vector<char> buffer;
    bool withDriver = false; // cancelled, never completed: the driver may still write
};

std::string devicePath(const std::string& name) {
    if (name.starts_with("\\\\.\\") || name.starts_with("\\\\?\\"))
        return name;
    return "\\\\.\\" + name;
}

unsigned long probePortOpen(const std::string& name) {
    HANDLE handle = openDevice(name);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(handle);
    return ERROR_SUCCESS;
}

Win32SerialPort::Win32SerialPort(void* handle, int baudRate)
    : handle_(handle), write_(std::make_unique<Io>()), read_(std::make_unique<Io>()),
      baudRate_(baudRate) {
    read_->buffer.resize(kReadChunk);
    // waitForInput sleeps a millisecond at a time; at the default timer resolution a
    // sleep lasts 15.6 ms. The finer resolution is held only while a port is open.
    timerPeriodSet_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

Win32SerialPort::~Win32SerialPort() {
    // Nothing is purged: bytes still on their way (the end of a one-shot frame in a
    // USB adapter, say) are let go first, as a POSIX close drains the line.
    if (!dead_)
        drainOutput();
    CloseHandle(h(handle_));
    // Closing the handle makes the driver give back what it still holds. What it does
    // not give back within the grace is left to it: the OVERLAPPED, event and buffer
    // are leaked on purpose, since freeing them would let the driver write into memory
    // that has another use by then.
    for (std::unique_ptr<Io>* io : {&write_, &read_}) {
        if ((*io)->withDriver && WaitForSingleObject((*io)->done, kCloseGrace) != WAIT_OBJECT_0)
            (void)io->release();
    }
    if (timerPeriodSet_)
        timeEndPeriod(1);
}

bool Win32SerialPort::usable() const {
    return write_->done != nullptr && read_->done != nullptr;
}

// Waits for an overlapped operation until `limit` ms have passed; then cancels it and
// waits up to kCancelLimit for the cancellation to land. A driver that lets that pass
// too keeps the operation: the port is dead from then on. Returns the completion's
// result; `error` is set when it failed.
bool Win32SerialPort::finish(Io& io, unsigned long limit, unsigned long& transferred,
                             unsigned long& error, bool& timedOut) {
    timedOut = false;
    if (WaitForSingleObject(io.done, limit) != WAIT_OBJECT_0) {
        timedOut = true;
        CancelIoEx(h(handle_), &io.overlapped);
        if (WaitForSingleObject(io.done, kCancelLimit) != WAIT_OBJECT_0) {
            io.withDriver = true;
            dead_ = true;
            error = ERROR_TIMEOUT;
            return false;
        }
    }
    // Completed (or cancelled): the result is there, nothing to wait for.
    DWORD got = 0;
    if (GetOverlappedResult(h(handle_), &io.overlapped, &got, FALSE)) {
        transferred = got;
        return true;
    }
    transferred = got;
    error = GetLastError();
    return false;
}

// Waits until the driver's output queue is empty and the bytes written have had
// their time on the wire at the line's speed, for at most the wire time of what is
// queued (or of what was written, when that ends later) plus kDrainMargin: a line
// held by flow control or a display that stopped reading does not hold the close.
void Win32SerialPort::drainOutput() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(h(handle_), &errors, &status))
        return; // the line is gone: nothing more will leave
    const ULONGLONG start = GetTickCount64();
    const ULONGLONG wireClear = wireClearAt_;
    const ULONGLONG queued = start + wireMs(status.cbOutQue, baudRate_);
    const ULONGLONG end = (queued > wireClear ? queued : wireClear) + kDrainMargin;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if ((status.cbOutQue == 0 && now >= wireClear) || now >= end)
            return;
        const ULONGLONG until = status.cbOutQue == 0 && wireClear < end ? wireClear : end;
        Sleep(static_cast<DWORD>(until - now < 5 ? until - now : 5));
        if (!ClearCommError(h(handle_), &errors, &status))
            return;
    }
}

bool Win32SerialPort::write(const Bytes& data, std::string& message) {
    if (dead_) {
        message = "1: " + std::to_string(kDeadError);
        return false;
    }
    // The time-outs set at open give the driver the same limit; waiting on our own as
    // well means a driver that ignores them cannot hang the program.
    const DWORD limit = 1000 + 100 * static_cast<DWORD>(data.size());
    // The driver reads the bytes from the port's own buffer, which stays put even if
    // the driver never hands the write back.
    Io& io = *write_;
    io.buffer.assign(data.begin(), data.end());
    const ULONGLONG start = GetTickCount64();
    if (!WriteFile(h(handle_), io.buffer.data(), static_cast<DWORD>(io.buffer.size()), nullptr,
                   io.start())) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) {
            message = "1: " + std::to_string(error);
            return false;
        }
    }
    DWORD transferred = 0;
    DWORD error = 0;
    bool timedOut = false;
    const bool completed = finish(io, limit, transferred, error, timedOut);
    // The last byte is on the wire one wire time after the line is free to take it.
    const ULONGLONG lineFree = wireClearAt_ > start ? wireClearAt_.load() : start;
    wireClearAt_ = lineFree + wireMs(transferred, baudRate_);
    // A write that did not wholly get through (the driver's time-out cut it short or
    // failed it, or it was cancelled here): what the driver still holds is part of a
    // frame the display will never complete, so it goes, as the POSIX side flushes it
    // at its deadline; nor does the close wait for it.
    const bool whole = completed && transferred >= data.size();
    if (!whole && !dead_) {
        PurgeComm(h(handle_), PURGE_TXCLEAR);
        wireClearAt_ = GetTickCount64();
    }
    if (!completed) {
        message = "3: " + std::to_string(timedOut ? ERROR_TIMEOUT : error);
        return false;
    }
    if (transferred < data.size()) {
        message = "3: " + std::to_string(ERROR_TIMEOUT);
        return false;
    }
    message = "OK";
    return true;
}

bool Win32SerialPort::read(Bytes& out, std::string& message) {
    message = kReadFailed;
    out.clear();
    if (dead_)
        return false;
    SetCommMask(h(handle_), EV_RXCHAR);
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(h(handle_), &errors, &status) || status.cbInQue == 0)
        return false;
    const DWORD wanted = status.cbInQue < kReadChunk ? status.cbInQue : DWORD(kReadChunk);
    Io& io = *read_;
    if (!ReadFile(h(handle_), io.buffer.data(), wanted, nullptr, io.start()) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    // The read time-outs make the read return at once with what is there.
    DWORD got = 0;
    DWORD error = 0;
    bool timedOut = false;
    if (!finish(io, 1000, got, error, timedOut) || got == 0)
        return false;
    out.assign(io.buffer.data(), got);
    message = "OK";
    return true;
}

bool Win32SerialPort::setBaudRate(int baudRate) {
    if (dead_)
        return false;
    int speed = baudRate_;
    const bool applied = applyLineSettings(h(handle_), baudRate, speed);
    baudRate_ = speed;
    return applied;
}

bool Win32SerialPort::waitForInput(Millis timeout) {
    // A dead port has nothing to wait for: a read fails at once, as on a hung-up line.
    if (dead_)
        return true;
    // The queue is looked at every millisecond (the timer resolution is 1 ms while the
    // port is open). A pending WaitCommEvent would have to be cancelled from here when
    // the time is up, which not every driver does promptly, and a read on another
    // thread resets the event mask, which ends it; under wine it does not wait at all
    // on a line without modem status (a pseudo-terminal).
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
    for (;;) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(h(handle_), &errors, &status) || status.cbInQue > 0)
            return true; // data, or a line error a read reports at once
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        Sleep(1);
    }
}

void Win32SerialPort::purgeInput() {
    if (!dead_)
        PurgeComm(h(handle_), PURGE_RXCLEAR);
}

std::optional<std::size_t> Win32SerialPort::outputPending() {
    if (dead_)
        return std::nullopt;
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(h(handle_), &errors, &status))
        return std::nullopt;
    return static_cast<std::size_t>(status.cbOutQue);
}

bool Win32SerialPort::hungUp() {
    if (dead_)
        return true;
    DWORD errors = 0;
    COMSTAT status{};
    if (ClearCommError(h(handle_), &errors, &status))
        return false;
    return lineGoneError(GetLastError());
}

int Win32PortOpener::open(const std::string& name, int baudRate, PortHandle& port) {
    if (name.empty())
        return kOpenFailed;
    HANDLE handle = openDevice(name);
    if (handle == INVALID_HANDLE_VALUE)
        return kOpenFailed; // WithPortOpenHint says why (missing, in use)
    if (!SetupComm(handle, kQueueSize, kQueueSize)) {
        CloseHandle(handle);
        return kOpenSetupFailed;
    }
    // As on POSIX, the result of applying the line settings is not checked: an
    // unusual speed leaves the port open at the speed it had (in raw 8N1 all the same).
    int speed = baudRate;
    applyLineSettings(handle, baudRate, speed);
    COMMTIMEOUTS timeouts{};
    GetCommTimeouts(handle, &timeouts);
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 100;
    timeouts.WriteTotalTimeoutConstant = 1000;
    SetCommTimeouts(handle, &timeouts);
    SetCommMask(handle, EV_RXCHAR);
    auto opened = std::make_unique<Win32SerialPort>(handle, speed);
    if (!opened->usable())
        return kOpenNoEvent; // the port closes again with `opened`
    port = std::move(opened);
    return kOpenOk;
}

PortOpener& win32PortOpener() {
    static Win32PortOpener opener;
    return opener;
}

PortOpener& systemPortOpener() {
    return win32PortOpener();
}

} // namespace tavisto::link
