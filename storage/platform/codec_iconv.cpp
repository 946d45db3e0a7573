// iconv-based converter for Linux (glibc ships GB18030).
#include "storage/platform/codec.h"

#include <cerrno>
#include <iconv.h>

namespace tallyra::platform {
namespace {

std::optional<std::string> convert(const char* to, const char* from, std::string_view input,
                                   std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    out.reserve(input.size() * 2);
    char buffer[1024];
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a cut sequence at the end): replace one byte and go on.
        out.append(replacement);
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::optional<std::string> utf8ToGb18030(std::string_view utf8) {
    return convert("GB18030", "UTF-8", utf8, "?");
}

std::optional<std::string> gb18030ToUtf8(std::string_view bytes) {
    return convert("UTF-8", "GB18030", bytes, "\xEF\xBF\xBD");
}

} // namespace tallyra::platform
