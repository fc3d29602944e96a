#include "fuzz/PackageObjects.h"

#include <cstdio>
#include <set>

#include "fuzz/PackageSession.h"
#include "platform/rtl/ComPtr.h"

namespace fuzz {
namespace {

std::set<const Counted*>& LiveObjects() {
    static std::set<const Counted*> objects;
    return objects;
}

}  // namespace

int LivePackageObjects() { return static_cast<int>(LiveObjects().size()); }

void ListLivePackageObjects() {
    for (const Counted* object : LiveObjects()) std::fprintf(stderr, "  alive: made by %s\n", object->Origin());
}

Counted::Counted(const char* origin) : origin_(origin) { LiveObjects().insert(this); }
Counted::~Counted() { LiveObjects().erase(this); }

HRESULT CarelessSink::OnExecute() { return React(); }
HRESULT CarelessSink::OnChange() { return React(); }
HRESULT CarelessSink::OnUpdate() { return React(); }

HRESULT CarelessSink::React() {
    session_.CountCall();
    return session_.React(owner_);
}

HRESULT CarelessSink::HandleMessage(MSG* Msg, WordBool* CallDefaultHandler, WordBool* Handled) {
    FuzzInput& input = session_.Input();
    if (CallDefaultHandler && input.Coin()) *CallDefaultHandler = input.Flag();
    if (Handled && input.Coin()) *Handled = input.Flag();
    return React();
}

HRESULT CarelessSink::GetDragDropHelper(BSTR ClassName, IUnknown** Helper) {
    if (!Helper) return E_POINTER;
    *Helper = nullptr;
    const HRESULT reaction = React();
    if (FAILED(reaction)) return reaction;
    switch (session_.Input().Choose(4)) {
        case 0:
            break;
        case 1:
            // Not a helper at all: the sink itself.
            AddRef();
            *Helper = Unknown();
            break;
        default:
            *Helper = session_.NewDropHelper();
            break;
    }
    return reaction;
}

DropHelper::DropHelper(PackageSession& session, const char* origin) : Counted(origin), session_(session) {
    for (Integer& value : values_) value = session_.Input().Number();
}

HRESULT DropHelper::WaitForInfo() {
    session_.CountCall();
    return session_.React(this);
}

HRESULT DropHelper::Answer(Integer value, Integer* out) {
    if (!out) return E_POINTER;
    *out = value;
    return session_.Input().Choose(8) == 0 ? E_FAIL : S_OK;
}

}  // namespace fuzz
