#include "core/message_sink.h"

#include <cstdio>
#include <cstring>

namespace tama05 {

std::string SystemErrorText(int error) {
    char buffer[256];
    // The GNU form: the text may be a static string rather than buffer.
    return ::strerror_r(error, buffer, sizeof buffer);
}

void StderrMessageSink::ShowMessage(std::string_view text, std::string_view caption) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
}

}  // namespace tama05
