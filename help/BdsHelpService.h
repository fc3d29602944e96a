// The help service packages get from the hub: help by keyword through the IDE's own help
// system, or a help collection opened in the external help viewer.
#pragma once

#include "interop/InterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/Text.h"

namespace korvel {

using rtl::String;

// The help viewer's local-server registration, under HKEY_CLASSES_ROOT.
extern const String dexplore2003RegPath;

class TBdsHelpService : public rtl::SelfReferenced<rtl::ComObject<IBdsHelpService>> {
public:
    // IBdsHelpService: both answer S_OK whatever happens to the help request.
    HRESULT STDMETHODCALLTYPE ShowHelpByKeyword(BSTR keyword) override;
    HRESULT STDMETHODCALLTYPE ShowHelpByURL(BSTR URL) override;
};

}  // namespace korvel
