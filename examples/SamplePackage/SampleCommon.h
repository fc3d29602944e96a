// What the parts of the "Korvel Sample Package" share: how it reports, and the help service
// that both its menu and its toolbar open.
#pragma once

#include "Text.h"

namespace sample {

// "Korvel Sample: <what>" in the debug output.
void SampleReport(const Text& what);

// Empty when the hub has none to give.
ComRef<IBdsHelpService> HelpServiceOf(IBdsServices& site);

}  // namespace sample
