// The "Korvel Sample Package": it announces itself on the splash screen and in the About box,
// adds menu items, a toolbar, a document and a tool window once the loader initializes it, and
// watches the source editor.
#pragma once

#include "korvel/BdsInterop.h"

// {32375B90-7521-4E64-BE4F-2EF51D12534D}, as examples/Sample.reg registers it.
inline constexpr CLSID CLSID_SamplePackage = {
    0x32375B90, 0x7521, 0x4E64, {0xBE, 0x4F, 0x2E, 0xF5, 0x1D, 0x12, 0x53, 0x4D}};

namespace sample {

HRESULT CreateSamplePackage(REFIID iid, void** object);

}  // namespace sample
