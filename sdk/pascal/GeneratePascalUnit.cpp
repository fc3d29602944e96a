// Writes the package contract as an Object Pascal unit (KorvelBdsInterop.pas) to standard
// output, from the very method lists that korvel/BdsInterop.h and korvel/BdsToolsInterop.h
// expand into C and C++: the same interfaces, GUIDs and slots, with parameter and result types
// of the same wire format. A test holds the unit in sdk/pascal against what this prints;
// after changing the lists, run
//   build/native/bin/KorvelPascalUnit > sdk/pascal/KorvelBdsInterop.pas
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "korvel/BdsToolsInterop.h"

namespace {

struct Method {
    std::string result;
    std::string name;
    std::string parameters;  // as the list writes them: "BSTR FullName, IBdsMenuItem** pRetVal"
};

struct Interface {
    std::string name;
    std::string base;
    GUID id;
    std::vector<Method> methods;
};

#define KORVEL_LISTED_METHOD(I, Result, Name, ...) {#Result, #Name, #__VA_ARGS__},
#define KORVEL_LISTED_METHOD0(I, Result, Name) {#Result, #Name, ""},
#define KORVEL_LISTED_INTERFACE(I, Base, ...) \
    {#I, #Base, IID_##I, {KORVEL_##I##_METHODS(I, KORVEL_LISTED_METHOD, KORVEL_LISTED_METHOD0)}},
// In the header's order: a type library and this unit list them alike.
const std::vector<Interface> kInterfaces = {KORVEL_INTERFACES(KORVEL_LISTED_INTERFACE)
                                                KORVEL_TOOLS_PARAMETER_INTERFACES(KORVEL_LISTED_INTERFACE)
                                                    KORVEL_TOOLS_INTERFACES(KORVEL_LISTED_INTERFACE)};

#define KORVEL_LISTED_SERVICE(I) #I,
const std::vector<std::string> kHubServices = {KORVEL_HUB_SERVICES(KORVEL_LISTED_SERVICE)};

// Parameters the callee reads and may change; the C form cannot tell them from out values.
const std::set<std::string> kInOutParameters = {"IMessageHandler.HandleMessage.CallDefaultHandler",
                                                "IBDSEditServicesNotifier.WindowCommand.Handled"};

// The header's names for types that are the same on the wire in Pascal, where KorvelWin32 or
// the language declares them under the same name.
const std::set<std::string> kSameNamedTypes = {"WordBool", "LongBool", "Boolean", "Integer", "Int64",
                                               "BSTR",     "HBITMAP",  "HWND",    "PWideChar"};

const std::set<std::string> kReservedWords = {
    "and",       "array",    "as",        "asm",       "begin",        "case",      "class",     "const",
    "constructor", "destructor", "div",   "do",        "downto",       "else",      "end",       "except",
    "exports",   "file",     "finalization", "finally", "for",         "function",  "goto",      "if",
    "implementation", "in",  "inherited", "initialization", "inline",  "interface", "is",        "label",
    "library",   "mod",      "nil",       "not",       "object",       "of",        "operator",  "or",
    "out",       "packed",   "procedure", "program",   "property",     "raise",     "record",    "repeat",
    "resourcestring", "result", "self",   "set",       "shl",          "shr",       "string",    "then",
    "threadvar", "to",       "try",       "type",      "unit",         "until",     "uses",      "var",
    "while",     "with",     "xor"};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "KorvelPascalUnit: %s\n", what.c_str());
    std::exit(1);
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsInterface(const std::string& type) {
    if (type == "IUnknown" || type == "IStream") return true;
    for (const Interface& known : kInterfaces)
        if (known.name == type) return true;
    return false;
}

std::string PascalName(const std::string& name) {
    return kReservedWords.count(Lower(name)) ? name + "_" : name;
}

std::string GuidText(const GUID& id) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                  id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

// A C declaration split up: "const WCHAR* FileName" is {const, WCHAR, 1, FileName}.
struct Declaration {
    bool isConst = false;
    std::string type;
    int pointers = 0;
    std::string name;
};

Declaration Parse(const std::string& text) {
    Declaration declaration;
    std::string rest = Trim(text);
    if (rest.rfind("const ", 0) == 0) {
        declaration.isConst = true;
        rest = Trim(rest.substr(6));
    }
    const size_t nameStart = rest.find_last_of(" *") + 1;
    declaration.name = rest.substr(nameStart);
    for (char c : rest.substr(0, nameStart)) {
        if (c == '*')
            ++declaration.pointers;
        else if (c != ' ')
            declaration.type += c;
    }
    return declaration;
}

// One parameter in Pascal: "const events: IBdsWindowEvents", "out pRetVal: WordBool".
std::string PascalParameter(const std::string& place, const Declaration& parameter) {
    const std::string name = PascalName(parameter.name);
    const std::string& type = parameter.type;
    if (IsInterface(type)) {
        if (parameter.pointers == 1) return "const " + name + ": " + type;
        if (parameter.pointers == 2) return "out " + name + ": " + type;
    } else if (type == "WCHAR" && parameter.pointers == 1) {
        return name + ": PWideChar";
    } else if (type == "GUID" && parameter.isConst && parameter.pointers == 1) {
        return "constref " + name + ": TGUID";
    } else if (type == "MSG" && parameter.pointers == 1) {
        return name + ": PMsg";
    } else if (parameter.pointers == 0 && kSameNamedTypes.count(type)) {
        return name + ": " + type;
    } else if (parameter.pointers == 1 && (kSameNamedTypes.count(type) || type == "PackageInfo")) {
        return (kInOutParameters.count(place + "." + parameter.name) ? "var " : "out ") + name + ": " + type;
    }
    Fail(place + ": no Pascal form for the parameter '" + parameter.name + "' of type '" + type +
         std::string(parameter.pointers, '*') + "'");
}

// The result in Pascal, empty for none.
std::string PascalResult(const std::string& place, const std::string& result) {
    const Declaration declaration = Parse(result + " unnamed");
    if (declaration.type == "void" && declaration.pointers == 0) return std::string();
    if (declaration.type == "HRESULT" && declaration.pointers == 0) return "HResult";
    if (declaration.type == "WCHAR" && declaration.pointers == 1) return "PWideChar";
    if (declaration.pointers == 0 && kSameNamedTypes.count(declaration.type)) return declaration.type;
    Fail(place + ": no Pascal form for the result type '" + result + "'");
}

std::vector<std::string> SplitParameters(const std::string& parameters) {
    std::vector<std::string> split;
    size_t start = 0;
    while (start < parameters.size()) {
        size_t end = parameters.find(',', start);
        if (end == std::string::npos) end = parameters.size();
        split.push_back(parameters.substr(start, end - start));
        start = end + 1;
    }
    return split;
}

std::string PascalMethod(const Interface& owner, const Method& method) {
    const std::string place = owner.name + "." + method.name;
    std::string parameters;
    for (const std::string& parameter : SplitParameters(method.parameters)) {
        if (!parameters.empty()) parameters += "; ";
        parameters += PascalParameter(place, Parse(parameter));
    }
    const std::string result = PascalResult(place, method.result);
    std::string line = (result.empty() ? "procedure " : "function ") + PascalName(method.name);
    if (!parameters.empty()) line += "(" + parameters + ")";
    if (!result.empty()) line += ": " + result;
    return line + "; stdcall;";
}

void Print(const std::string& line = std::string()) { std::printf("%s\n", line.c_str()); }

const GUID& IdOf(const std::string& name) {
    for (const Interface& known : kInterfaces)
        if (known.name == name) return known.id;
    Fail("the service " + name + " is not a listed interface");
}

void PrintUnit() {
    Print("{ Generated by sdk/pascal/GeneratePascalUnit.cpp from the method lists of korvel/BdsInterop.h");
    Print("  and korvel/BdsToolsInterop.h; do not edit. Regenerate with");
    Print("    build/native/bin/KorvelPascalUnit > sdk/pascal/KorvelBdsInterop.pas");
    Print();
    Print("  The package contract for Free Pascal in Delphi mode: every interface with its GUID and its");
    Print("  methods in slot order, in the wire format of the C header, whose comments say what each");
    Print("  method does. Methods answer an HResult rather than being safecall, so that a package");
    Print("  decides what a failure answers; strings cross as BSTR or PWideChar exactly as the header");
    Print("  declares them (KorvelPackage has helpers for both). }");
    Print("unit KorvelBdsInterop;");
    Print();
    Print("{$mode delphi}");
    Print("{$interfaces com}");
    Print();
    Print("interface");
    Print();
    Print("uses");
    Print("  KorvelWin32;");
    Print();
    Print("const");
    for (const Interface& entry : kInterfaces)
        Print("  IID_" + entry.name + ": TGUID = '" + GuidText(entry.id) + "';");
    Print();
    Print("  { The services IBdsServices.GetService hands out, asked for by the identifier of the");
    Print("    interface each one answers with. }");
    for (const std::string& service : kHubServices)
        Print("  SID_" + service + ": TGUID = '" + GuidText(IdOf(service)) + "';");
    Print();
    Print("type");
    for (const Interface& entry : kInterfaces) Print("  " + entry.name + " = interface;");
    Print();
    Print("  { Filled by IBdsServices.GetPackageInfo: Name belongs to the loader; Instance carries a");
    Print("    reference of its own, which the receiver releases. }");
    Print("  PackageInfo = record");
    Print("    Id: TGUID;");
    Print("    Name: PWideChar;");
    Print("    Instance: IBdsPackage;");
    Print("  end;");
    for (const Interface& entry : kInterfaces) {
        Print();
        Print("  " + entry.name + " = interface(" + entry.base + ")");
        Print("    ['" + GuidText(entry.id) + "']");
        for (const Method& method : entry.methods) Print("    " + PascalMethod(entry, method));
        Print("  end;");
    }
    Print();
    Print("implementation");
    Print();
    Print("end.");
}

}  // namespace

int main() {
    PrintUnit();
    return 0;
}
