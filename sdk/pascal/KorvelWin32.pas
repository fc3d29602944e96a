{ The Win32 and COM API a Pascal package is written against, as korvel/Win32.h gives it to C:
  on Windows the system's own DLLs, on Linux the functions of the IDE stand-in's emulation,
  which the process that loads the package defines (C calling convention, Windows names). The
  types are the wire format's: handles are pointer-sized natively and 32-bit on Windows. }
unit KorvelWin32;

{$mode delphi}
{$macro on}

interface

uses
  {$ifdef MSWINDOWS}Windows,{$endif} Types;

{$ifdef MSWINDOWS}
  {$define KorvelUser32 := stdcall; external 'user32.dll'}
  {$define KorvelKernel32 := stdcall; external 'kernel32.dll'}
  {$define KorvelAdvapi32 := stdcall; external 'advapi32.dll'}
  {$define KorvelOleAut32 := stdcall; external 'oleaut32.dll'}
{$else}
  {$define KorvelUser32 := cdecl; external}
  {$define KorvelKernel32 := cdecl; external}
  {$define KorvelAdvapi32 := cdecl; external}
  {$define KorvelOleAut32 := cdecl; external}
{$endif}

type
  { A length-prefixed UTF-16 string from SysAllocString: in one from the caller is borrowed,
    out one belongs to the receiver, who frees it with SysFreeString. }
  BSTR = PWideChar;
  DWORD = LongWord;
  UINT = LongWord;
  LSTATUS = LongInt;
  IStream = Types.IStream;
{$ifdef MSWINDOWS}
  HWND = Windows.HWND;
  HBITMAP = Windows.HBITMAP;
  HKEY = Windows.HKEY;
  HMODULE = Windows.HMODULE;
  TMsg = Windows.TMsg;
  PMsg = Windows.PMsg;
{$else}
  HWND = PtrUInt;
  HBITMAP = PtrUInt;
  HKEY = PtrUInt;
  HMODULE = PtrUInt;
  { The message the IDE's loop is about to dispatch. }
  TMsg = record
    hwnd: HWND;
    message: UINT;
    wParam: PtrUInt;
    lParam: PtrInt;
    time: DWORD;
    pt: TPoint;
  end;
  PMsg = ^TMsg;
{$endif}

const
  E_POINTER = HResult($80004003);
  E_FAIL = HResult($80004005);
  E_OUTOFMEMORY = HResult($8007000E);
  E_INVALIDARG = HResult($80070057);
  CLASS_E_NOAGGREGATION = HResult($80040110);
  CLASS_E_CLASSNOTAVAILABLE = HResult($80040111);

  MB_OK = $0;

  HKEY_CLASSES_ROOT = HKEY($80000000);
  HKEY_LOCAL_MACHINE = HKEY($80000002);
  KEY_WRITE = $20006;
  REG_OPTION_NON_VOLATILE = 0;
  REG_SZ = 1;
  REG_DWORD = 4;
  ERROR_SUCCESS = 0;
  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT = $2;
  GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS = $4;

function SysAllocStringLen(Text: PWideChar; Length: UINT): BSTR; KorvelOleAut32 name 'SysAllocStringLen';
procedure SysFreeString(Text: BSTR); KorvelOleAut32 name 'SysFreeString';
function SysStringLen(Text: BSTR): UINT; KorvelOleAut32 name 'SysStringLen';

function MessageBoxW(Owner: HWND; Text, Caption: PWideChar; Style: UINT): Integer; KorvelUser32 name 'MessageBoxW';
function GetForegroundWindow: HWND; KorvelUser32 name 'GetForegroundWindow';
procedure OutputDebugStringW(Text: PWideChar); KorvelKernel32 name 'OutputDebugStringW';

function GetModuleHandleExW(Flags: DWORD; Name: PWideChar; out Module: HMODULE): LongBool;
  KorvelKernel32 name 'GetModuleHandleExW';
function GetModuleFileNameW(Module: HMODULE; FileName: PWideChar; Size: DWORD): DWORD;
  KorvelKernel32 name 'GetModuleFileNameW';
function GetLastError: DWORD; KorvelKernel32 name 'GetLastError';
{ Natively: offers a structured exception to the handlers on the thread's chain, as Windows
  does; one that no handler takes ends the process. }
procedure RaiseException(Code, Flags, ArgumentCount: DWORD; Arguments: Pointer); KorvelKernel32 name 'RaiseException';

function RegCreateKeyExW(Key: HKEY; SubKey: PWideChar; Reserved: DWORD; KeyClass: PWideChar; Options: DWORD;
  Access: DWORD; Security: Pointer; out Created: HKEY; Disposition: Pointer): LSTATUS;
  KorvelAdvapi32 name 'RegCreateKeyExW';
function RegSetValueExW(Key: HKEY; ValueName: PWideChar; Reserved: DWORD; ValueType: DWORD; Data: Pointer;
  DataLength: DWORD): LSTATUS; KorvelAdvapi32 name 'RegSetValueExW';
function RegCloseKey(Key: HKEY): LSTATUS; KorvelAdvapi32 name 'RegCloseKey';
function RegDeleteTreeW(Key: HKEY; SubKey: PWideChar): LSTATUS; KorvelAdvapi32 name 'RegDeleteTreeW';

implementation

end.
