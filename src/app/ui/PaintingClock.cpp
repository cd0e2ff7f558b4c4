#include "app/ui/PaintingClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <algorithm>

namespace tavisto::ui {

namespace {

bool onWindowThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

void TPaintingClock::paintPending() {
    // Layout first: a status text that grew changes what is painted.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void TPaintingClock::sleep(Millis duration) {
    if (!onWindowThread()) {
        inner_.sleep(duration);
        return;
    }
    paintPending();
    if (!realTime_) {
        inner_.sleep(duration);
        paintPending();
        return;
    }
    while (duration.count() > 0) {
        const Millis slice = std::min(duration, kPaintSlice);
        inner_.sleep(slice);
        duration -= slice;
        paintPending();
    }
}

} // namespace tavisto::ui
