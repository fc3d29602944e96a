#include "fuzz/ToolsPackageObjects.h"

#include <climits>
#include <cstring>
#include <utility>

#include "fuzz/ActionHelpers.h"
#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/Streams.h"

namespace fuzz {
namespace {

const std::vector<rtl::String> CreatorTypes{u"Form", u"Unit", u"Text", u"", u"form"};
const std::vector<rtl::String> CreatedFileNames{u"Created.pas", u"Unit1.pas", u"", u"C:\\src\\Fz.pas", u"Doc.kdoc"};
const std::vector<rtl::String> FormNames{u"Form1", u"", u"FzForm", u"1Form"};
const std::vector<rtl::String> FilterNames{u"Fz.Filter", u"", u"Pass-through"};
const std::vector<rtl::String> Sources{u"unit Created;\r\nend.", u"", u"\u00C4rger"};

// A stream at its start that reads what `stream` holds, or nil.
rtl::ComPtr<IStream> Reader(IStream* stream) {
    rtl::ComPtr<IStream> reader;
    if (!stream || FAILED(stream->Clone(reader.Put())) || !reader) return nullptr;
    reader->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    return reader;
}

}  // namespace

PackageToolsObject::PackageToolsObject(PackageSession& session, const char* origin)
    : Counted(origin), session_(session) {
    // Mostly every interface, often a few, sometimes none.
    offered_ = session_.Input().Coin() ? ~0u : session_.Input().Byte();
}

void PackageToolsObject::Registered(const void* owner, std::function<void()> removeSelf) {
    owner_ = owner;
    removeSelf_ = std::move(removeSelf);
}

void PackageToolsObject::Called() {
    session_.CountCall();
    if (removeSelf_ && session_.Input().Choose(8) == 0) {
        // Out of the member first: the removal may end this object's registration, and with
        // it the reference the function holds.
        const std::function<void()> removeSelf = std::move(removeSelf_);
        removeSelf_ = nullptr;
        removeSelf();
    }
    session_.React(owner_);
}

HRESULT PackageToolsObject::Refuse(IUnknown* self, void** out) {
    if (!out) return E_NOINTERFACE;
    switch (session_.Input().Choose(6)) {
        case 0:
            *out = nullptr;
            return S_OK;
        case 1:
            // A refusal that still writes a pointer, without a reference: taking it would be a fault.
            *out = self;
            return E_NOINTERFACE;
        default:
            *out = nullptr;
            return E_NOINTERFACE;
    }
}

const WCHAR* PackageToolsObject::AnswerText(const std::vector<rtl::String>& known) {
    if (session_.Input().Choose(6) == 0) return nullptr;
    answer_ = session_.Input().Text(known);
    return rtl::W(answer_);
}

LongBool PackageToolsObject::AnswerFlag() {
    static const LongBool answers[] = {-1, 0, 1, 2, INT_MIN};
    return answers[session_.Input().Choose(sizeof(answers) / sizeof(answers[0]))];
}

Boolean PackageToolsObject::AnswerBoolean() { return session_.Input().Coin() ? Boolean(0) : session_.Input().Byte(); }

void CarelessNotifier::Destroyed() {
    Called();
    Unregistered();
}

LongBool CarelessNotifier::Answer() {
    Called();
    return AnswerFlag();
}

// Never a huge count: the IDE asks for every name it is promised, so that would only measure
// its patience, not the system.
Integer CarelessNotifier::GetOverwriteFileNameCount() {
    static const Integer counts[] = {0, 1, 2, 3, -1, INT_MIN};
    Called();
    return counts[session_.Input().Choose(sizeof(counts) / sizeof(counts[0]))];
}

const WCHAR* CarelessNotifier::GetOverwriteFileName(Integer) {
    Called();
    return AnswerText({u"Unit1.pas", u"Other.pas", u""});
}

void CarelessNotifier::WindowCommand(IBDSEditWindow*, Integer, Integer, Boolean* Handled) {
    Called();
    // Any byte: the IDE must read every non-zero one as handled.
    if (Handled && session_.Input().Coin()) *Handled = session_.Input().Byte();
}

const WCHAR* CarelessFileFilter::GetDisplayName() {
    Called();
    return AnswerText(FilterNames);
}

const WCHAR* CarelessFileFilter::GetIDString() {
    Called();
    return AnswerText(FilterNames);
}

void CarelessFileFilter::GetStream(BSTR, IStream* Stream, IStream** Result) {
    Called();
    if (!Result) return;
    switch (session_.Input().Choose(4)) {
        case 0: *Result = nullptr; break;
        case 1: rtl::NewMemoryStream().CopyTo(Result); break;
        case 2: Reader(Stream).CopyTo(Result); break;
        default: rtl::ComPtr<IStream>(Stream).CopyTo(Result); break;
    }
}

Boolean CarelessFileFilter::HandlesStream(BSTR, IStream*) {
    Called();
    return AnswerBoolean();
}

void CarelessFileSystem::CalledAbout() {
    Called();
    // A package that lets go of what it holds: its files, its filter.
    if (session_.Input().Choose(16) == 0) {
        files_.clear();
        filter_ = nullptr;
    }
}

Boolean CarelessFileSystem::Fact(bool truth) {
    if (session_.Input().Choose(4) == 0) return session_.Input().Byte();
    return truth ? 1 : 0;
}

const WCHAR* CarelessFileSystem::NameBeside(BSTR FileName, const rtl::String& suffix) {
    if (session_.Input().Coin()) return AnswerText(SourceFiles());
    return AnswerText({rtl::FromBstr(FileName) + suffix});
}

const WCHAR* CarelessFileSystem::GetIDString() {
    Called();
    return AnswerText(FileSystemNames());
}

void CarelessFileSystem::GetFilter(IBDSFileFilter** Filter) {
    Called();
    if (!Filter) return;
    *Filter = HandedOut<IBDSFileFilter>(session_.Input(), Unknown(), [&] {
        if (!filter_) {
            filter_ = session_.NewToolsObject<CarelessFileFilter>();
            filter_->Registered(Owner(), RemoveSelf());
        }
        return rtl::ComPtr<IBDSFileFilter>(filter_.Get()).Detach();
    });
}

Boolean CarelessFileSystem::IsFileBased() {
    Called();
    return AnswerBoolean();
}

void CarelessFileSystem::GetFileStream(BSTR FileName, Integer Mode, IStream** Stream) {
    CalledAbout();
    if (!Stream) return;
    *Stream = nullptr;
    const rtl::String name = rtl::FromBstr(FileName);
    switch (session_.Input().Choose(6)) {
        case 0:
            return;
        case 1:
            // Some stream, not the file's.
            rtl::NewMemoryStream().CopyTo(Stream);
            return;
        default:
            break;
    }
    if ((Mode & ide::fmCreate) == ide::fmCreate) {
        rtl::ComPtr<IStream>& file = files_[name];
        file = rtl::NewMemoryStream();
        file.CopyTo(Stream);
        ++age_;
    } else if (const auto file = files_.find(name); file != files_.end()) {
        Reader(file->second.Get()).CopyTo(Stream);
    }
}

Integer CarelessFileSystem::FileAge(BSTR FileName) {
    CalledAbout();
    if (session_.Input().Coin()) return session_.Input().Number();
    return files_.count(rtl::FromBstr(FileName)) ? age_ : -1;
}

Boolean CarelessFileSystem::RenameFile(BSTR OldName, BSTR NewName) {
    CalledAbout();
    const auto file = files_.find(rtl::FromBstr(OldName));
    if (file == files_.end() || session_.Input().Choose(4) == 0) return AnswerBoolean();
    rtl::ComPtr<IStream> moved = std::move(file->second);
    files_.erase(file);
    files_[rtl::FromBstr(NewName)] = std::move(moved);
    return Fact(true);
}

Boolean CarelessFileSystem::IsReadonly(BSTR) {
    CalledAbout();
    return Fact(false);
}

Boolean CarelessFileSystem::DeleteFile(BSTR FileName) {
    CalledAbout();
    return Fact(files_.erase(rtl::FromBstr(FileName)) > 0);
}

Boolean CarelessFileSystem::FileExists(BSTR FileName) {
    CalledAbout();
    return Fact(files_.count(rtl::FromBstr(FileName)) > 0);
}

const WCHAR* CarelessFileSystem::GetTempFileName(BSTR FileName) {
    CalledAbout();
    return NameBeside(FileName, u".tmp");
}

const WCHAR* CarelessFileSystem::GetBackupFileName(BSTR FileName) {
    CalledAbout();
    return NameBeside(FileName, u"~");
}

const WCHAR* CarelessFile::GetSource() {
    Called();
    return AnswerText(Sources);
}

// The bits of a double: a date, its edges, not-a-number, infinity, or any eight bytes.
int64_t CarelessFile::GetAge() {
    static const double dates[] = {40909.0, 0.0, -693594.0, 2958465.99999, 1e300, -1e300};
    Called();
    FuzzInput& input = session_.Input();
    int64_t bits = 0;
    switch (input.Choose(4)) {
        case 0: {
            const double date = dates[input.Choose(sizeof(dates) / sizeof(dates[0]))];
            std::memcpy(&bits, &date, sizeof(bits));
            break;
        }
        case 1: bits = input.Coin() ? INT64_C(0x7FF8000000000001) : INT64_C(0x7FF0000000000000); break;
        default:
            for (int byte = 0; byte < 8; ++byte) bits = (bits << 8) | input.Byte();
            break;
    }
    return bits;
}

const WCHAR* CarelessCreator::GetCreatorType() {
    Called();
    return AnswerText(CreatorTypes);
}

const WCHAR* CarelessCreator::GetFileSystem() {
    Called();
    return AnswerText(FileSystemNames());
}

Integer CarelessCreator::GetOwner(IBDSModule** Owner) {
    Called();
    if (Owner) {
        *Owner = session_.Input().Coin() ? session_.modules.Pick(session_.Input()) : nullptr;
        if (*Owner) (*Owner)->AddRef();
    }
    return session_.Input().Number();
}

const WCHAR* CarelessCreator::GetAncestorName() {
    Called();
    return AnswerText(FormNames);
}

const WCHAR* CarelessCreator::GetFormName() {
    Called();
    return AnswerText(FormNames);
}

LongBool CarelessCreator::Flag() {
    Called();
    return AnswerFlag();
}

const WCHAR* CarelessCreator::FileName() {
    Called();
    return AnswerText(CreatedFileNames);
}

Integer CarelessCreator::NewFile(IBDSFile** File) {
    Called();
    if (File) {
        *File = HandedOut<IBDSFile>(session_.Input(), Unknown(), [&]() -> IBDSFile* {
            return session_.NewToolsObject<CarelessFile>().Detach();
        });
    }
    return session_.Input().Number();
}

}  // namespace fuzz
