#include "link/Trace.h"

#include <algorithm>
#include <iostream>

namespace tavisto {

Trace::Subscription& Trace::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        trace_ = std::exchange(other.trace_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void Trace::Subscription::reset() {
    if (trace_)
        trace_->unsubscribe(id_);
    trace_ = nullptr;
    id_ = 0;
}

void Trace::setSink(Sink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

Trace::Subscription Trace::subscribe(Observer observer) {
    std::lock_guard lock(mutex_);
    observers_.emplace_back(++lastId_, std::move(observer));
    return Subscription(this, lastId_);
}

void Trace::unsubscribe(int id) {
    std::lock_guard lock(mutex_);
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

bool Trace::enabled() const {
    std::lock_guard lock(mutex_);
    return sink_ || !observers_.empty();
}

void Trace::TraceLine(const std::string& text) {
    if (text.empty())
        return;
    std::lock_guard lock(mutex_);
    if (sink_)
        sink_(text);
    if (observers_.empty())
        return;
    const TraceEntry entry{std::chrono::system_clock::now(), text};
    for (const auto& [id, observer] : observers_)
        observer(entry);
}

Trace::Sink Trace::toStandardError() {
    return [](const std::string& line) {
        std::cerr << line << '\n' << std::flush;
    };
}

} // namespace tavisto
