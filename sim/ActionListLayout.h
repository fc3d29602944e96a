// The simulated IDE's main action list: the IDE's commands by category, most with their usual
// shortcuts, some without one, and a few disabled as they are while nothing is being debugged.
#pragma once

#include "platform/vcl/ActnList.h"

namespace sim {

// A new action list owned by `owner`; it owns its actions.
vcl::TActionList* BuildIdeActionList(vcl::TComponent* owner);

}  // namespace sim
