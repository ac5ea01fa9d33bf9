#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/verb.h"

namespace tama05 {

// Parses the words after the program name and runs the chosen verb; returns the exit status.
// --help, "help VERB" and --version print to context.out with status 0. A usage error prints
// what was wrong, naming the argument, on err with status 2.
int RunCommandLine(std::span<const std::string> args, VerbContext& context, std::ostream& err);

// The verbs' names, in the order the tool's help lists them.
std::vector<std::string> VerbNames();

}  // namespace tama05
