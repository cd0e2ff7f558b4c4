#include "link/Connection.h"

#include <cerrno>

namespace tavisto {

TConnection::TConnection(link::PortOpener& opener, Clock& clock)
    : opener_(&opener), clock_(&clock) {}

TConnection::TConnection() : TConnection(link::systemPortOpener(), systemClock()) {}

std::string OpenCodeText(int code, std::uint16_t langId) {
    const bool chinese = langId == kLangChinese;
    switch (code) {
    case 0:
        return chinese ? "此串口已经打开" : "This serial port already opened";
    case 1:
        return "OK";
    case 2:
        return chinese ? "打开串口出错，此串口不存在或被占用" : "Error opening serial port";
    case 3:
        return chinese ? "初始化缓冲区出错" : "Cannot setup comm buffer";
    case 4:
        return chinese ? "无法创建事件" : "Unable to create event";
    default:
        return (chinese ? " 未知错误 " : " Unknown Error ") + std::to_string(code);
    }
}

std::string OpenCodeMessage(int code, std::uint16_t langId) {
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on " " + string.
    std::string message = " ";
    message += OpenCodeText(code, langId);
    message += '!';
    return message;
}

int OpenPort(TConnection& connection, link::PortHandle& handle, const std::string& name,
             int baudRate) {
    if (handle)
        return link::kOpenAlreadyOpen;
    return connection.opener().open(name, baudRate, handle);
}

namespace {

int openHandle(TConnection& connection, link::PortHandle& handle, const std::string& name,
               int baudRate, std::string& message) {
    if (name.empty()) {
        message = OpenCodeMessage(link::kOpenFailed, connection.SystemLangId);
        return 2;
    }
    int code = OpenPort(connection, handle, name, baudRate);
    if (code != link::kOpenOk) {
        message = OpenCodeMessage(code, connection.SystemLangId);
        return 3;
    }
    message = "OK";
    return 1;
}

} // namespace

int OpenOneShotPort(TConnection& connection, const std::string& name, int baudRate,
                    std::string& message) {
    return openHandle(connection, connection.OneShotPort, name, baudRate, message);
}

void CloseOneShotPort(TConnection& connection) {
    connection.OneShotPort.reset();
}

int LcdOpenSession(TConnection& connection, const std::string& name, int baudRate,
                   std::string& message) {
    return openHandle(connection, connection.SessionPort, name, baudRate, message);
}

void LcdCloseSession(TConnection& connection) {
    connection.SessionPort.reset();
}

void SetPortBaudRate(link::PortHandle& handle, int baudRate) {
    if (handle)
        handle->setBaudRate(baudRate);
}

bool WritePort(link::PortHandle& handle, const Bytes& data, std::string& message) {
    if (!handle) {
        message = "1: " + std::to_string(EBADF);
        return false;
    }
    return handle->write(data, message);
}

bool WritePort(link::PortHandle& handle, const Bytes& first, const Bytes& second,
               std::string& message) {
    return WritePort(handle, first + second, message);
}

bool ReadPort(link::PortHandle& handle, Bytes& data, std::string& message) {
    data.clear();
    message = "Failed to read data";
    if (!handle)
        return false;
    return handle->read(data, message);
}

} // namespace tavisto
