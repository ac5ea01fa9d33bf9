#pragma once

namespace tama05 {

// Lowers the calling thread's scheduling priority (nice 10): the drop and its helper threads
// work below the user-interface thread so that the windows stay responsive.
void LowerThisThreadsPriority();

}  // namespace tama05
