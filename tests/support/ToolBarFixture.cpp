#include "tests/support/ToolBarFixture.h"

namespace testing_support {

RecordingSink::RecordingSink(std::shared_ptr<SinkLog> log) : log_(std::move(log)) { ++log_->live; }

RecordingSink::~RecordingSink() {
    --log_->live;
    if (onRelease) onRelease();
}

HRESULT RecordingSink::OnExecute() {
    log_->calls.push_back("OnExecute");
    if (onExecute) onExecute();
    return S_OK;
}

HRESULT RecordingSink::OnChange() {
    log_->calls.push_back("OnChange");
    if (onChange) onChange();
    return S_OK;
}

HRESULT RecordingSink::OnUpdate() {
    log_->calls.push_back("OnUpdate");
    return S_OK;
}

void ToolBarFixture::SetUp() {
    registry.AddPackage(GuidText(1), u"Toolbars", 1);
    package_ = std::make_unique<RegisteredPackageClass>(MakeGuid(1), "P", journal);
    ASSERT_TRUE(Enter());
    ASSERT_EQ(Hub()->Get_BdsToolBarService(service.Put()), S_OK);
    ASSERT_TRUE(service);
}

void ToolBarFixture::TearDown() { EXPECT_EQ(sinks->live, 0) << "a sink was not released"; }

rtl::ComPtr<IBdsToolBar> ToolBarFixture::AddToolBar(const rtl::String& name, const rtl::String& title) {
    rtl::ComPtr<IBdsToolBar> toolBar;
    EXPECT_EQ(service->AddToolBar(Bstr(name), Bstr(title), toolBar.Put()), S_OK);
    return toolBar;
}

rtl::ComPtr<IBdsToolBarControl> ToolBarFixture::AddControl(IBdsToolBar* toolBar, Integer type) {
    rtl::ComPtr<IBdsToolBarControl> control;
    EXPECT_EQ(toolBar->AddControl(type, control.Put()), S_OK);
    return control;
}

rtl::ComPtr<RecordingSink> ToolBarFixture::MakeSink() { return rtl::ComPtr<RecordingSink>(new RecordingSink(sinks)); }

}  // namespace testing_support
