{ What a Pascal package builds on, beside the contract (KorvelBdsInterop): the base class of its
  COM objects, click sinks, BSTRs, what the user and a debugger see, and the answer to an
  exception.

  No exception may leave a method the IDE calls. Each method ends its work in
      except
        Result := ExceptionResult;
      end;
  which answers a failure and reports the exception to the debug output. One that escapes
  anyway ends only that call, as a fault of the package: on Windows Free Pascal raises it to
  the caller as a structured exception (code E0465043), and this unit makes the Linux build do
  the same where the run-time library would end the process. A hardware fault (a write through
  nil, say) ends the call the same way; on Windows one inside a try block is a Pascal
  exception first (EAccessViolation), while natively no except block sees it. }
unit KorvelPackage;

{$mode delphi}
{$interfaces com}

interface

uses
  SysUtils, KorvelWin32, KorvelBdsInterop;

type
  { The base of a package's COM objects: reference-counted as TInterfacedObject (the first
    interface handed out holds the first reference), and counted while alive, so that the
    library answers DllCanUnloadNow truly and the IDE can tell objects that were never let go. }
  TPackageObject = class(TInterfacedObject)
  public
    constructor Create; virtual;
    procedure AfterConstruction; override;
    procedure BeforeDestruction; override;
  end;
  TPackageObjectClass = class of TPackageObject;

  TPackageEvent = procedure of object;

  { The sink of a menu item or toolbar control, from ControlEvents: pass it to RegisterEvents. }
  IControlEvents = interface(IBdsToolBarControlEvents)
    ['{5111ADB4-8974-4126-A97D-7454459F928C}']
    { Calls that arrive later are answered without the package. }
    procedure Disconnect;
  end;

  { BSTRs of the package's own for passing to the IDE, all freed with the last reference to the
    list. Keep the list in a local variable and pass Texts.Add('text') where a method takes a
    BSTR: Free Pascal may release a temporary reference before the call it is an argument of. }
  IBstrs = interface
    function Add(const Text: UnicodeString): BSTR;
  end;

  { Raised to answer a particular result: ExceptionResult gives its code. }
  EPackageResult = class(Exception)
  private
    FCode: HResult;
  public
    constructor Create(Code: HResult; const Msg: string);
    property Code: HResult read FCode;
  end;

{ A sink that passes OnExecute and OnChange on to methods of the package until Disconnect. It
  holds no reference to the package: the IDE may keep it for longer than the package is sited,
  or even alive. An exception of the method is the call's failure (ExceptionResult). }
function ControlEvents(Execute: TPackageEvent; Change: TPackageEvent = nil): IControlEvents;

function Bstrs: IBstrs;
{ A borrowed BSTR's text; nil is the empty text. }
function BstrText(Text: BSTR): UnicodeString;
{ An out BSTR's text, freeing it. }
function TakeBstr(var Text: BSTR): UnicodeString;

{ A message box owned by the IDE's foreground window; answers the button pressed. }
function ShowMessage(const Text, Caption: UnicodeString; Style: UINT = MB_OK): Integer;
{ One line for whoever watches the process's debug output (in the IDE, its recorder). }
procedure WriteDebugLine(const Line: UnicodeString);

{ A failed call of the IDE's as an EPackageResult, for the method's except block to answer. }
procedure CheckResult(Result: HResult);

{ Inside an except block: the result for the exception being handled (an out-of-memory error
  E_OUTOFMEMORY, a refused interface cast E_NOINTERFACE, a range error E_INVALIDARG, an
  EPackageResult its code, anything else E_FAIL), after a debug line that names the library,
  the exception's class and its message. }
function ExceptionResult: HResult;

{ Whether objects of the library are alive or it is locked: DllCanUnloadNow's question. }
function ModuleInUse: Boolean;
procedure LockModule;
procedure UnlockModule;
{ The file this library was loaded from; empty when the platform cannot tell. }
function ModuleFileName: UnicodeString;

implementation

var
  ModuleReferences: LongInt = 0;

type
  TControlEvents = class(TPackageObject, IBdsToolBarControlEvents, IControlEvents)
  private
    FExecute: TPackageEvent;
    FChange: TPackageEvent;
    function Pass(Event: TPackageEvent): HResult;
  public
    procedure Disconnect;
    function OnExecute: HResult; stdcall;
    function OnChange: HResult; stdcall;
    function OnUpdate: HResult; stdcall;
  end;

  TBstrs = class(TInterfacedObject, IBstrs)
  private
    FTexts: array of BSTR;
  public
    destructor Destroy; override;
    function Add(const Text: UnicodeString): BSTR;
  end;

constructor TPackageObject.Create;
begin
  inherited Create;
end;

procedure TPackageObject.AfterConstruction;
begin
  inherited;
  LockModule;
end;

procedure TPackageObject.BeforeDestruction;
begin
  UnlockModule;
  inherited;
end;

function ControlEvents(Execute: TPackageEvent; Change: TPackageEvent): IControlEvents;
var
  Events: TControlEvents;
begin
  Events := TControlEvents.Create;
  Events.FExecute := Execute;
  Events.FChange := Change;
  Result := Events;
end;

procedure TControlEvents.Disconnect;
begin
  FExecute := nil;
  FChange := nil;
end;

function TControlEvents.Pass(Event: TPackageEvent): HResult;
begin
  try
    if Assigned(Event) then Event;
    Result := S_OK;
  except
    Result := ExceptionResult;
  end;
end;

function TControlEvents.OnExecute: HResult; stdcall;
begin
  Result := Pass(FExecute);
end;

function TControlEvents.OnChange: HResult; stdcall;
begin
  Result := Pass(FChange);
end;

function TControlEvents.OnUpdate: HResult; stdcall;
begin
  Result := S_OK;
end;

constructor EPackageResult.Create(Code: HResult; const Msg: string);
begin
  inherited Create(Msg);
  FCode := Code;
end;

destructor TBstrs.Destroy;
var
  Text: BSTR;
begin
  for Text in FTexts do SysFreeString(Text);
  inherited;
end;

function TBstrs.Add(const Text: UnicodeString): BSTR;
begin
  Result := SysAllocStringLen(PWideChar(Text), Length(Text));
  if Result = nil then OutOfMemoryError;
  SetLength(FTexts, Length(FTexts) + 1);
  FTexts[High(FTexts)] := Result;
end;

function Bstrs: IBstrs;
begin
  Result := TBstrs.Create;
end;

function BstrText(Text: BSTR): UnicodeString;
begin
  if Text = nil then Exit('');
  SetString(Result, Text, SysStringLen(Text));
end;

function TakeBstr(var Text: BSTR): UnicodeString;
begin
  Result := BstrText(Text);
  SysFreeString(Text);
  Text := nil;
end;

function ShowMessage(const Text, Caption: UnicodeString; Style: UINT): Integer;
begin
  Result := MessageBoxW(GetForegroundWindow, PWideChar(Text), PWideChar(Caption), Style);
end;

procedure WriteDebugLine(const Line: UnicodeString);
begin
  OutputDebugStringW(PWideChar(Line));
end;

procedure CheckResult(Result: HResult);
begin
  if Result < 0 then raise EPackageResult.Create(Result, Format('the IDE answered %.8X', [Result]));
end;

function ExceptionResult: HResult;
var
  Raised: TObject;
  Line: UnicodeString;
begin
  Raised := ExceptObject;
  if Raised is EOutOfMemory then Result := E_OUTOFMEMORY
  else if Raised is EIntfCastError then Result := E_NOINTERFACE
  else if Raised is ERangeError then Result := E_INVALIDARG
  else if Raised is EPackageResult then Result := EPackageResult(Raised).Code
  else Result := E_FAIL;
  if Raised = nil then Exit;
  try
    Line := ExtractFileName(ModuleFileName) + ': ' + UnicodeString(Raised.ClassName);
    if Raised is Exception then Line := Line + ': ' + UnicodeString(Exception(Raised).Message);
    WriteDebugLine(Line);
  except
    { No memory for the line: the result says enough. }
  end;
end;

function ModuleInUse: Boolean;
begin
  Result := ModuleReferences > 0;
end;

procedure LockModule;
begin
  InterLockedIncrement(ModuleReferences);
end;

{ More unlocks than locks would let the library go while it is in use. }
procedure UnlockModule;
var
  References: LongInt;
begin
  repeat
    References := ModuleReferences;
  until (References <= 0) or (InterlockedCompareExchange(ModuleReferences, References - 1, References) = References);
end;

function ModuleFileName: UnicodeString;
var
  Module: HMODULE;
  Path: array[0..1023] of WideChar;
  Length: DWORD;
begin
  Result := '';
  if not GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS or GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
    PWideChar(@ModuleFileName), Module) then Exit;
  Length := GetModuleFileNameW(Module, Path, System.Length(Path));
  if (Length > 0) and (Length < System.Length(Path)) then SetString(Result, PWideChar(@Path[0]), Length);
end;

{$ifndef MSWINDOWS}
const
  FreePascalExceptionCode = $E0465043;
  EXCEPTION_NONCONTINUABLE = 1;

{ Where no handler is left for a Pascal exception, the run-time library would end the process:
  raised as Windows raises it instead, it reaches the IDE's guard around the call. }
procedure RaiseUnhandled(Obj: TObject; Addr: CodePointer; FrameCount: LongInt; Frame: PCodePointer);
begin
  RaiseException(FreePascalExceptionCode, EXCEPTION_NONCONTINUABLE, 0, nil);
end;

initialization
  ExceptProc := @RaiseUnhandled;
{$endif}
end.
