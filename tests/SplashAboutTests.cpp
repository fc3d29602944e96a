#include <gtest/gtest.h>

#include "platform/rtl/Bstr.h"
#include "tests/support/HubFixture.h"

using namespace testing_support;

namespace {

class SplashAboutTest : public HubFixture {
protected:
    HBITMAP Bitmap(uintptr_t value) { return reinterpret_cast<HBITMAP>(value); }
};

TEST_F(SplashAboutTest, SplashEntryReachesTheIdeInItsOrder) {
    EnterWithOnePackage();
    rtl::WideString caption(u"Brivanta Studio"), license(u"Trial, 30 days left"), sku(u"Professional");
    ASSERT_EQ(Hub()->AddSplashInfo(Bitmap(0x1234), caption.Get(), license.Get(), 1, sku.Get()), S_OK);

    ASSERT_EQ(ide.Splash().Entries().size(), 1u);
    const sim::SplashEntry& entry = ide.Splash().Entries()[0];
    EXPECT_EQ(entry.caption, u"Brivanta Studio");
    EXPECT_EQ(entry.bitmap, Bitmap(0x1234));
    EXPECT_TRUE(entry.isUnRegistered) << "any non-zero flag is true";
    EXPECT_EQ(entry.licenseStatus, u"Trial, 30 days left");
    EXPECT_EQ(entry.skuName, u"Professional");
    EXPECT_EQ(ide.Record().lines.back(),
              u"splash screen: \"Brivanta Studio\", bitmap $00001234 (no such bitmap), license \"Trial, 30 days left\", SKU "
              u"\"Professional\", unregistered");
}

TEST_F(SplashAboutTest, AboutBoxEntryReachesTheProductInfoEntry) {
    EnterWithOnePackage();
    rtl::WideString dialog(u"About Brivanta"), copyright(u"(c) Korvel"), title(u"Brivanta"),
        description(u"Add-ins"), license(u"Registered"), sku(u"Enterprise");
    ASSERT_EQ(Hub()->AddAboutBoxInfo(Bitmap(0x11), Bitmap(0x22), dialog.Get(), copyright.Get(), title.Get(),
                                     description.Get(), license.Get(), 0, sku.Get()),
              S_OK);

    EXPECT_EQ(ide.About().PluginInfoCount(), 0);
    ASSERT_EQ(ide.About().ProductInfoCount(), 1);
    const sim::AboutBoxProduct& product = ide.About().Products()[0];
    EXPECT_EQ(product.dialogTitle, u"About Brivanta");
    EXPECT_EQ(product.copyright, u"(c) Korvel");
    EXPECT_EQ(product.title, u"Brivanta");
    EXPECT_EQ(product.description, u"Add-ins");
    EXPECT_EQ(product.aboutImage, Bitmap(0x11));
    EXPECT_EQ(product.productImage, Bitmap(0x22));
    EXPECT_FALSE(product.isUnRegistered);
    EXPECT_EQ(product.licenseStatus, u"Registered");
    EXPECT_EQ(product.skuName, u"Enterprise");
    EXPECT_TRUE(product.version.empty());
    EXPECT_TRUE(product.homePage.empty());
    EXPECT_NE(ide.Record().lines.back().find(u"about box product: \"Brivanta\""), rtl::String::npos);
}

TEST_F(SplashAboutTest, NilTextsArriveAsEmptyTexts) {
    EnterWithOnePackage();
    EXPECT_EQ(Hub()->AddSplashInfo(nullptr, nullptr, nullptr, 0, nullptr), S_OK);
    EXPECT_EQ(Hub()->AddAboutBoxInfo(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr), S_OK);
    ASSERT_EQ(ide.Splash().Entries().size(), 1u);
    EXPECT_TRUE(ide.Splash().Entries()[0].caption.empty());
    ASSERT_EQ(ide.About().ProductInfoCount(), 1);
    EXPECT_TRUE(ide.About().Products()[0].title.empty());
}

TEST_F(SplashAboutTest, MissingIdeServicesGiveFailingResults) {
    EnterWithOnePackage();
    ide.Services().OfferService(ide::IID_IOTAAboutBoxServices, nullptr);
    rtl::WideString title(u"Brivanta");
    EXPECT_EQ(Hub()->AddAboutBoxInfo(nullptr, nullptr, nullptr, nullptr, title.Get(), nullptr, nullptr, 0, nullptr),
              E_NOINTERFACE);

    ide::IOTASplashScreenServices* splash = ide::SplashScreenServices();
    ide::SetSplashScreenServices(nullptr);
    EXPECT_EQ(Hub()->AddSplashInfo(nullptr, title.Get(), nullptr, 0, nullptr), E_UNEXPECTED);
    ide::SetSplashScreenServices(splash);

    EXPECT_TRUE(ide.Splash().Entries().empty());
    EXPECT_EQ(ide.About().ProductInfoCount(), 0);
}

}  // namespace
