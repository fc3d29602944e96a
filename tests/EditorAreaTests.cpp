#include <gtest/gtest.h>

#include "platform/ide/ToolsAPI.h"
#include "sim/SimulatedIde.h"

namespace {

TEST(EditorArea, OpenFilesAreModulesWithViewsInOneEditWindowAndCloseAgain) {
    sim::SimulatedIde ide;
    auto modules = ide::GetIDEService<ide::IOTAModuleServices>(ide::IID_IOTAModuleServices);
    auto editors = ide::GetIDEService<ide::IOTAEditorServices>(ide::IID_IOTAEditorServices);
    ASSERT_TRUE(modules && editors);
    EXPECT_FALSE(editors->GetTopView());
    EXPECT_FALSE(ide.Editors().EditWindowForm());

    ide.Editors().OpenFile(u"C:\\src\\Unit1.pas");
    ide.Editors().OpenFile(u"C:\\src\\Unit2.pas");
    ASSERT_EQ(modules->GetModuleCount(), 2);
    auto second = modules->GetModule(1);
    EXPECT_EQ(second->GetFileName(), u"C:\\src\\Unit2.pas");
    EXPECT_EQ(modules->FindModule(u"C:\\src\\Unit1.pas").Get(), modules->GetModule(0).Get());
    EXPECT_FALSE(modules->GetModule(2));

    auto source = second->GetModuleFileEditor(0).Query<ide::IOTASourceEditor>();
    ASSERT_TRUE(source);
    ASSERT_EQ(source->GetEditViewCount(), 1);
    EXPECT_EQ(editors->GetTopView().Get(), source->GetEditView(0).Get());
    auto window = editors->GetTopView()->GetEditWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->GetForm(), ide.Editors().EditWindowForm());
    EXPECT_EQ(window->GetStatusBar()->Parent()->Name(), u"StatusBarPanel");

    // The edit control's container sits in another container; the tab set names both tabs.
    vcl::TWinControl* editControl = ide.Editors().EditControl();
    EXPECT_EQ(editControl->ClassName(), u"TEditControl");
    EXPECT_EQ(editControl->Parent()->Parent()->Name(), u"EditorClientPanel");
    vcl::TStringList* items = static_cast<vcl::TStringList*>(vcl::GetObjectProp(ide.Editors().TabSet(), u"Items"));
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Strings(1), u"Unit2.pas");
    EXPECT_EQ(vcl::GetOrdProp(ide.Editors().TabSet(), u"TabIndex"), 1);
    EXPECT_THROW(vcl::GetOrdProp(ide.Editors().TabSet(), u"Tabindex"), vcl::EPropertyError);

    // Picking the first tab runs the IDE's own handler: its file comes to the top.
    ide.Editors().TabSet()->SelectTab(0);
    EXPECT_EQ(editors->GetTopView()->GetEditWindow().Get(), window.Get());
    EXPECT_NE(editors->GetTopView().Get(), source->GetEditView(0).Get());

    EXPECT_TRUE(ide.Editors().CloseFile(u"C:\\src\\Unit2.pas"));
    EXPECT_FALSE(ide.Editors().CloseFile(u"C:\\src\\Unit2.pas"));
    EXPECT_EQ(modules->GetModuleCount(), 1);
    EXPECT_EQ(source->GetEditViewCount(), 0);
    EXPECT_FALSE(source->GetModule());
    EXPECT_EQ(items->Count(), 1);

    // Closing the edit window leaves the module open without a view.
    const HWND formWindow = ide.Editors().EditWindowForm()->Handle();
    ide.Editors().CloseEditWindow();
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_FALSE(window->GetForm());
    EXPECT_FALSE(editors->GetTopView());
    EXPECT_EQ(modules->GetModuleCount(), 1);
}

TEST(EditorArea, ControlsHaveRealWindowsThatFollowTheirParentsAndAreRecreated) {
    sim::SimulatedIde ide;
    ide.Editors().OpenFile(u"Unit1.pas");
    vcl::TCustomForm* form = ide.Editors().EditWindowForm();
    vcl::TWinControl* editControl = ide.Editors().EditControl();
    const HWND editWindow = editControl->Handle();
    EXPECT_EQ(GetParent(editWindow), editControl->Parent()->Handle());
    EXPECT_TRUE(IsWindowVisible(editWindow));

    // Client-aligned controls fill what the tab set, message view and status bar leave.
    form->SetBounds(0, 0, 640, 480);
    RECT rect{};
    GetClientRect(editWindow, &rect);
    EXPECT_EQ(rect.right, 640);
    EXPECT_EQ(rect.bottom, 480 - 24 - 96 - 20);

    int resizes = 0;
    editControl->OnResize = [&](vcl::TObject*) { ++resizes; };
    editControl->RecreateWnd();
    EXPECT_FALSE(IsWindow(editWindow));
    EXPECT_NE(editControl->Handle(), editWindow);
    EXPECT_EQ(resizes, 1);

    // Hiding the status bar's container hides the status bar with it.
    vcl::TStatusBar* statusBar = ide.Editors().StatusBar();
    statusBar->Parent()->Hide();
    EXPECT_FALSE(IsWindowVisible(statusBar->Handle()));

    vcl::TMenuItem* viewEditor = ide.Editors().MessageView()->ViewEditorItem();
    ASSERT_TRUE(viewEditor);
    EXPECT_EQ(viewEditor->Caption(), u"View &Editor");
}

}  // namespace
