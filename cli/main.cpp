// tama05-cli: the game's operations from the command line, one verb per command.
#include <unistd.h>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "core/message_sink.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // System error texts in the user's language; numbers and the rest stay in the C locale.
    std::setlocale(LC_MESSAGES, "");
    tama05::StderrMessageSink messages;
    // Progress lines only when someone watches stderr.
    tama05::VerbContext context{std::cout, messages,
                                ::isatty(STDERR_FILENO) != 0 ? &std::cerr : nullptr};
    return tama05::RunCommandLine(args, context, std::cerr);
}
