// The windows service, the document windows over the editor and the dockable tool windows.
#include "fuzz/ActionHelpers.h"
#include "fuzz/PackageObjects.h"
#include "platform/rtl/ComPtr.h"

namespace fuzz {
namespace {

const std::vector<String> WindowNames{u"FzTool", u"", u"Object Inspector", u"ProjectManager", u"\u00C4rger Fenster",
                                      u"Fz\\Tool"};
const std::vector<String> Captions{u"Korvel", u"", u"&Tool", u"\u4E2D\u6587"};

IBdsWindowsService* WindowsService(PackageSession& s) {
    return HeldService(s, s.windowsServices, &IBdsServices::Get_BdsWindowsService);
}

// An editor index as a package passes it: mostly the first editors, sometimes anything.
Integer EditorIndex(FuzzInput& in) { return in.Coin() ? static_cast<Integer>(in.Choose(3)) : in.Number(); }

// What a package hands over to be hosted: its own window, nothing, or an object that is no
// window at all (a sink, another document).
template <class Call>
void HandOverControl(PackageSession& s, const void* owner, Call&& host) {
    switch (s.Input().Choose(6)) {
        case 0: host(nullptr); break;
        case 1: {
            const rtl::ComPtr<CarelessSink> stranger = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(owner));
            host(stranger->Unknown());
            break;
        }
        case 2: host(s.documents.Pick(s.Input())); break;
        default: {
            const rtl::ComPtr<CarelessWindow> window = rtl::ComPtr<CarelessWindow>::Adopt(s.NewWindow(owner));
            host(window->Unknown());
            break;
        }
    }
}

template <class Window>
void RegisterWindowEvents(PackageSession& s, Window* window) {
    const rtl::ComPtr<CarelessSink> sink = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(window));
    window->RegisterEvents(s.Input().Choose(6) == 0 ? nullptr : static_cast<IBdsWindowEvents*>(sink.Get()));
}

void WindowsServiceCall(PackageSession& s) {
    IBdsWindowsService* service = WindowsService(s);
    if (!service) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(6)) {
        case 0:
        case 1: {
            const TextArgument module = s.Text(SourceFiles());
            const Integer moduleIndex = in.Coin() ? 0 : in.Number(), editorIndex = EditorIndex(in);
            ReadObject(s, s.documents, [&](IBdsDocumentWindow** out) {
                service->CreateDocumentWindow(module, moduleIndex, editorIndex, out);
            });
            break;
        }
        case 2: {
            const TextArgument name = s.Text(WindowNames);
            ReadObject(s, s.dockables, [&](IBdsDockableWindow** out) { service->CreateDockableWindow(name, out); });
            break;
        }
        case 3: {
            const TextArgument type = s.Text(WindowNames);
            ReadObject(s, s.dockables, [&](IBdsDockableWindow** out) { service->GetStandardWindow(type, out); });
            break;
        }
        case 4: ReadValue<Integer>(s, [&](Integer* out) { service->DocumentFrameOnTop(out); }); break;
        default: service->DocumentFrameNormal(EditorIndex(in)); break;
    }
}

void DocumentWindowCall(PackageSession& s) {
    IBdsDocumentWindow* window = s.documents.Pick(s.Input());
    if (!window) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(13)) {
        case 0: ReadValue<WordBool>(s, [&](WordBool* out) { window->Get_Visible(out); }); break;
        case 1: window->Set_Visible(in.Flag()); break;
        case 2: ReadValue<WordBool>(s, [&](WordBool* out) { window->Get_Modified(out); }); break;
        case 3: window->Set_Modified(in.Flag()); break;
        case 4: ReadValue<WordBool>(s, [&](WordBool* out) { window->Get_StayOnTop(out); }); break;
        case 5: window->Set_StayOnTop(in.Flag()); break;
        case 6: RegisterWindowEvents(s, window); break;
        case 7:
        case 8: HandOverControl(s, window, [&](IUnknown* control) { window->HostControl(control); }); break;
        case 9: window->ReHostControl(); break;
        case 10: window->Activate(); break;
        case 11: window->Close(); break;
        default: window->DoResize(); break;
    }
}

void DockableWindowCall(PackageSession& s) {
    IBdsDockableWindow* window = s.dockables.Pick(s.Input());
    if (!window) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(14)) {
        case 0: ReadText(s, [&](BSTR* out) { window->Get_Caption(out); }); break;
        case 1: {
            const TextArgument caption = s.Text(Captions);
            window->Set_Caption(caption);
            break;
        }
        case 2: ReadValue<WordBool>(s, [&](WordBool* out) { window->Get_Visible(out); }); break;
        case 3: window->Set_Visible(in.Flag()); break;
        case 4: ReadValue<WordBool>(s, [&](WordBool* out) { window->Get_AutoHides(out); }); break;
        case 5: window->Set_AutoHides(in.Flag()); break;
        case 6: ReadValue<WordBool>(s, [&](WordBool* out) { window->Get_IsFloating(out); }); break;
        case 7: window->Set_IsFloating(in.Flag()); break;
        case 8: ReadValue<WordBool>(s, [&](WordBool* out) { window->Get_IsActive(out); }); break;
        case 9: RegisterWindowEvents(s, window); break;
        case 10: window->SetIcon(s.Bitmap()); break;
        case 11: HandOverControl(s, window, [&](IUnknown* control) { window->HostControl(control); }); break;
        case 12: window->Activate(); break;
        default: window->Close(); break;
    }
}

}  // namespace

const std::vector<String>& SourceFiles() {
    static const std::vector<String> files{u"Doc.kdoc", u"Unit1.pas", u"Form1.dfm", u"", u"doc.KDOC",
                                           u"C:\\src\\\u00C4rger.pas"};
    return files;
}

ActionTable WindowActions() {
    return {{"windows service", WindowsServiceCall},
            {"windows service", WindowsServiceCall},
            {"document window", DocumentWindowCall},
            {"document window", DocumentWindowCall},
            {"document window", DocumentWindowCall},
            {"dockable window", DockableWindowCall}};
}

}  // namespace fuzz
