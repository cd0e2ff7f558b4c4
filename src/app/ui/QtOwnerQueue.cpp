#include "app/ui/QtOwnerQueue.h"

#include <QMetaObject>
#include <QTimer>

namespace tavisto {

namespace {

class QtOwnerTimer final : public TOwnerTimer {
public:
    explicit QtOwnerTimer(std::function<void()> onTick) {
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
    }
    void start(Millis interval) override { timer_.start(interval); }
    void stop() override { timer_.stop(); }
    bool enabled() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

QtOwnerQueue::QtOwnerQueue() : context_(new QObject) {}

QtOwnerQueue::~QtOwnerQueue() {
    delete context_;
}

void QtOwnerQueue::post(std::function<void()> task) {
    QMetaObject::invokeMethod(context_, std::move(task), Qt::QueuedConnection);
}

std::unique_ptr<TOwnerTimer> QtOwnerQueue::makeTimer(std::function<void()> onTick) {
    return std::make_unique<QtOwnerTimer>(std::move(onTick));
}

} // namespace tavisto
