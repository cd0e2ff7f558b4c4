#include "link/Trace.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>

namespace tavisto {

void Trace::setSink(Sink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

bool Trace::enabled() const {
    std::lock_guard lock(mutex_);
    return static_cast<bool>(sink_);
}

void Trace::TraceLine(const std::string& text) {
    if (text.empty())
        return;
    std::lock_guard lock(mutex_);
    if (sink_)
        sink_(text);
}

Trace::Sink Trace::toStandardError() {
    return [](const std::string& line) {
        std::cerr << line << '\n' << std::flush;
    };
}

Trace::Sink Trace::toFile(const std::string& path) {
    auto stream = std::make_shared<std::ofstream>(path, std::ios::app);
    return [stream](const std::string& line) {
        *stream << line << '\n' << std::flush;
    };
}

} // namespace tavisto
