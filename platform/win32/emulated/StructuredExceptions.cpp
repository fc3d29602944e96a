// Structured exceptions as 32-bit Windows has them: each thread's chain of registration records,
// RaiseException and RtlUnwind over it, and hardware faults (signals) raised through the same
// chain. A fault in a thread with no record on its chain, or one no record takes, is left to the
// process's own handling of the signal, as before the emulation was there.
#include <pthread.h>
#include <signal.h>
#include <ucontext.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/win32/Win32.h"
#include "platform/win32/emulated/EmulationControl.h"

__thread _TEB emulation::currentThreadBlock;

namespace {

using emulation::currentThreadBlock;

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
struct sigaction processHandlers[NSIG];

// A thread's own stack is the one that overflows: the handler runs on one of its own.
constexpr size_t kSignalStackSize = 64 * 1024;
// How far below the stack's lowest allowed address a fault still counts as the stack's: the
// guard gap the kernel keeps below a growing stack.
constexpr uintptr_t kStackGuardReach = 1024 * 1024;

bool Sanitized() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

// Walks the chain innermost first. A handler that takes the exception does not come back (it
// unwinds to its own frame); true when one asked to continue where the exception was raised.
bool Dispatch(EXCEPTION_RECORD& record) {
    for (EXCEPTION_REGISTRATION_RECORD* registration = currentThreadBlock.Tib.ExceptionList; registration;
         registration = registration->Next) {
        const EXCEPTION_DISPOSITION disposition = registration->Handler(&record, registration, nullptr, nullptr);
        if (disposition == ExceptionContinueExecution && !(record.ExceptionFlags & EXCEPTION_NONCONTINUABLE))
            return true;
    }
    return false;
}

bool IsStackOverflow(uintptr_t faultAddress) {
    const auto limit = reinterpret_cast<uintptr_t>(currentThreadBlock.Tib.StackLimit);
    return limit != 0 && faultAddress < limit + 4096 && faultAddress + kStackGuardReach >= limit;
}

struct FaultSite {
    void* instruction = nullptr;
    bool write = false;
    bool execute = false;
};

FaultSite SiteOf(void* context) {
    FaultSite site;
    const auto* state = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
    site.instruction = reinterpret_cast<void*>(state->uc_mcontext.gregs[REG_RIP]);
    const auto error = static_cast<uint64_t>(state->uc_mcontext.gregs[REG_ERR]);
#elif defined(__i386__)
    site.instruction = reinterpret_cast<void*>(state->uc_mcontext.gregs[REG_EIP]);
    const auto error = static_cast<uint32_t>(state->uc_mcontext.gregs[REG_ERR]);
#else
    (void)state;
    const unsigned error = 0;
#endif
    // The page fault's error code: bit 1 a write, bit 4 an instruction fetch.
    site.write = (error & 2) != 0;
    site.execute = (error & 16) != 0;
    return site;
}

DWORD FloatingPointCode(int code) {
    switch (code) {
        case FPE_INTDIV: return EXCEPTION_INT_DIVIDE_BY_ZERO;
        case FPE_INTOVF: return EXCEPTION_INT_OVERFLOW;
        case FPE_FLTDIV: return EXCEPTION_FLT_DIVIDE_BY_ZERO;
        case FPE_FLTOVF: return EXCEPTION_FLT_OVERFLOW;
        case FPE_FLTUND: return EXCEPTION_FLT_UNDERFLOW;
        case FPE_FLTRES: return EXCEPTION_FLT_INEXACT_RESULT;
        case FPE_FLTSUB: return EXCEPTION_ARRAY_BOUNDS_EXCEEDED;
        default: return EXCEPTION_FLT_INVALID_OPERATION;
    }
}

// The record Windows would raise for the fault.
EXCEPTION_RECORD RecordOf(int signal, const siginfo_t& info, void* context) {
    const FaultSite site = SiteOf(context);
    EXCEPTION_RECORD record{};
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    record.ExceptionAddress = site.instruction ? site.instruction : info.si_addr;
    const auto touched = reinterpret_cast<ULONG_PTR>(info.si_addr);
    switch (signal) {
        case SIGSEGV:
        case SIGBUS:
            if (signal == SIGSEGV && IsStackOverflow(touched)) {
                record.ExceptionCode = EXCEPTION_STACK_OVERFLOW;
                break;
            }
            record.ExceptionCode = signal == SIGSEGV ? EXCEPTION_ACCESS_VIOLATION : EXCEPTION_IN_PAGE_ERROR;
            record.NumberParameters = 2;
            record.ExceptionInformation[0] = site.execute ? 8 : site.write ? 1 : 0;
            record.ExceptionInformation[1] = touched;
            break;
        case SIGFPE:
            record.ExceptionCode = FloatingPointCode(info.si_code);
            break;
        default:
            record.ExceptionCode = info.si_code == ILL_PRVOPC || info.si_code == ILL_PRVREG
                                       ? EXCEPTION_PRIV_INSTRUCTION
                                       : EXCEPTION_ILLEGAL_INSTRUCTION;
            break;
    }
    return record;
}

void OnFault(int signal, siginfo_t* info, void* context) {
    if (currentThreadBlock.Tib.ExceptionList) {
        EXCEPTION_RECORD record = RecordOf(signal, *info, context);
        Dispatch(record);  // returns only when no record took it
    }
    // The process's own handling, as if the emulation were not there: the faulting instruction
    // runs again under it; a signal sent rather than caused is sent again.
    sigaction(signal, &processHandlers[signal], nullptr);
    if (info->si_code <= 0) raise(signal);
}

void InstallFaultHandlers() {
    struct sigaction action {};
    action.sa_sigaction = OnFault;
    // NODEFER: a handler that unwinds to its frame leaves no signal blocked behind it.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signal : kFaultSignals) sigaction(signal, &action, &processHandlers[signal]);
}

void UseSignalStack() {
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) return;  // the process has one
    stack_t own{};
    own.ss_sp = std::malloc(kSignalStackSize);  // for the thread's life
    own.ss_size = kSignalStackSize;
    if (own.ss_sp) sigaltstack(&own, nullptr);
}

void NoteStackBounds() {
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
    void* lowest = nullptr;
    size_t size = 0;
    if (pthread_attr_getstack(&attributes, &lowest, &size) == 0) {
        currentThreadBlock.Tib.StackLimit = lowest;
        currentThreadBlock.Tib.StackBase = static_cast<char*>(lowest) + size;
    }
    pthread_attr_destroy(&attributes);
}

}  // namespace

namespace emulation {

void TranslateFaultsOnThisThread() {
    currentThreadBlock.TranslatesFaults = true;
    // The sanitizers' own handlers stay in charge of faults.
    if (Sanitized()) return;
    static std::once_flag installed;
    std::call_once(installed, InstallFaultHandlers);
    UseSignalStack();
    NoteStackBounds();
}

}  // namespace emulation

extern "C" {

_TEB* NtCurrentTeb() { return &currentThreadBlock; }

void RaiseException(DWORD code, DWORD flags, DWORD argumentCount, const ULONG_PTR* arguments) {
    EXCEPTION_RECORD record{};
    record.ExceptionCode = code;
    record.ExceptionFlags = flags & EXCEPTION_NONCONTINUABLE;
    // Where it was raised: the caller's code, not this function.
    record.ExceptionAddress = __builtin_return_address(0);
    record.NumberParameters = argumentCount < EXCEPTION_MAXIMUM_PARAMETERS ? argumentCount : EXCEPTION_MAXIMUM_PARAMETERS;
    for (DWORD i = 0; arguments && i < record.NumberParameters; ++i) record.ExceptionInformation[i] = arguments[i];
    if (Dispatch(record)) return;
    std::fprintf(stderr, "unhandled exception %08X at address %p\n", static_cast<unsigned>(code), record.ExceptionAddress);
    std::abort();
}

void RtlUnwind(void* targetFrame, void*, EXCEPTION_RECORD* record, void*) {
    EXCEPTION_RECORD unwinding{};
    unwinding.ExceptionCode = 0xC0000027u;  // STATUS_UNWIND
    EXCEPTION_RECORD& passed = record ? *record : unwinding;
    passed.ExceptionFlags |= EXCEPTION_UNWINDING;
    EXCEPTION_REGISTRATION_RECORD*& head = currentThreadBlock.Tib.ExceptionList;
    while (head && head != targetFrame) {
        EXCEPTION_REGISTRATION_RECORD* registration = head;
        registration->Handler(&passed, registration, nullptr, nullptr);
        head = registration->Next;
    }
}

}  // extern "C"
