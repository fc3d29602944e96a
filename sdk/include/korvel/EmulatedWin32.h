// The part of the Win32 and COM API that the system and its packages use, for Linux.
// Types keep the Windows names and meanings; text is UTF-16, as on Windows. Functions are
// plain C symbols with the Windows names, and the header reads as C or C++, so that a
// package written for Windows builds here unchanged. The functions are defined by the
// process that loads the package (the IDE stand-in), as Windows' own DLLs are.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#define STDMETHODCALLTYPE
#define WINAPI
#define CALLBACK
#define NTAPI

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t UINT;
typedef int32_t INT;
typedef int16_t SHORT;
typedef int32_t BOOL;
typedef int32_t HRESULT;
typedef LONG LSTATUS;
typedef DWORD REGSAM;
typedef DWORD COLORREF;
typedef int16_t VARIANT_BOOL;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
#ifdef __cplusplus
typedef char16_t WCHAR;
#else
typedef uint16_t WCHAR;
#endif
typedef WCHAR OLECHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef OLECHAR* BSTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;

#define DECLARE_EMULATED_HANDLE(name) \
    struct name##__ {                 \
        int unused;                   \
    };                                \
    typedef struct name##__* name
DECLARE_EMULATED_HANDLE(HKEY);
DECLARE_EMULATED_HANDLE(HWND);
DECLARE_EMULATED_HANDLE(HBITMAP);
DECLARE_EMULATED_HANDLE(HINSTANCE);
DECLARE_EMULATED_HANDLE(HDC);
DECLARE_EMULATED_HANDLE(HICON);
#undef DECLARE_EMULATED_HANDLE
typedef void* HGDIOBJ;
typedef HINSTANCE HMODULE;
typedef HKEY* PHKEY;
typedef void* FARPROC;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

typedef struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;

// As on Windows: references in C++, pointers in C (the same on the wire).
#ifdef __cplusplus
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }
#else
typedef const GUID* REFGUID;
typedef const IID* REFIID;
typedef const CLSID* REFCLSID;

#define IsEqualGUID(a, b) (memcmp((a), (b), sizeof(GUID)) == 0)
#endif
#define IsEqualIID IsEqualGUID
#define IsEqualCLSID IsEqualGUID

// A named GUID constant. C keeps one unreferenced copy per file, as Windows' headers do
// without INITGUID's single definition.
#ifdef __cplusplus
#define KORVEL_DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#else
#define KORVEL_DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    static const GUID name __attribute__((unused)) = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#endif

typedef struct POINT {
    LONG x;
    LONG y;
} POINT;
typedef struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT;
typedef struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG;


// Structured exceptions, as on 32-bit Windows: a chain of registration records per thread,
// its head the first field of the thread's information block. Hardware faults (signals) in a
// thread that has records on its chain are raised through it like RaiseException's.
typedef uintptr_t ULONG_PTR;
#define EXCEPTION_MAXIMUM_PARAMETERS 15
typedef struct EXCEPTION_RECORD {
    DWORD ExceptionCode;
    DWORD ExceptionFlags;
    struct EXCEPTION_RECORD* ExceptionRecord;
    void* ExceptionAddress;
    DWORD NumberParameters;
    ULONG_PTR ExceptionInformation[EXCEPTION_MAXIMUM_PARAMETERS];
} EXCEPTION_RECORD, *PEXCEPTION_RECORD;
typedef enum EXCEPTION_DISPOSITION {
    ExceptionContinueExecution,
    ExceptionContinueSearch,
    ExceptionNestedException,
    ExceptionCollidedUnwind
} EXCEPTION_DISPOSITION;
// The processor's state is not emulated: handlers get nil for it.
typedef struct CONTEXT CONTEXT;
typedef EXCEPTION_DISPOSITION NTAPI EXCEPTION_ROUTINE(EXCEPTION_RECORD* record, void* establisherFrame,
                                                      CONTEXT* context, void* dispatcherContext);
typedef EXCEPTION_ROUTINE* PEXCEPTION_ROUTINE;
typedef struct EXCEPTION_REGISTRATION_RECORD {
    struct EXCEPTION_REGISTRATION_RECORD* Next;
    PEXCEPTION_ROUTINE Handler;
} EXCEPTION_REGISTRATION_RECORD;
typedef struct NT_TIB {
    EXCEPTION_REGISTRATION_RECORD* ExceptionList;
    void* StackBase;
    void* StackLimit;
} NT_TIB;
struct _TEB;
#define EXCEPTION_NONCONTINUABLE 0x1
#define EXCEPTION_UNWINDING 0x2
#define EXCEPTION_EXIT_UNWIND 0x4
#define EXCEPTION_ACCESS_VIOLATION 0xC0000005u
#define EXCEPTION_IN_PAGE_ERROR 0xC0000006u
#define EXCEPTION_ILLEGAL_INSTRUCTION 0xC000001Du
#define EXCEPTION_ARRAY_BOUNDS_EXCEEDED 0xC000008Cu
#define EXCEPTION_FLT_DENORMAL_OPERAND 0xC000008Du
#define EXCEPTION_FLT_DIVIDE_BY_ZERO 0xC000008Eu
#define EXCEPTION_FLT_INEXACT_RESULT 0xC000008Fu
#define EXCEPTION_FLT_INVALID_OPERATION 0xC0000090u
#define EXCEPTION_FLT_OVERFLOW 0xC0000091u
#define EXCEPTION_FLT_STACK_CHECK 0xC0000092u
#define EXCEPTION_FLT_UNDERFLOW 0xC0000093u
#define EXCEPTION_INT_DIVIDE_BY_ZERO 0xC0000094u
#define EXCEPTION_INT_OVERFLOW 0xC0000095u
#define EXCEPTION_PRIV_INSTRUCTION 0xC0000096u
#define EXCEPTION_STACK_OVERFLOW 0xC00000FDu

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    void* hCursor;
    void* hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
} WNDCLASSW;
typedef WORD ATOM;
typedef void* HMENU;

#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TOOLWINDOW 0x00000080L
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define SW_HIDE 0
#define SW_SHOW 5
#define SW_SHOWNORMAL 1
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define HWND_TOP ((HWND)(intptr_t)(0))
#define HWND_BOTTOM ((HWND)(intptr_t)(1))
#define HWND_TOPMOST ((HWND)(intptr_t)(-1))
#define HWND_NOTOPMOST ((HWND)(intptr_t)(-2))
#define HWND_DESKTOP ((HWND)(intptr_t)(0))
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define GA_PARENT 1
#define GW_HWNDNEXT 2
#define GW_CHILD 5

typedef struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP;
typedef struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
} ICONINFO;
typedef ICONINFO* PICONINFO;

typedef struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER;
typedef struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;
typedef struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO;

#define MAKE_HRESULT_CODE(v) ((HRESULT)(uint32_t)(v))
#define S_OK MAKE_HRESULT_CODE(0)
#define S_FALSE MAKE_HRESULT_CODE(1)
#define E_NOTIMPL MAKE_HRESULT_CODE(0x80004001u)
#define E_NOINTERFACE MAKE_HRESULT_CODE(0x80004002u)
#define E_POINTER MAKE_HRESULT_CODE(0x80004003u)
#define E_ABORT MAKE_HRESULT_CODE(0x80004004u)
#define E_FAIL MAKE_HRESULT_CODE(0x80004005u)
#define E_UNEXPECTED MAKE_HRESULT_CODE(0x8000FFFFu)
#define E_ACCESSDENIED MAKE_HRESULT_CODE(0x80070005u)
#define E_OUTOFMEMORY MAKE_HRESULT_CODE(0x8007000Eu)
#define E_INVALIDARG MAKE_HRESULT_CODE(0x80070057u)
#define CLASS_E_NOAGGREGATION MAKE_HRESULT_CODE(0x80040110u)
#define CLASS_E_CLASSNOTAVAILABLE MAKE_HRESULT_CODE(0x80040111u)
#define REGDB_E_CLASSNOTREG MAKE_HRESULT_CODE(0x80040154u)
#define CO_E_ERRORINDLL MAKE_HRESULT_CODE(0x800401F9u)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define HRESULT_FROM_WIN32(x) \
    (((HRESULT)(x)) <= 0 ? ((HRESULT)(x)) : MAKE_HRESULT_CODE((((uint32_t)(x)) & 0x0000FFFFu) | 0x80070000u))

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_KEY_DELETED 1018L

#define HKEY_CLASSES_ROOT ((HKEY)(uintptr_t)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002u)
#define HKEY_USERS ((HKEY)(uintptr_t)0x80000003u)

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define READ_CONTROL 0x00020000L
#define KEY_READ (READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY)
#define KEY_WRITE (READ_CONTROL | KEY_SET_VALUE | KEY_CREATE_SUB_KEY)
#define KEY_ALL_ACCESS 0xF003F
#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER)
#define COINIT_APARTMENTTHREADED 0x2
#define REGCLS_SINGLEUSE 0
#define REGCLS_MULTIPLEUSE 1

#define MB_OK 0x0
#define MB_ICONHAND 0x10
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING 0x30
#define MB_ICONINFORMATION 0x40
#define MB_OKCANCEL 0x1
#define MB_YESNO 0x4
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
#define IDOK 1
#define SW_HIDE 0
#define SW_SHOW 5

#define GET_MODULE_HANDLE_EX_FLAG_PIN 0x1
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x2
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x4
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x10

#define SM_CXICON 11
#define SM_CYICON 12

#define BI_RGB 0
#define DIB_RGB_COLORS 0

#define WM_NULL 0x0000
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_USER 0x0400

#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_F1 0x70
#define VK_F12 0x7B

#ifdef __cplusplus
struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};
#else
typedef struct IUnknown IUnknown;
typedef struct IClassFactory IClassFactory;

typedef struct IUnknownVtbl {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(IUnknown* This, REFIID riid, void** ppvObject);
    ULONG(STDMETHODCALLTYPE* AddRef)(IUnknown* This);
    ULONG(STDMETHODCALLTYPE* Release)(IUnknown* This);
} IUnknownVtbl;
struct IUnknown {
    const IUnknownVtbl* lpVtbl;
};

typedef struct IClassFactoryVtbl {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(IClassFactory* This, REFIID riid, void** ppvObject);
    ULONG(STDMETHODCALLTYPE* AddRef)(IClassFactory* This);
    ULONG(STDMETHODCALLTYPE* Release)(IClassFactory* This);
    HRESULT(STDMETHODCALLTYPE* CreateInstance)(IClassFactory* This, IUnknown* outer, REFIID riid, void** ppvObject);
    HRESULT(STDMETHODCALLTYPE* LockServer)(IClassFactory* This, BOOL lock);
} IClassFactoryVtbl;
struct IClassFactory {
    const IClassFactoryVtbl* lpVtbl;
};
#endif

// Streams: ole32's memory stream (CreateStreamOnHGlobal with no memory of its own given).
typedef void* HGLOBAL;
typedef union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    int64_t QuadPart;
} LARGE_INTEGER;
typedef union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    uint64_t QuadPart;
} ULARGE_INTEGER;
typedef struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME;
typedef WCHAR* LPOLESTR;
typedef struct STATSTG {
    LPOLESTR pwcsName;
    DWORD type;
    ULARGE_INTEGER cbSize;
    FILETIME mtime;
    FILETIME ctime;
    FILETIME atime;
    DWORD grfMode;
    DWORD grfLocksSupported;
    CLSID clsid;
    DWORD grfStateBits;
    DWORD reserved;
} STATSTG;
#define STREAM_SEEK_SET 0
#define STREAM_SEEK_CUR 1
#define STREAM_SEEK_END 2
#define STGTY_STREAM 2
#define STATFLAG_DEFAULT 0
#define STATFLAG_NONAME 1
#define STG_E_INVALIDFUNCTION MAKE_HRESULT_CODE(0x80030001u)
#define STG_E_INVALIDPOINTER MAKE_HRESULT_CODE(0x80030009u)
#define STG_E_MEDIUMFULL MAKE_HRESULT_CODE(0x80030070u)

#ifdef __cplusplus
struct ISequentialStream : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) = 0;

protected:
    ~ISequentialStream() = default;
};

struct IStream : ISequentialStream {
    virtual HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                             ULARGE_INTEGER* written) = 0;
    virtual HRESULT STDMETHODCALLTYPE Commit(DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
    virtual HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IStream** clone) = 0;

protected:
    ~IStream() = default;
};
#else
typedef struct IStream IStream;
typedef struct IStreamVtbl {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(IStream* This, REFIID riid, void** ppvObject);
    ULONG(STDMETHODCALLTYPE* AddRef)(IStream* This);
    ULONG(STDMETHODCALLTYPE* Release)(IStream* This);
    HRESULT(STDMETHODCALLTYPE* Read)(IStream* This, void* buffer, ULONG size, ULONG* read);
    HRESULT(STDMETHODCALLTYPE* Write)(IStream* This, const void* buffer, ULONG size, ULONG* written);
    HRESULT(STDMETHODCALLTYPE* Seek)(IStream* This, LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position);
    HRESULT(STDMETHODCALLTYPE* SetSize)(IStream* This, ULARGE_INTEGER size);
    HRESULT(STDMETHODCALLTYPE* CopyTo)(IStream* This, IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                       ULARGE_INTEGER* written);
    HRESULT(STDMETHODCALLTYPE* Commit)(IStream* This, DWORD flags);
    HRESULT(STDMETHODCALLTYPE* Revert)(IStream* This);
    HRESULT(STDMETHODCALLTYPE* LockRegion)(IStream* This, ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type);
    HRESULT(STDMETHODCALLTYPE* UnlockRegion)(IStream* This, ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type);
    HRESULT(STDMETHODCALLTYPE* Stat)(IStream* This, STATSTG* stat, DWORD flags);
    HRESULT(STDMETHODCALLTYPE* Clone)(IStream* This, IStream** clone);
} IStreamVtbl;
struct IStream {
    const IStreamVtbl* lpVtbl;
};
#endif


KORVEL_DEFINE_GUID(IID_IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
KORVEL_DEFINE_GUID(IID_IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
KORVEL_DEFINE_GUID(IID_ISequentialStream, 0x0C733A30, 0x2A1C, 0x11CE, 0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D);
KORVEL_DEFINE_GUID(IID_IStream, 0x0000000C, 0x0000, 0x0000, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);

#ifdef __cplusplus
extern "C" {
#endif
// oleaut32
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

// ole32
HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
void CoUninitialize(void);
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, LPVOID serverInfo, REFIID riid, LPVOID* object);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, LPVOID* object);
HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD context, DWORD flags, LPDWORD cookie);
HRESULT CoRevokeClassObject(DWORD cookie);
// Only a stream on memory of its own (memory nil, deleteOnRelease true); it grows as it is
// written, and clones share its memory with a seek position of their own.
HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, IStream** stream);

// advapi32
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                        REGSAM access, void* security, PHKEY result, LPDWORD disposition);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved,
                      LPWSTR keyClass, LPDWORD classLength, void* lastWriteTime);
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataLength);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD dataLength);
LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName);
LSTATUS RegDeleteTreeW(HKEY key, LPCWSTR subKey);

// kernel32
HMODULE LoadLibraryW(LPCWSTR fileName);
FARPROC GetProcAddress(HMODULE module, const char* name);
BOOL FreeLibrary(HMODULE module);
// GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS: the module that holds the address `name` points at.
BOOL GetModuleHandleExW(DWORD flags, LPCWSTR name, HMODULE* module);
// The program's own file for a nil module.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
DWORD GetFileAttributesW(LPCWSTR fileName);
DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                     DWORD size, void* arguments);
DWORD GetLastError(void);
void SetLastError(DWORD code);
// The calling thread's information block; its NT_TIB comes first.
struct _TEB* NtCurrentTeb(void);
// Offers the exception to the thread's registration records, innermost first; one that no
// record handles ends the process, as an unhandled exception does.
void RaiseException(DWORD code, DWORD flags, DWORD argumentCount, const ULONG_PTR* arguments);
// Calls every record above `targetFrame` to unwind (EXCEPTION_UNWINDING) and takes it off
// the chain; `targetIp` and `returnValue` are not used.
void RtlUnwind(void* targetFrame, void* targetIp, EXCEPTION_RECORD* record, void* returnValue);
// Goes to the observer that win32::SetDebugOutputHook installed, as a debugger would see it.
void OutputDebugStringW(LPCWSTR text);

// user32 and gdi32
// Goes to the observer that win32::SetMessageBoxHook installed (the IDE stand-in records it),
// else to stderr; answers as the observer says, or IDOK.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
HWND GetForegroundWindow(void);
BOOL SetForegroundWindow(HWND window);
// The calling thread's keyboard state: 256 bytes, bit 0x80 of a key's byte set while it is down.
SHORT GetKeyState(int virtualKey);
BOOL GetKeyboardState(BYTE* state);
BOOL SetKeyboardState(BYTE* state);
// 32 bits per pixel (0x00RRGGBB), or 1 (rows padded to 16 bits, a set bit is white).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
int GetSystemMetrics(int index);
// The icon keeps copies of both bitmaps; GetIconInfo hands out new copies the caller deletes.
HICON CreateIconIndirect(PICONINFO info);
BOOL GetIconInfo(HICON icon, PICONINFO info);
BOOL DestroyIcon(HICON icon);
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage);
BOOL DeleteObject(HGDIOBJ object);
// The window manager: a table of windows with class, parent, text, styles, rectangle
// (relative to the parent), visibility, enabled state and focus; sibling order is z-order.
ATOM RegisterClassW(const WNDCLASSW* windowClass);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* windowClass);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
HWND SetParent(HWND child, HWND newParent);
// GetParent answers a child window's parent; GetAncestor(GA_PARENT) any window's.
HWND GetParent(HWND window);
HWND GetAncestor(HWND window, UINT flags);
HWND GetWindow(HWND window, UINT command);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
HWND SetFocus(HWND window);
HWND GetFocus(void);
LONG GetWindowLongW(HWND window, int index);
LONG SetWindowLongW(HWND window, int index, LONG value);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
int GetClassNameW(HWND window, LPWSTR name, int size);
int GetWindowTextW(HWND window, LPWSTR text, int size);
BOOL SetWindowTextW(HWND window, LPCWSTR text);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HMODULE GetModuleHandleW(LPCWSTR moduleName);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
#ifdef __cplusplus
}  // extern "C"
#endif
