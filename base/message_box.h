// Message boxes: a message (title, text, the Windows message-box flags) and the
// interface that shows one. Below every layer: storage describes its refusals as
// messages, and draw, speech and the windows show them through the interface.
// Flags and answers carry the values of the Windows message-box API.
#pragma once

#include <string_view>

namespace tallyra {

enum MessageFlags : unsigned {
    kPlainOk = 0x00,
    kErrorOk = 0x10,
    kQuestionOkCancel = 0x21,
    kQuestionYesNo = 0x24,
    kWarningOk = 0x30,
    kInformationOk = 0x40,
    kSecondButtonDefault = 0x100, // added to a flag above: the second button (No, Cancel) is the default
};

enum class MessageAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct Message {
    std::string_view title;
    std::string_view text;
    unsigned flags = kPlainOk;
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
