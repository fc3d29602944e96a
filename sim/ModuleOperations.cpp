// What the IDE does with its modules beyond opening and showing them: edits, saves, renames,
// closes, and the notifier rounds that go with each.
#include <atomic>
#include <chrono>
#include <fstream>
#include <optional>
#include <utility>

#include "sim/EditorArea.h"

namespace sim {
namespace {

String Hex(int value) { return rtl::IntToHex(static_cast<uint32_t>(value), 4); }

// None for a name no file can have: empty, a folder's, or text the file system cannot spell
// (a package may name a module with half a surrogate pair).
std::optional<std::filesystem::path> FileOfName(const String& name) {
    if (name.empty() || name == u"." || name == u"..") return std::nullopt;
    try {
        return std::filesystem::path(name);
    } catch (const std::filesystem::filesystem_error&) {
        return std::nullopt;
    }
}

// An editor whose module closed raises, rather than take what it would never let go.
void RequireOpenEditor(const Module* module, const String& fileName) {
    if (!module) throw rtl::EInvalidOperation(u"The editor of " + FileNameOnly(fileName) + u" is closed");
}

}  // namespace

rtl::ComPtr<ide::IOTAModule> FormEditor::GetModule() { return rtl::ComPtr<ide::IOTAModule>(module_); }

void FormEditor::Show() {
    if (module_ && module_->IsOpen()) module_->Show();
}

void FormEditor::DetachModule() {
    module_ = nullptr;
    notifiers_.ReleaseAll();
}

bool SourceEditor::MarkModified() {
    if (!module_ || !module_->IsOpen()) return false;
    modified_ = true;
    const rtl::ComPtr<Module> module(module_);
    module->NotifyModified();
    return true;
}

// The editor of a closed module tells no one anything again, so it takes no notifier.
int SourceEditor::AddNotifier(ide::IOTANotifier* notifier) {
    RequireOpenEditor(module_, fileName_);
    return notifiers_.Add(notifier);
}

int FormEditor::AddNotifier(ide::IOTANotifier* notifier) {
    RequireOpenEditor(module_, fileName_);
    return notifiers_.Add(notifier);
}

void SourceEditor::Show() {
    if (module_ && module_->IsOpen()) module_->Show();
}

void SourceEditor::DetachModule() {
    module_ = nullptr;
    notifiers_.ReleaseAll();
}

void SourceEditor::Type(const String& text) {
    text_ += text;
    MarkModified();
}

void SourceEditor::ViewActivated() {
    if (EditView* view = FirstView())
        notifiers_.ForEachOffering<ide::IOTAEditorNotifier>([&](ide::IOTAEditorNotifier& notifier) { notifier.ViewActivated(view); });
}

int Module::AddNotifier(ide::IOTAModuleNotifier* notifier) {
    if (!notifier) rtl::RaiseIntfCastError();
    // A closed module tells no one anything again, so it takes no notifier either.
    if (!area_) throw rtl::EInvalidOperation(u"The module " + FileNameOnly(fileName_) + u" is closed");
    return notifiers_.Add(notifier);
}

void Module::NotifyModified() {
    notifiers_.ForEach([](ide::IOTAModuleNotifier& notifier) { notifier.Modified(); });
    source_->Notifiers().ForEach([](ide::IOTANotifier& notifier) { notifier.Modified(); });
    if (area_) area_->SourceModified();
}

void Module::SetFileName(const String& fileName) {
    if (!area_ || fileName == fileName_) return;
    const rtl::ComPtr<Module> self(this);
    EditorArea& area = *area_;
    const String oldName = fileName_;
    if (!fileSystem_.empty() && !RenameInFileSystem(oldName, fileName)) return;
    if (!area_) return;
    notifiers_.ForEachOffering<ide::IOTAModuleNotifier90>(
        [&](ide::IOTAModuleNotifier90& notifier) { notifier.BeforeRename(oldName, fileName); });
    fileName_ = fileName;
    source_->Renamed(fileName);
    recorder_->Note(u"module " + FileNameOnly(oldName) + u" renamed to " + FileNameOnly(fileName));
    area.Renamed(*this);
    notifiers_.ForEach([&](ide::IOTAModuleNotifier& notifier) { notifier.ModuleRenamed(fileName); });
    notifiers_.ForEachOffering<ide::IOTAModuleNotifier90>(
        [&](ide::IOTAModuleNotifier90& notifier) { notifier.AfterRename(oldName, fileName); });
}

template <class Round>
bool Module::Unstopped(Round&& round, const String& stopped) {
    try {
        round();
    } catch (const rtl::EAbort&) {
        recorder_->Note(stopped);
        return false;
    }
    return StillOpenWhileSaving();
}

bool Module::StillOpenWhileSaving() {
    if (area_) return true;
    recorder_->Note(u"module " + FileNameOnly(fileName_) + u" was closed while it was saved");
    return false;
}

bool Module::AskBeforeSave() {
    return Unstopped(
        [&] {
            notifiers_.ForEach([](ide::IOTAModuleNotifier& notifier) { notifier.BeforeSave(); });
            source_->Notifiers().ForEach([](ide::IOTANotifier& notifier) { notifier.BeforeSave(); });
        },
        u"saving " + FileNameOnly(fileName_) + u" stopped by a notifier");
}

bool Module::AllowedToSave() {
    bool allowed = true;
    const bool unstopped = Unstopped(
        [&] {
            notifiers_.ForEachOffering<ide::IOTAModuleNotifier80>(
                [&](ide::IOTAModuleNotifier80& notifier) { allowed = allowed && notifier.AllowSave(); });
        },
        u"saving " + FileNameOnly(fileName_) + u" stopped by a notifier");
    if (unstopped && !allowed) recorder_->Note(u"saving " + FileNameOnly(fileName_) + u" refused by a notifier");
    return unstopped && allowed;
}

// An existing file is overwritten only when every notifier agrees; the further files a save
// overwrites are the IDE's to check with the user, which here means noting them.
bool Module::MayOverwrite(bool fileExists) {
    bool agreed = true;
    std::vector<String> alsoOverwritten;
    const bool unstopped = Unstopped(
        [&] {
            if (fileExists)
                notifiers_.ForEach([&](ide::IOTAModuleNotifier& notifier) { agreed = agreed && notifier.CheckOverwrite(); });
            if (!agreed) return;
            notifiers_.ForEachOffering<ide::IOTAModuleNotifier80>([&](ide::IOTAModuleNotifier80& notifier) {
                const int count = notifier.GetOverwriteFileNameCount();
                for (int index = 0; index < count; ++index) alsoOverwritten.push_back(notifier.GetOverwriteFileName(index));
                notifier.SetSaveFileName(fileName_);
            });
        },
        u"saving " + FileNameOnly(fileName_) + u" stopped by a notifier");
    if (!unstopped) return false;
    Recorder& recorder = *recorder_;
    if (!agreed) recorder.Note(u"overwriting " + FileNameOnly(fileName_) + u" refused by a notifier");
    for (const String& name : alsoOverwritten) recorder.Note(u"saving " + FileNameOnly(fileName_) + u" also overwrites " + name);
    return agreed;
}

bool Module::WriteFile(const std::filesystem::path& target) {
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    const std::string text = rtl::ToUtf8(source_->Text());
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    return file.flush() || NotWritten();
}

bool Module::NotWritten() {
    recorder_->Note(u"module " + FileNameOnly(fileName_) + u" could not be written");
    return false;
}

// A notifier that stops after the save keeps the rest from hearing of it; the file is saved.
void Module::TellAfterSave() {
    Unstopped(
        [&] {
            notifiers_.ForEach([](ide::IOTAModuleNotifier& notifier) { notifier.AfterSave(); });
            source_->Notifiers().ForEach([](ide::IOTANotifier& notifier) { notifier.AfterSave(); });
        },
        u"after saving " + FileNameOnly(fileName_) + u", a notifier stopped the IDE");
}

bool Module::RenameAsTheUserSays() {
    const String chosen = area_->AskSaveAsName(fileName_);
    if (chosen.empty()) return true;
    SetFileName(chosen);
    return StillOpenWhileSaving();
}

bool Module::Save(bool changeName, bool forceSave) {
    if (!area_) return false;
    if (!changeName && !forceSave && !IsModified()) return true;
    const rtl::ComPtr<Module> self(this);
    if (changeName && !RenameAsTheUserSays()) return false;
    EditorArea& area = *area_;
    const String name = FileNameOnly(fileName_);
    const std::optional<std::filesystem::path> file = FileOfName(name);
    if (!file) {
        recorder_->Note(u"\"" + fileName_ + u"\" names no file to save");
        return false;
    }
    if (!AskBeforeSave() || !AllowedToSave()) return false;
    // A file system that is not registered (any more) leaves the module to the disk.
    const auto fileSystem = fileSystem_.empty() ? nullptr : area.FindFileSystem(fileSystem_);
    if (!(fileSystem ? SaveToFileSystem(*fileSystem.Get(), name) : SaveToFolder(area, *file))) return false;
    source_->Saved();
    recorder_->Note(u"module " + name + u" saved" + (fileSystem ? u" to " + fileSystem_ : String()));
    TellAfterSave();
    return true;
}

bool Module::SaveToFolder(EditorArea& area, const std::filesystem::path& file) {
    const std::filesystem::path target = area.SaveFolder() / file;
    // A name the disk refuses (too long, say) is a file that cannot be written, not an error.
    std::error_code refused;
    const bool exists = std::filesystem::exists(target, refused);
    if (refused) return NotWritten();
    return MayOverwrite(exists) && WriteFile(target);
}

bool Module::SaveAs(const String& fileName) {
    SetFileName(fileName);
    return Save(false, true);
}

bool Module::CloseModule(bool forceClosed) {
    if (!area_) return false;
    if (!forceClosed && IsModified()) {
        recorder_->Note(u"module " + FileNameOnly(fileName_) + u" not closed: it has unsaved changes");
        return false;
    }
    area_->CloseModule(*this);
    return true;
}

rtl::ComPtr<ide::IOTAEditor> Module::GetCurrentEditor() { return rtl::ComPtr<ide::IOTAEditor>(source_.Get()); }

rtl::ComPtr<ide::IOTAModule> Module::GetOwnerModule(int index) { rtl::RaiseListIndexError(index); }

void Module::Show() {
    if (area_) area_->ShowModule(*this);
}

void Module::ShowFilename(const String& fileName) {
    for (const auto& editor : editors_)
        if (rtl::SameText(editor->GetFileName(), fileName)) return Show();
}

rtl::ComPtr<ide::IOTAModule> EditorArea::CurrentModule() {
    for (const auto& module : modules_)
        if (topView_ && module->Source().FirstView() == topView_.Get()) return rtl::ComPtr<ide::IOTAModule>(module.Get());
    return nullptr;
}

void EditorArea::GetNewModuleAndClassName(const String& prefix, String& unitIdent, String& className,
                                          String& fileName) {
    const String base = prefix.empty() ? String(u"Unit") : prefix;
    for (int number = 1;; ++number) {
        unitIdent = base + rtl::IntToStr(number);
        fileName = unitIdent + u".pas";
        className = u"TForm" + rtl::IntToStr(number);
        bool used = false;
        for (const auto& module : modules_) used = used || rtl::SameText(FileNameOnly(module->GetFileName()), fileName);
        if (!used) return;
    }
}

bool EditorArea::NewModule() {
    String unitIdent, className, fileName;
    GetNewModuleAndClassName(String(), unitIdent, className, fileName);
    OpenFile(fileName);
    return true;
}

bool EditorArea::SaveAll() {
    const auto modules = modules_;
    bool saved = true;
    for (const auto& module : modules) saved = module->Save(false, false) && saved;
    return saved;
}

bool EditorArea::CloseAll() {
    const auto modules = modules_;
    for (const auto& module : modules)
        if (module->IsOpen()) CloseModule(*module.Get());
    return true;
}

bool EditorArea::SendEditorCommand(int command, int param) {
    const rtl::ComPtr<EditWindow> window = editWindow_;
    bool handled = false;
    editNotifiers_.ForEach([&](ide::INTAEditServicesNotifier& notifier) {
        if (!handled) notifier.WindowCommand(window.Get(), command, param, handled);
    });
    recorder_.Note(u"editor command " + Hex(command) + (handled ? u" taken by a notifier" : u" run by the IDE"));
    return handled;
}

int EditorArea::AddNotifier(ide::INTAEditServicesNotifier* notifier) {
    RequireRunning();
    return editNotifiers_.Add(notifier);
}

// Without a word to the user: the modules close and every notifier is let go.
void EditorArea::ShutDown() {
    shutDown_ = true;
    const auto modules = std::move(modules_);
    modules_.clear();
    topView_ = nullptr;
    for (const auto& module : modules) module->Closed();
    CloseEditWindow();
    editNotifiers_.ReleaseAll();
    const auto fileSystems = std::move(fileSystems_);
    fileSystems_.clear();
}

// The user's answer goes with the one question it was given for.
String EditorArea::AskSaveAsName(const String& fileName) {
    recorder_.Note(u"asked for a name to save " + FileNameOnly(fileName) + u" under");
    return std::exchange(saveAsAnswer_, String());
}

const std::filesystem::path& EditorArea::SaveFolder() {
    if (saveFolder_.empty()) {
        static std::atomic<int> sessions{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        saveFolder_ = std::filesystem::temp_directory_path() /
                      ("KorvelIde-" + std::to_string(stamp) + "-" + std::to_string(++sessions));
        std::filesystem::create_directories(saveFolder_);
    }
    return saveFolder_;
}

void EditorArea::Renamed(Module& module) {
    if (form_ && CurrentModule().Get() == &module) form_->SetCaption(FileNameOnly(module.GetFileName()));
}

void EditorArea::SourceModified() {
    const rtl::ComPtr<EditWindow> window = editWindow_;
    const rtl::ComPtr<EditView> view = topView_;
    editNotifiers_.ForEach([&](ide::INTAEditServicesNotifier& notifier) { notifier.EditorViewModified(window.Get(), view.Get()); });
}

void EditorArea::TellViewActivated() {
    const rtl::ComPtr<EditWindow> window = editWindow_;
    const rtl::ComPtr<EditView> view = topView_;
    if (!window || !view) return;
    editNotifiers_.ForEach([&](ide::INTAEditServicesNotifier& notifier) {
        notifier.WindowActivated(window.Get());
        notifier.EditorViewActivated(window.Get(), view.Get());
    });
    for (const auto& module : modules_)
        if (module->Source().FirstView() == view.Get()) return module->Source().ViewActivated();
}

}  // namespace sim
