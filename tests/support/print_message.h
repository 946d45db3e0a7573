// Readable GoogleTest output for message boxes a test expected.
#pragma once

#include "base/message_box.h"

#include <ostream>

namespace tallyra {

inline void PrintTo(const Message& message, std::ostream* out) {
    *out << "{\"" << message.title << "\", \"" << message.text << "\", 0x" << std::hex << message.flags << std::dec
         << "}";
}

} // namespace tallyra
