#include <gtest/gtest.h>

#include <algorithm>

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Bstr.h"
#include "services/KorvelBdsServices.h"
#include "tests/support/LoaderFixture.h"

using namespace testing_support;

namespace {

// What the fake providers and helpers were asked, and how many of them are alive.
struct DropJournal {
    std::vector<std::string> calls;
    int liveObjects = 0;
};

enum class HelperFault { None, NoInterface, NilInterface, WaitForInfo, DropX, DropY };
const HRESULT kHelperError = E_ACCESSDENIED;

class FakeHelper : public rtl::ComObject<IDragDropHelper> {
public:
    FakeHelper(std::string name, DropJournal& journal, Integer x, Integer y, HelperFault fault)
        : x(x), y(y), name_(std::move(name)), journal_(journal), fault_(fault) {
        ++journal_.liveObjects;
    }
    ~FakeHelper() override { --journal_.liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IDragDropHelper && fault_ == HelperFault::NoInterface) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        if (iid == IID_IDragDropHelper && fault_ == HelperFault::NilInterface) {
            *out = nullptr;
            return S_OK;
        }
        return ComObject::QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE WaitForInfo() override {
        Note("WaitForInfo");
        if (whileWaiting) whileWaiting();
        return fault_ == HelperFault::WaitForInfo ? kHelperError : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Get_DropX(Integer* value) override {
        Note("Get_DropX");
        *value = x;
        return fault_ == HelperFault::DropX ? kHelperError : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Get_DropY(Integer* value) override {
        Note("Get_DropY");
        *value = y;
        return fault_ == HelperFault::DropY ? kHelperError : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Get_ClientLeft(Integer*) override { return Unexpected("Get_ClientLeft"); }
    HRESULT STDMETHODCALLTYPE Get_ClientTop(Integer*) override { return Unexpected("Get_ClientTop"); }
    HRESULT STDMETHODCALLTYPE Get_ClientRight(Integer*) override { return Unexpected("Get_ClientRight"); }
    HRESULT STDMETHODCALLTYPE Get_ClientBottom(Integer*) override { return Unexpected("Get_ClientBottom"); }

    Integer x;
    Integer y;
    std::function<void()> whileWaiting;

private:
    void Note(const char* call) { journal_.calls.push_back(name_ + "." + call); }
    HRESULT Unexpected(const char* call) {
        Note(call);
        return E_NOTIMPL;
    }

    std::string name_;
    DropJournal& journal_;
    HelperFault fault_;
};

// Answers with its helper for the classes it knows, and with nothing and a failing result
// for the others.
class FakeProvider : public rtl::ComObject<IDragDropHelperProvider> {
public:
    FakeProvider(std::string name, DropJournal& journal, std::vector<String> knownClasses,
                 rtl::ComPtr<FakeHelper> helper)
        : name_(std::move(name)), journal_(journal), knownClasses_(std::move(knownClasses)),
          helper_(std::move(helper)) {
        ++journal_.liveObjects;
    }
    ~FakeProvider() override { --journal_.liveObjects; }

    HRESULT STDMETHODCALLTYPE GetDragDropHelper(BSTR ClassName, IUnknown** Helper) override {
        const String className = rtl::FromBstr(ClassName);
        journal_.calls.push_back(name_ + ".GetDragDropHelper(" + rtl::ToUtf8(className) + ")");
        if (whileAsked) whileAsked();
        *Helper = nullptr;
        for (const String& known : knownClasses_) {
            if (known == className && helper_) {
                *Helper = helper_->Unknown();
                (*Helper)->AddRef();
                return S_OK;
            }
        }
        return E_FAIL;
    }

    std::function<void()> whileAsked;

private:
    std::string name_;
    DropJournal& journal_;
    std::vector<String> knownClasses_;
    rtl::ComPtr<FakeHelper> helper_;
};

class TCollectionItem : public vcl::TPersistent {
public:
    KORVEL_VCL_CLASS(TCollectionItem)
};

constexpr int32_t DesignInfoAt(int16_t x, int16_t y) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) | static_cast<uint16_t>(x));
}

class DesignerTest : public LoaderFixture {
protected:
    void SetUp() override {
        registry.AddPackage(GuidText(1), u"A", 1);
        ASSERT_TRUE(Enter());
        form = &ide.Designers().Open();
    }
    void TearDown() override {
        ShutDown();
        providers.clear();
        helpers.clear();
        EXPECT_EQ(drops.liveObjects, 0) << "a provider or helper was not released";
    }

    FakeHelper& AddHelper(const std::string& name, Integer x, Integer y, HelperFault fault = HelperFault::None) {
        helpers.emplace_back(new FakeHelper(name, drops, x, y, fault));
        return *helpers.back().Get();
    }
    // Answers with `helper` (if any) for the classes it knows.
    FakeProvider& MakeProvider(const std::string& name, std::vector<String> knownClasses = {},
                               FakeHelper* helper = nullptr) {
        providers.emplace_back(new FakeProvider(name, drops, std::move(knownClasses), rtl::ComPtr<FakeHelper>(helper)));
        return *providers.back().Get();
    }
    FakeProvider& AddProvider(const std::string& name, std::vector<String> knownClasses = {},
                              FakeHelper* helper = nullptr) {
        FakeProvider& provider = MakeProvider(name, std::move(knownClasses), helper);
        EXPECT_EQ(Hub()->AddDragDropHelper(&provider), S_OK);
        return provider;
    }
    vcl::TComponent* Insert(const String& className, int16_t x = 1, int16_t y = 1) {
        return form->InsertComponent(className, POINT{x, y});
    }
    // Only the test's own references, the hub's one per registration and the providers' ones
    // on their helpers remain.
    void ExpectReferencesBalanced() {
        const auto& registered = static_cast<korvel::TBdsServices*>(Hub())->DragDropHelpers();
        for (const auto& provider : providers) {
            const auto registrations = std::count_if(registered.begin(), registered.end(),
                                                     [&](const auto& entry) { return entry.Get() == provider.Get(); });
            EXPECT_EQ(provider->RefCount(), 1u + registrations);
        }
        for (const auto& helper : helpers) EXPECT_EQ(helper->RefCount(), 2u);
    }

    RegisteredPackageClass package{MakeGuid(1), "A", journal};
    DropJournal drops;
    std::vector<rtl::ComPtr<FakeHelper>> helpers;
    std::vector<rtl::ComPtr<FakeProvider>> providers;
    sim::FormDesigner* form = nullptr;
};

TEST_F(DesignerTest, WithoutAnAnsweringProviderTheDesignersPositionStays) {
    EXPECT_EQ(ide.Designers().Notifications().size(), 1u) << "the hub's notifier listens to the designers";
    EXPECT_EQ(Insert(u"TButton", 3, 4)->DesignInfo, DesignInfoAt(3, 4));

    AddProvider("A", {u"TTimer"}, &AddHelper("helper", 10, 20));
    EXPECT_EQ(Insert(u"TLabel", 5, 6)->DesignInfo, DesignInfoAt(5, 6));
    EXPECT_EQ(drops.calls, (std::vector<std::string>{"A.GetDragDropHelper(TLabel)"}));
    ExpectReferencesBalanced();
}

TEST_F(DesignerTest, FirstProviderWithAHelperPlacesTheComponent) {
    AddProvider("A", {u"TButton", u"TTimer"}, &AddHelper("a", 10, 20));
    AddProvider("B", {u"TTimer"}, &AddHelper("b", 30, 40));
    EXPECT_EQ(Insert(u"TTimer")->DesignInfo, 20 * 65536 + 10);
    EXPECT_EQ(drops.calls, (std::vector<std::string>{"A.GetDragDropHelper(TTimer)", "a.WaitForInfo", "a.Get_DropX",
                                                     "a.Get_DropY"}));
    ExpectReferencesBalanced();
}

TEST_F(DesignerTest, ProvidersWithoutAHelperPassTheTurnInRegistrationOrder) {
    EXPECT_EQ(Hub()->AddDragDropHelper(nullptr), E_POINTER) << "a nil provider is never listed";
    FakeProvider& silent = AddProvider("A");
    EXPECT_EQ(Hub()->AddDragDropHelper(&silent), S_OK);
    AddProvider("B", {u"TButton"}, &AddHelper("b", 7, 8));
    EXPECT_EQ(Insert(u"TButton")->DesignInfo, DesignInfoAt(7, 8));
    EXPECT_EQ(drops.calls, (std::vector<std::string>{"A.GetDragDropHelper(TButton)", "A.GetDragDropHelper(TButton)",
                                                     "B.GetDragDropHelper(TButton)", "b.WaitForInfo", "b.Get_DropX",
                                                     "b.Get_DropY"}));
    ExpectReferencesBalanced();
}

TEST_F(DesignerTest, ItemsThatAreNoComponentsAreNotOffered) {
    AddProvider("A", {u"TCollectionItem", u"TButton"}, &AddHelper("a", 10, 20));
    TCollectionItem item;
    form->InsertItem(&item);
    form->InsertItem(nullptr);
    EXPECT_TRUE(drops.calls.empty());
    EXPECT_TRUE(ide.Record().lines.empty());
}

// Each coordinate keeps to its own 16-bit word, whatever the helper answers.
TEST_F(DesignerTest, DropPointCoordinatesAreClampedToTheirOwnWord) {
    FakeHelper& helper = AddHelper("helper", 0, 0);
    AddProvider("A", {u"TTimer"}, &helper);
    const struct {
        Integer x, y;
        uint32_t designInfo;
    } cases[] = {
        {10, 20, 0x0014000Au},
        {-1, 2, 0x0002FFFFu},             // a negative X leaves Y alone
        {0x10001, 0x8001, 0x7FFF7FFFu},   // beyond 16 bits: the farthest position
        {-5, -1, 0xFFFFFFFBu},
        {-70000, 32767, 0x7FFF8000u},     // and the nearest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        helper.x = c.x;
        helper.y = c.y;
        EXPECT_EQ(static_cast<uint32_t>(Insert(u"TTimer")->DesignInfo), c.designInfo);
    }
}

TEST_F(DesignerTest, ComponentDestroyedWhileTheHelperWaitsIsLeftAlone) {
    FakeHelper& helper = AddHelper("helper", 10, 20);
    helper.whileWaiting = [&] {
        vcl::TComponent& root = form->Root();
        delete root.Components(root.ComponentCount() - 1);
    };
    AddProvider("A", {u"TButton"}, &helper);
    EXPECT_EQ(Insert(u"TButton"), nullptr);
    EXPECT_EQ(form->Root().ComponentCount(), 0);
    EXPECT_TRUE(ide.Record().lines.empty());
}

TEST_F(DesignerTest, ProviderRegisteredWhileAskingWaitsForTheNextComponent) {
    FakeProvider& late = MakeProvider("B", {u"TButton"}, &AddHelper("b", 7, 8));
    FakeProvider& first = AddProvider("A");
    bool registered = false;
    first.whileAsked = [&] {
        if (registered) return;
        registered = true;
        for (int i = 0; i < 16; ++i) EXPECT_EQ(Hub()->AddDragDropHelper(&late), S_OK);
    };
    AddProvider("C");
    EXPECT_EQ(Insert(u"TButton", 3, 4)->DesignInfo, DesignInfoAt(3, 4));
    EXPECT_EQ(drops.calls, (std::vector<std::string>{"A.GetDragDropHelper(TButton)", "C.GetDragDropHelper(TButton)"}));
    EXPECT_EQ(Insert(u"TButton")->DesignInfo, DesignInfoAt(7, 8));
    ExpectReferencesBalanced();
}

TEST_F(DesignerTest, AfterShutDownTheNotifierStillListensButLeavesComponentsAlone) {
    AddProvider("A", {u"TButton"}, &AddHelper("a", 10, 20));
    ShutDown();
    EXPECT_EQ(ide.Designers().Notifications().size(), 1u);
    EXPECT_EQ(Insert(u"TButton", 3, 4)->DesignInfo, DesignInfoAt(3, 4));
    EXPECT_TRUE(drops.calls.empty());
}

struct HelperFailure {
    HelperFault fault;
    HRESULT raised;
    const char* name;
};

class FailingHelperTest : public DesignerTest, public ::testing::WithParamInterface<HelperFailure> {};

TEST_P(FailingHelperTest, RaisesTheOleErrorIntoTheIdeWhichGoesOn) {
    AddProvider("A", {u"TTimer"}, &AddHelper("broken", 10, 20, GetParam().fault));
    AddProvider("B", {u"TTimer", u"TButton"}, &AddHelper("good", 30, 40));

    vcl::TComponent* timer = Insert(u"TTimer", 3, 4);
    EXPECT_EQ(timer->DesignInfo, DesignInfoAt(3, 4));
    EXPECT_EQ(ide.Record().lines,
              (std::vector<String>{u"designer error in ItemInserted: " + rtl::EOleSysError(GetParam().raised).Message()}));
    for (const std::string& call : drops.calls) EXPECT_NE(call.substr(0, 2), "B.") << "the next provider was asked";
    ExpectReferencesBalanced();

    try {
        ide.Designers().Notifications()[0]->ItemInserted(form, timer);
        ADD_FAILURE() << "no error raised";
    } catch (const rtl::EOleSysError& error) {
        EXPECT_EQ(error.ErrorCode(), GetParam().raised);
    }
    ExpectReferencesBalanced();

    EXPECT_EQ(Insert(u"TButton")->DesignInfo, DesignInfoAt(30, 40)) << "the designer goes on";
}

INSTANTIATE_TEST_SUITE_P(Faults, FailingHelperTest,
                         ::testing::Values(HelperFailure{HelperFault::NoInterface, E_NOINTERFACE, "NoInterface"},
                                           HelperFailure{HelperFault::NilInterface, E_NOINTERFACE, "NilInterface"},
                                           HelperFailure{HelperFault::WaitForInfo, kHelperError, "WaitForInfo"},
                                           HelperFailure{HelperFault::DropX, kHelperError, "DropX"},
                                           HelperFailure{HelperFault::DropY, kHelperError, "DropY"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
