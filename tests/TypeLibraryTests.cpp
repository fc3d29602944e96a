// The type library widl makes from the IDL, held against the contract header interface by
// interface: GUID, method order (vtable offsets), names and parameter types. Only where the
// platform's LoadTypeLib is real.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "interop/KorvelBdsToolsInterop.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComPtr.h"
#include "platform/rtl/Text.h"
#include "tests/support/SampleLibrary.h"

namespace {

struct HeaderMethod {
    std::string result;
    std::string name;
    std::string parameters;  // as declared: "BSTR FullName, IBdsMenuItem** pRetVal"
};
struct HeaderInterface {
    std::string name;
    IID id;
    std::vector<HeaderMethod> methods;
};

#define KORVEL_HEADER_METHOD(I, Result, Name, ...) {#Result, #Name, #__VA_ARGS__},
#define KORVEL_HEADER_METHOD0(I, Result, Name) {#Result, #Name, ""},
#define KORVEL_HEADER_INTERFACE(I, Base, ...) \
    {#I, IID_##I, {KORVEL_##I##_METHODS(I, KORVEL_HEADER_METHOD, KORVEL_HEADER_METHOD0)}},
const std::vector<HeaderInterface> kHeaderInterfaces = {KORVEL_INTERFACES(KORVEL_HEADER_INTERFACE)
                                                            KORVEL_TOOLS_INTERFACES(KORVEL_HEADER_INTERFACE)
                                                            KORVEL_TOOLS_PARAMETER_INTERFACES(KORVEL_HEADER_INTERFACE)};

// A type of the header in the type library's words.
std::string LibraryType(std::string type) {
    type.erase(std::remove(type.begin(), type.end(), ' '), type.end());
    if (type.rfind("const", 0) == 0) type = type.substr(5);
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"HBITMAP", "Integer"}, {"HWND", "Integer"}, {"MSG", "BdsMessage"}, {"WCHAR*", "PWideChar"}})
        if (type.rfind(from, 0) == 0) type = to + type.substr(from.size());
    return type;
}

// The header's parameter types in the type library's words.
std::vector<std::string> HeaderTypes(const std::string& parameters) {
    std::vector<std::string> types;
    size_t start = 0;
    while (start < parameters.size()) {
        size_t end = parameters.find(',', start);
        if (end == std::string::npos) end = parameters.size();
        const std::string parameter = parameters.substr(start, end - start);
        types.push_back(LibraryType(parameter.substr(0, parameter.find_last_of(" *") + 1)));
        start = end + 1;
    }
    return types;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string NameOf(ITypeInfo* info, MEMBERID member = MEMBERID_NIL) {
    BSTR name = nullptr;
    if (FAILED(info->GetDocumentation(member, &name, nullptr, nullptr, nullptr))) return "?";
    const std::string text = rtl::ToUtf8(rtl::FromBstr(name));
    SysFreeString(name);
    return text;
}

std::string TypeText(ITypeInfo* info, const TYPEDESC& type) {
    switch (type.vt) {
        case VT_HRESULT: return "HRESULT";
        case VT_VOID: return "void";
        case VT_BSTR: return "BSTR";
        case VT_LPWSTR: return "PWideChar";
        case VT_BOOL: return "WordBool";
        case VT_I4: return "Integer";
        case VT_UNKNOWN: return "IUnknown*";
        case VT_PTR: return TypeText(info, *type.lptdesc) + "*";
        case VT_USERDEFINED: {
            rtl::ComPtr<ITypeInfo> referenced;
            if (FAILED(info->GetRefTypeInfo(type.hreftype, referenced.Put()))) return "?";
            return NameOf(referenced.Get());
        }
        default: return "vt" + std::to_string(type.vt);
    }
}

TEST(TypeLibraryTest, EveryInterfaceHasTheHeadersGuidMethodsAndParameterTypes) {
    const rtl::String file = testing_support::BesideTheProgram(u"KorvelBdsInterop.tlb");
    rtl::ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(rtl::W(file), library.Put()), S_OK);
    ASSERT_EQ(kHeaderInterfaces.size(), 21u + 16u + 8u) << "the hub's, the Tools API's and their parameter types";
    for (const HeaderInterface& expected : kHeaderInterfaces) {
        SCOPED_TRACE(expected.name);
        rtl::ComPtr<ITypeInfo> info;
        ASSERT_EQ(library->GetTypeInfoOfGuid(expected.id, info.Put()), S_OK);
        EXPECT_EQ(NameOf(info.Get()), expected.name);
        TYPEATTR* attributes = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
        EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
        EXPECT_EQ(attributes->cFuncs, expected.methods.size());
        const WORD methods = std::min<WORD>(attributes->cFuncs, static_cast<WORD>(expected.methods.size()));
        info->ReleaseTypeAttr(attributes);
        for (WORD i = 0; i < methods; ++i) {
            FUNCDESC* function = nullptr;
            ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
            // A type library keeps one spelling per name, whichever came first: names match
            // without case, as they are looked up.
            EXPECT_EQ(Lower(NameOf(info.Get(), function->memid)), Lower(expected.methods[i].name));
            EXPECT_EQ(function->oVft, static_cast<SHORT>((3 + i) * sizeof(void*))) << expected.methods[i].name;
            std::vector<std::string> types;
            for (SHORT p = 0; p < function->cParams; ++p)
                types.push_back(TypeText(info.Get(), function->lprgelemdescParam[p].tdesc));
            EXPECT_EQ(types, HeaderTypes(expected.methods[i].parameters)) << expected.methods[i].name;
            EXPECT_EQ(TypeText(info.Get(), function->elemdescFunc.tdesc), LibraryType(expected.methods[i].result))
                << expected.methods[i].name << ": result";
            info->ReleaseFuncDesc(function);
        }
    }
}

// The Tools API's own type names stand for these widths on the wire, and its stream is the
// platform's: a type-library language that implements it must lay out the platform's slots.
TEST(TypeLibraryTest, ToolsApiTypesAreTheirWireTypes) {
    rtl::ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(rtl::W(testing_support::BesideTheProgram(u"KorvelBdsInterop.tlb")), library.Put()), S_OK);
    std::map<std::string, VARTYPE> aliases;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        rtl::ComPtr<ITypeInfo> info;
        TYPEATTR* attributes = nullptr;
        if (FAILED(library->GetTypeInfo(i, info.Put())) || FAILED(info->GetTypeAttr(&attributes))) continue;
        if (attributes->typekind == TKIND_ALIAS) aliases[NameOf(info.Get())] = attributes->tdescAlias.vt;
        info->ReleaseTypeAttr(attributes);
    }
    EXPECT_EQ(aliases["LongBool"], VT_I4);
    EXPECT_EQ(aliases["Boolean"], VT_UI1);
    EXPECT_EQ(aliases["Int64"], VT_I8);
    EXPECT_EQ(aliases["PWideChar"], VT_LPWSTR);

    rtl::ComPtr<ITypeInfo> stream;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IStream, stream.Put()), S_OK);
    const std::vector<std::string> slots = {"Seek", "SetSize", "CopyTo", "Commit", "Revert",
                                            "LockRegion", "UnlockRegion", "Stat", "Clone"};
    for (UINT i = 0; i < slots.size(); ++i) {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(stream->GetFuncDesc(i, &function), S_OK);
        EXPECT_EQ(NameOf(stream.Get(), function->memid), slots[i]);
        EXPECT_EQ(function->oVft, static_cast<SHORT>((5 + i) * sizeof(void*))) << slots[i] << " after Read and Write";
        stream->ReleaseFuncDesc(function);
    }
}

}  // namespace
#endif
