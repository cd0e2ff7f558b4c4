#include "link/Win32SerialPort.h"

#include "link/Win32Text.h"

#include <windows.h>

namespace tavisto::link {

namespace {

constexpr const char* kReadFailed = "Failed to read data";
constexpr DWORD kQueueSize = 4096;

HANDLE h(void* handle) {
    return static_cast<HANDLE>(handle);
}

// 8N1 at the given speed; every other field of the device control block (flow
// control included) stays as the driver reports it.
bool applyLineSettings(HANDLE port, int baudRate) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return false;
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    return SetCommState(port, &dcb) != 0;
}

// Waits for an overlapped operation until `limit` ms have passed; then cancels it and
// waits for the cancellation to land, so the driver never writes into a buffer that
// has gone. Returns the completion's result; `error` is set when it failed.
bool finishOverlapped(HANDLE port, OVERLAPPED& overlapped, DWORD limit, DWORD& transferred,
                      DWORD& error, bool& timedOut) {
    timedOut = false;
    if (WaitForSingleObject(overlapped.hEvent, limit) != WAIT_OBJECT_0) {
        timedOut = true;
        CancelIoEx(port, &overlapped);
    }
    if (GetOverlappedResult(port, &overlapped, &transferred, TRUE))
        return true;
    error = GetLastError();
    return false;
}

} // namespace

std::string devicePath(const std::string& name) {
    if (name.starts_with("\\\\.\\") || name.starts_with("\\\\?\\"))
        return name;
    return "\\\\.\\" + name;
}

Win32SerialPort::Win32SerialPort(void* handle)
    : handle_(handle), writeDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      readDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32SerialPort::~Win32SerialPort() {
    PurgeComm(h(handle_), PURGE_RXABORT | PURGE_TXABORT | PURGE_RXCLEAR | PURGE_TXCLEAR);
    CloseHandle(h(handle_));
    if (writeDone_ != nullptr)
        CloseHandle(h(writeDone_));
    if (readDone_ != nullptr)
        CloseHandle(h(readDone_));
}

bool Win32SerialPort::write(const Bytes& data, std::string& message) {
    // The time-outs set at open give the driver the same limit; waiting on our own as
    // well means a driver that ignores them cannot hang the program.
    const DWORD limit = 1000 + 100 * static_cast<DWORD>(data.size());
    OVERLAPPED overlapped{};
    overlapped.hEvent = h(writeDone_);
    ResetEvent(overlapped.hEvent);
    DWORD transferred = 0;
    if (!WriteFile(h(handle_), data.data(), static_cast<DWORD>(data.size()), nullptr,
                   &overlapped)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) {
            message = "1: " + std::to_string(error);
            return false;
        }
    }
    DWORD error = 0;
    bool timedOut = false;
    if (!finishOverlapped(h(handle_), overlapped, limit, transferred, error, timedOut)) {
        message = "3: " + std::to_string(timedOut ? ERROR_TIMEOUT : error);
        return false;
    }
    // A write time-out in the driver completes the write with fewer bytes taken.
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
    SetCommMask(h(handle_), EV_RXCHAR);
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(h(handle_), &errors, &status) || status.cbInQue == 0)
        return false;
    const DWORD wanted = status.cbInQue < kReadChunk ? status.cbInQue : DWORD(kReadChunk);
    char buffer[kReadChunk];
    OVERLAPPED overlapped{};
    overlapped.hEvent = h(readDone_);
    ResetEvent(overlapped.hEvent);
    DWORD got = 0;
    if (!ReadFile(h(handle_), buffer, wanted, nullptr, &overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    // The read time-outs make the read return at once with what is there.
    DWORD error = 0;
    bool timedOut = false;
    if (!finishOverlapped(h(handle_), overlapped, 1000, got, error, timedOut) || got == 0)
        return false;
    out.assign(buffer, got);
    message = "OK";
    return true;
}

bool Win32SerialPort::setBaudRate(int baudRate) {
    return applyLineSettings(h(handle_), baudRate);
}

bool Win32SerialPort::waitForInput(Millis timeout) {
    // The queue is looked at every few milliseconds; a pending WaitCommEvent would
    // have to be cancelled from here when the time is up, which not every driver
    // does promptly.
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
    for (;;) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(h(handle_), &errors, &status) || status.cbInQue > 0)
            return true; // data, or a line error a read reports at once
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        Sleep(static_cast<DWORD>(end - now < 5 ? end - now : 5));
    }
}

void Win32SerialPort::purgeInput() {
    PurgeComm(h(handle_), PURGE_RXCLEAR);
}

int Win32PortOpener::open(const std::string& name, int baudRate, PortHandle& port) {
    if (name.empty())
        return kOpenFailed;
    const std::wstring path = win32::WideFromUtf8(devicePath(name));
    HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return kOpenFailed;
    if (!SetupComm(handle, kQueueSize, kQueueSize)) {
        CloseHandle(handle);
        return kOpenSetupFailed;
    }
    // As on POSIX, the result of applying the line settings is not checked: an
    // unusual speed leaves the port open at the speed it had.
    applyLineSettings(handle, baudRate);
    COMMTIMEOUTS timeouts{};
    GetCommTimeouts(handle, &timeouts);
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 100;
    timeouts.WriteTotalTimeoutConstant = 1000;
    SetCommTimeouts(handle, &timeouts);
    SetCommMask(handle, EV_RXCHAR);
    port = std::make_unique<Win32SerialPort>(handle);
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
