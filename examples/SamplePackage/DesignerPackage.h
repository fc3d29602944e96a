// The "Korvel Sample Designer Package": it watches the keyboard through a message handler
// and tells the form designer where dropped buttons and edits go.
#pragma once

#include "korvel/BdsInterop.h"

// {9B1E6A52-4C1D-4F3E-8A27-5D0C3B6E7F18}, as examples/Sample.reg registers it.
inline constexpr CLSID CLSID_SampleDesignerPackage = {
    0x9B1E6A52, 0x4C1D, 0x4F3E, {0x8A, 0x27, 0x5D, 0x0C, 0x3B, 0x6E, 0x7F, 0x18}};

namespace sample {

HRESULT CreateDesignerPackage(REFIID iid, void** object);

}  // namespace sample
