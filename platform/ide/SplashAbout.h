// The IDE's splash screen and About box, where products announce themselves: the splash
// screen through the Open Tools API global, the About box as a service of BorlandIDEServices.
#pragma once

#include "platform/ide/ToolsAPI.h"

namespace ide {

inline constexpr GUID IID_IOTASplashScreenServices = {0x9C2A51E4, 0x6B7D, 0x4E10, {0x8F, 0x3A, 0x52, 0xC1, 0x0D, 0x9E, 0x47, 0xB6}};
inline constexpr GUID IID_IOTAAboutBoxServices = {0x62A2F7FD, 0x16F1, 0x45B9, {0x94, 0x17, 0xA2, 0xD2, 0x93, 0xD0, 0x7A, 0x22}};

struct IOTASplashScreenServices : IUnknown {
    // One product's line on the splash screen; the bitmap stays the caller's.
    virtual void STDMETHODCALLTYPE AddPluginBitmap(const String& caption, HBITMAP bitmap, bool isUnRegistered,
                                                   const String& licenseStatus, const String& skuName) = 0;
};

// The About box lists plug-ins (one line each) and products (a page each), each list addressed
// by position; Add returns the new entry's position. Bitmaps stay the caller's.
struct IOTAAboutBoxServices : IUnknown {
    virtual int STDMETHODCALLTYPE AddPluginInfo(const String& title, const String& description, HBITMAP image,
                                                bool isUnRegistered, const String& licenseStatus,
                                                const String& skuName) = 0;
    virtual void STDMETHODCALLTYPE RemovePluginInfo(int index) = 0;
    virtual int STDMETHODCALLTYPE PluginInfoCount() = 0;
    virtual void STDMETHODCALLTYPE RemoveProductInfo(int index) = 0;
    virtual int STDMETHODCALLTYPE ProductInfoCount() = 0;
    virtual int STDMETHODCALLTYPE AddProductInfo(const String& dialogTitle, const String& copyright,
                                                 const String& title, const String& description, HBITMAP aboutImage,
                                                 HBITMAP productImage, bool isUnRegistered,
                                                 const String& licenseStatus, const String& skuName,
                                                 const String& version, const String& homePage) = 0;
};

// The IDE's splash screen; nil outside an IDE and once the splash screen is gone.
IOTASplashScreenServices* SplashScreenServices();
void SetSplashScreenServices(IOTASplashScreenServices* services);

}  // namespace ide

KORVEL_BIND_INTERFACE(ide::IOTASplashScreenServices, IUnknown, ide::IID_IOTASplashScreenServices);
KORVEL_BIND_INTERFACE(ide::IOTAAboutBoxServices, IUnknown, ide::IID_IOTAAboutBoxServices);
