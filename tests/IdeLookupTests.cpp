#include <gtest/gtest.h>

#include "platform/rtl/ComObject.h"
#include "platform/vcl/ActnList.h"
#include "sim/SimulatedIde.h"
#include "tests/support/InertIdeObjects.h"
#include "windows/BdsIdeUtils.h"

using rtl::ComPtr;
using rtl::String;

namespace {

class FakeView : public rtl::ComObject<ide::IOTAEditView> {
public:
    explicit FakeView(ComPtr<ide::INTAEditWindow> window) : window_(std::move(window)) {}
    ComPtr<ide::INTAEditWindow> STDMETHODCALLTYPE GetEditWindow() override { return window_; }

private:
    ComPtr<ide::INTAEditWindow> window_;
};

class FakeEditor : public testing_support::InertEditor<rtl::ComObject<ide::IOTASourceEditor>> {
public:
    explicit FakeEditor(int views, const ComPtr<ide::INTAEditWindow>& window = nullptr) {
        for (int i = 0; i < views; ++i) views_.emplace_back(new FakeView(window));
    }
    String STDMETHODCALLTYPE GetFileName() override { return u"x"; }
    ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetModule() override { return nullptr; }
    int STDMETHODCALLTYPE GetEditViewCount() override { return static_cast<int>(views_.size()); }
    ComPtr<ide::IOTAEditView> STDMETHODCALLTYPE GetEditView(int index) override {
        return ComPtr<ide::IOTAEditView>(views_.at(static_cast<size_t>(index)).Get());
    }

private:
    std::vector<ComPtr<FakeView>> views_;
};

// A form or text editor: no source editor.
class PlainEditor : public testing_support::InertEditor<rtl::ComObject<ide::IOTAEditor>> {
public:
    String STDMETHODCALLTYPE GetFileName() override { return u"x.dfm"; }
    ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetModule() override { return nullptr; }
};

class FakeModule : public testing_support::InertModule<rtl::ComObject<ide::IOTAModule>> {
public:
    explicit FakeModule(std::vector<ComPtr<ide::IOTAEditor>> editors) : editors_(std::move(editors)) {}
    String STDMETHODCALLTYPE GetFileName() override { return u"x.pas"; }
    int STDMETHODCALLTYPE GetModuleFileCount() override { return static_cast<int>(editors_.size()); }
    ComPtr<ide::IOTAEditor> STDMETHODCALLTYPE GetModuleFileEditor(int index) override {
        return editors_.at(static_cast<size_t>(index));
    }

private:
    std::vector<ComPtr<ide::IOTAEditor>> editors_;
};

class FakeModules
    : public testing_support::InertServices<rtl::ComObject<ide::IOTAModuleServices, ide::IOTAEditorServices>> {
public:
    int STDMETHODCALLTYPE GetModuleCount() override { return static_cast<int>(modules.size()); }
    ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetModule(int index) override {
        asked.push_back(index);
        return ComPtr<ide::IOTAModule>(modules.at(static_cast<size_t>(index)).Get());
    }
    ComPtr<ide::IOTAModule> STDMETHODCALLTYPE FindModule(const String&) override { return nullptr; }
    ComPtr<ide::IOTAEditView> STDMETHODCALLTYPE GetTopView() override { return nullptr; }

    std::vector<ComPtr<FakeModule>> modules;
    std::vector<int> asked;
};

ComPtr<ide::IOTAEditor> Editor(ide::IOTAEditor* editor) { return ComPtr<ide::IOTAEditor>(editor); }

TEST(IdeLookups, WithoutATopViewTheFirstModuleWhoseLastEditorHasViewsIsTaken) {
    sim::SimulatedIde ide;
    // The views found lie in the IDE's real edit window.
    ide.Editors().OpenFile(u"Unit1.pas");
    const auto editWindow =
        ide::GetIDEService<ide::IOTAEditorServices>(ide::IID_IOTAEditorServices)->GetTopView()->GetEditWindow();
    ComPtr<FakeModules> fakes(new FakeModules);
    auto* wanted = new FakeEditor(2, editWindow);
    fakes->modules.emplace_back(new FakeModule({Editor(new FakeEditor(1)), Editor(new PlainEditor)}));
    fakes->modules.emplace_back(new FakeModule({Editor(new PlainEditor), Editor(wanted)}));
    fakes->modules.emplace_back(new FakeModule({Editor(new FakeEditor(1))}));
    ide.Services().OfferService(ide::IID_IOTAModuleServices, fakes->Unknown());
    ide.Services().OfferService(ide::IID_IOTAEditorServices, fakes->Unknown());

    EXPECT_EQ(korvel::GetAnyOTAEditView().Get(), wanted->GetEditView(0).Get());
    EXPECT_EQ(fakes->asked, (std::vector<int>{0, 1})) << "the third module is not looked at";
    EXPECT_EQ(korvel::GetEditorTabSet(u"TIDEGradientTabSet"), ide.Editors().TabSet());
    EXPECT_EQ(korvel::GetEditorStatusBar(), ide.Editors().StatusBar());
    // The top view alone counts for the edit control's container: no fallback.
    EXPECT_EQ(korvel::GetDocumentParentCtrl(), nullptr);
    ide.Services().OfferService(ide::IID_IOTAModuleServices, nullptr);
    ide.Services().OfferService(ide::IID_IOTAEditorServices, nullptr);
}

TEST(IdeLookups, OnlyTheFirstNewEditWindowActionAndTheViewEditorItemChange) {
    sim::SimulatedIde ide;
    vcl::TCustomActionList* actions = ide.Services().GetActionList();
    vcl::TAction second(nullptr);
    second.SetName(u"ViewNewEditorCommand");
    second.SetActionList(actions);
    korvel::NewEditWindowActionVisible(false);
    int hidden = 0;
    for (int i = 0; i < actions->ActionCount(); ++i)
        if (actions->Actions(i)->Name() == u"ViewNewEditorCommand")
            hidden += static_cast<vcl::TCustomAction*>(actions->Actions(i))->Visible() ? 0 : 1;
    EXPECT_EQ(hidden, 1);
    EXPECT_TRUE(second.Visible());

    ide.Editors().OpenFile(u"Unit1.pas");
    korvel::MessageViewEditorMenuVisble(false);
    EXPECT_FALSE(ide.Editors().MessageView()->ViewEditorItem()->Visible());
    korvel::MessageViewEditorMenuVisble(true);
    EXPECT_TRUE(ide.Editors().MessageView()->ViewEditorItem()->Visible());
    // A message view without its popup menu is a failure the caller sees.
    ide.Editors().MessageView()->SetPopupMenu(nullptr);
    EXPECT_ANY_THROW(korvel::MessageViewEditorMenuVisble(false));
}

TEST(IdeLookups, ObjectInspectorWindowIsNilWhenTheControlTreeIsShallower) {
    sim::SimulatedIde ide;
    auto* inspector = dynamic_cast<vcl::TWinControl*>(ide.Application().FindComponent(u"PropertyInspectorControl"));
    ASSERT_NE(inspector, nullptr);
    inspector->SetParent(ide.ObjectInspectorForm());
    EXPECT_EQ(korvel::GetObjectInspectorWindow(), nullptr);
}

}  // namespace
