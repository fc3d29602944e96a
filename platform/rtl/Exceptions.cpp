#include "platform/rtl/Exceptions.h"

#include <utility>

namespace rtl {

Exception::Exception(String message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

namespace {

String OleErrorText(HRESULT code) {
    String text = SysErrorMessage(static_cast<DWORD>(code));
    if (text.empty()) text = u"OLE error " + IntToHex(static_cast<uint32_t>(code), 8);
    return text;
}

}  // namespace

EOleSysError::EOleSysError(HRESULT code) : EOleError(OleErrorText(code)), code_(code) {}

String SysErrorMessage(DWORD code) {
    WCHAR buffer[1024];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, sizeof(buffer) / sizeof(buffer[0]), nullptr);
    String text = FromWide(buffer, length);
    while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.pop_back();
    return text;
}

void RaiseRangeError() { throw ERangeError(u"Range check error"); }

int AddChecked(int a, int b) {
    int sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) throw EIntOverflow(u"Integer overflow");
    return sum;
}

void RaiseListIndexError(long long index) {
    throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

void RaiseIntfCastError() { throw EIntfCastError(u"Interface not supported"); }

void Abort() { throw EAbort(u"Operation aborted"); }

void OleCheck(HRESULT result) {
    if (FAILED(result)) throw EOleSysError(result);
}

}  // namespace rtl
