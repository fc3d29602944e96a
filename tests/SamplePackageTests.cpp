// The sample packages as the IDE runs them: both loaded from the library the build makes,
// initialized once the toolbars are loaded, and driven the way a user would drive them.
#include <gtest/gtest.h>

#include <initializer_list>

#include "examples/SamplePackage/DesignerPackage.h"
#include "examples/SamplePackage/SamplePackage.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/Guid.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "services/KorvelBdsServices.h"
#include "tests/support/LoaderFixture.h"
#include "tests/support/SampleLibrary.h"

using namespace testing_support;

namespace {

const String kSampleName = u"Korvel Sample Package";
const String kDesignerName = u"Korvel Sample Designer Package";
const String kToolBarName = u"KorvelSampleToolBar";

// Keys held down while a test runs; the thread's keyboard state is everyone's.
void HoldKeys(std::initializer_list<int> keys) {
    BYTE state[256] = {};
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
}

class SamplePackagesTest : public LoaderFixture {
protected:
    SamplePackagesTest() {
        HoldKeys({});
        for (const CLSID& clsid : {CLSID_SamplePackage, CLSID_SampleDesignerPackage})
            registry.RegisterInprocServer(clsid, BesideTheProgram(kSampleLibraryName));
        registry.AddPackage(rtl::GUIDToString(CLSID_SamplePackage), kSampleName, 20);
        registry.AddPackage(rtl::GUIDToString(CLSID_SampleDesignerPackage), kDesignerName, 30);
    }
    ~SamplePackagesTest() override {
        ShutDown();
        EXPECT_EQ(library.CanUnloadNow(), S_OK) << "every object of the library was released at shut-down";
        HoldKeys({});
    }

    // Start-up as the IDE goes through it: the loader first, then the toolbars.
    void StartIde() {
        ASSERT_TRUE(library.Loaded());
        ASSERT_TRUE(Enter());
        ASSERT_EQ(korvel::Packages.size(), 2u);
        ide.LoadToolbars();
    }

    // The packages' debug output so far; the loader writes some of its own.
    std::vector<String> PackageOutput() {
        std::vector<String> written;
        for (const String& line : ide.Record().debugOutput)
            if (line.rfind(u"Korvel Sample", 0) == 0) written.push_back(line);
        return written;
    }
    // What the packages wrote while `act` ran.
    template <class Act>
    std::vector<String> DebugOutputOf(Act&& act) {
        ide.Record().Clear();
        act();
        return PackageOutput();
    }

    vcl::TMenuItem* MenuItem(const String& menu, const String& item) {
        vcl::TMenuItem* parent = ide.Services().GetMainMenu()->Items()->FindChildByName(menu);
        return parent ? parent->FindChildByName(item) : nullptr;
    }

    template <class Control>
    Control* ToolBarControl(const String& name) {
        vcl::TToolBar* toolBar = ide.Services().ToolBars().Find(kToolBarName);
        for (int i = 0; toolBar && i < toolBar->ButtonCount(); ++i)
            if (toolBar->Buttons(i)->Name() == name) return dynamic_cast<Control*>(toolBar->Buttons(i));
        return nullptr;
    }

    // Whether the message reached the IDE's own handling.
    bool KeyDown(WPARAM key) {
        MSG msg{};
        msg.hwnd = ide.MainWindow();
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        ide.PostMessage(msg);
        return ide.ProcessMessages() == 1;
    }

    int32_t DesignInfoOfDropped(const String& className) {
        vcl::TComponent* component = ide.Designers().Open().InsertComponent(className, POINT{5, 7});
        return component ? component->DesignInfo : -1;
    }

    SampleLibrary library;
};

TEST_F(SamplePackagesTest, StartUpAnnouncesTheSampleAndInitializesBothOnceTheToolbarsAreLoaded) {
    ASSERT_TRUE(Enter());
    EXPECT_TRUE(ide.Record().messageBoxes.empty());
    EXPECT_TRUE(PackageOutput().empty()) << "nothing is initialized before the toolbars are loaded";
    ASSERT_EQ(ide.Splash().Entries().size(), 1u);
    EXPECT_EQ(ide.Splash().Entries()[0].caption, kSampleName);
    EXPECT_NE(GetObjectW(ide.Splash().Entries()[0].bitmap, 0, nullptr), 0) << "the splash screen's bitmap is alive";
    ASSERT_EQ(ide.About().Products().size(), 1u);
    EXPECT_EQ(ide.About().Products()[0].dialogTitle, u"About " + kSampleName);
    EXPECT_EQ(ide.About().Products()[0].description, u"Shows every service of the loader.");

    Integer major = 0;
    Integer minor = 0;
    rtl::WideString edition;
    ASSERT_EQ(Hub()->get_BdsVersionMajor(&major), S_OK);
    ASSERT_EQ(Hub()->get_BdsVersionMinor(&minor), S_OK);
    ASSERT_EQ(Hub()->get_BdsEdition(edition.Put()), S_OK);
    EXPECT_EQ(DebugOutputOf([&] { ide.LoadToolbars(); }),
              (std::vector<String>{u"Korvel Sample: initialized", u"Korvel Sample Designer: initialized for IDE " +
                                                                      rtl::IntToStr(major) + u"." +
                                                                      rtl::IntToStr(minor) + u" " + edition.Text()}));
    EXPECT_TRUE(ide.Record().messageBoxes.empty()) << "every image was taken";
}

TEST_F(SamplePackagesTest, MenuItemsStandAfterToolsOptionsAndFirstInHelp) {
    StartIde();
    vcl::TMenuItem* sample = MenuItem(u"ToolsMenu", u"KorvelSampleItem");
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->Caption(), u"Korvel &Sample");
    EXPECT_GE(sample->ImageIndex(), 0);
    vcl::TMenuItem* tools = sample->Parent();
    const int options = tools->IndexOf(MenuItem(u"ToolsMenu", u"ToolsOptionsItem"));
    EXPECT_TRUE(tools->Items(options + 1)->IsLine()) << "a group of its own, right after Options";
    EXPECT_EQ(tools->Items(options + 2), sample);

    vcl::TMenuItem* help = MenuItem(u"HelpMenu", u"KorvelSampleHelpItem");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->MenuIndex(), 0);
    EXPECT_EQ(help->Caption(), u"Korvel Sample &Help");
}

TEST_F(SamplePackagesTest, MenuItemsListThePackagesAndOpenTheSampleHelp) {
    StartIde();
    EXPECT_EQ(
        DebugOutputOf([&] { MenuItem(u"ToolsMenu", u"KorvelSampleItem")->Click(); }),
        (std::vector<String>{u"Korvel Sample: menu item clicked; 2 packages: " + kSampleName + u", " + kDesignerName}));

    EXPECT_EQ(DebugOutputOf([&] { MenuItem(u"HelpMenu", u"KorvelSampleHelpItem")->Click(); }),
              (std::vector<String>{u"Korvel Sample: help opened"}));
    ASSERT_EQ(ide.Record().shellLaunches.size(), 1u);
    EXPECT_EQ(ide.Record().shellLaunches[0].parameters, u"/helpcol ms-help://korvel/sample/index.htm");
}

TEST_F(SamplePackagesTest, ToolBarShowsItsButtonAndComboBoxes) {
    StartIde();
    vcl::TToolBar* toolBar = ide.Services().ToolBars().Find(kToolBarName);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(toolBar->Visible());
    auto* run = ToolBarControl<vcl::TToolButton>(u"KorvelSampleRunButton");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->Caption(), u"Run Sample");
    EXPECT_EQ(run->Hint(), u"Run the sample");
    EXPECT_GE(run->ImageIndex(), 0);
    ASSERT_GT(toolBar->ButtonCount(), run->Index() + 1);
    auto* separator = dynamic_cast<vcl::TToolButton*>(toolBar->Buttons(run->Index() + 1));
    ASSERT_NE(separator, nullptr);
    EXPECT_NE(separator->Style(), vcl::TToolButtonStyle::tbsButton);

    auto* search = ToolBarControl<vcl::TComboBox>(u"KorvelSampleSearchCombo");
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->Style(), vcl::TComboBoxStyle::csDropDown);
    EXPECT_EQ(search->ItemCount(), 2);
    EXPECT_EQ(search->Items(0), u"TButton");
    EXPECT_EQ(search->Items(1), u"TLabel");

    auto* mode = ToolBarControl<vcl::TComboBox>(u"KorvelSampleModeCombo");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->Style(), vcl::TComboBoxStyle::csDropDownList);
    EXPECT_EQ(mode->ItemCount(), 2);
    EXPECT_EQ(mode->Text(), u"Debug");
}

TEST_F(SamplePackagesTest, RunButtonTogglesAndSaysWhichWay) {
    StartIde();
    auto* run = ToolBarControl<vcl::TToolButton>(u"KorvelSampleRunButton");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(DebugOutputOf([&] { run->Click(); }),
              (std::vector<String>{u"Korvel Sample: Run Sample clicked, down=true"}));
    EXPECT_TRUE(run->Down());
    EXPECT_EQ(DebugOutputOf([&] { run->Click(); }),
              (std::vector<String>{u"Korvel Sample: Run Sample clicked, down=false"}));
    EXPECT_FALSE(run->Down());
}

TEST_F(SamplePackagesTest, ComboBoxesReportTypingAndPicksAndThePickedClassGetsHelp) {
    StartIde();
    auto* search = ToolBarControl<vcl::TComboBox>(u"KorvelSampleSearchCombo");
    auto* mode = ToolBarControl<vcl::TComboBox>(u"KorvelSampleModeCombo");
    ASSERT_TRUE(search && mode);

    EXPECT_EQ(DebugOutputOf([&] { search->UserTypes(u"TE"); }),
              (std::vector<String>{u"Korvel Sample: search text \"T\"", u"Korvel Sample: search text \"TE\""}));
    EXPECT_EQ(DebugOutputOf([&] { search->UserPicks(0); }),
              (std::vector<String>{u"Korvel Sample: help for \"TButton\"", u"Korvel Sample: search text \"TButton\""}));
    EXPECT_EQ(ide.Record().helpKeywords, std::vector<String>{u"TButton"});

    EXPECT_EQ(DebugOutputOf([&] { mode->UserPicks(1); }),
              (std::vector<String>{u"Korvel Sample: mode \"Release\" (item 1)"}));
    EXPECT_TRUE(ide.Record().helpKeywords.empty()) << "a mode is no help topic";
}

TEST_F(SamplePackagesTest, DesignerHandlesCtrlShiftKAndAsksTheIdeAboutOtherKeys) {
    StartIde();
    bool dispatched = true;
    HoldKeys({VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(DebugOutputOf([&] { dispatched = KeyDown('K'); }),
              (std::vector<String>{u"Korvel Sample Designer: Ctrl+Shift+K handled"}));
    EXPECT_FALSE(dispatched) << "handled: the IDE does not see it";

    HoldKeys({VK_CONTROL});
    EXPECT_EQ(DebugOutputOf([&] { dispatched = KeyDown('S'); }),
              (std::vector<String>{u"Korvel Sample Designer: key 0x20053 is an IDE shortcut"}));
    EXPECT_TRUE(dispatched);

    HoldKeys({VK_MENU, VK_SHIFT});
    EXPECT_EQ(DebugOutputOf([&] { dispatched = KeyDown('Q'); }),
              (std::vector<String>{u"Korvel Sample Designer: key 0x50051 is not an IDE shortcut"}));
    EXPECT_TRUE(dispatched);

    HoldKeys({});
    EXPECT_EQ(DebugOutputOf([&] { KeyDown('Q'); }),
              (std::vector<String>{u"Korvel Sample Designer: key 0x00051 is not an IDE shortcut"}));
    EXPECT_TRUE(DebugOutputOf([&] { dispatched = KeyDown(VK_CONTROL); }).empty()) << "a modifier alone says nothing";
    EXPECT_TRUE(dispatched);
}

TEST_F(SamplePackagesTest, DesignerPlacesDroppedButtonsAndEditsAndLeavesOtherClassesAlone) {
    StartIde();
    int32_t designInfo = 0;
    EXPECT_EQ(DebugOutputOf([&] { designInfo = DesignInfoOfDropped(u"TButton"); }),
              (std::vector<String>{u"Korvel Sample Designer: drop point for TButton"}));
    EXPECT_EQ(designInfo, (48 << 16) | 120);
    EXPECT_EQ(DebugOutputOf([&] { designInfo = DesignInfoOfDropped(u"TEdit"); }),
              (std::vector<String>{u"Korvel Sample Designer: drop point for TEdit"}));
    EXPECT_EQ(designInfo, (80 << 16) | 120);
    EXPECT_TRUE(DebugOutputOf([&] { designInfo = DesignInfoOfDropped(u"TLabel"); }).empty());
    EXPECT_EQ(designInfo, (7 << 16) | 5) << "where the designer put it";
}

TEST_F(SamplePackagesTest, TerminateTakesTheSamplesThingsAwayAndCutsOffWhatTheLoaderKeeps) {
    StartIde();
    EXPECT_EQ(DebugOutputOf([&] {
                  for (auto package = korvel::Packages.rbegin(); package != korvel::Packages.rend(); ++package)
                      EXPECT_EQ(package->Get()->Terminate(), S_OK);
              }),
              (std::vector<String>{u"Korvel Sample Designer: terminated", u"Korvel Sample: terminated"}));
    EXPECT_EQ(MenuItem(u"ToolsMenu", u"KorvelSampleItem"), nullptr);
    EXPECT_EQ(MenuItem(u"HelpMenu", u"KorvelSampleHelpItem"), nullptr);
    EXPECT_EQ(ide.Services().ToolBars().Find(kToolBarName), nullptr);

    // The hub keeps the message handler and the drop helper provider until it shuts down.
    bool dispatched = false;
    int32_t designInfo = 0;
    EXPECT_TRUE(DebugOutputOf([&] {
                    HoldKeys({VK_CONTROL, VK_SHIFT});
                    dispatched = KeyDown('K');
                    designInfo = DesignInfoOfDropped(u"TButton");
                }).empty());
    EXPECT_TRUE(dispatched) << "nobody handles Ctrl+Shift+K any more";
    EXPECT_EQ(designInfo, (7 << 16) | 5) << "nobody places buttons any more";
}

TEST_F(SamplePackagesTest, DocumentTabShowsThePackagesIconAndTheIdesModifiedMarkUntilThePackageSavesIt) {
    StartIde();
    sim::Module& module = *ide.Editors().OpenFile(u"C:\\Korvel\\Sample.kdoc");
    vcl::TMenuItem* documentItem = MenuItem(u"ToolsMenu", u"KorvelSampleDocumentItem");
    ASSERT_NE(documentItem, nullptr);
    documentItem->Click();
    sim::GradientTabSet& tabs = *ide.Editors().TabSet();
    ASSERT_EQ(tabs.Items().Strings(0), u"Sample.kdoc");

    int image = -1;
    EXPECT_EQ(DebugOutputOf([&] { image = tabs.ImageIndexOf(0); }),
              (std::vector<String>{u"Korvel Sample: the document's tab asks for its icon"}));
    EXPECT_GT(image, sim::GradientTabSet::ModifiedOverlayIndex) << "an image of its own";
    EXPECT_TRUE(DebugOutputOf([&] { EXPECT_EQ(tabs.ImageIndexOf(0), image); }).empty()) << "asked once";

    EXPECT_EQ(tabs.OverlayIndexOf(0), -1) << "modified for the package, not for the IDE";
    module.Source().Type(u"<sample/>");
    EXPECT_EQ(tabs.OverlayIndexOf(0), sim::GradientTabSet::ModifiedOverlayIndex);
    EXPECT_EQ(DebugOutputOf([&] { documentItem->Click(); }),
              (std::vector<String>{u"Korvel Sample: document saved; modified no"}));
    EXPECT_EQ(tabs.OverlayIndexOf(0), -1) << "saved by the package, whatever the IDE thinks";
}

TEST_F(SamplePackagesTest, ToolWindowKeepsThePackagesWindowWhereverTheIdePutsItAndIsMadeAnewAfterTheIdeDestroyedIt) {
    StartIde();
    vcl::TMenuItem* toolWindowItem = MenuItem(u"ViewsMenu", u"KorvelSampleToolWindowItem");
    ASSERT_NE(toolWindowItem, nullptr);
    toolWindowItem->Click();
    ide::TDockableForm* form = sim::ToolWindowDesktop::Find(u"KorvelSampleToolWindow");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Caption(), u"Korvel Sample Tools");
    EXPECT_TRUE(form->Visible());
    EXPECT_NE(form->Icon(), nullptr);
    const HWND hosted = GetWindow(form->Handle(), GW_CHILD);
    ASSERT_NE(hosted, nullptr);
    ide.Desktop().Dock(*form);
    EXPECT_EQ(GetAncestor(hosted, GA_PARENT), form->Handle()) << "moved into the docked form's new window";
    EXPECT_TRUE(IsWindowVisible(hosted));

    EXPECT_EQ(DebugOutputOf([&] { sim::ToolWindowDesktop::Destroy(form); }),
              (std::vector<String>{u"Korvel Sample: the IDE closed the tool window"}));
    EXPECT_TRUE(IsWindow(hosted)) << "the package's window outlives the form";
    toolWindowItem->Click();
    form = sim::ToolWindowDesktop::Find(u"KorvelSampleToolWindow");
    ASSERT_NE(form, nullptr) << "a new tool window";
    EXPECT_EQ(GetAncestor(hosted, GA_PARENT), form->Handle()) << "hosting the same window";

    vcl::TMenuItem* inspectorItem = MenuItem(u"ViewsMenu", u"KorvelSampleInspectorItem");
    ASSERT_NE(inspectorItem, nullptr);
    EXPECT_EQ(DebugOutputOf([&] { inspectorItem->Click(); }), (std::vector<String>{u"Korvel Sample: Object Inspector closed"}));
    EXPECT_EQ(DebugOutputOf([&] { inspectorItem->Click(); }), (std::vector<String>{u"Korvel Sample: Object Inspector shown"}));
}

// A hub that refuses every request, or grants each one with nothing in it.
enum class HubAnswer { Refuses, GrantsNothing };

class UnhelpfulHub : public rtl::ComObject<IBdsServices> {
public:
    explicit UnhelpfulHub(HubAnswer answer) : answer_(answer) {}

    HRESULT STDMETHODCALLTYPE get_BdsVersionMajor(Integer* version) override { return Zero(version); }
    HRESULT STDMETHODCALLTYPE get_BdsVersionMinor(Integer* version) override { return Zero(version); }
    HRESULT STDMETHODCALLTYPE get_BdsEdition(BSTR* edition) override { return Zero(edition); }
    HRESULT STDMETHODCALLTYPE get_IsPersonalityEdition(WordBool* personality) override { return Zero(personality); }
    HRESULT STDMETHODCALLTYPE Get_BdsWindowsService(IBdsWindowsService** service) override { return Zero(service); }
    HRESULT STDMETHODCALLTYPE Get_BdsToolBarService(IBdsToolBarService** service) override { return Zero(service); }
    HRESULT STDMETHODCALLTYPE Get_BdsHelpService(IBdsHelpService** service) override { return Zero(service); }
    HRESULT STDMETHODCALLTYPE Get_BdsMenuBarService(IBdsMenuBarService** service) override { return Zero(service); }
    HRESULT STDMETHODCALLTYPE Get_IsComponentRegistered(BSTR, WordBool* registered) override {
        return Zero(registered);
    }
    HRESULT STDMETHODCALLTYPE GetService(const GUID*, IUnknown** service) override { return Zero(service); }
    HRESULT STDMETHODCALLTYPE IsShortcut(Integer, WordBool* result) override { return Zero(result); }
    HRESULT STDMETHODCALLTYPE AddSplashInfo(HBITMAP, BSTR, BSTR, WordBool, BSTR) override { return Answer(); }
    HRESULT STDMETHODCALLTYPE AddAboutBoxInfo(HBITMAP, HBITMAP, BSTR, BSTR, BSTR, BSTR, BSTR, WordBool, BSTR) override {
        return Answer();
    }
    HRESULT STDMETHODCALLTYPE AddMessageHandler(IMessageHandler* handler) override {
        if (answer_ == HubAnswer::GrantsNothing) handlers.emplace_back(handler);
        return Answer();
    }
    HRESULT STDMETHODCALLTYPE AddDragDropHelper(IDragDropHelperProvider* provider) override {
        if (answer_ == HubAnswer::GrantsNothing) providers.emplace_back(provider);
        return Answer();
    }
    HRESULT STDMETHODCALLTYPE OnDotNetServicesInitialized() override { return Answer(); }
    HRESULT STDMETHODCALLTYPE get_PackagesCount(Integer* count) override { return Zero(count); }
    HRESULT STDMETHODCALLTYPE GetPackageInfo(Integer, PackageInfo* info) override {
        *info = PackageInfo{};
        return Answer();
    }

    std::vector<rtl::ComPtr<IMessageHandler>> handlers;
    std::vector<rtl::ComPtr<IDragDropHelperProvider>> providers;

private:
    HRESULT Answer() const { return answer_ == HubAnswer::Refuses ? E_FAIL : S_OK; }
    template <class Out>
    HRESULT Zero(Out* out) const {
        *out = Out{};
        return Answer();
    }

    const HubAnswer answer_;
};

class UnhelpfulHubTest : public LoaderFixture, public ::testing::WithParamInterface<HubAnswer> {
protected:
    UnhelpfulHubTest() { HoldKeys({}); }
    ~UnhelpfulHubTest() override { HoldKeys({}); }

    SampleLibrary library;
    rtl::ComPtr<UnhelpfulHub> hub{new UnhelpfulHub(GetParam())};
};

TEST_P(UnhelpfulHubTest, PackagesGetByAndGiveBackEveryReferenceToTheHub) {
    ASSERT_TRUE(library.Loaded());
    const bool refuses = GetParam() == HubAnswer::Refuses;
    const ULONG unused = hub->RefCount();
    {
        const rtl::ComPtr<IBdsPackage> sample = library.CreatePackage(CLSID_SamplePackage);
        const rtl::ComPtr<IBdsPackage> designer = library.CreatePackage(CLSID_SampleDesignerPackage);
        EXPECT_EQ(sample->SetSite(hub.Get()), refuses ? E_FAIL : S_OK) << "the handshake's answer";
        EXPECT_EQ(designer->SetSite(hub.Get()), S_OK);
        EXPECT_EQ(sample->SetSite(hub.Get()), E_UNEXPECTED) << "a package is sited once";
        EXPECT_EQ(sample->Initialize(), S_OK);
        EXPECT_EQ(designer->Initialize(), refuses ? E_FAIL : S_OK);
        std::vector<String> initialized{u"Korvel Sample: initialized"};
        if (!refuses) initialized.push_back(u"Korvel Sample Designer: initialized for IDE 0.0 ");
        EXPECT_EQ(ide.Record().debugOutput, initialized);
        EXPECT_EQ(sample->Terminate(), S_OK);
        EXPECT_EQ(designer->Terminate(), S_OK);
        EXPECT_EQ(hub->RefCount(), unused) << "no reference to the hub is left";
    }
    EXPECT_EQ(hub->handlers.size(), refuses ? 0u : 1u);
    EXPECT_EQ(hub->providers.size(), refuses ? 0u : 1u);
    hub->handlers.clear();
    hub->providers.clear();
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
}

TEST_P(UnhelpfulHubTest, KeptHandlersAnswerAloneOnceTheirPackageHasTerminated) {
    const rtl::ComPtr<IBdsPackage> designer = library.CreatePackage(CLSID_SampleDesignerPackage);
    ASSERT_EQ(designer->SetSite(hub.Get()), S_OK);
    if (GetParam() == HubAnswer::Refuses) {
        EXPECT_TRUE(hub->handlers.empty() && hub->providers.empty());
        return;
    }
    ASSERT_EQ(hub->handlers.size(), 1u);
    ASSERT_EQ(hub->providers.size(), 1u);
    IMessageHandler* handler = hub->handlers[0].Get();
    IDragDropHelperProvider* provider = hub->providers[0].Get();
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = 'Q';
    WordBool callDefault = 7;
    WordBool handled = 7;
    EXPECT_EQ(handler->HandleMessage(&msg, &callDefault, &handled), S_OK);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(callDefault, 7) << "left as it came";
    EXPECT_EQ(handler->HandleMessage(nullptr, &callDefault, &handled), E_POINTER);
    EXPECT_EQ(handler->HandleMessage(&msg, &callDefault, nullptr), E_POINTER);
    EXPECT_EQ(provider->GetDragDropHelper(rtl::WideString(u"TButton").Get(), nullptr), E_POINTER);
    EXPECT_EQ(ide.Record().debugOutput,
              std::vector<String>{u"Korvel Sample Designer: key 0x00051 is not an IDE shortcut"});

    ASSERT_EQ(designer->Terminate(), S_OK);
    ide.Record().Clear();
    HoldKeys({VK_CONTROL, VK_SHIFT});
    msg.wParam = 'K';
    handled = 7;
    EXPECT_EQ(handler->HandleMessage(&msg, &callDefault, &handled), S_OK);
    HoldKeys({});
    EXPECT_EQ(handled, 0) << "nobody handled it";
    rtl::ComPtr<IUnknown> helper;
    EXPECT_EQ(provider->GetDragDropHelper(rtl::WideString(u"TButton").Get(), helper.Put()), S_OK);
    EXPECT_FALSE(helper);
    EXPECT_TRUE(ide.Record().debugOutput.empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, UnhelpfulHubTest, ::testing::Values(HubAnswer::Refuses, HubAnswer::GrantsNothing));

}  // namespace
