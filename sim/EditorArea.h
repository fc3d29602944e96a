// The IDE's editor area: source modules that open and close, each with its source editor and
// that editor's view in the edit window, and the edit window itself, a form laid out as the
// IDE's: the editor tab set on top, the edit control in a container inside another container,
// the message view and the status bar (in a container of its own) at the bottom.
//
// Who holds what: the area holds the open modules; a module holds its editors; a source
// editor holds its views; a view holds the edit window object, whose form the area owns and
// destroys when the edit window closes (with every control parented into it). A view whose
// edit window closed answers nil; an editor whose module closed answers nil.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/ComObject.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/TypInfo.h"
#include "sim/FileSystemFile.h"
#include "sim/NotifierList.h"
#include "sim/Recorder.h"

namespace sim {

using rtl::String;

// A path's last part: the file's name without its folder.
String FileNameOnly(const String& path);

// The IDE's editor tab set: one tab per open file, the caption with an associated object.
// Its items, selection, images and four events are published.
class GradientTabSet : public vcl::TWinControl {
public:
    explicit GradientTabSet(vcl::TComponent* owner);
    String ClassName() const override { return u"TIDEGradientTabSet"; }

    vcl::TStringList& Items() { return items_; }
    int TabIndex() const { return tabIndex_; }
    vcl::TImageList& Images() { return *images_; }
    // Selects a tab as the user does, and tells OnChange.
    void SelectTab(int index);
    // What the tab set paints for a tab: its image and its overlay, as the events say.
    int ImageIndexOf(int tab);
    int OverlayIndexOf(int tab);
    // A mouse press on the tab set.
    void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, int x, int y);

    // What the IDE's own handlers of the four events were asked, in order.
    struct IdeRequests {
        int changes = 0;
        std::vector<int> images;
        std::vector<int> overlays;
        struct Press {
            vcl::TMouseButton button;
            vcl::TShiftState shift;
            int x;
            int y;
        };
        std::vector<Press> presses;
    };
    IdeRequests& Requests() { return requests_; }
    // The IDE's image for a source file's tab, first in the tab set's image list, and the
    // overlay it paints over the tab of a modified file, second.
    static constexpr int SourceImageIndex = 0;
    static constexpr int ModifiedOverlayIndex = 1;

    vcl::TNotifyEvent OnChange;
    vcl::TTabGetImageEvent OnGetImageIndex;
    vcl::TTabGetImageEvent OnGetOverlayImageIndex;
    vcl::TMouseEvent OnMouseDown;

    bool GetPublished(const String& name, vcl::TPropValue& value) const override;
    bool SetPublished(const String& name, const vcl::TPropValue& value) override;

private:
    vcl::TStringList items_;
    IdeRequests requests_;
    int tabIndex_ = -1;
    vcl::TImageList* images_;
};

// A control of the IDE known to the system only by its class name.
class InternalControl : public vcl::TWinControl {
public:
    InternalControl(vcl::TComponent* owner, String className) : TWinControl(owner), className_(std::move(className)) {}
    String ClassName() const override { return className_; }

private:
    String className_;
};

// The message view docked in the edit window; its popup menu is published.
class MessageViewForm : public vcl::TWinControl {
public:
    explicit MessageViewForm(vcl::TComponent* owner);
    String ClassName() const override { return u"TMessageViewForm"; }
    bool GetPublished(const String& name, vcl::TPropValue& value) const override;
    vcl::TMenuItem* ViewEditorItem() const;
};

class EditWindow : public rtl::ComObject<ide::INTAEditWindow> {
public:
    explicit EditWindow(vcl::TCustomForm* form) : form_(form) {}
    vcl::TCustomForm* STDMETHODCALLTYPE GetForm() override { return form_.Get(); }
    vcl::TStatusBar* STDMETHODCALLTYPE GetStatusBar() override;

private:
    vcl::ComponentPtr<vcl::TCustomForm> form_;
};

class EditView : public rtl::ComObject<ide::IOTAEditView> {
public:
    explicit EditView(EditWindow* window) : window_(window) {}
    rtl::ComPtr<ide::INTAEditWindow> STDMETHODCALLTYPE GetEditWindow() override;

private:
    rtl::ComPtr<EditWindow> window_;
};

class Module;
class EditorArea;

// What a module's tab carries as its associated object: the IDE finds the module from its tab.
class ModuleTab : public vcl::TObject {
public:
    explicit ModuleTab(const Module& module) : module_(module) {}
    const Module& TabModule() const { return module_; }

private:
    const Module& module_;
};

class SourceEditor : public rtl::ComObject<ide::IOTASourceEditor> {
public:
    SourceEditor(Module* module, String fileName) : module_(module), fileName_(std::move(fileName)) {}
    String STDMETHODCALLTYPE GetFileName() override { return fileName_; }
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetModule() override;
    int STDMETHODCALLTYPE GetEditViewCount() override { return static_cast<int>(views_.size()); }
    rtl::ComPtr<ide::IOTAEditView> STDMETHODCALLTYPE GetEditView(int index) override;
    bool STDMETHODCALLTYPE GetModified() override { return modified_; }
    bool STDMETHODCALLTYPE MarkModified() override;
    void STDMETHODCALLTYPE Show() override;
    int STDMETHODCALLTYPE AddNotifier(ide::IOTANotifier* notifier) override;
    void STDMETHODCALLTYPE RemoveNotifier(int index) override { notifiers_.Remove(index); }

    // For the area.
    void AddView(EditWindow* window);
    void CloseViews();
    EditView* FirstView() const { return views_.empty() ? nullptr : views_.front().Get(); }
    void DetachModule();

    // For the module.
    const String& Text() const { return text_; }
    // The text as read from a file or given by a creator; `modified` when it is not saved yet.
    void Load(String text, bool modified) {
        text_ = std::move(text);
        modified_ = modified;
    }
    // The user types: the text grows and the editor is modified.
    void Type(const String& text);
    void Renamed(String fileName) { fileName_ = std::move(fileName); }
    void Saved() { modified_ = false; }
    const NotifierList<ide::IOTANotifier>& Notifiers() const { return notifiers_; }
    void ViewActivated();

private:
    Module* module_;
    String fileName_;
    std::vector<rtl::ComPtr<EditView>> views_;
    String text_;
    bool modified_ = false;
    NotifierList<ide::IOTANotifier> notifiers_;
};

// The form file of a module with a form. Its text stays in memory: the simulation has no
// form designer, and a save writes the module's source.
class FormEditor : public rtl::ComObject<ide::IOTAFormEditor> {
public:
    FormEditor(Module* module, String fileName, String text)
        : module_(module), fileName_(std::move(fileName)), text_(std::move(text)) {}
    String STDMETHODCALLTYPE GetFileName() override { return fileName_; }
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetModule() override;
    bool STDMETHODCALLTYPE GetModified() override { return false; }
    bool STDMETHODCALLTYPE MarkModified() override { return false; }
    void STDMETHODCALLTYPE Show() override;
    // Raises once its module closed, as the source editor does.
    int STDMETHODCALLTYPE AddNotifier(ide::IOTANotifier* notifier) override;
    void STDMETHODCALLTYPE RemoveNotifier(int index) override { notifiers_.Remove(index); }

    const String& Text() const { return text_; }
    void DetachModule();

private:
    Module* module_;
    String fileName_;
    String text_;
    NotifierList<ide::IOTANotifier> notifiers_;
};

// Saving runs the module's notifiers as the IDE does: BeforeSave (for the source editor's
// notifiers too), AllowSave, CheckOverwrite when the file exists, the further files the save
// overwrites, SetSaveFileName; then the file is written into the area's save folder, never
// outside it; then AfterSave. A notifier that raises the silent abort stops the save there;
// the IDE records it and goes on. A save that changes the name asks the user for one first,
// and writes even an unmodified file. Closing tells every notifier Destroyed and lets it go;
// a modified module closes only when forced, which drops its changes.
//
// A module whose file system names a registered file system is read and written through it
// (see FileSystemFile) instead of the save folder, and renamed there too.
class Module : public rtl::ComObject<ide::IOTAModule> {
public:
    Module(EditorArea* area, String fileName);
    ~Module() override;
    String STDMETHODCALLTYPE GetFileName() override { return fileName_; }
    int STDMETHODCALLTYPE GetModuleFileCount() override { return static_cast<int>(editors_.size()); }
    rtl::ComPtr<ide::IOTAEditor> STDMETHODCALLTYPE GetModuleFileEditor(int index) override;
    void STDMETHODCALLTYPE SetFileName(const String& fileName) override;
    String STDMETHODCALLTYPE GetFileSystem() override { return fileSystem_; }
    void STDMETHODCALLTYPE SetFileSystem(const String& fileSystem) override { fileSystem_ = fileSystem; }
    bool STDMETHODCALLTYPE HasCoClasses() override { return false; }
    void STDMETHODCALLTYPE AddToInterface() override {}
    int STDMETHODCALLTYPE AddNotifier(ide::IOTAModuleNotifier* notifier) override;
    void STDMETHODCALLTYPE RemoveNotifier(int index) override { notifiers_.Remove(index); }
    bool STDMETHODCALLTYPE Save(bool changeName, bool forceSave) override;
    bool STDMETHODCALLTYPE Close() override { return CloseModule(false); }
    bool STDMETHODCALLTYPE CloseModule(bool forceClosed) override;
    rtl::ComPtr<ide::IOTAEditor> STDMETHODCALLTYPE GetCurrentEditor() override;
    int STDMETHODCALLTYPE GetOwnerModuleCount() override { return 0; }
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetOwnerModule(int index) override;
    void STDMETHODCALLTYPE MarkModified() override { source_->MarkModified(); }
    void STDMETHODCALLTYPE Show() override;
    void STDMETHODCALLTYPE ShowFilename(const String& fileName) override;

    SourceEditor& Source() { return *source_.Get(); }
    // What the module's tab carries as its associated object.
    vcl::TObject* TabObject() const { return tabObject_.get(); }
    void Closed();
    bool IsOpen() const { return area_ != nullptr; }
    bool IsModified() const { return source_->GetModified(); }
    // The IDE's notifier round for a change of the source.
    void NotifyModified();
    // Save under another name: the module is renamed, then saved.
    bool SaveAs(const String& fileName);
    // The form file a creator gave the module; the module holds its editor until it closes.
    FormEditor& AddFormFile(const String& fileName, const String& text);
    // The interface file (a header) a creator gave the module, held as the form file is.
    void AddInterfaceFile(const String& fileName, const String& text);
    // The age of the file when it was read from its file system, to notice changes made since.
    void SetReadAge(int age) { readAge_ = age; }

private:
    // Each step of a save in order; false when a notifier stopped or refused it, or the
    // module was closed on the way.
    bool RenameAsTheUserSays();
    bool AskBeforeSave();
    bool AllowedToSave();
    bool MayOverwrite(bool fileExists);
    bool WriteFile(const std::filesystem::path& target);
    // The save's last steps for each kind of storage; false when it did not happen.
    bool SaveToFolder(EditorArea& area, const std::filesystem::path& file);
    bool NotWritten();
    bool SaveToFileSystem(ide::IOTAFileSystem& fileSystem, const String& name);
    // Renames the module's file in its file system; false when the file system refused.
    bool RenameInFileSystem(const String& oldName, const String& newName);
    void TellAfterSave();
    // False, and a note, when the module was closed by someone the save called.
    bool StillOpenWhileSaving();
    // Runs one notifier round; the silent abort stops it and is recorded as `stopped`.
    template <class Round>
    bool Unstopped(Round&& round, const String& stopped);

    EditorArea* area_;
    // The IDE's, which outlives the module and its closing.
    Recorder* recorder_;
    String fileName_;
    String fileSystem_;
    int readAge_ = NoFileAge;
    NotifierList<ide::IOTAModuleNotifier> notifiers_;
    rtl::ComPtr<SourceEditor> source_;
    rtl::ComPtr<FormEditor> form_;
    rtl::ComPtr<SourceEditor> interface_;
    std::vector<rtl::ComPtr<ide::IOTAEditor>> editors_;
    std::unique_ptr<ModuleTab> tabObject_;
};

// What a creator answers, asked in the IDE's order; no module creator when it offers none.
struct CreatorAnswers {
    String creatorType;
    bool existing = false;
    String fileSystem;
    bool unnamed = false;
    rtl::ComPtr<ide::IOTAModuleCreator> moduleCreator;
    String ancestorName;
    String implFileName;
    String intfFileName;
    String formName;
    bool mainForm = false;
    bool showForm = false;
    bool showSource = false;
};
CreatorAnswers AskInOrder(ide::IOTACreator& creator);

class EditorArea : public rtl::ComObject<ide::IOTAModuleServices, ide::IOTAEditorServices> {
public:
    explicit EditorArea(Recorder& recorder) : recorder_(recorder) {}
    ~EditorArea() override;

    // IOTAModuleServices
    int STDMETHODCALLTYPE GetModuleCount() override { return static_cast<int>(modules_.size()); }
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetModule(int index) override;
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE FindModule(const String& fileName) override;
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE CurrentModule() override;
    bool STDMETHODCALLTYPE NewModule() override;
    void STDMETHODCALLTYPE GetNewModuleAndClassName(const String& prefix, String& unitIdent, String& className,
                                                    String& fileName) override;
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE FindFormModule(const String&) override { return nullptr; }
    bool STDMETHODCALLTYPE SaveAll() override;
    bool STDMETHODCALLTYPE CloseAll() override;
    // These two raise once the IDE has shut down, before asking or keeping anything. No
    // creator creates no module.
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE CreateModule(ide::IOTACreator* creator) override;
    int STDMETHODCALLTYPE AddFileSystem(ide::IOTAFileSystem* fileSystem) override;
    void STDMETHODCALLTYPE RemoveFileSystem(int index) override;
    rtl::ComPtr<ide::IOTAFileSystem> STDMETHODCALLTYPE FindFileSystem(const String& name) override;
    // IOTAEditorServices
    rtl::ComPtr<ide::IOTAEditView> STDMETHODCALLTYPE GetTopView() override;
    // Raises once the IDE has shut down, which tells no one anything again.
    int STDMETHODCALLTYPE AddNotifier(ide::INTAEditServicesNotifier* notifier) override;
    void STDMETHODCALLTYPE RemoveNotifier(int index) override { editNotifiers_.Remove(index); }

    // The user presses a key in the editor: the editor services' notifiers may take the
    // command; otherwise the IDE runs it. True when a notifier handled it.
    bool SendEditorCommand(int command, int param);
    // The IDE shuts down: every module closes and the editor services let their notifiers go.
    void ShutDown();
    // The name the user gives the next time the IDE asks for one to save a module under;
    // without it the user keeps the name the IDE proposes.
    void AnswerNextSaveAs(String fileName) { saveAsAnswer_ = std::move(fileName); }

    // For the modules.
    Recorder& Record() { return recorder_; }
    // Asks the user for a name to save the module of `fileName` under.
    String AskSaveAsName(const String& fileName);
    // The folder saved files go to, made at the first save and removed with the area.
    const std::filesystem::path& SaveFolder();
    void CloseModule(Module& module);
    void ShowModule(Module& module) { ShowInEditWindow(module); }
    void Renamed(Module& module);
    void SourceModified();

    // The user opens a file (or brings an open one to the front): it gets a tab and a view
    // in the edit window, made if there is none, and its view becomes the top view. Raises
    // once the IDE has shut down. Nil when a package closed the module while it was shown.
    Module* OpenFile(const String& fileName);
    // False when no module has that file.
    bool CloseFile(const String& fileName);
    // The user opens a file of a registered file system: the module is read through it. Nil
    // (and a note why) when there is no such file system or file. Raises once the IDE has shut down.
    Module* OpenFromFileSystem(const String& fileSystem, const String& fileName);
    // Destroys the edit window's form and what is parented into it; the modules stay open
    // without views until a file is opened again.
    void CloseEditWindow();

    // Nil while no edit window is open.
    vcl::TCustomForm* EditWindowForm() const { return form_.Get(); }
    GradientTabSet* TabSet() const { return tabSet_.Get(); }
    MessageViewForm* MessageView() const { return messageView_.Get(); }
    vcl::TWinControl* EditControl() const { return editControl_.Get(); }
    vcl::TStatusBar* StatusBar() const { return statusBar_.Get(); }

private:
    // Raises once the IDE has shut down.
    void RequireRunning() const;
    Module* Find(const String& fileName) const;
    // A new module, open but not shown yet.
    Module& AddModule(const String& fileName);
    // What a module creator gives the IDE, asked in the IDE's order, made into a module.
    Module* CreateFromModuleCreator(ide::IOTACreator& creator);
    // A new module with the creator's form file and source.
    Module* BuildCreatedModule(const CreatorAnswers& answers);
    void EnsureEditWindow();
    // False when the module was closed on the way (by a package told of the new edit window).
    bool ShowInEditWindow(Module& module);
    void InstallIdeTabSetHandlers();
    void TabChanged();
    void TellViewActivated();

    Recorder& recorder_;
    std::filesystem::path saveFolder_;
    bool shutDown_ = false;
    String saveAsAnswer_;
    NotifierList<ide::INTAEditServicesNotifier> editNotifiers_;
    // Registered file systems by index; a removed one leaves its slot empty.
    std::vector<rtl::ComPtr<ide::IOTAFileSystem>> fileSystems_;
    std::vector<rtl::ComPtr<Module>> modules_;
    rtl::ComPtr<EditView> topView_;
    rtl::ComPtr<EditWindow> editWindow_;
    vcl::ComponentPtr<vcl::TCustomForm> form_;
    vcl::ComponentPtr<GradientTabSet> tabSet_;
    vcl::ComponentPtr<MessageViewForm> messageView_;
    vcl::ComponentPtr<vcl::TWinControl> editControl_;
    vcl::ComponentPtr<vcl::TStatusBar> statusBar_;
};

}  // namespace sim
