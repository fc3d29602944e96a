{ A Pascal package that breaks on purpose, for the transcript of what the IDE makes of it: its
  Tools menu items raise a Pascal exception that the kit's ExceptionResult answers, raise one
  that escapes the method, write through nil, and greet, to show that the package still
  works afterwards. }
library PascalCrash;

{$mode delphi}
{$interfaces com}

uses
  SysUtils, KorvelWin32, KorvelBdsInterop, KorvelPackage, KorvelInprocServer;

const
  CLSID_PascalCrash: TGUID = '{05664763-6611-4A8A-8A98-A8D6ED1286FC}';

type
  EPascalCrash = class(Exception);

  { Sinks with nothing between their methods and the IDE. }
  TEscapingEvents = class(TPackageObject, IBdsToolBarControlEvents)
    function OnExecute: HResult; stdcall;
    function OnChange: HResult; stdcall;
    function OnUpdate: HResult; stdcall;
  end;
  TFaultingEvents = class(TEscapingEvents, IBdsToolBarControlEvents)
    function OnExecute: HResult; stdcall;
  end;

  TPascalCrash = class(TPackageObject, IBdsPackage)
  private
    FSite: IBdsServices;
    FItems: array of IBdsMenuItem;
    FSinks: array of IBdsToolBarControlEvents;
    procedure AddItem(const Name: UnicodeString; const Events: IBdsToolBarControlEvents);
    procedure RaiseGuarded;
    procedure Greet;
  public
    function SetSite(const site: IBdsServices): HResult; stdcall;
    function Initialize: HResult; stdcall;
    function Terminate: HResult; stdcall;
  end;

function TEscapingEvents.OnExecute: HResult; stdcall;
begin
  Result := S_OK;
  raise EPascalCrash.Create('escaped from the Pascal crash package');
end;

function TEscapingEvents.OnChange: HResult; stdcall;
begin
  Result := S_OK;
end;

function TEscapingEvents.OnUpdate: HResult; stdcall;
begin
  Result := S_OK;
end;

function TFaultingEvents.OnExecute: HResult; stdcall;
begin
  PInteger(nil)^ := 1;
  Result := S_OK;
end;

function TPascalCrash.SetSite(const site: IBdsServices): HResult; stdcall;
begin
  FSite := site;
  Result := site.OnDotNetServicesInitialized;
end;

procedure TPascalCrash.AddItem(const Name: UnicodeString; const Events: IBdsToolBarControlEvents);
var
  Texts: IBstrs;
  MenuBar: IBdsMenuBarService;
  Item: IBdsMenuItem;
begin
  Texts := Bstrs;
  CheckResult(FSite.Get_BdsMenuBarService(MenuBar));
  CheckResult(MenuBar.AddMenuItem(Texts.Add('ToolsMenu\ToolsOptionsItem'), 1, Texts.Add(Name), Texts.Add(Name), 0,
    Item));
  CheckResult(Item.RegisterEvents(Events));
  SetLength(FItems, Length(FItems) + 1);
  FItems[High(FItems)] := Item;
  SetLength(FSinks, Length(FSinks) + 1);
  FSinks[High(FSinks)] := Events;
end;

function TPascalCrash.Initialize: HResult; stdcall;
begin
  try
    AddItem('PascalCrashGuardedItem', ControlEvents(RaiseGuarded));
    AddItem('PascalCrashEscapingItem', TEscapingEvents.Create);
    AddItem('PascalCrashFaultItem', TFaultingEvents.Create);
    AddItem('PascalCrashGreetItem', ControlEvents(Greet));
    Result := S_OK;
  except
    Result := ExceptionResult;
  end;
end;

function TPascalCrash.Terminate: HResult; stdcall;
var
  Sink: IBdsToolBarControlEvents;
  Events: IControlEvents;
begin
  for Sink in FSinks do
    if Sink.QueryInterface(IControlEvents, Events) = S_OK then Events.Disconnect;
  FSinks := nil;
  FItems := nil;
  FSite := nil;
  Result := S_OK;
end;

procedure TPascalCrash.RaiseGuarded;
begin
  raise EPascalCrash.Create('raised in the Pascal crash package');
end;

procedure TPascalCrash.Greet;
begin
  ShowMessage('Still here.', 'Pascal crash');
end;

exports
  DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer;

begin
  PackageClass(CLSID_PascalCrash, 'Pascal crash', 10, TPascalCrash);
end.
