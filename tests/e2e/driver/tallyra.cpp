// Finding Tallyra's windows and units, and running the program in a folder of its own.
#include "tallyra.h"

#include "text.h"

namespace e2e {
namespace {

constexpr int kTitleLabelId = 1000;

std::string buttonList(const std::vector<int>& buttons) {
    std::string list;
    for (int id : buttons)
        list += (list.empty() ? "" : "+") + buttonName(id);
    return list.empty() ? "none" : list;
}

} // namespace

std::string windowName(Win window) {
    switch (window) {
    case Win::Main:
        return "main window";
    case Win::Settings:
        return "settings window";
    case Win::ClassManagement:
        return "class management window";
    case Win::About:
        return "about window";
    case Win::Changelog:
        return "changelog window";
    case Win::Support:
        return "support window";
    case Win::MultiDraw:
        return "multi-draw window";
    }
    return "?";
}

std::string gbkFile(std::initializer_list<std::wstring_view> lines) {
    std::string bytes;
    for (std::wstring_view line : lines)
        bytes += *toGbk(line) + "\r\n";
    return bytes;
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t buffer[4096];
    const DWORD length = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    if (length > 0 && length < std::size(buffer)) previous_ = std::wstring(buffer, length);
    SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableW(name_, previous_ ? previous_->c_str() : nullptr);
}

Session::Session(CaseContext& context, std::string_view folderName) : context_(context) {
    // The name is UTF-8: a narrow path would be read in the ANSI code page.
    folder_ = context.options().workRoot / fromUtf8(folderName.empty() ? context.name() : folderName);
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    std::filesystem::create_directories(folder_, error);
    context.require(!error, "cannot make the folder " + folder_.string() + ": " + error.message());
    std::filesystem::copy_file(context.options().exe, folder_ / "Tallyra.exe", error);
    context.require(!error, "cannot copy " + context.options().exe.string() + ": " + error.message());
}

Session::~Session() {
    if (process_) process_->kill();
}

std::filesystem::path Session::dataFile(std::wstring_view name) const {
    return folder_ / L"Data" / name;
}

void Session::writeData(std::wstring_view name, std::string_view bytes) {
    context_.require(writeFileBytes(dataFile(name), bytes), "cannot write Data\\" + toUtf8(name));
}

std::optional<std::string> Session::readData(std::wstring_view name) const {
    return readFileBytes(dataFile(name));
}

void Session::start(std::wstring_view arguments) {
    context_.step("start Tallyra.exe in " + folder_.string());
    std::wstring error;
    process_ = Process::start(folder_ / "Tallyra.exe", error, arguments);
    context_.require(process_.has_value(), "cannot start Tallyra.exe: " + toUtf8(error));
}

Process& Session::process() {
    context_.require(process_.has_value(), "the program was not started");
    return *process_;
}

HWND Session::find(Win window) const {
    if (!process_) return nullptr;
    for (HWND top : topWindows(process_->id())) {
        const std::wstring cls = className(top);
        if (cls == L"#32770" || cls == L"ComboLBox" || cls == L"tooltips_class32") continue;
        const std::wstring caption = windowText(top).value_or(L"");
        HWND label = GetDlgItem(top, kTitleLabelId);
        const std::wstring title = label ? windowText(label).value_or(L"") : L"";
        switch (window) {
        case Win::Main:
            if (caption == L"Tallyra" && title.starts_with(kProductTitle)) return top;
            break;
        case Win::Settings:
            if (title == L"设置") return top;
            break;
        case Win::ClassManagement:
            if (title == L"班级管理") return top;
            break;
        case Win::About:
            if (caption == L"关于") return top;
            break;
        case Win::Changelog:
            if (caption == L"更新日志") return top;
            break;
        case Win::Support:
            if (title == L"支持作者") return top;
            break;
        case Win::MultiDraw:
            if (title == L"一次抽取多人") return top;
            break;
        }
    }
    return nullptr;
}

HWND Session::waitFor(Win window, Millis timeout) {
    context_.step("wait for the " + windowName(window));
    HWND found = nullptr;
    std::optional<MessageBoxInfo> box;
    bool ended = false;
    waitUntil(
        [&] {
            found = find(window);
            if (found) return true;
            box = findMessageBox(processId());
            ended = !process().running();
            return box.has_value() || ended;
        },
        timeout);
    if (found) {
        context_.step("  the " + windowName(window) + " is shown");
        return found;
    }
    if (box)
        context_.fail("waiting for the " + windowName(window) + ", a message box came instead: title " +
                      visible(box->title) + ", text " + visible(box->text));
    if (ended) context_.fail("waiting for the " + windowName(window) + ", the program ended");
    std::string shown;
    for (HWND top : topWindows(processId()))
        shown += "\n      " + describe(top);
    context_.fail("the " + windowName(window) + " did not appear within " + std::to_string(timeout.count()) +
                  " ms; visible windows of the program:" + (shown.empty() ? " none" : shown));
}

void Session::waitGone(Win window, Millis timeout) {
    context_.step("wait until the " + windowName(window) + " is hidden");
    context_.require(waitUntil([&] { return find(window) == nullptr; }, timeout),
                     "the " + windowName(window) + " is still shown");
}

HWND Session::unit(HWND window, const Unit& unit) {
    HWND found = findChildById(window, unit.controlId());
    context_.require(found != nullptr, std::string("no unit ") + unit.name + " (control ID " +
                                           std::to_string(unit.controlId()) + ") in the " + windowName(unit.window));
    return found;
}

std::wstring Session::text(HWND window, const Unit& unit) {
    auto text = windowText(this->unit(window, unit));
    context_.require(text.has_value(), std::string("reading the text of ") + unit.name + " timed out");
    return *text;
}

void Session::click(HWND window, const Unit& unit) {
    context_.step(std::string("click ") + unit.name + " in the " + windowName(unit.window));
    // A message box that has just closed leaves its windows disabled for a moment.
    waitUntil([&] { return IsWindowEnabled(window) != FALSE; }, Millis(3000));
    if (auto error = e2e::click(this->unit(window, unit)))
        context_.fail(std::string("clicking ") + unit.name + " in the " + windowName(unit.window) + ": " + *error);
}

void Session::waitText(HWND window, const Unit& unit, std::wstring_view expected, Millis timeout) {
    HWND control = this->unit(window, unit);
    std::wstring seen;
    if (waitUntil([&] { return (seen = windowText(control).value_or(L"?")) == expected; }, timeout)) return;
    context_.fail(std::string(unit.name) + " of the " + windowName(unit.window) + " reads " + visible(seen) +
                  ", expected " + visible(expected));
}

void Session::expectMessage(std::wstring_view title, std::wstring_view text, std::initializer_list<int> buttons,
                            int answer, Millis timeout) {
    context_.step("wait for the message box " + visible(title));
    auto box = waitMessageBox(processId(), timeout);
    context_.require(box.has_value(), "no message box " + visible(title) + " appeared within " +
                                          std::to_string(timeout.count()) + " ms");
    context_.check(box->title == title, "message box title " + visible(box->title) + ", expected " + visible(title));
    context_.check(box->text == text, "message box " + visible(box->title) + " says " + visible(box->text) +
                                          ", expected " + visible(text));
    const std::vector<int> expected(buttons);
    context_.check(box->buttons == expected, "message box " + visible(box->title) + " has the buttons " +
                                                 buttonList(box->buttons) + ", expected " + buttonList(expected));
    context_.step("  answer " + buttonName(answer));
    context_.require(answerMessageBox(*box, answer),
                     "message box " + visible(box->title) + " did not close on " + buttonName(answer));
}

void Session::chooseMenuItem(HWND main, int item) {
    context_.step("menu item " + std::to_string(item));
    const auto menu = [&]() -> HWND {
        for (HWND top : topWindows(processId()))
            if (className(top) == L"#32768") return top;
        return nullptr;
    };
    click(main, units::kMenuButton);
    context_.require(waitUntil([&] { return menu() != nullptr; }, Millis(3000)), "the menu did not open");
    for (int i = 0; i <= item; ++i)
        pressKey(VK_DOWN);
    pressKey(VK_RETURN);
    context_.require(waitUntil([&] { return menu() == nullptr; }, Millis(3000)), "the menu stayed open");
}

void Session::expectNoMessage(const std::string& when) {
    if (auto box = findMessageBox(processId()))
        context_.fail("unexpected message box " + when + ": title " + visible(box->title) + ", text " +
                      visible(box->text));
}

DWORD Session::waitExit(Millis timeout) {
    auto code = process().waitExit(timeout);
    context_.require(code.has_value(), "the program still runs " + std::to_string(timeout.count()) + " ms later");
    return *code;
}

} // namespace e2e
