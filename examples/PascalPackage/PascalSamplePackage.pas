{ The Pascal sample package: a Tools menu item that greets in a message box, a toolbar whose
  button puts the module on top of the editor under guard, and the guard, a module notifier
  that refuses to let that module be saved. }
unit PascalSamplePackage;

{$mode delphi}
{$interfaces com}

interface

implementation

uses
  SysUtils, KorvelWin32, KorvelBdsInterop, KorvelPackage, KorvelInprocServer, PascalSaveGuard;

const
  CLSID_PascalSample: TGUID = '{EDDB80A7-F1E7-4926-8AA0-F50126A39054}';
  { AddMenuItem puts the new item after the reference item. }
  AfterReferenceItem = 1;
  { The kind of control AddControl makes for a button. }
  ToolButton = 1;

type
  TPascalSample = class(TPackageObject, IBdsPackage)
  private
    FSite: IBdsServices;
    FMenuItem: IBdsMenuItem;
    FMenuEvents: IControlEvents;
    FToolBars: IBdsToolBarService;
    FToolBar: IBdsToolBar;
    FGuardButton: IBdsToolBarControl;
    FGuardEvents: IControlEvents;
    FGuarded: IBDSModule;
    FGuardIndex: Integer;
    procedure AddMenuItem;
    procedure AddToolBar;
    procedure Greet;
    procedure GuardCurrentModule;
    procedure EndGuard;
  public
    function SetSite(const site: IBdsServices): HResult; stdcall;
    function Initialize: HResult; stdcall;
    function Terminate: HResult; stdcall;
  end;

function TPascalSample.SetSite(const site: IBdsServices): HResult; stdcall;
begin
  if site = nil then Exit(E_POINTER);
  try
    FSite := site;
    { The loader initializes the packages once a package has said that its own start-up is
      done; without this call, Initialize never comes. }
    Result := site.OnDotNetServicesInitialized;
  except
    Result := ExceptionResult;
  end;
end;

function TPascalSample.Initialize: HResult; stdcall;
begin
  if FSite = nil then Exit(E_UNEXPECTED);
  try
    AddMenuItem;
    AddToolBar;
    WriteDebugLine('Pascal Sample: initialized');
    Result := S_OK;
  except
    Result := ExceptionResult;
  end;
end;

function TPascalSample.Terminate: HResult; stdcall;
begin
  try
    EndGuard;
    if FMenuEvents <> nil then FMenuEvents.Disconnect;
    if FGuardEvents <> nil then FGuardEvents.Disconnect;
    { Letting go of the item takes it off the menu; the toolbar would stay, empty. }
    FMenuItem := nil;
    FGuardButton := nil;
    if FToolBar <> nil then CheckResult(FToolBars.RemoveToolBar(FToolBar));
    FToolBar := nil;
    FToolBars := nil;
    FSite := nil;
    Result := S_OK;
  except
    Result := ExceptionResult;
  end;
end;

procedure TPascalSample.AddMenuItem;
var
  Texts: IBstrs;
  MenuBar: IBdsMenuBarService;
begin
  Texts := Bstrs;
  CheckResult(FSite.Get_BdsMenuBarService(MenuBar));
  CheckResult(MenuBar.AddMenuItem(Texts.Add('ToolsMenu\ToolsOptionsItem'), AfterReferenceItem,
    Texts.Add('PascalSampleItem'), Texts.Add('&Pascal Sample'), 0, FMenuItem));
  FMenuEvents := ControlEvents(Greet);
  CheckResult(FMenuItem.RegisterEvents(FMenuEvents));
end;

procedure TPascalSample.AddToolBar;
var
  Texts: IBstrs;
begin
  Texts := Bstrs;
  CheckResult(FSite.Get_BdsToolBarService(FToolBars));
  CheckResult(FToolBars.AddToolBar(Texts.Add('PascalSampleToolBar'), Texts.Add('Pascal Sample'), FToolBar));
  CheckResult(FToolBar.Set_Visible(True));
  CheckResult(FToolBar.AddControl(ToolButton, FGuardButton));
  CheckResult(FGuardButton.Set_name(Texts.Add('PascalSampleGuardButton')));
  CheckResult(FGuardButton.Set_Caption(Texts.Add('Guard')));
  CheckResult(FGuardButton.Set_ToolTip(Texts.Add('Refuse to save the module on top')));
  FGuardEvents := ControlEvents(GuardCurrentModule);
  CheckResult(FGuardButton.RegisterEvents(FGuardEvents));
end;

procedure TPascalSample.Greet;
begin
  ShowMessage('Hello from Pascal.', 'Pascal Sample');
end;

procedure TPascalSample.GuardCurrentModule;
var
  Service: IUnknown;
  Modules: IBDSModuleServices70;
  Module: IBDSModule;
  FileName: BSTR;
  Guard: IBDSModuleNotifier;
begin
  CheckResult(FSite.GetService(SID_IBDSModuleServices70, Service));
  if not Supports(Service, IBDSModuleServices70, Modules) then Exit;
  CheckResult(Modules.GetCurrentModule(Module));
  if Module = nil then Exit;
  EndGuard;
  FileName := Module.GetFileName;
  Guard := TSaveGuard.Create(TakeBstr(FileName));
  FGuardIndex := Module.AddNotifier(Guard);
  if FGuardIndex >= 0 then FGuarded := Module;
end;

procedure TPascalSample.EndGuard;
begin
  if FGuarded <> nil then FGuarded.RemoveNotifier(FGuardIndex);
  FGuarded := nil;
end;

initialization
  PackageClass(CLSID_PascalSample, 'Pascal Sample Package', 40, TPascalSample);
end.
