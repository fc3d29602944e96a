// The classes this library serves, with the names and load order DllRegisterServer writes.
#include "DesignerPackage.h"
#include "SamplePackage.h"
#include "korvel/InprocServer.h"

KORVEL_PACKAGE_CLASSES({CLSID_SamplePackage, u"Korvel Sample Package", 20, &sample::CreateSamplePackage},
                       {CLSID_SampleDesignerPackage, u"Korvel Sample Designer Package", 30,
                        &sample::CreateDesignerPackage});
