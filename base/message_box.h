// Message boxes: a message (title, text, the Windows message-box flags) and the
// interface that shows one. Below every layer: storage describes its refusals as
// messages, and draw, speech and the windows show them through the interface.
// Flags and answers carry the values of the Windows message-box API.
#pragma once

#include <atomic>
#include <set>
#include <string>
#include <string_view>

namespace tallyra {

// The two parts of the flags: the icon and the buttons a box shows.
enum class MessageIcon : unsigned { None = 0x00, Error = 0x10, Question = 0x20, Warning = 0x30, Information = 0x40 };
enum class MessageButtons : unsigned { Ok = 0x0, OkCancel = 0x1, YesNo = 0x4 };

constexpr unsigned messageFlags(MessageIcon icon, MessageButtons buttons) {
    return static_cast<unsigned>(icon) | static_cast<unsigned>(buttons);
}
constexpr MessageIcon messageIcon(unsigned flags) {
    return static_cast<MessageIcon>(flags & 0xF0u);
}
constexpr MessageButtons messageButtons(unsigned flags) {
    return static_cast<MessageButtons>(flags & 0x0Fu);
}

enum MessageFlags : unsigned {
    kPlainOk = messageFlags(MessageIcon::None, MessageButtons::Ok),
    kErrorOk = messageFlags(MessageIcon::Error, MessageButtons::Ok),
    kQuestionOkCancel = messageFlags(MessageIcon::Question, MessageButtons::OkCancel),
    kQuestionYesNo = messageFlags(MessageIcon::Question, MessageButtons::YesNo),
    kWarningOk = messageFlags(MessageIcon::Warning, MessageButtons::Ok),
    kInformationOk = messageFlags(MessageIcon::Information, MessageButtons::Ok),
    kSecondButtonDefault = 0x100, // added to a flag above: the second button (No, Cancel) is the default
};
static_assert((kSecondButtonDefault & 0xFFu) == 0, "the default button lies outside the icon and button parts");

enum class MessageAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct Message {
    std::string_view title;
    std::string_view text;
    unsigned flags = kPlainOk;
};

inline bool operator==(const Message& a, const Message& b) {
    return a.title == b.title && a.text == b.text && a.flags == b.flags;
}

// A text made while the program runs (a refusal that names a character, say).
// A Message only views its texts, so such a text is kept for the rest of the run;
// equal texts are kept once, so the few a teacher can cause stay a few. (A spin
// lock, not std::mutex: its error path would link the library's exception code
// back into the Windows program; the lock is held for one insertion.)
inline std::string_view keptMessageText(std::string text) {
    static std::atomic_flag busy;
    static std::set<std::string, std::less<>> kept;
    while (busy.test_and_set(std::memory_order_acquire)) {
    }
    const std::string_view stored = *kept.insert(std::move(text)).first;
    busy.clear(std::memory_order_release);
    return stored;
}

// Task-modal boxes without owner window; returns the button the user pressed.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer showMessage(const Message& message) = 0;
};

} // namespace tallyra
