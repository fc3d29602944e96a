{ @NAME@: a package for KorvelLoader150, in Free Pascal. It adds "@NAME@" to the IDE's Tools
  menu and shows a message box when the item is clicked. }
library @NAME@;

{$mode delphi}
{$interfaces com}

uses
  KorvelWin32, KorvelBdsInterop, KorvelPackage, KorvelInprocServer;

const
  CLSID_@NAME@: TGUID = '@CLSID_TEXT@';
  { AddMenuItem puts the new item after the reference item (1) or before it (0). }
  AfterReferenceItem = 1;

type
  TPackage = class(TPackageObject, IBdsPackage)
  private
    FSite: IBdsServices;
    FMenuItem: IBdsMenuItem;
    FMenuEvents: IControlEvents;
    procedure Greet;
  public
    function SetSite(const site: IBdsServices): HResult; stdcall;
    function Initialize: HResult; stdcall;
    function Terminate: HResult; stdcall;
  end;

{ No exception may leave a method the IDE calls: each one ends in ExceptionResult, which also
  answers the failures CheckResult raises. }
function TPackage.SetSite(const site: IBdsServices): HResult; stdcall;
begin
  if site = nil then Exit(E_POINTER);
  try
    FSite := site;
    { The loader initializes the packages once a package has said that its own start-up is
      done (and the IDE has loaded its toolbars). Without this call, Initialize never comes. }
    Result := site.OnDotNetServicesInitialized;
  except
    Result := ExceptionResult;
  end;
end;

function TPackage.Initialize: HResult; stdcall;
var
  Texts: IBstrs;
  MenuBar: IBdsMenuBarService;
begin
  if FSite = nil then Exit(E_UNEXPECTED);
  try
    { BSTR arguments, freed when Texts goes. }
    Texts := Bstrs;
    CheckResult(FSite.Get_BdsMenuBarService(MenuBar));
    CheckResult(MenuBar.AddMenuItem(Texts.Add('ToolsMenu\ToolsOptionsItem'), AfterReferenceItem,
      Texts.Add('@NAME@Item'), Texts.Add('@NAME@'), 0, FMenuItem));
    FMenuEvents := ControlEvents(Greet);
    CheckResult(FMenuItem.RegisterEvents(FMenuEvents));
    Result := S_OK;
  except
    Result := ExceptionResult;
  end;
end;

{ Letting go of the item takes it off the menu. }
function TPackage.Terminate: HResult; stdcall;
begin
  try
    if FMenuEvents <> nil then FMenuEvents.Disconnect;
    FMenuItem := nil;
    FSite := nil;
    Result := S_OK;
  except
    Result := ExceptionResult;
  end;
end;

procedure TPackage.Greet;
begin
  ShowMessage('Hello from @NAME@.', '@NAME@');
end;

exports
  DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer;

begin
  { The class DllRegisterServer writes, with the display name and load order the loader lists. }
  PackageClass(CLSID_@NAME@, '@NAME@', 100, TPackage);
end.
