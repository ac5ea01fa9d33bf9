#pragma once

#include "cli/json_output.h"
#include "puzzle/drop_worker.h"

namespace tama05 {

// The member "report" of drop --json: for every dropped file in drop order,
// {"path":…,"read":true|false,"message":…,"cells":n,"gain":x}; message is null for a file
// that was read.
Json DropReportJson(const DropReport& report);

}  // namespace tama05
