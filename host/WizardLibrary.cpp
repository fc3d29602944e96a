#include "host/WizardLibrary.h"

#include <utility>

#include "platform/rtl/Exceptions.h"

namespace host {

WizardLibrary::WizardLibrary(const std::filesystem::path& file) {
    const std::u16string name = file.u16string();
    HMODULE module = LoadLibraryW(rtl::W(name));
    if (!module)
        throw HostError("cannot load " + file.u8string() + ": " + rtl::ToUtf8(rtl::SysErrorMessage(GetLastError())));
    // Through void*: the platform's generic procedure type is not the entry's.
    entry_ = reinterpret_cast<ide::TWizardInitProc>(
        reinterpret_cast<void*>(GetProcAddress(module, ide::WizardEntryPoint)));
    if (!entry_) {
        FreeLibrary(module);
        throw HostError(file.u8string() + " has no entry " + ide::WizardEntryPoint);
    }
}

bool WizardLibrary::Enter() { return entry_(ide::BorlandIDEServices(), nullptr, &terminate_) != 0; }

bool WizardLibrary::Terminate() {
    const ide::TWizardTerminateProc terminate = std::exchange(terminate_, nullptr);
    if (!terminate) return false;
    terminate();
    return true;
}

}  // namespace host
