#include "core/message_sink.h"

#include <cstdio>

namespace tama05 {

void StderrMessageSink::ShowMessage(std::string_view text, std::string_view caption) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
}

}  // namespace tama05
