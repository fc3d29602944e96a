#include "sim/SplashAbout.h"

namespace sim {
namespace {

String LicenceText(bool isUnRegistered, const String& licenseStatus, const String& skuName) {
    String text = u"license \"" + licenseStatus + u"\", SKU \"" + skuName + u"\"";
    if (isUnRegistered) text += u", unregistered";
    return text;
}

// What a user sees of an image: its size. Handle values differ from run to run.
String BitmapText(HBITMAP bitmap) {
    if (!bitmap) return u"no bitmap";
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) != sizeof info)
        return u"bitmap $" + rtl::IntToHex(reinterpret_cast<uintptr_t>(bitmap), 8) + u" (no such bitmap)";
    return u"bitmap " + rtl::IntToStr(info.bmWidth) + u"x" + rtl::IntToStr(info.bmHeight);
}

// A position outside the list removes nothing.
template <class Entry>
void RemoveAt(std::vector<Entry>& entries, int index) {
    if (index >= 0 && index < static_cast<int>(entries.size())) entries.erase(entries.begin() + index);
}

}  // namespace

void SplashScreen::AddPluginBitmap(const String& caption, HBITMAP bitmap, bool isUnRegistered,
                                   const String& licenseStatus, const String& skuName) {
    entries_.push_back({caption, bitmap, isUnRegistered, licenseStatus, skuName});
    recorder_.Note(u"splash screen: \"" + caption + u"\", " + BitmapText(bitmap) + u", " +
                   LicenceText(isUnRegistered, licenseStatus, skuName));
}

int AboutBox::AddPluginInfo(const String& title, const String& description, HBITMAP image, bool isUnRegistered,
                            const String& licenseStatus, const String& skuName) {
    plugins_.push_back({title, description, image, isUnRegistered, licenseStatus, skuName});
    recorder_.Note(u"about box plug-in: \"" + title + u"\" - " + description + u", " +
                   LicenceText(isUnRegistered, licenseStatus, skuName));
    return static_cast<int>(plugins_.size()) - 1;
}

void AboutBox::RemovePluginInfo(int index) { RemoveAt(plugins_, index); }

void AboutBox::RemoveProductInfo(int index) { RemoveAt(products_, index); }

int AboutBox::AddProductInfo(const String& dialogTitle, const String& copyright, const String& title,
                             const String& description, HBITMAP aboutImage, HBITMAP productImage, bool isUnRegistered,
                             const String& licenseStatus, const String& skuName, const String& version,
                             const String& homePage) {
    products_.push_back({dialogTitle, copyright, title, description, aboutImage, productImage, isUnRegistered,
                         licenseStatus, skuName, version, homePage});
    recorder_.Note(u"about box product: \"" + title + u"\" - " + description + u" [" + dialogTitle + u"; " +
                   copyright + u"], " + BitmapText(aboutImage) + u" and " + BitmapText(productImage) + u", " +
                   LicenceText(isUnRegistered, licenseStatus, skuName));
    return static_cast<int>(products_.size()) - 1;
}

}  // namespace sim
