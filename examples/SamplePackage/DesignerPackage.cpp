#include "DesignerPackage.h"

#include "Text.h"
#include "DesignerHelpers.h"
#include "Text.h"

namespace sample {
namespace {

// Key data as the IDE's shortcuts encode it: the virtual key, with a bit for each modifier.
constexpr Integer ShiftBit = 0x10000;
constexpr Integer CtrlBit = 0x20000;
constexpr Integer AltBit = 0x40000;
constexpr Integer CtrlShiftK = 'K' | CtrlBit | ShiftBit;

struct DropPlace {
    const char16_t* className;
    Integer x;
    Integer y;
};
constexpr DropPlace DropPlaces[] = {{u"TButton", 120, 48}, {u"TEdit", 120, 80}};

void DesignerReport(const Text& what) { WriteDebugLine(u"Korvel Sample Designer: " + what); }

bool IsDown(int virtualKey) { return GetKeyState(virtualKey) < 0; }

bool IsModifier(WPARAM key) { return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU; }

Integer KeyDataOf(WPARAM key) {
    Integer keyData = static_cast<Integer>(key);
    if (IsDown(VK_SHIFT)) keyData |= ShiftBit;
    if (IsDown(VK_CONTROL)) keyData |= CtrlBit;
    if (IsDown(VK_MENU)) keyData |= AltBit;
    return keyData;
}

class DesignerPackage final : public ComObject<IBdsPackage> {
public:
    HRESULT STDMETHODCALLTYPE SetSite(IBdsServices* site) override {
        if (!site) return E_POINTER;
        return Guarded([&] {
            if (site_) return E_UNEXPECTED;
            site_ = ComRef<IBdsServices>(site);
            messages_ = ComRef<MessageRelay>(new MessageRelay([this](const MSG& msg) { return HandleMessage(msg); }));
            if (FAILED(site_->AddMessageHandler(messages_.Get()))) LetGo(messages_);
            drops_ = ComRef<DropHelperRelay>(
                new DropHelperRelay([this](const Text& className) { return DropHelperFor(className); }));
            if (FAILED(site_->AddDragDropHelper(drops_.Get()))) LetGo(drops_);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE Initialize() override {
        return Guarded([&] {
            if (!site_) return E_UNEXPECTED;
            Integer major = 0;
            Integer minor = 0;
            Bstr edition;
            HRESULT result = site_->get_BdsVersionMajor(&major);
            if (SUCCEEDED(result)) result = site_->get_BdsVersionMinor(&minor);
            if (SUCCEEDED(result)) result = site_->get_BdsEdition(edition.Put());
            if (!edition.Received(result)) return result;
            DesignerReport(u"initialized for IDE " + DecimalText(major) + u"." + DecimalText(minor) + u" " +
                           edition.ToText());
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE Terminate() override {
        return Guarded([&] {
            LetGoOfRelays();
            site_.Reset();
            DesignerReport(u"terminated");
            return S_OK;
        });
    }

private:
    ~DesignerPackage() override { LetGoOfRelays(); }

    // The loader keeps the relays until it shuts down; cut off, they answer without the package.
    void LetGoOfRelays() {
        LetGo(messages_);
        LetGo(drops_);
    }

    template <class RelayObject>
    static void LetGo(ComRef<RelayObject>& relay) {
        if (relay) relay->Disconnect();
        relay.Reset();
    }

    bool HandleMessage(const MSG& msg) {
        if (msg.message != WM_KEYDOWN || IsModifier(msg.wParam)) return false;
        const Integer keyData = KeyDataOf(msg.wParam);
        if (keyData == CtrlShiftK) {
            DesignerReport(u"Ctrl+Shift+K handled");
            return true;
        }
        WordBool isShortcut = WordFalse;
        if (SUCCEEDED(site_->IsShortcut(keyData, &isShortcut)))
            DesignerReport(u"key 0x" + HexText(static_cast<uint32_t>(keyData), 5) +
                           (isShortcut ? u" is an IDE shortcut" : u" is not an IDE shortcut"));
        return false;
    }

    ComRef<IUnknown> DropHelperFor(const Text& className) {
        for (const DropPlace& place : DropPlaces) {
            if (className != place.className) continue;
            const ComRef<IUnknown> helper(new DropPoint(place.x, place.y));
            DesignerReport(u"drop point for " + className);
            return helper;
        }
        return ComRef<IUnknown>();
    }

    ComRef<IBdsServices> site_;
    ComRef<MessageRelay> messages_;
    ComRef<DropHelperRelay> drops_;
};

}  // namespace

HRESULT CreateDesignerPackage(REFIID iid, void** object) { return CreateObject<DesignerPackage>(iid, object); }

}  // namespace sample
