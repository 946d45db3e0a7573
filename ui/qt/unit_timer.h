// A timer unit. The rolling display's 10 ms ticks come once a frame, as many as have
// fallen due since the last frame: a screen shows a frame at most every 16 ms, the
// names change faster than anyone reads them either way, and every wake-up and paint
// of the window costs the process time (Qt on X spends about 1 % of a core on a 100 Hz
// timer alone). The ticks a roll counts, and so which student it settles on, stay
// those of the interval.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace tallyra::ui::qt {

class UnitTimer : public QObject {
public:
    UnitTimer(std::function<void()> onTick, QObject* parent);

    // milliseconds <= 0 stops the timer; starting again starts a new count.
    void start(int milliseconds);
    void stop();
    bool isActive() const { return timer_.isActive(); }

    // About thirty frames a second.
    static constexpr int kFrameMilliseconds = 33;
    // After a stall (a suspended machine), the ticks beyond half a second's are dropped,
    // as a Windows timer drops the ticks it could not deliver.
    static constexpr qint64 kMostTicksAtOnce = 50;

private:
    void fire();

    std::function<void()> onTick_;
    QTimer timer_;
    QElapsedTimer clock_;
    int interval_ = 0;
    qint64 delivered_ = 0; // ticks counted since start
    unsigned starts_ = 0;  // tells a tick handler that restarted the timer
};

} // namespace tallyra::ui::qt
