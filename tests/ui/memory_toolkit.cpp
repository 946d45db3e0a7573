#include "tests/ui/memory_toolkit.h"

#include "ui/kit/text_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tallyra::ui::testing {

WindowState& MemoryToolkit::window(WindowId id) {
    auto found = windows_.find(id);
    if (found == windows_.end()) return missingWindow("no window " + std::to_string(id));
    return found->second;
}

const WindowState& MemoryToolkit::window(WindowId id) const {
    return const_cast<MemoryToolkit*>(this)->window(id);
}

UnitState& MemoryToolkit::unit(WindowId id, std::string_view name) {
    WindowState& state = window(id);
    if (state.destroyed) return missingUnit("window " + std::to_string(id) + " is destroyed");
    auto found = state.units.find(name);
    if (found == state.units.end()) return missingUnit("no unit " + std::string(name));
    return found->second;
}

WindowState& MemoryToolkit::missingWindow(const std::string& what) {
    ADD_FAILURE() << what;
    missingWindow_ = WindowState{};
    missingWindow_.destroyed = true; // its units are missing too
    return missingWindow_;
}

UnitState& MemoryToolkit::missingUnit(const std::string& what) {
    ADD_FAILURE() << what;
    missingUnit_ = UnitState{};
    return missingUnit_;
}

const UnitState& MemoryToolkit::unit(WindowId id, std::string_view name) const {
    return const_cast<MemoryToolkit*>(this)->unit(id, name);
}

WindowId MemoryToolkit::find(std::string_view designName) const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (!it->second.destroyed && it->second.design->name == designName) return it->first;
    return kNoWindow;
}

std::vector<WindowId> MemoryToolkit::openWindows() const {
    std::vector<WindowId> open;
    for (const auto& [id, state] : windows_)
        if (!state.destroyed) open.push_back(id);
    return open;
}

void MemoryToolkit::key(WindowId id, Key key, KeyAction action) {
    WindowState& state = window(id);
    if (!state.destroyed && state.events) state.events->onKey(id, key, action);
}

void MemoryToolkit::click(WindowId id, std::string_view name) {
    UnitState& clicked = unit(id, name);
    if (clicked.design->kind == UnitKind::RadioBox) {
        // A radio box clicked by hand becomes the checked one of its group (its parent's radio boxes).
        for (auto& [otherName, other] : window(id).units)
            if (other.design->kind == UnitKind::RadioBox && other.design->parent == clicked.design->parent)
                other.checked = false;
        clicked.checked = true;
    }
    window(id).events->onUnitEvent(id, name, UnitEvent::Clicked);
}

void MemoryToolkit::pressLink(WindowId id, std::string_view name) {
    unit(id, name);
    window(id).events->onUnitEvent(id, name, UnitEvent::LinkPressed);
}

void MemoryToolkit::choose(WindowId id, std::string_view name, int index) {
    unit(id, name).selection = index;
    window(id).events->onUnitEvent(id, name, UnitEvent::ItemChosen);
}

void MemoryToolkit::doubleClick(WindowId id, std::string_view name) {
    // As the backends: only a unit that takes double clicks gets one.
    if (unit(id, name).design->doubleClick) window(id).events->onUnitEvent(id, name, UnitEvent::DoubleClicked);
}

void MemoryToolkit::requestMenu(WindowId id) {
    window(id).events->onMenuRequested(id, std::nullopt);
}

bool MemoryToolkit::chooseMenuItem(WindowId id, std::string_view text) {
    menuChoiceText = text;
    requestMenu(id);
    const bool chosen = menuChoiceText.empty();
    menuChoiceText.clear();
    return chosen;
}

bool MemoryToolkit::pressHotKey(WindowId id) {
    if (!window(id).hotKey) return false;
    window(id).events->onHotKey(id);
    return true;
}

void MemoryToolkit::stroke(WindowId id, HotKey stroke) {
    window(id).events->onKeyStroke(id, stroke);
}

HotKeyState MemoryToolkit::setHotKey(WindowId id, HotKey key) {
    window(id).hotKey.reset();
    if (!hotKeysSupported) return HotKeyState::Unsupported;
    for (HotKey taken : takenHotKeys)
        if (taken == key) return HotKeyState::Taken;
    window(id).hotKey = key;
    return HotKeyState::On;
}

void MemoryToolkit::floatWindow(WindowId id, bool floating) {
    log.push_back(floating ? "float" : "unfloat");
    WindowState& state = window(id);
    state.floating = floating;
    if (floating) {
        state.minimised = false;
        state.visible = true;
    }
}

MessageAnswer MemoryToolkit::askWithRemote(const Message& question) {
    ++remoteQuestions;
    return showMessage(question);
}

bool MemoryToolkit::tick(WindowId id, std::string_view name) {
    if (unit(id, name).interval <= 0) return false;
    window(id).events->onUnitEvent(id, name, UnitEvent::Tick);
    return true;
}

WindowId MemoryToolkit::openWindow(const WindowDesign& design, WindowEvents& events) {
    const WindowId id = nextId_++;
    WindowState& state = windows_[id];
    state.design = &design;
    state.events = &events;
    state.rect = {50, 50, design.width, design.height};
    for (const UnitDesign& unitDesign : design.units) {
        UnitState& unitState = state.units[std::string(unitDesign.name)];
        unitState.design = &unitDesign;
        unitState.rect = unitDesign.rect;
        unitState.text = std::string(unitDesign.text);
        unitState.charHeight = unitDesign.font.charHeight;
        unitState.visible = unitDesign.visible;
        unitState.interval = unitDesign.interval;
        unitState.fit = unitDesign.fit;
    }
    log.push_back("open:" + std::string(design.name));
    events.onCreated(id);
    return id;
}

void MemoryToolkit::showWindow(WindowId id, bool visible) {
    window(id).visible = visible;
    if (visible) window(id).minimised = false;
}

bool MemoryToolkit::isWindowVisible(WindowId id) const {
    return !window(id).destroyed && window(id).visible;
}

void MemoryToolkit::minimiseWindow(WindowId id) {
    window(id).minimised = true;
}

void MemoryToolkit::destroyWindow(WindowId id) {
    WindowState& state = window(id);
    if (state.destroyed) return;
    state.events->onDestroying(id);
    state.destroyed = true;
    state.visible = false;
    log.push_back("destroy:" + std::string(state.design->name));
}

Rect MemoryToolkit::windowRect(WindowId id) const {
    return window(id).rect;
}
void MemoryToolkit::setWindowRect(WindowId id, Rect rect) {
    window(id).rect = rect;
}
Rect MemoryToolkit::unitRect(WindowId id, std::string_view name) const {
    return unit(id, name).rect;
}
void MemoryToolkit::setUnitRect(WindowId id, std::string_view name, Rect rect) {
    log.push_back("rect:" + std::string(name));
    unit(id, name).rect = rect;
}
std::string MemoryToolkit::text(WindowId id, std::string_view name) const {
    return unit(id, name).text;
}

void MemoryToolkit::setText(WindowId id, std::string_view name, std::string_view text) {
    unit(id, name).text = std::string(text);
}

void MemoryToolkit::setFontSize(WindowId id, std::string_view name, int points) {
    unit(id, name).charHeight = static_cast<int>(std::lround(points * pixelsPerInch / 72.0));
}

void MemoryToolkit::setVisible(WindowId id, std::string_view name, bool visible) {
    unit(id, name).visible = visible;
}

void MemoryToolkit::setTextFit(WindowId id, std::string_view name, TextFit fit) {
    unit(id, name).fit = fit;
}

Size MemoryToolkit::measureLine(std::string_view line, int charHeight) {
    int halves = 0;
    for (const char c : line)
        halves += static_cast<unsigned char>(c) < 0x80 ? 1 : (static_cast<unsigned char>(c) & 0xC0) == 0xC0 ? 2 : 0;
    return {halves * charHeight / 2, charHeight * 5 / 4};
}

void MemoryToolkit::fitLinesTogether(WindowId id, std::span<const std::string_view> labels,
                                     std::span<const std::string> lines) {
    if (labels.empty()) return;
    const UnitState& first = unit(id, labels.front());
    const auto measure = [&](int charHeight) {
        Size widest = measureLine({}, charHeight);
        for (const std::string& line : lines)
            widest.width = std::max(widest.width, measureLine(line, charHeight).width);
        return widest;
    };
    const int height =
        fittedCharHeight(TextFit::Fill, first.charHeight, {first.rect.width, first.rect.height}, measure);
    for (const std::string_view label : labels)
        unit(id, label).fit = TextFit::None, unit(id, label).charHeight = height;
}

Rect MemoryToolkit::monitorRect(WindowId) const {
    return {0, 0, screen.width, screen.height};
}

namespace {

class MemoryFloatButton : public FloatButton {
public:
    explicit MemoryFloatButton(MemoryToolkit& toolkit) : toolkit_(toolkit) {}
    ~MemoryFloatButton() override { toolkit_.floatButton = nullptr; }
    Rect rect() const override { return {}; }

private:
    MemoryToolkit& toolkit_;
};

} // namespace

std::unique_ptr<FloatButton> MemoryToolkit::createFloatButton(const FloatButtonOptions& options,
                                                              FloatButtonEvents& events) {
    if (!floatButtonsSupported) return nullptr;
    floatButton = &events;
    floatButtonOptions = options;
    return std::make_unique<MemoryFloatButton>(*this);
}

std::optional<int> MemoryToolkit::showMenu(WindowId, std::optional<Point>, std::span<const MenuItem> items) {
    menus.emplace_back(items.begin(), items.end());
    log.push_back("menu");
    if (whileOpen) whileOpen();
    for (std::size_t i = 0; i < items.size() && !menuChoiceText.empty(); ++i)
        if (items[i].text == menuChoiceText) return menuChoiceText.clear(), static_cast<int>(i);
    if (menuChoices.empty()) return std::nullopt;
    const std::optional<int> choice = menuChoices.front();
    menuChoices.pop_front();
    return choice;
}

void MemoryToolkit::setTimerInterval(WindowId id, std::string_view name, int milliseconds) {
    // Every call restarts a real timer's count, so it is observable.
    log.push_back("timer:" + std::to_string(milliseconds));
    unit(id, name).interval = milliseconds;
}

void MemoryToolkit::clearItems(WindowId id, std::string_view name) {
    unit(id, name).items.clear();
    unit(id, name).itemChecks.clear();
    unit(id, name).selection = -1;
}

void MemoryToolkit::addItem(WindowId id, std::string_view name, std::string_view text) {
    unit(id, name).items.emplace_back(text);
    unit(id, name).itemChecks.push_back(false);
}

void MemoryToolkit::removeItem(WindowId id, std::string_view name, int index) {
    UnitState& state = unit(id, name);
    if (index < 0 || index >= static_cast<int>(state.items.size())) return;
    state.items.erase(state.items.begin() + index);
    state.itemChecks.erase(state.itemChecks.begin() + index);
    // As a Windows combo box does: removing the selected item leaves no selection.
    if (state.selection == index)
        state.selection = -1;
    else if (state.selection > index)
        --state.selection;
}

int MemoryToolkit::itemCount(WindowId id, std::string_view name) const {
    return static_cast<int>(unit(id, name).items.size());
}

std::string MemoryToolkit::itemText(WindowId id, std::string_view name, int index) const {
    const UnitState& state = unit(id, name);
    if (index < 0 || index >= static_cast<int>(state.items.size())) return {};
    return state.items[static_cast<std::size_t>(index)];
}

int MemoryToolkit::selection(WindowId id, std::string_view name) const {
    return unit(id, name).selection;
}

void MemoryToolkit::setSelection(WindowId id, std::string_view name, int index) {
    UnitState& state = unit(id, name);
    state.selection = index >= 0 && index < static_cast<int>(state.items.size()) ? index : -1;
}

void MemoryToolkit::selectLine(WindowId id, std::string_view name, std::size_t line) {
    unit(id, name).selectedLine = line;
}

void MemoryToolkit::setChecked(WindowId id, std::string_view name, bool checked) {
    unit(id, name).checked = checked;
}
bool MemoryToolkit::isChecked(WindowId id, std::string_view name) const {
    return unit(id, name).checked;
}

void MemoryToolkit::setItemChecked(WindowId id, std::string_view name, int index, bool checked) {
    UnitState& state = unit(id, name);
    if (index >= 0 && index < static_cast<int>(state.itemChecks.size()))
        state.itemChecks[static_cast<std::size_t>(index)] = checked;
}
bool MemoryToolkit::isItemChecked(WindowId id, std::string_view name, int index) const {
    const UnitState& state = unit(id, name);
    return index >= 0 && index < static_cast<int>(state.itemChecks.size()) &&
           state.itemChecks[static_cast<std::size_t>(index)];
}

MessageAnswer MemoryToolkit::showMessage(const Message& message) {
    // A copy that keeps its texts: a handler's text (a question naming the class) is
    // gone by the time the test reads it.
    messages.push_back(Message::owning(message.title, message.text, message.flags));
    log.push_back("message:" + std::string(message.title));
    if (whileOpen) whileOpen();
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return MessageAnswer::Ok;
}

std::optional<std::string> MemoryToolkit::askText(std::string_view, std::string_view title,
                                                 std::string_view proposed) {
    log.push_back("ask:" + std::string(title));
    proposedInputs.emplace_back(proposed);
    if (inputs.empty()) return std::nullopt;
    auto answer = inputs.front();
    inputs.pop_front();
    return answer;
}

std::optional<std::string> MemoryToolkit::askOpenFile(std::string_view title, std::string_view, std::string_view) {
    log.push_back("open-file:" + std::string(title));
    if (chosenFiles.empty()) return std::nullopt;
    auto answer = chosenFiles.front();
    chosenFiles.pop_front();
    return answer;
}

void MemoryToolkit::setClipboardText(std::string_view text) {
    clipboard = text;
}

void MemoryToolkit::acceptFileDrops(WindowId window, std::string_view unit) {
    dropUnits.emplace(window, std::string(unit));
}

bool MemoryToolkit::dropFile(WindowId id, std::string_view unit, std::string_view path) {
    if (!dropUnits.contains(std::pair(id, std::string(unit))) || window(id).destroyed) return false;
    window(id).events->onFileDropped(id, unit, path);
    return true;
}

void MemoryToolkit::declareDpiAware() {
    dpiAwareDeclared = true;
    log.push_back("dpi-aware");
}

int MemoryToolkit::horizontalPixelsPerInch(WindowId) const {
    return pixelsPerInch;
}
Size MemoryToolkit::screenSize() const {
    return screen;
}
bool MemoryToolkit::isFontInstalled(std::string_view face) const {
    return installedFonts.contains(face);
}
bool MemoryToolkit::openInBrowser(std::string_view address) {
    openedAddresses.emplace_back(address);
    return systemOpens;
}

void MemoryToolkit::quit(int code) {
    exitCode = code;
    log.push_back("quit:" + std::to_string(code));
}

NativeWindow MemoryToolkit::nativeHandle(WindowId, std::string_view) const {
    return nullptr;
}

} // namespace tallyra::ui::testing
