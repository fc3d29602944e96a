{ The Pascal sample package: an in-process COM server written in Free Pascal against the SDK's
  Pascal units. Its classes name themselves to KorvelInprocServer, which answers COM for them. }
library PascalSample;

{$mode delphi}

uses
  KorvelInprocServer, PascalSamplePackage;

exports
  DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer;

begin
end.
