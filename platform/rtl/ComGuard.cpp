#include "platform/rtl/ComGuard.h"

#include <new>

namespace rtl {
namespace {

void SetErrorText(const String& text) noexcept {
#ifdef _WIN32
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create))) return;
    create->SetDescription(const_cast<LPOLESTR>(W(text)));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
    }
    create->Release();
#else
    (void)text;
#endif
}

}  // namespace

HRESULT HResultFromCurrentException() noexcept {
    try {
        throw;
    } catch (const EOleSysError& e) {
        SetErrorText(e.Message());
        return e.ErrorCode();
    } catch (const ERangeError& e) {
        SetErrorText(e.Message());
        return E_INVALIDARG;
    } catch (const EListError& e) {
        SetErrorText(e.Message());
        return E_INVALIDARG;
    } catch (const EIntfCastError& e) {
        SetErrorText(e.Message());
        return E_NOINTERFACE;
    } catch (const Exception& e) {
        SetErrorText(e.Message());
        return E_FAIL;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace rtl
