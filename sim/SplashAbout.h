// The simulated IDE's splash screen and About box: they keep every entry a product adds and
// note a line for each in the recorder.
#pragma once

#include <vector>

#include "platform/ide/SplashAbout.h"
#include "platform/rtl/ComObject.h"
#include "sim/Recorder.h"

namespace sim {

struct SplashEntry {
    String caption;
    HBITMAP bitmap;
    bool isUnRegistered;
    String licenseStatus;
    String skuName;
};

struct AboutBoxEntry {
    String title;
    String description;
    HBITMAP image;
    bool isUnRegistered;
    String licenseStatus;
    String skuName;
};

struct AboutBoxProduct {
    String dialogTitle;
    String copyright;
    String title;
    String description;
    HBITMAP aboutImage;
    HBITMAP productImage;
    bool isUnRegistered;
    String licenseStatus;
    String skuName;
    String version;
    String homePage;
};

class SplashScreen : public rtl::ComObject<ide::IOTASplashScreenServices> {
public:
    explicit SplashScreen(Recorder& recorder) : recorder_(recorder) {}

    void STDMETHODCALLTYPE AddPluginBitmap(const String& caption, HBITMAP bitmap, bool isUnRegistered,
                                           const String& licenseStatus, const String& skuName) override;

    const std::vector<SplashEntry>& Entries() const { return entries_; }

private:
    Recorder& recorder_;
    std::vector<SplashEntry> entries_;
};

class AboutBox : public rtl::ComObject<ide::IOTAAboutBoxServices> {
public:
    explicit AboutBox(Recorder& recorder) : recorder_(recorder) {}

    int STDMETHODCALLTYPE AddPluginInfo(const String& title, const String& description, HBITMAP image,
                                        bool isUnRegistered, const String& licenseStatus,
                                        const String& skuName) override;
    void STDMETHODCALLTYPE RemovePluginInfo(int index) override;
    int STDMETHODCALLTYPE PluginInfoCount() override { return static_cast<int>(plugins_.size()); }
    void STDMETHODCALLTYPE RemoveProductInfo(int index) override;
    int STDMETHODCALLTYPE ProductInfoCount() override { return static_cast<int>(products_.size()); }
    int STDMETHODCALLTYPE AddProductInfo(const String& dialogTitle, const String& copyright, const String& title,
                                         const String& description, HBITMAP aboutImage, HBITMAP productImage,
                                         bool isUnRegistered, const String& licenseStatus, const String& skuName,
                                         const String& version, const String& homePage) override;

    const std::vector<AboutBoxEntry>& Plugins() const { return plugins_; }
    const std::vector<AboutBoxProduct>& Products() const { return products_; }

private:
    Recorder& recorder_;
    std::vector<AboutBoxEntry> plugins_;
    std::vector<AboutBoxProduct> products_;
};

}  // namespace sim
