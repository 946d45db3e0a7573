#include "ui/qt/unit_timer.h"

#include <algorithm>
#include <utility>

namespace tallyra::ui::qt {

UnitTimer::UnitTimer(std::function<void()> onTick, QObject* parent) : QObject(parent), onTick_(std::move(onTick)) {
    connect(&timer_, &QTimer::timeout, this, &UnitTimer::fire);
}

void UnitTimer::start(int milliseconds) {
    if (milliseconds <= 0) {
        stop();
        return;
    }
    ++starts_;
    interval_ = milliseconds;
    delivered_ = 0;
    clock_.start();
    // A precise timer: a coarse one may fire early and find no tick due.
    timer_.setTimerType(milliseconds < kFrameMilliseconds ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer_.start(std::max(milliseconds, kFrameMilliseconds));
}

void UnitTimer::stop() {
    ++starts_;
    timer_.stop();
}

void UnitTimer::fire() {
    qint64 due = 1;
    if (interval_ < kFrameMilliseconds) {
        const qint64 reached = clock_.elapsed() / interval_;
        due = std::min(reached - delivered_, kMostTicksAtOnce);
        delivered_ = reached;
    }
    // A tick's handler may stop or restart the timer: the ticks of the old count end there.
    const unsigned start = starts_;
    for (qint64 i = 0; i < due && starts_ == start; ++i)
        onTick_();
}

} // namespace tallyra::ui::qt
