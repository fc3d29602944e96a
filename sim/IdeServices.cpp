#include "sim/IdeServices.h"

namespace sim {

IdeServices::IdeServices() : toolBars_(std::make_unique<ToolBarLayout>()) {}
IdeServices::~IdeServices() = default;

void IdeServices::ResetToolBars() {
    toolbarNotifiers_.clear();
    toolBars_.reset();
    toolBars_ = std::make_unique<ToolBarLayout>();
}

bool IdeServices::SupportsService(const GUID& service) {
    rtl::ComPtr<IUnknown> found;
    return GetService(service, found.Put());
}

bool IdeServices::GetService(const GUID& service, IUnknown** result) {
    if (!result) return false;
    *result = nullptr;
    for (auto& entry : offered_) {
        if (entry.first == service) {
            entry.second.CopyTo(result);
            return true;
        }
    }
    return SUCCEEDED(QueryInterface(service, reinterpret_cast<void**>(result)));
}

void IdeServices::OfferService(const GUID& service, IUnknown* object) {
    for (auto it = offered_.begin(); it != offered_.end(); ++it) {
        if (it->first == service) {
            offered_.erase(it);
            break;
        }
    }
    if (object) offered_.emplace_back(service, rtl::ComPtr<IUnknown>(object));
}

vcl::TToolBar* IdeServices::GetToolBar(const rtl::String& name) { return toolBars_->Find(name); }

// The new toolbar goes below the others, wherever the reference toolbar is.
vcl::TToolBar* IdeServices::NewToolbar(const rtl::String& name, const rtl::String& caption, const rtl::String&, bool) {
    return toolBars_->Add(name, caption);
}

int IdeServices::RegisterToolbarNotifier(ide::IOTANotifier* notifier) {
    toolbarNotifiers_.emplace_back(notifier);
    return static_cast<int>(toolbarNotifiers_.size()) - 1;
}

void IdeServices::UnregisterToolbarNotifier(int index) {
    if (index >= 0 && index < static_cast<int>(toolbarNotifiers_.size())) toolbarNotifiers_[index] = nullptr;
}

}  // namespace sim
