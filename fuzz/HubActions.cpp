// The hub, the help service, and references taken and given back as a package does.
#include "fuzz/ActionHelpers.h"
#include "fuzz/PackageObjects.h"
#include "platform/rtl/ComPtr.h"

namespace fuzz {
namespace {

const std::vector<String> ComponentNames{u"TButton", u"TKorvelGrid", u"tbutton", u"TForm", u"T"};
const std::vector<String> HelpTopics{u"TForm", u"http://example.com/help", u"file:///C:/help.chm",
                                     u"mailto:help@example.com", u"..\\..\\x.exe"};
const std::vector<String> SplashTexts{u"Korvel Grid", u"Registered", u"Trial: 30 days left", u"Pro"};

IBdsServices* Hub(PackageSession& s) { return s.hubs.Pick(s.Input()); }

void HubCall(PackageSession& s) {
    IBdsServices* hub = Hub(s);
    if (!hub) return;
    s.CountCall();
    switch (s.Input().Choose(11)) {
        case 0: ReadValue<Integer>(s, [&](Integer* out) { hub->get_BdsVersionMajor(out); }); break;
        case 1: ReadValue<Integer>(s, [&](Integer* out) { hub->get_BdsVersionMinor(out); }); break;
        case 2: ReadText(s, [&](BSTR* out) { hub->get_BdsEdition(out); }); break;
        case 3: ReadValue<WordBool>(s, [&](WordBool* out) { hub->get_IsPersonalityEdition(out); }); break;
        case 4: ReadObject(s, s.windowsServices, [&](IBdsWindowsService** out) { hub->Get_BdsWindowsService(out); });
                break;
        case 5: ReadObject(s, s.toolBarServices, [&](IBdsToolBarService** out) { hub->Get_BdsToolBarService(out); });
                break;
        case 6: ReadObject(s, s.helpServices, [&](IBdsHelpService** out) { hub->Get_BdsHelpService(out); }); break;
        case 7: ReadObject(s, s.menuServices, [&](IBdsMenuBarService** out) { hub->Get_BdsMenuBarService(out); });
                break;
        case 8: {
            const TextArgument name = s.Text(ComponentNames);
            ReadValue<WordBool>(s, [&](WordBool* out) { hub->Get_IsComponentRegistered(name, out); });
            break;
        }
        case 9: {
            const std::vector<GUID>& ids = InterfaceIds();
            const size_t pick = s.Input().Choose(ids.size() + 1);
            ReadObject(s, s.others, [&](IUnknown** out) { hub->GetService(pick < ids.size() ? &ids[pick] : nullptr, out); });
            break;
        }
        default:
            ReadValue<WordBool>(s, [&](WordBool* out) { hub->IsShortcut(s.Input().Number(), out); });
            break;
    }
}

void HubSplashAndAbout(PackageSession& s) {
    IBdsServices* hub = Hub(s);
    if (!hub) return;
    s.CountCall();
    auto bitmap = [&] { return reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(static_cast<uint32_t>(s.Bitmap()))); };
    if (s.Input().Coin()) {
        const TextArgument caption = s.Text(SplashTexts), license = s.Text(SplashTexts), sku = s.Text(SplashTexts);
        hub->AddSplashInfo(bitmap(), caption, license, s.Input().Flag(), sku);
        return;
    }
    const TextArgument title = s.Text(SplashTexts), copyright = s.Text(SplashTexts), name = s.Text(SplashTexts),
                       description = s.Text(SplashTexts), license = s.Text(SplashTexts), sku = s.Text(SplashTexts);
    hub->AddAboutBoxInfo(bitmap(), bitmap(), title, copyright, name, description, license, s.Input().Flag(), sku);
}

// Handlers and providers: the package's own sink, nothing, or an object of the wrong kind.
void HubRegisterCallbacks(PackageSession& s) {
    IBdsServices* hub = Hub(s);
    if (!hub) return;
    s.CountCall();
    rtl::ComPtr<CarelessSink> sink = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(hub));
    rtl::ComPtr<IUnknown> helper = rtl::ComPtr<IUnknown>::Adopt(s.NewDropHelper());
    const bool none = s.Input().Choose(8) == 0;
    if (s.Input().Coin()) {
        auto* handler = s.Input().Choose(6) == 0 ? reinterpret_cast<IMessageHandler*>(helper.Get())
                                                 : static_cast<IMessageHandler*>(sink.Get());
        hub->AddMessageHandler(none ? nullptr : handler);
    } else {
        auto* provider = s.Input().Choose(6) == 0 ? reinterpret_cast<IDragDropHelperProvider*>(helper.Get())
                                                  : static_cast<IDragDropHelperProvider*>(sink.Get());
        hub->AddDragDropHelper(none ? nullptr : provider);
    }
}

void HubPackages(PackageSession& s) {
    IBdsServices* hub = Hub(s);
    if (!hub) return;
    s.CountCall();
    switch (s.Input().Choose(3)) {
        case 0:
            hub->OnDotNetServicesInitialized();
            break;
        case 1:
            ReadValue<Integer>(s, [&](Integer* out) { hub->get_PackagesCount(out); });
            break;
        default: {
            PackageInfo info{};
            PackageInfo* out = s.Out(&info);
            if (SUCCEEDED(hub->GetPackageInfo(s.Input().Number(), out)) && out && info.Instance)
                info.Instance->Release();
            break;
        }
    }
}

void HelpCall(PackageSession& s) {
    IBdsHelpService* help = HeldService(s, s.helpServices, &IBdsServices::Get_BdsHelpService);
    if (!help) return;
    s.CountCall();
    const TextArgument topic = s.Text(HelpTopics);
    if (s.Input().Coin())
        help->ShowHelpByKeyword(topic);
    else
        help->ShowHelpByURL(topic);
}

// QueryInterface on any object the package holds, for any interface it knows of.
template <class Interface>
void QueryHeld(PackageSession& s, HeldReferences<Interface>& held) {
    Interface* object = held.Pick(s.Input());
    if (!object) return;
    s.CountCall();
    const std::vector<GUID>& ids = InterfaceIds();
    void* found = nullptr;
    object->QueryInterface(ids[s.Input().Choose(ids.size())], s.Out(&found));
    s.others.Adopt(static_cast<IUnknown*>(found));
}

void QueryInterfaces(PackageSession& s) {
    VisitHeld(s, [&](auto& held) { QueryHeld(s, held); });
}

template <class Interface>
void ChangeReferences(PackageSession& s, HeldReferences<Interface>& held) {
    s.CountCall();
    if (s.Input().Coin())
        held.Duplicate(s.Input());
    else
        held.ReleaseOne(s.Input());
}

void References(PackageSession& s) {
    VisitHeld(s, [&](auto& held) { ChangeReferences(s, held); });
}

}  // namespace

const std::vector<GUID>& InterfaceIds() {
    static const std::vector<GUID> ids{
        IID_IUnknown, IID_IBdsToolBarControlEvents, IID_IBdsWindowEvents, IID_IBdsMenuBarService, IID_IBdsMenuItem,
        IID_IBdsToolBarService, IID_IBdsToolBar, IID_IBdsToolBarControl, IID_IBdsToolBarButton,
        IID_IBdsToolBarComboBox, IID_IBdsToolBarPopUp, IID_IBdsDockableWindow, IID_IBdsDocumentWindow,
        IID_IBdsWindowsService, IID_IBdsHelpService, IID_IDragDropHelper, IID_IBdsServices, IID_IBdsPackage,
        IID_IBdsShellPackage, IID_IDragDropHelperProvider, IID_IMessageHandler, IID_IBDSModuleServices70,
        IID_IBDSEditorServices80, IID_IBDSModule, IID_IBDSEditor, IID_IBDSNotifier, IID_IBDSModuleNotifier,
        IID_IBDSEditServicesNotifier, IID_IBDSFileSystem,
        GUID{0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}}};
    return ids;
}

ActionTable HubActions() {
    return {{"hub call", HubCall},
            {"hub call", HubCall},
            {"splash and About box", HubSplashAndAbout},
            {"hub callbacks", HubRegisterCallbacks},
            {"hub packages", HubPackages}};
}

ActionTable HelpActions() { return {{"help", HelpCall}}; }

ActionTable ReferenceActions() {
    return {{"query interface", QueryInterfaces}, {"references", References}, {"references", References}};
}

}  // namespace fuzz
