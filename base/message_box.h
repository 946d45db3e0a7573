// Message boxes: a message (title, text, the Windows message-box flags) and the
// interface that shows one. Below every layer: storage describes its refusals as
// messages, and draw, speech and the windows show them through the interface.
// Flags and answers carry the values of the Windows message-box API.
#pragma once

#include <atomic>
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

// A message: its title and text, and the flags. The program's fixed messages are
// constants that view their texts, made once at compile time; a message made while
// the program runs (one that names a file or a character) keeps its texts itself,
// shared by its copies, so any copy can be kept, returned or shown later.
class Message {
public:
    std::string_view title;
    std::string_view text;
    unsigned flags = kPlainOk;

    constexpr Message() = default;
    constexpr Message(std::string_view title, std::string_view text, unsigned flags = kPlainOk)
        : title(title), text(text), flags(flags) {}
    // A message that keeps its own copies of the texts.
    static Message owning(std::string_view title, std::string_view text, unsigned flags) {
        Message message;
        message.kept_ = new Kept{{1}, std::string(title), std::string(text)};
        message.title = message.kept_->title;
        message.text = message.kept_->text;
        message.flags = flags;
        return message;
    }

    constexpr Message(const Message& other)
        : title(other.title), text(other.text), flags(other.flags), kept_(other.kept_) {
        if (kept_) kept_->count.fetch_add(1, std::memory_order_relaxed);
    }
    constexpr Message& operator=(const Message& other) {
        if (this == &other) return *this;
        if (other.kept_) other.kept_->count.fetch_add(1, std::memory_order_relaxed);
        release();
        title = other.title;
        text = other.text;
        flags = other.flags;
        kept_ = other.kept_;
        return *this;
    }
    constexpr ~Message() { release(); }

private:
    // The texts of a message made at run time, with the number of copies that share them.
    struct Kept {
        std::atomic<int> count;
        std::string title;
        std::string text;
    };
    constexpr void release() {
        if (kept_ && kept_->count.fetch_sub(1, std::memory_order_acq_rel) == 1) delete kept_;
        kept_ = nullptr;
    }
    Kept* kept_ = nullptr;
};

inline bool operator==(const Message& a, const Message& b) {
    return a.title == b.title && a.text == b.text && a.flags == b.flags;
}

// Task-modal boxes without owner window; returns the button the user pressed.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer showMessage(const Message& message) = 0;
};

} // namespace tallyra
