// Small pieces every action table uses: reading an out string or interface the way a
// package does, and the names a package is likely to use.
#pragma once

#include <vector>

#include "fuzz/PackageSession.h"

namespace fuzz {

// Calls `call` with a BSTR out pointer (sometimes null) and frees what came back.
template <class Call>
void ReadText(PackageSession& session, Call&& call) {
    BSTR text = nullptr;
    call(session.Out(&text));
    SysFreeString(text);
}

// Calls `call` with a value out pointer (sometimes null).
template <class Value, class Call>
void ReadValue(PackageSession& session, Call&& call) {
    Value value{};
    call(session.Out(&value));
}

// Calls `call` with an interface out pointer (sometimes null) and keeps what came back.
template <class Interface, class Call>
void ReadObject(PackageSession& session, HeldReferences<Interface>& keep, Call&& call) {
    Interface* object = nullptr;
    call(session.Out(&object));
    keep.Adopt(object);
}

// A held object, or, when none is held, the one `fetch` answers with a new reference (or
// nil), as a package gets one before using it.
template <class Interface, class Fetch>
Interface* HeldOrFetched(PackageSession& session, HeldReferences<Interface>& held, Fetch&& fetch) {
    if (held.Empty()) held.Adopt(fetch());
    return held.Pick(session.Input());
}

// A held service, or one asked from a held hub as a package first does; nil without either.
template <class Service>
Service* HeldService(PackageSession& session, HeldReferences<Service>& held,
                     HRESULT (STDMETHODCALLTYPE IBdsServices::*ask)(Service**)) {
    return HeldOrFetched(session, held, [&]() -> Service* {
        Service* service = nullptr;
        if (IBdsServices* hub = session.hubs.Pick(session.Input())) (hub->*ask)(&service);
        return service;
    });
}

// Runs `visit` on one of the lists of references the package holds, chosen by the input.
template <class Visit>
void VisitHeld(PackageSession& session, Visit&& visit) {
    switch (session.Input().Choose(15)) {
        case 0: visit(session.hubs); break;
        case 1: visit(session.menuServices); break;
        case 2: visit(session.menuItems); break;
        case 3: visit(session.toolBarServices); break;
        case 4: visit(session.toolBars); break;
        case 5: visit(session.controls); break;
        case 6: visit(session.helpServices); break;
        case 7: visit(session.windowsServices); break;
        case 8: visit(session.documents); break;
        case 9: visit(session.dockables); break;
        case 10: visit(session.moduleServices); break;
        case 11: visit(session.editorServices); break;
        case 12: visit(session.modules); break;
        case 13: visit(session.editors); break;
        default: visit(session.others); break;
    }
}

// Every interface of the contract and a few beyond it, for QueryInterface and GetService.
const std::vector<GUID>& InterfaceIds();

// Source files a package names and the IDE opens.
const std::vector<String>& SourceFiles();

// Identifiers the package's file systems give themselves, and modules and creators name.
const std::vector<String>& FileSystemNames();

}  // namespace fuzz
