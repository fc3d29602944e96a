#include "platform/rtl/StructuredFaults.h"

#include <algorithm>

#ifdef _WIN32
#include <malloc.h>
// The C runtime's unwind to a frame: RtlUnwind with the registers it clobbers kept.
extern "C" void __cdecl _global_unwind2(EXCEPTION_REGISTRATION_RECORD* frame);
#else
#include "platform/win32/emulated/EmulationControl.h"
#endif

#if defined(__SANITIZE_ADDRESS__)
#define KORVEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVEL_ASAN 1
#endif
#endif
#ifdef KORVEL_ASAN
extern "C" void __asan_handle_no_return();
#endif

namespace rtl {
namespace {

struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD registration;  // first: the chain points at the frame
    void* resume[5];                             // where the call resumes after a fault
    const void* tag;
    StructuredFault fault;
};

// The head of the thread's handler chain: the first field of its information block, at fs:[0]
// on 32-bit Windows.
EXCEPTION_REGISTRATION_RECORD* ChainHead() {
#ifdef _WIN32
    EXCEPTION_REGISTRATION_RECORD* head;
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
    return head;
#else
    return emulation::currentThreadBlock.Tib.ExceptionList;
#endif
}

void SetChainHead(EXCEPTION_REGISTRATION_RECORD* head) {
#ifdef _WIN32
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(head) : "memory");
#else
    emulation::currentThreadBlock.Tib.ExceptionList = head;
#endif
}

// The debugger's notices (debug output, thread names) are raised to be passed by.
bool Informational(DWORD code) { return (code >> 30) == 1; }

StructuredFault FaultOf(const EXCEPTION_RECORD& record) {
    StructuredFault fault{record.ExceptionCode, record.ExceptionAddress, false, 0, 0};
    if ((fault.code == EXCEPTION_ACCESS_VIOLATION || fault.code == EXCEPTION_IN_PAGE_ERROR) &&
        record.NumberParameters >= 2) {
        fault.touchedMemory = true;
        fault.access = record.ExceptionInformation[0];
        fault.target = record.ExceptionInformation[1];
    }
    return fault;
}

void UnwindAbove(EXCEPTION_REGISTRATION_RECORD* frame) {
#ifdef _WIN32
    _global_unwind2(frame);
#else
    RtlUnwind(frame, nullptr, nullptr, nullptr);
#endif
}

// Runs where the fault was raised (natively on the signal's stack): it only copies plain values
// and leaves for the guarded call's frame.
EXCEPTION_DISPOSITION NTAPI TakeFault(EXCEPTION_RECORD* record, void* establisher, CONTEXT*, void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    if (Informational(record->ExceptionCode)) return ExceptionContinueSearch;
    auto* frame = static_cast<GuardFrame*>(establisher);
    frame->fault = FaultOf(*record);
    UnwindAbove(&frame->registration);
#ifdef KORVEL_ASAN
    __asan_handle_no_return();  // the frames left behind are no longer in use
#endif
    __builtin_longjmp(frame->resume, 1);
}

void RestoreStackGuard() {
#ifdef _WIN32
    _resetstkoflw();  // else the next overflow finds no guard page and ends the process
#endif
}

void TranslateFaults() {
#ifndef _WIN32
    if (!emulation::currentThreadBlock.TranslatesFaults) emulation::TranslateFaultsOnThisThread();
#endif
}

String Hex(uintptr_t value) { return IntToHex(value, 8); }
String Hex(const void* address) { return Hex(reinterpret_cast<uintptr_t>(address)); }

const char16_t* PlainWords(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION: return u"Access violation";
        case EXCEPTION_IN_PAGE_ERROR: return u"In-page error";
        case EXCEPTION_INT_DIVIDE_BY_ZERO: return u"Integer division by zero";
        case EXCEPTION_INT_OVERFLOW: return u"Integer overflow";
        case EXCEPTION_STACK_OVERFLOW: return u"Stack overflow";
        case EXCEPTION_FLT_DIVIDE_BY_ZERO: return u"Floating-point division by zero";
        case EXCEPTION_FLT_INVALID_OPERATION: return u"Invalid floating-point operation";
        case EXCEPTION_FLT_OVERFLOW: return u"Floating-point overflow";
        case EXCEPTION_FLT_UNDERFLOW: return u"Floating-point underflow";
        case EXCEPTION_FLT_INEXACT_RESULT: return u"Inexact floating-point result";
        case EXCEPTION_FLT_DENORMAL_OPERAND: return u"Denormal floating-point operand";
        case EXCEPTION_FLT_STACK_CHECK: return u"Floating-point stack check";
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: return u"Array bounds exceeded";
        case EXCEPTION_ILLEGAL_INSTRUCTION: return u"Illegal instruction";
        case EXCEPTION_PRIV_INSTRUCTION: return u"Privileged instruction";
        case 0xE06D7363u: return u"C++ exception of another compiler";
        case 0x0EEDFADEu: return u"Delphi exception";
        case 0xE0465043u: return u"Free Pascal exception";
        default: return u"External exception";
    }
}

const char16_t* AccessWords(ULONG_PTR access) {
    switch (access) {
        case 1: return u"Write";
        case 8: return u"Execution";
        default: return u"Read";
    }
}

}  // namespace

__attribute__((noinline)) bool CallCatchingFaults(void (*body)(void*), void* context, StructuredFault& fault,
                                                  const void* tag) noexcept {
    TranslateFaults();
    GuardFrame frame;
    frame.registration.Next = ChainHead();
    frame.registration.Handler = TakeFault;
    frame.tag = tag;
    if (__builtin_setjmp(frame.resume)) {
        SetChainHead(frame.registration.Next);
        fault = frame.fault;
        if (fault.code == EXCEPTION_STACK_OVERFLOW) RestoreStackGuard();
        return false;
    }
    // The record is on the chain exactly while the body runs.
    SetChainHead(&frame.registration);
    body(context);
    SetChainHead(frame.registration.Next);
    return true;
}

const void* InnermostGuardTag() noexcept {
    // The chain also holds the records of code in between (a package's own handlers); on
    // Windows it ends in -1.
    for (EXCEPTION_REGISTRATION_RECORD* record = ChainHead();
         record && record != reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(~uintptr_t(0)); record = record->Next)
        if (record->Handler == TakeFault) return reinterpret_cast<GuardFrame*>(record)->tag;
    return nullptr;
}

String ModuleNameAt(const void* address) {
    HMODULE module = nullptr;
    if (!address || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                        static_cast<LPCWSTR>(address), &module))
        return {};
    char16_t path[1024] = {};
    const DWORD length = GetModuleFileNameW(module, W(path), 1024);
    if (length == 0) return {};
    const String file(path, std::min<DWORD>(length, 1023));
    return file.substr(file.find_last_of(u"/\\") + 1);
}

String DescribeFault(const StructuredFault& fault) {
    String text = PlainWords(fault.code);
    if (fault.code != EXCEPTION_ACCESS_VIOLATION) text += u" (" + Hex(fault.code) + u")";
    text += u" at address " + Hex(fault.address);
    const String module = ModuleNameAt(fault.address);
    if (!module.empty()) text += u" in module '" + module + u"'";
    if (fault.touchedMemory) text += u". " + String(AccessWords(fault.access)) + u" of address " + Hex(fault.target);
    return text;
}

}  // namespace rtl
