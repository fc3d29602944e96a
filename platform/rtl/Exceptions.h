// The exception classes of the system's language library, by the names its code knows.
#pragma once

#include <exception>
#include <string>

#include "platform/rtl/Text.h"

namespace rtl {

// The general exception class: everything the system raises on purpose derives from it.
class Exception : public std::exception {
public:
    explicit Exception(String message);
    const String& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    String message_;
    std::string utf8_;
};

#define KORVEL_EXCEPTION_CLASS(Name, Base) \
    class Name : public Base {             \
    public:                                \
        using Base::Base;                  \
    }

KORVEL_EXCEPTION_CLASS(ERangeError, Exception);
// Arithmetic that overflows: a number out of range, reported as a range error is.
KORVEL_EXCEPTION_CLASS(EIntOverflow, ERangeError);
KORVEL_EXCEPTION_CLASS(EListError, Exception);
KORVEL_EXCEPTION_CLASS(EIntfCastError, Exception);
KORVEL_EXCEPTION_CLASS(EComponentError, Exception);
KORVEL_EXCEPTION_CLASS(EInvalidOperation, Exception);
KORVEL_EXCEPTION_CLASS(EConvertError, Exception);
KORVEL_EXCEPTION_CLASS(ERegistryException, Exception);
KORVEL_EXCEPTION_CLASS(EAssertionFailed, Exception);
KORVEL_EXCEPTION_CLASS(EOleError, Exception);
// The silent exception: it stops an operation without an error message.
KORVEL_EXCEPTION_CLASS(EAbort, Exception);
#undef KORVEL_EXCEPTION_CLASS

// A failing COM result raised as an exception, with the system's text for it.
class EOleSysError : public EOleError {
public:
    explicit EOleSysError(HRESULT code);
    HRESULT ErrorCode() const noexcept { return code_; }

private:
    HRESULT code_;
};

// The system's text for a Win32 or COM error code, without the trailing line end or full stop.
String SysErrorMessage(DWORD code);

[[noreturn]] void RaiseRangeError();
[[noreturn]] void RaiseListIndexError(long long index);
[[noreturn]] void RaiseIntfCastError();
// Raises the silent EAbort.
[[noreturn]] void Abort();
void OleCheck(HRESULT result);

// a + b, or EIntOverflow when the sum does not fit.
int AddChecked(int a, int b);

}  // namespace rtl
