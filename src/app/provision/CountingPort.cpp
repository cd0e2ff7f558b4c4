#include "app/provision/CountingPort.h"

namespace tavisto::provision {

namespace {

class CountingPort final : public link::SerialPort {
public:
    CountingPort(link::PortHandle inner, std::atomic<std::uint64_t>& written)
        : inner_(std::move(inner)), written_(written) {}

    bool write(const Bytes& data, std::string& message) override {
        const bool ok = inner_->write(data, message);
        if (ok)
            written_ += data.size();
        return ok;
    }
    bool read(Bytes& out, std::string& message) override { return inner_->read(out, message); }
    bool setBaudRate(int baudRate) override { return inner_->setBaudRate(baudRate); }
    bool waitForInput(Millis timeout) override { return inner_->waitForInput(timeout); }
    void purgeInput() override { inner_->purgeInput(); }
    // The transfer engine tells a line that went away, or one that stopped taking
    // bytes, from a display's wrong answer by these two.
    std::optional<std::size_t> outputPending() override { return inner_->outputPending(); }
    bool hungUp() override { return inner_->hungUp(); }

private:
    link::PortHandle inner_;
    std::atomic<std::uint64_t>& written_;
};

} // namespace

int CountingOpener::open(const std::string& name, int baudRate, link::PortHandle& port) {
    link::PortHandle inner;
    const int code = inner_.open(name, baudRate, inner);
    if (code == link::kOpenOk)
        port = std::make_unique<CountingPort>(std::move(inner), written_);
    return code;
}

} // namespace tavisto::provision
