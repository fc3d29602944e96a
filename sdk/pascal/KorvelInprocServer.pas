{ A Pascal package library as COM and regsvr32 see it: a class object per package class, the
  unload question, and the registry entries that make the loader find the packages. The
  library names its classes once, in its initialization:
      PackageClass(CLSID_Greeter, 'Greeter', 100, TGreeter);
  and this unit answers DllGetClassObject, DllCanUnloadNow, DllRegisterServer and
  DllUnregisterServer for them. The library file exports the four (a unit cannot):
      exports
        DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer; }
unit KorvelInprocServer;

{$mode delphi}
{$interfaces com}

interface

uses
  SysUtils, KorvelWin32, KorvelPackage;

const
  { The key under HKEY_LOCAL_MACHINE that lists the packages the loader starts. }
  PackagesKey = 'Software\Korvel\Brivanta\RAD Studio XE2\Packages';

{ A package class of the library: its class identifier, the display name the loader lists,
  where it comes in the load order, and the class of its objects. Of two entries with one
  identifier the first counts. }
procedure PackageClass(const Id: TGUID; const Name: UnicodeString; LoadOrder: Integer;
  ObjectClass: TPackageObjectClass);

function DllGetClassObject(constref ClassId, Iid: TGUID; out Obj): HResult; stdcall;
function DllCanUnloadNow: HResult; stdcall;
function DllRegisterServer: HResult; stdcall;
function DllUnregisterServer: HResult; stdcall;

implementation

type
  IClassFactory = interface(IUnknown)
    ['{00000001-0000-0000-C000-000000000046}']
    function CreateInstance(const Outer: IUnknown; constref Iid: TGUID; out Obj): HResult; stdcall;
    function LockServer(Lock: LongBool): HResult; stdcall;
  end;

  TPackageClassEntry = record
    Id: TGUID;
    Name: UnicodeString;
    LoadOrder: Integer;
    ObjectClass: TPackageObjectClass;
  end;

  TPackageFactory = class(TPackageObject, IClassFactory)
  private
    FObjectClass: TPackageObjectClass;
  public
    constructor Create(ObjectClass: TPackageObjectClass); reintroduce;
    function CreateInstance(const Outer: IUnknown; constref Iid: TGUID; out Obj): HResult; stdcall;
    function LockServer(Lock: LongBool): HResult; stdcall;
  end;

var
  PackageClasses: array of TPackageClassEntry;

procedure PackageClass(const Id: TGUID; const Name: UnicodeString; LoadOrder: Integer;
  ObjectClass: TPackageObjectClass);
var
  Entry: TPackageClassEntry;
begin
  Entry.Id := Id;
  Entry.Name := Name;
  Entry.LoadOrder := LoadOrder;
  Entry.ObjectClass := ObjectClass;
  SetLength(PackageClasses, Length(PackageClasses) + 1);
  PackageClasses[High(PackageClasses)] := Entry;
end;

constructor TPackageFactory.Create(ObjectClass: TPackageObjectClass);
begin
  inherited Create;
  FObjectClass := ObjectClass;
end;

function TPackageFactory.CreateInstance(const Outer: IUnknown; constref Iid: TGUID; out Obj): HResult; stdcall;
var
  Made: IUnknown;
begin
  if @Obj = nil then Exit(E_POINTER);
  Pointer(Obj) := nil;
  if Outer <> nil then Exit(CLASS_E_NOAGGREGATION);
  try
    Made := FObjectClass.Create;
    Result := Made.QueryInterface(Iid, Obj);
  except
    Result := ExceptionResult;
  end;
end;

function TPackageFactory.LockServer(Lock: LongBool): HResult; stdcall;
begin
  if Lock then LockModule else UnlockModule;
  Result := S_OK;
end;

function DllGetClassObject(constref ClassId, Iid: TGUID; out Obj): HResult;
var
  Index: Integer;
  Factory: IUnknown;
begin
  if @Obj = nil then Exit(E_POINTER);
  Pointer(Obj) := nil;
  try
    for Index := 0 to High(PackageClasses) do
      if IsEqualGUID(PackageClasses[Index].Id, ClassId) then
      begin
        Factory := TPackageFactory.Create(PackageClasses[Index].ObjectClass);
        Exit(Factory.QueryInterface(Iid, Obj));
      end;
    Result := CLASS_E_CLASSNOTAVAILABLE;
  except
    Result := ExceptionResult;
  end;
end;

function DllCanUnloadNow: HResult;
begin
  if ModuleInUse then Result := S_FALSE else Result := S_OK;
end;

function HResultFromWin32(Status: LSTATUS): HResult;
begin
  if Status <= 0 then Result := Status else Result := HResult((Status and $FFFF) or $80070000);
end;

function SetText(Key: HKEY; const Name, Value: UnicodeString): LSTATUS;
begin
  Result := RegSetValueExW(Key, PWideChar(Name), 0, REG_SZ, PWideChar(Value), (Length(Value) + 1) * SizeOf(WideChar));
end;

function SetNumber(Key: HKEY; const Name: UnicodeString; Value: DWORD): LSTATUS;
begin
  Result := RegSetValueExW(Key, PWideChar(Name), 0, REG_DWORD, @Value, SizeOf(Value));
end;

function CreateKey(Root: HKEY; const Path: UnicodeString; out Key: HKEY): LSTATUS;
begin
  Result := RegCreateKeyExW(Root, PWideChar(Path), 0, nil, REG_OPTION_NON_VOLATILE, KEY_WRITE, nil, Key, nil);
end;

{ As regsvr32 asks it: the class under HKEY_CLASSES_ROOT, the package under the loader's key. }
function RegisterPackageClass(const Entry: TPackageClassEntry; const ServerPath: UnicodeString): LSTATUS;
var
  Key: HKEY;
  Id: UnicodeString;
begin
  Id := UnicodeString(GUIDToString(Entry.Id));
  Result := CreateKey(HKEY_CLASSES_ROOT, 'CLSID\' + Id + '\InprocServer32', Key);
  if Result <> ERROR_SUCCESS then Exit;
  Result := SetText(Key, '', ServerPath);
  if Result = ERROR_SUCCESS then Result := SetText(Key, 'ThreadingModel', 'Apartment');
  RegCloseKey(Key);
  if Result <> ERROR_SUCCESS then Exit;
  Result := CreateKey(HKEY_LOCAL_MACHINE, PackagesKey + '\' + Id, Key);
  if Result <> ERROR_SUCCESS then Exit;
  Result := SetText(Key, '', Entry.Name);
  if Result = ERROR_SUCCESS then Result := SetNumber(Key, 'LoadOrder', DWORD(Entry.LoadOrder));
  RegCloseKey(Key);
end;

function DllRegisterServer: HResult;
var
  ServerPath: UnicodeString;
  Index: Integer;
  Status: LSTATUS;
begin
  try
    ServerPath := ModuleFileName;
    if ServerPath = '' then Exit(HResultFromWin32(GetLastError));
    for Index := 0 to High(PackageClasses) do
    begin
      Status := RegisterPackageClass(PackageClasses[Index], ServerPath);
      if Status <> ERROR_SUCCESS then Exit(HResultFromWin32(Status));
    end;
    Result := S_OK;
  except
    Result := ExceptionResult;
  end;
end;

function DllUnregisterServer: HResult;
var
  Index: Integer;
  Id: UnicodeString;
begin
  try
    for Index := 0 to High(PackageClasses) do
    begin
      Id := UnicodeString(GUIDToString(PackageClasses[Index].Id));
      RegDeleteTreeW(HKEY_CLASSES_ROOT, PWideChar('CLSID\' + Id));
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, PWideChar(PackagesKey + '\' + Id));
    end;
    Result := S_OK;
  except
    Result := ExceptionResult;
  end;
end;

end.
