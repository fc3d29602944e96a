// Where modules come from beyond the disk: the file systems packages register, and module
// creators that describe a new module.
#include <cmath>

#include "sim/EditorArea.h"
#include "sim/FileSystemFile.h"

namespace sim {
namespace {

String TwoDigits(int value) { return (value < 10 ? u"0" : u"") + rtl::IntToStr(value); }

// An OLE date (days since 30 December 1899, the time as the fraction) as "yyyy-mm-dd hh:nn".
String FormatDateTime(ide::TDateTime when) {
    if (!std::isfinite(when) || std::fabs(when) > 3e6) return u"an invalid date";
    const double minutes = std::floor(when * 24 * 60 + 0.5);
    const auto days = static_cast<long long>(std::floor(minutes / (24 * 60)));
    const int minuteOfDay = static_cast<int>(minutes - static_cast<double>(days) * 24 * 60);
    // Days since 1 March of year 0 of the proleptic Gregorian calendar, counted in eras.
    const long long z = days + 693899;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return rtl::IntToStr(static_cast<int>(year)) + u"-" + TwoDigits(month) + u"-" + TwoDigits(day) + u" " +
           TwoDigits(minuteOfDay / 60) + u":" + TwoDigits(minuteOfDay % 60);
}

String WithoutExtension(const String& fileName) {
    const String name = FileNameOnly(fileName);
    const size_t dot = name.find_last_of(u'.');
    return dot == String::npos ? name : name.substr(0, dot);
}

// A file's source and age as a creator gives them; nothing for no file.
struct CreatedFile {
    String source;
    String age;
};
std::optional<CreatedFile> Take(const rtl::ComPtr<ide::IOTAFile>& file) {
    if (!file) return std::nullopt;
    String source = file->GetSource();
    return CreatedFile{std::move(source), FormatDateTime(file->GetAge())};
}

}  // namespace

CreatorAnswers AskInOrder(ide::IOTACreator& creator) {
    CreatorAnswers answers;
    answers.creatorType = creator.GetCreatorType();
    answers.existing = creator.GetExisting();
    answers.fileSystem = creator.GetFileSystem();
    creator.GetOwner();  // no projects here to add the module to
    answers.unnamed = creator.GetUnnamed();
    answers.moduleCreator = rtl::ComPtr<ide::IOTACreator>(&creator).Query<ide::IOTAModuleCreator>();
    if (!answers.moduleCreator) return answers;
    ide::IOTAModuleCreator& moduleCreator = *answers.moduleCreator.Get();
    answers.ancestorName = moduleCreator.GetAncestorName();
    answers.implFileName = moduleCreator.GetImplFileName();
    answers.intfFileName = moduleCreator.GetIntfFileName();
    answers.formName = moduleCreator.GetFormName();
    answers.mainForm = moduleCreator.GetMainForm();
    answers.showForm = moduleCreator.GetShowForm();
    answers.showSource = moduleCreator.GetShowSource();
    return answers;
}

int EditorArea::AddFileSystem(ide::IOTAFileSystem* fileSystem) {
    if (!fileSystem) rtl::RaiseIntfCastError();
    RequireRunning();
    fileSystems_.emplace_back(fileSystem);
    return static_cast<int>(fileSystems_.size()) - 1;
}

// An index that names no file system (any more) is ignored.
void EditorArea::RemoveFileSystem(int index) {
    if (index < 0 || index >= static_cast<int>(fileSystems_.size())) return;
    const rtl::ComPtr<ide::IOTAFileSystem> removed = std::move(fileSystems_[static_cast<size_t>(index)]);
    fileSystems_[static_cast<size_t>(index)] = nullptr;
}

// From a copy: a file system asked for its name may remove itself or others.
rtl::ComPtr<ide::IOTAFileSystem> EditorArea::FindFileSystem(const String& name) {
    const auto fileSystems = fileSystems_;
    for (const auto& fileSystem : fileSystems)
        if (fileSystem && rtl::SameText(fileSystem->GetIDString(), name)) return fileSystem;
    return nullptr;
}

Module* EditorArea::OpenFromFileSystem(const String& fileSystemName, const String& fileName) {
    RequireRunning();
    const rtl::ComPtr<ide::IOTAFileSystem> fileSystem = FindFileSystem(fileSystemName);
    if (!fileSystem) {
        recorder_.Note(u"no file system " + fileSystemName + u" is registered");
        return nullptr;
    }
    if (Module* open = Find(fileName)) return ShowInEditWindow(*open) ? open : nullptr;
    FileSystemFile file(fileSystem, fileName);
    std::optional<String> text;
    if (file.Exists()) text = file.Read();
    if (!text) {
        recorder_.Note(u"file system " + fileSystemName + u" has no file " + fileName + u" to read");
        return nullptr;
    }
    const int age = file.Age();
    const rtl::ComPtr<Module> module(&AddModule(fileName));
    module->SetFileSystem(fileSystemName);
    module->Source().Load(std::move(*text), false);
    module->SetReadAge(age);
    recorder_.Note(u"module " + FileNameOnly(fileName) + u" read from " + fileSystemName);
    return ShowInEditWindow(*module.Get()) ? module.Get() : nullptr;
}

bool Module::SaveToFileSystem(ide::IOTAFileSystem& fileSystem, const String& name) {
    FileSystemFile file(rtl::ComPtr<ide::IOTAFileSystem>(&fileSystem), fileName_);
    if (file.IsReadonly()) {
        recorder_->Note(u"saving " + name + u" refused: it is read-only in " + fileSystem_);
        return false;
    }
    const bool exists = file.Exists();
    if (exists && readAge_ != NoFileAge) {
        const int age = file.Age();
        if (age == NoFileAge)
            recorder_->Note(u"the age of " + name + u" in " + fileSystem_ + u" is unknown");
        else if (age != readAge_)
            recorder_->Note(name + u" changed in " + fileSystem_ + u" since it was read");
    }
    if (!MayOverwrite(exists)) return false;
    if (!file.Write(source_->Text())) {
        recorder_->Note(u"module " + name + u" could not be written to " + fileSystem_);
        return false;
    }
    readAge_ = file.Age();
    return StillOpenWhileSaving();
}

bool Module::RenameInFileSystem(const String& oldName, const String& newName) {
    const rtl::ComPtr<ide::IOTAFileSystem> fileSystem = area_->FindFileSystem(fileSystem_);
    if (!fileSystem || !fileSystem->FileExists(oldName) || fileSystem->RenameFile(oldName, newName)) return true;
    recorder_->Note(u"renaming " + FileNameOnly(oldName) + u" refused by " + fileSystem_);
    return false;
}

rtl::ComPtr<ide::IOTAModule> EditorArea::CreateModule(ide::IOTACreator* creator) {
    RequireRunning();
    if (!creator) {
        recorder_.Note(u"no creator: no module created");
        return nullptr;
    }
    const rtl::ComPtr<ide::IOTACreator> held(creator);
    return rtl::ComPtr<ide::IOTAModule>(CreateFromModuleCreator(*creator));
}

// The IDE asks everything first, in its order, then builds the module: the creator may
// answer anything, and calls back in only to find the IDE as it was.
Module* EditorArea::CreateFromModuleCreator(ide::IOTACreator& creator) {
    const CreatorAnswers answers = AskInOrder(creator);
    if (!answers.moduleCreator) {
        recorder_.Note(u"a creator of type \"" + answers.creatorType + u"\" makes no module");
        return nullptr;
    }
    if (!answers.existing) return BuildCreatedModule(answers);
    if (answers.fileSystem.empty()) return OpenFile(answers.implFileName);
    return OpenFromFileSystem(answers.fileSystem, answers.implFileName);
}

Module* EditorArea::BuildCreatedModule(const CreatorAnswers& answers) {
    String unitIdent, className, newFileName;
    GetNewModuleAndClassName(String(), unitIdent, className, newFileName);
    const String fileName = answers.unnamed || answers.implFileName.empty() ? newFileName : answers.implFileName;
    if (Find(fileName)) {
        recorder_.Note(u"a module " + FileNameOnly(fileName) + u" is open already; none was created");
        return nullptr;
    }
    ide::IOTAModuleCreator& creator = *answers.moduleCreator.Get();
    const bool withForm = rtl::SameText(answers.creatorType, u"Form");
    const String moduleIdent = WithoutExtension(fileName);
    const String formIdent = answers.formName.empty() ? className.substr(1) : answers.formName;
    const String ancestorIdent = answers.ancestorName.empty() ? String(u"Form") : answers.ancestorName;
    const auto formFile = withForm ? Take(creator.NewFormFile(formIdent, ancestorIdent)) : std::nullopt;
    const auto implSource = Take(creator.NewImplSource(moduleIdent, formIdent, ancestorIdent));
    const auto intfSource = Take(creator.NewIntfSource(moduleIdent, formIdent, ancestorIdent));

    const rtl::ComPtr<Module> module(&AddModule(fileName));
    module->SetFileSystem(answers.fileSystem);
    module->Source().Load(implSource ? implSource->source : String(), true);
    String made = u"module " + FileNameOnly(fileName) + u" created";
    if (!answers.fileSystem.empty()) made += u" in " + answers.fileSystem;
    if (implSource) made += u", source of " + implSource->age;
    if (intfSource) {
        const String intfFileName = answers.intfFileName.empty() ? moduleIdent + u".h" : answers.intfFileName;
        module->AddInterfaceFile(intfFileName, intfSource->source);
        made += u", interface " + FileNameOnly(intfFileName);
    }
    if (withForm) {
        FormEditor& form = module->AddFormFile(moduleIdent + u".dfm", formFile ? formFile->source : String());
        made += u", form " + formIdent + u": " + ancestorIdent + (answers.mainForm ? u" (main form)" : u"") +
                (answers.showForm ? u", shown" : u"");
        creator.FormCreated(&form);
    }
    recorder_.Note(made);
    if (answers.showSource && module->IsOpen()) ShowInEditWindow(*module.Get());
    return module->IsOpen() ? module.Get() : nullptr;
}

}  // namespace sim
