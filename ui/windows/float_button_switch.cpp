#include "ui/windows/float_button_switch.h"

#include "storage/float_button_settings.h"
#include "storage/settings.h"
#include "ui/windows/window_set.h"

namespace tallyra::ui {

inline constexpr Message kFloatButtonUnavailable{"悬浮按钮不可用", "此桌面不能显示悬浮按钮。", kWarningOk};

FloatButtonSwitch::FloatButtonSwitch(WindowSet& windows) : windows_(windows) {
    windows_.main().menu().add([this] { return "显示悬浮按钮" + windows_.toolkit().floatButtonRemark(); },
                               [this] { setShown(!button_); }, [this] { return button_ != nullptr; });
}

FloatButtonSwitch::~FloatButtonSwitch() = default;

void FloatButtonSwitch::start() {
    if (settings::floatButton(windows_.data())) show();
}

bool FloatButtonSwitch::show() {
    FloatButtonOptions options;
    options.dpiScale = windows_.dpiScale();
    options.place = parseFloatPlace(settings::floatButtonPlace(windows_.data()));
    button_ = windows_.toolkit().createFloatButton(options, *this);
    return button_ != nullptr;
}

void FloatButtonSwitch::setShown(bool shown) {
    if (shown == (button_ != nullptr)) return;
    if (!shown) {
        button_.reset();
    } else if (!show()) {
        windows_.toolkit().showMessage(kFloatButtonUnavailable);
        return;
    }
    if (!settings::setFloatButton(windows_.data(), shown)) windows_.toolkit().showMessage(kDataNotSaved);
}

void FloatButtonSwitch::onFloatButtonTap() {
    // Not while a box or the menu waits; the hot key's own rules keep it from acting
    // while another window of the program is open.
    if (windows_.toolkit().isWaitingForAnswer()) return;
    MainWindow& main = windows_.main();
    main.onHotKey(main.id());
}

bool FloatButtonSwitch::onFloatButtonMenu(Point at) {
    // The menu is the main window's: not while another window of ours replaces it.
    MainWindow& main = windows_.main();
    if (windows_.toolkit().isWaitingForAnswer() || !windows_.toolkit().isWindowVisible(main.id())) return false;
    main.onMenuRequested(main.id(), at);
    return windows_.toolkit().isWindowVisible(main.id());
}

void FloatButtonSwitch::onFloatButtonMoved(const FloatPlace& place) {
    if (settings::setFloatButtonPlace(windows_.data(), formatFloatPlace(place)) || placeNotSavedTold_) return;
    placeNotSavedTold_ = true; // said once: the button still works where it is
    windows_.toolkit().showMessage(kDataNotSaved);
}

} // namespace tallyra::ui
