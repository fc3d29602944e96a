// A loaded package's view of the toolbar service, in a simulated IDE with its standard
// toolbars, and an event sink that records what it is told.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Bstr.h"
#include "platform/vcl/StdCtrls.h"
#include "sim/ToolBarLayout.h"
#include "tests/support/LoaderFixture.h"

namespace testing_support {

// Every sink made in a test reports here; `live` counts the sinks not yet released.
struct SinkLog {
    std::vector<std::string> calls;
    int live = 0;
};

class RecordingSink : public rtl::ComObject<IBdsToolBarControlEvents> {
public:
    explicit RecordingSink(std::shared_ptr<SinkLog> log);
    ~RecordingSink() override;

    HRESULT STDMETHODCALLTYPE OnExecute() override;
    HRESULT STDMETHODCALLTYPE OnChange() override;
    HRESULT STDMETHODCALLTYPE OnUpdate() override;

    // Package code run inside the calls, and when the sink is released for good.
    std::function<void()> onExecute;
    std::function<void()> onChange;
    std::function<void()> onRelease;

private:
    std::shared_ptr<SinkLog> log_;
};

class ToolBarFixture : public LoaderFixture {
protected:
    void SetUp() override;
    // Every sink has been released once the test has let go of its objects.
    void TearDown() override;

    rtl::ComPtr<IBdsToolBar> AddToolBar(const rtl::String& name, const rtl::String& title = u"Package Tools");
    rtl::ComPtr<IBdsToolBarControl> AddControl(IBdsToolBar* toolBar, Integer type);
    rtl::ComPtr<RecordingSink> MakeSink();

    sim::ToolBarLayout& Layout() { return ide.Services().ToolBars(); }
    vcl::TToolBar* Native(const rtl::String& name) { return Layout().Find(name); }

    rtl::ComPtr<IBdsToolBarService> service;
    std::shared_ptr<SinkLog> sinks = std::make_shared<SinkLog>();

private:
    std::unique_ptr<RegisteredPackageClass> package_;
};

// An out value read through a getter that must succeed.
template <class Out, class I>
Out ValueOf(I* object, HRESULT (STDMETHODCALLTYPE I::*get)(Out*)) {
    Out value{};
    EXPECT_EQ((object->*get)(&value), S_OK);
    return value;
}

template <class I>
rtl::String TextOf(I* object, HRESULT (STDMETHODCALLTYPE I::*get)(BSTR*)) {
    rtl::WideString text;
    EXPECT_EQ((object->*get)(text.Put()), S_OK);
    return text.Text();
}

// A BSTR argument that lives for the full expression.
inline BSTR Bstr(const rtl::String& text, rtl::WideString&& holder = rtl::WideString()) {
    *holder.Put() = rtl::AllocBstr(text);
    return holder.Get();
}

inline ULONG RefCountOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

// Calls the method in a slot of the interface's table, as a client that knows only the
// slot order does.
template <class... Args>
HRESULT CallSlot(void* object, int slot, Args... args) {
    using Method = HRESULT(STDMETHODCALLTYPE*)(void*, Args...);
    Method* table = *static_cast<Method**>(object);
    return table[slot](object, args...);
}

}  // namespace testing_support
