// Emptying the process's working set with the external trim tool whenever
// the application loses activation.
#pragma once

namespace velkaro::skin {

void trimWorkingSet();

} // namespace velkaro::skin
