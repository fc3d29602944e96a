// A package's notifier for the notifier benchmarks, made in a translation unit of its own so
// that the benchmarks call it as the IDE would: through the interface pointer, a real call
// the compiler cannot see into.
#pragma once

#include "interop/ToolsInterfaceBindings.h"
#include "platform/rtl/ComPtr.h"

namespace bench {

// A package notifier as packages usually write one: it offers only IBDSNotifier, and
// Modified counts into `modifications`, which must outlive it.
rtl::ComPtr<IBDSNotifier> NewPackageNotifier(long& modifications);

}  // namespace bench
