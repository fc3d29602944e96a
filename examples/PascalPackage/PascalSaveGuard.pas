{ A module notifier of the Pascal sample: it reports what the IDE does with one module and
  refuses to let it be saved. }
unit PascalSaveGuard;

{$mode delphi}
{$interfaces com}

interface

uses
  KorvelWin32, KorvelBdsInterop, KorvelPackage;

type
  TSaveGuard = class(TPackageObject, IBDSNotifier, IBDSModuleNotifier)
  private
    FFileName: UnicodeString;
    procedure Report(const What: UnicodeString);
  public
    constructor Create(const FileName: UnicodeString); reintroduce;
    function AfterSave: LongBool; stdcall;
    function BeforeSave: LongBool; stdcall;
    procedure Destroyed; stdcall;
    procedure Modified; stdcall;
    function CheckOverwrite: LongBool; stdcall;
    procedure ModuleRenamed(NewName: BSTR); stdcall;
  end;

implementation

uses
  SysUtils;

constructor TSaveGuard.Create(const FileName: UnicodeString);
begin
  inherited Create;
  FFileName := FileName;
  Report('is guarded');
end;

{ Notifier methods answer directly: an exception has nowhere to go but the debug output. }
procedure TSaveGuard.Report(const What: UnicodeString);
begin
  try
    WriteDebugLine('Pascal Sample: ' + UnicodeString(ExtractFileName(string(FFileName))) + ' ' + What);
  except
    ExceptionResult;
  end;
end;

function TSaveGuard.BeforeSave: LongBool; stdcall;
begin
  Report('stays as it is on disk: the package refuses to save it');
  Result := False;
end;

function TSaveGuard.AfterSave: LongBool; stdcall;
begin
  Result := True;
end;

procedure TSaveGuard.Destroyed; stdcall;
begin
  Report('closed');
end;

procedure TSaveGuard.Modified; stdcall;
begin
  Report('modified');
end;

function TSaveGuard.CheckOverwrite: LongBool; stdcall;
begin
  Result := True;
end;

procedure TSaveGuard.ModuleRenamed(NewName: BSTR); stdcall;
begin
  try
    FFileName := BstrText(NewName);
  except
    ExceptionResult;
  end;
  Report('renamed');
end;

end.
