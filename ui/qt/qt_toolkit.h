// The Qt 6 Widgets toolkit: the program's windows as frameless Qt windows built
// from the layout tables, for the Linux desktop. See qt_toolkit.cpp for how tests
// and automation find things.
#pragma once

#include "ui/kit/toolkit.h"

#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QComboBox;
class QListWidget;
class QWidget;
class QDialog;
class QMenu;

namespace tallyra::ui::qt {

class TopWindow;
class GlobalHotKey;
struct Unit;

class QtToolkit : public Toolkit {
public:
    QtToolkit();
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    // Tests answer modal boxes through this: it is called with each message box or input
    // box once the box runs its modal loop, and is expected to press one of its buttons.
    using ModalHook = std::function<void(QDialog& box)>;
    void setModalHook(ModalHook hook) { modalHook_ = std::move(hook); }
    // The same for popup menus: called once the menu shows; it triggers an action or closes it.
    using MenuHook = std::function<void(QMenu& menu)>;
    void setMenuHook(MenuHook hook) { menuHook_ = std::move(hook); }

    // The window's widget, for tests; null when it is not open.
    TopWindow* topWindow(WindowId window) const;
    // The unit's widget, for tests; null when there is none.
    QWidget* unitWidget(WindowId window, std::string_view unit) const;

    // MessageBoxes
    MessageAnswer showMessage(const Message& message) override;

    // Toolkit
    WindowId openWindow(const WindowDesign& design, WindowEvents& events) override;
    void showWindow(WindowId window, bool visible) override;
    bool isWindowVisible(WindowId window) const override;
    void minimiseWindow(WindowId window) override;
    void destroyWindow(WindowId window) override;
    Rect windowRect(WindowId window) const override;
    void setWindowRect(WindowId window, Rect rect) override;

    Rect unitRect(WindowId window, std::string_view unit) const override;
    void setUnitRect(WindowId window, std::string_view unit, Rect rect) override;
    std::string text(WindowId window, std::string_view unit) const override;
    void setText(WindowId window, std::string_view unit, std::string_view text) override;
    void setFontSize(WindowId window, std::string_view unit, int points) override;
    void setVisible(WindowId window, std::string_view unit, bool visible) override;
    void setTextFit(WindowId window, std::string_view unit, TextFit fit) override;
    void fitLinesTogether(WindowId window, std::span<const std::string_view> labels,
                          std::span<const std::string> lines) override;
    Rect monitorRect(WindowId window) const override;
    HotKeyState setHotKey(WindowId window, HotKey key) override;
    void floatWindow(WindowId window, bool floating) override;
    MessageAnswer askWithRemote(const Message& question) override;
    std::optional<int> showMenu(WindowId window, std::optional<Point> at, std::span<const MenuItem> items) override;
    void setTimerInterval(WindowId window, std::string_view unit, int milliseconds) override;

    void clearItems(WindowId window, std::string_view unit) override;
    void addItem(WindowId window, std::string_view unit, std::string_view text) override;
    void removeItem(WindowId window, std::string_view unit, int index) override;
    int itemCount(WindowId window, std::string_view unit) const override;
    std::string itemText(WindowId window, std::string_view unit, int index) const override;
    void setItemText(WindowId window, std::string_view unit, int index, std::string_view text) override;
    int selection(WindowId window, std::string_view unit) const override;
    void setSelection(WindowId window, std::string_view unit, int index) override;
    void selectLine(WindowId window, std::string_view unit, std::size_t line) override;
    void setChecked(WindowId window, std::string_view unit, bool checked) override;
    bool isChecked(WindowId window, std::string_view unit) const override;
    void setItemChecked(WindowId window, std::string_view unit, int index, bool checked) override;
    bool isItemChecked(WindowId window, std::string_view unit, int index) const override;

    std::optional<std::string> askText(std::string_view prompt, std::string_view title,
                                       std::string_view proposed = {}) override;
    std::optional<std::string> askOpenFile(std::string_view title, std::string_view filterName,
                                           std::string_view patterns) override;
    void acceptFileDrops(WindowId window, std::string_view unit) override;
    void setClipboardText(std::string_view text) override;

    void declareDpiAware() override;
    int horizontalPixelsPerInch(WindowId window) const override;
    Size screenSize() const override;
    bool isFontInstalled(std::string_view face) const override;
    bool openInBrowser(std::string_view address) override;
    bool openFile(std::string_view path) override;
    void quit(int exitCode) override;
    NativeWindow nativeHandle(WindowId window, std::string_view unit) const override;
    std::unique_ptr<FloatButton> createFloatButton(const FloatButtonOptions& options,
                                                   FloatButtonEvents& events) override;
    std::string floatButtonRemark() const override;
    bool isWaitingForAnswer() const override;

    // The window forgets its id when it is being destroyed.
    void forget(WindowId window);

private:
    Unit* findUnit(WindowId window, std::string_view unit) const;
    QComboBox* combo(WindowId window, std::string_view unit) const;
    QListWidget* checkList(WindowId window, std::string_view unit) const;
    int runModal(QDialog& box);
    MessageAnswer showBox(const Message& message, bool remote);
    bool anyFloating() const;

    WindowId nextId_ = 1;
    std::map<WindowId, QPointer<TopWindow>> windows_;
    ModalHook modalHook_;
    MenuHook menuHook_;
    std::unique_ptr<GlobalHotKey> hotKey_;
    WindowId hotKeyWindow_ = kNoWindow;
};

// Switches Qt's own high-DPI scaling off, so that the screen's logical DPI feeds the
// program's rescaling alone and nothing is scaled twice. Call before the QApplication exists.
void prepareApplication();

// Once the QApplication exists: the Chinese face as the default of Qt's own dialogs,
// the application icon, and no quitting when a window closes (the main window quits).
void setUpApplication();

} // namespace tallyra::ui::qt
