#include "sim/EditorArea.h"

#include "platform/rtl/Text.h"

namespace sim {
namespace {

constexpr int TabSetHeight = 24;
constexpr int MessageViewHeight = 96;
constexpr int StatusBarHeight = 20;

template <class Control>
Control* Place(Control* control, vcl::TWinControl* parent, const String& name, vcl::TAlign align, int height) {
    control->SetName(name);
    control->SetBounds(0, 0, parent->ClientWidth(), height);
    control->SetAlign(align);
    control->SetParent(parent);
    return control;
}

}  // namespace

String FileNameOnly(const String& path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == String::npos ? path : path.substr(slash + 1);
}

GradientTabSet::GradientTabSet(vcl::TComponent* owner) : TWinControl(owner), images_(new vcl::TImageList(this)) {}

void GradientTabSet::SelectTab(int index) {
    if (index < -1 || index >= items_.Count()) rtl::RaiseListIndexError(index);
    tabIndex_ = index;
    vcl::RaiseEvent(OnChange, this);
}

int GradientTabSet::ImageIndexOf(int tab) {
    int image = -1;
    if (const vcl::TTabGetImageEvent handler = OnGetImageIndex) handler(this, tab, image);
    return image;
}

int GradientTabSet::OverlayIndexOf(int tab) {
    int overlay = -1;
    if (const vcl::TTabGetImageEvent handler = OnGetOverlayImageIndex) handler(this, tab, overlay);
    return overlay;
}

void GradientTabSet::MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, int x, int y) {
    if (const vcl::TMouseEvent handler = OnMouseDown) handler(this, button, shift, x, y);
}

bool GradientTabSet::GetPublished(const String& name, vcl::TPropValue& value) const {
    if (name == u"Items") value.value = const_cast<vcl::TStringList*>(&items_);
    else if (name == u"TabIndex") value.value = tabIndex_;
    else if (name == u"Images") value.value = static_cast<vcl::TObject*>(images_);
    else if (name == u"OnChange") value.value = OnChange;
    else if (name == u"OnGetImageIndex") value.value = OnGetImageIndex;
    else if (name == u"OnGetOverlayImageIndex") value.value = OnGetOverlayImageIndex;
    else if (name == u"OnMouseDown") value.value = OnMouseDown;
    else return TWinControl::GetPublished(name, value);
    return true;
}

bool GradientTabSet::SetPublished(const String& name, const vcl::TPropValue& value) {
    if (name == u"OnChange") OnChange = std::get<vcl::TNotifyEvent>(value.value);
    else if (name == u"OnGetImageIndex") OnGetImageIndex = std::get<vcl::TTabGetImageEvent>(value.value);
    else if (name == u"OnGetOverlayImageIndex") OnGetOverlayImageIndex = std::get<vcl::TTabGetImageEvent>(value.value);
    else if (name == u"OnMouseDown") OnMouseDown = std::get<vcl::TMouseEvent>(value.value);
    else return TWinControl::SetPublished(name, value);
    return true;
}

MessageViewForm::MessageViewForm(vcl::TComponent* owner) : TWinControl(owner) {
    auto* popup = new vcl::TPopupMenu(this);
    for (const char16_t* caption : {u"&Copy", u"View &Editor", u"&Clear All"}) {
        auto* item = new vcl::TMenuItem(popup);
        item->SetCaption(caption);
        popup->Items()->Add(item);
    }
    SetPopupMenu(popup);
}

bool MessageViewForm::GetPublished(const String& name, vcl::TPropValue& value) const {
    if (name != u"PopupMenu") return TWinControl::GetPublished(name, value);
    value.value = static_cast<vcl::TObject*>(PopupMenu());
    return true;
}

vcl::TMenuItem* MessageViewForm::ViewEditorItem() const {
    return PopupMenu() ? vcl::FindItemByCaption(*PopupMenu()->Items(), u"View Editor") : nullptr;
}

vcl::TStatusBar* EditWindow::GetStatusBar() {
    vcl::TCustomForm* form = form_.Get();
    return form ? dynamic_cast<vcl::TStatusBar*>(form->FindComponent(u"StatusBar")) : nullptr;
}

rtl::ComPtr<ide::INTAEditWindow> EditView::GetEditWindow() {
    if (!window_ || !window_->GetForm()) return nullptr;
    return rtl::ComPtr<ide::INTAEditWindow>(window_.Get());
}

rtl::ComPtr<ide::IOTAModule> SourceEditor::GetModule() { return rtl::ComPtr<ide::IOTAModule>(module_); }

rtl::ComPtr<ide::IOTAEditView> SourceEditor::GetEditView(int index) {
    if (index < 0 || index >= GetEditViewCount()) return nullptr;
    return rtl::ComPtr<ide::IOTAEditView>(views_[static_cast<size_t>(index)].Get());
}

void SourceEditor::AddView(EditWindow* window) {
    const rtl::ComPtr<EditView> view(new EditView(window));  // a notifier may close the views
    views_.push_back(view);
    notifiers_.ForEachOffering<ide::IOTAEditorNotifier>(
        [&](ide::IOTAEditorNotifier& notifier) { notifier.ViewNotification(view.Get(), vcl::TOperation::opInsert); });
}

void SourceEditor::CloseViews() {
    const auto views = std::move(views_);
    views_.clear();
    for (const auto& view : views)
        notifiers_.ForEachOffering<ide::IOTAEditorNotifier>(
            [&](ide::IOTAEditorNotifier& notifier) { notifier.ViewNotification(view.Get(), vcl::TOperation::opRemove); });
}

Module::Module(EditorArea* area, String fileName)
    : area_(area), fileName_(std::move(fileName)), source_(new SourceEditor(this, fileName_)), tabObject_(new ModuleTab(*this)) {
    editors_.emplace_back(source_.Get());
    recorder_ = &area->Record();
}

Module::~Module() { Closed(); }

rtl::ComPtr<ide::IOTAEditor> Module::GetModuleFileEditor(int index) {
    if (index < 0 || index >= GetModuleFileCount()) return nullptr;
    return editors_[static_cast<size_t>(index)];
}

void Module::Closed() {
    if (!area_) return;
    area_ = nullptr;
    source_->CloseViews();
    notifiers_.ReleaseAll();
    source_->DetachModule();
    if (form_) form_->DetachModule();
    if (interface_) interface_->DetachModule();
}

FormEditor& Module::AddFormFile(const String& fileName, const String& text) {
    form_ = rtl::ComPtr<FormEditor>(new FormEditor(this, fileName, text));
    editors_.emplace_back(form_.Get());
    return *form_.Get();
}

void Module::AddInterfaceFile(const String& fileName, const String& text) {
    interface_ = rtl::ComPtr<SourceEditor>(new SourceEditor(this, fileName));
    interface_->Load(text, true);
    editors_.emplace_back(interface_.Get());
}

EditorArea::~EditorArea() {
    ShutDown();
    std::error_code ignored;
    if (!saveFolder_.empty()) std::filesystem::remove_all(saveFolder_, ignored);
}

rtl::ComPtr<ide::IOTAModule> EditorArea::GetModule(int index) {
    if (index < 0 || index >= GetModuleCount()) return nullptr;
    return rtl::ComPtr<ide::IOTAModule>(modules_[static_cast<size_t>(index)].Get());
}

Module* EditorArea::Find(const String& fileName) const {
    for (const auto& module : modules_)
        if (rtl::SameText(module->GetFileName(), fileName)) return module.Get();
    return nullptr;
}

rtl::ComPtr<ide::IOTAModule> EditorArea::FindModule(const String& fileName) {
    return rtl::ComPtr<ide::IOTAModule>(Find(fileName));
}

rtl::ComPtr<ide::IOTAEditView> EditorArea::GetTopView() { return rtl::ComPtr<ide::IOTAEditView>(topView_.Get()); }

Module& EditorArea::AddModule(const String& fileName) {
    modules_.emplace_back(new Module(this, fileName));
    return *modules_.back().Get();
}

// A package may hold the module services past the IDE's end: nothing opens or registers
// then, as the IDE's recorder and windows are gone, and nothing would let it go again.
void EditorArea::RequireRunning() const {
    if (shutDown_) throw rtl::EInvalidOperation(u"The IDE has shut down");
}

Module* EditorArea::OpenFile(const String& fileName) {
    RequireRunning();
    Module* module = Find(fileName);
    if (!module) module = &AddModule(fileName);
    return ShowInEditWindow(*module) ? module : nullptr;
}

bool EditorArea::CloseFile(const String& fileName) {
    Module* module = Find(fileName);
    if (!module) return false;
    CloseModule(*module);
    return true;
}

// The module leaves the area before its notifiers hear Destroyed, so that one calling back
// in finds the area without it.
void EditorArea::CloseModule(Module& module) {
    const rtl::ComPtr<Module> closing(&module);
    if (GradientTabSet* tabs = tabSet_.Get()) {
        const int tab = tabs->Items().IndexOfObject(module.TabObject());
        if (tab >= 0) tabs->Items().Delete(tab);
    }
    if (topView_ && topView_.Get() == module.Source().FirstView()) topView_ = nullptr;
    for (auto it = modules_.begin(); it != modules_.end(); ++it) {
        if (it->Get() == &module) {
            modules_.erase(it);
            break;
        }
    }
    module.Closed();
    recorder_.Note(u"module " + FileNameOnly(module.GetFileName()) + u" closed");
    if (!modules_.empty() && form_) ShowInEditWindow(*modules_.back().Get());
}

void EditorArea::CloseEditWindow() {
    topView_ = nullptr;
    const auto modules = modules_;  // a view's notifier may close a module
    for (const auto& module : modules) module->Source().CloseViews();
    if (const rtl::ComPtr<EditWindow> closing = std::move(editWindow_)) {
        editWindow_ = nullptr;
        editNotifiers_.ForEach([&](ide::INTAEditServicesNotifier& notifier) {
            notifier.WindowShow(closing.Get(), false, false);
            notifier.WindowNotification(closing.Get(), vcl::TOperation::opRemove);
        });
    }
    delete form_.Get();
}

void EditorArea::EnsureEditWindow() {
    if (form_) return;
    auto* form = new vcl::TForm(nullptr);
    form_ = form;
    form->SetName(u"EditWindow_0");
    form->SetBounds(0, 0, 800, 600);
    tabSet_ = Place(new GradientTabSet(form), form, u"TabSet", vcl::TAlign::alTop, TabSetHeight);
    InstallIdeTabSetHandlers();
    auto* statusPanel = Place(new vcl::TPanel(form), form, u"StatusBarPanel", vcl::TAlign::alBottom, StatusBarHeight);
    statusBar_ = Place(new vcl::TStatusBar(form), statusPanel, u"StatusBar", vcl::TAlign::alClient, StatusBarHeight);
    messageView_ =
        Place(new MessageViewForm(form), form, u"MessageViewForm", vcl::TAlign::alBottom, MessageViewHeight);
    auto* clientPanel = Place(new vcl::TPanel(form), form, u"EditorClientPanel", vcl::TAlign::alClient, 0);
    auto* editorPanel = Place(new vcl::TPanel(form), clientPanel, u"EditorPanel", vcl::TAlign::alClient, 0);
    editControl_ = Place(new InternalControl(form, u"TEditControl"), editorPanel, u"Editor", vcl::TAlign::alClient, 0);
    editWindow_ = rtl::ComPtr<EditWindow>(new EditWindow(form));
    form->HandleNeeded();
    form->Show();
    editNotifiers_.ForEach([&](ide::INTAEditServicesNotifier& notifier) {
        notifier.WindowNotification(editWindow_.Get(), vcl::TOperation::opInsert);
        notifier.WindowShow(editWindow_.Get(), true, false);
    });
}

bool EditorArea::ShowInEditWindow(Module& module) {
    const rtl::ComPtr<Module> shown(&module);  // a notifier of the new edit window may close it
    EnsureEditWindow();
    if (!module.IsOpen()) return false;
    if (!module.Source().FirstView()) module.Source().AddView(editWindow_.Get());
    form_->SetCaption(FileNameOnly(module.GetFileName()));
    GradientTabSet* tabs = tabSet_.Get();
    if (!tabs) {
        topView_ = rtl::ComPtr<EditView>(module.Source().FirstView());
        return true;
    }
    if (tabs->Items().IndexOfObject(module.TabObject()) < 0)
        tabs->Items().AddObject(FileNameOnly(module.GetFileName()), module.TabObject());
    tabs->SelectTab(tabs->Items().IndexOfObject(module.TabObject()));
    return module.IsOpen();
}

// The IDE's own handlers; each records what it was asked.
void EditorArea::InstallIdeTabSetHandlers() {
    GradientTabSet* tabs = tabSet_.Get();
    // A page with two rules, and a red dot on magenta for the modified mark.
    std::vector<uint32_t> sourceImage(16 * 16, 0x00FFFFFFu);
    for (int y = 2; y < 14; ++y) sourceImage[y * 16 + 3] = sourceImage[y * 16 + 12] = 0x00000080u;
    std::vector<uint32_t> modifiedMark(16 * 16, 0x00FF00FFu);
    for (int y = 10; y < 15; ++y)
        for (int x = 10; x < 15; ++x) modifiedMark[y * 16 + x] = 0x00E00000u;
    for (const std::vector<uint32_t>* image : {&sourceImage, &modifiedMark}) {
        vcl::TBitmap bitmap;
        bitmap.SetHandle(CreateBitmap(16, 16, 1, 32, image->data()));
        tabs->Images().AddMasked(bitmap, vcl::clFuchsia);
        DeleteObject(bitmap.Handle());
    }
    tabs->OnChange = [this](vcl::TObject*) { TabChanged(); };
    tabs->OnGetImageIndex = [tabs](vcl::TObject*, int tab, int& image) {
        tabs->Requests().images.push_back(tab);
        image = GradientTabSet::SourceImageIndex;
    };
    tabs->OnGetOverlayImageIndex = [tabs](vcl::TObject*, int tab, int& overlay) {
        tabs->Requests().overlays.push_back(tab);
        const auto* moduleTab = dynamic_cast<const ModuleTab*>(tabs->Items().Objects(tab));
        if (moduleTab && moduleTab->TabModule().IsModified()) overlay = GradientTabSet::ModifiedOverlayIndex;
    };
    tabs->OnMouseDown = [tabs](vcl::TObject*, vcl::TMouseButton button, vcl::TShiftState shift, int x, int y) {
        tabs->Requests().presses.push_back({button, shift, x, y});
    };
}

// The selected tab's file comes to the front.
void EditorArea::TabChanged() {
    GradientTabSet* tabs = tabSet_.Get();
    if (tabs) ++tabs->Requests().changes;
    if (!tabs || tabs->TabIndex() < 0) return;
    vcl::TObject* selected = tabs->Items().Objects(tabs->TabIndex());
    for (const auto& module : modules_)
        if (module->TabObject() == selected) topView_ = rtl::ComPtr<EditView>(module->Source().FirstView());
    TellViewActivated();
}

}  // namespace sim
