// Inert answers for the parts of the IDE's Tools API interfaces that a test's fake IDE object
// does not play: a fake derives from Inert...<rtl::ComObject<...>> and overrides what it tests.
#pragma once

#include "platform/ide/ToolsAPI.h"

namespace testing_support {

template <class Base>
class InertEditor : public Base {
public:
    bool STDMETHODCALLTYPE GetModified() override { return false; }
    bool STDMETHODCALLTYPE MarkModified() override { return false; }
    void STDMETHODCALLTYPE Show() override {}
    int STDMETHODCALLTYPE AddNotifier(ide::IOTANotifier*) override { return -1; }
    void STDMETHODCALLTYPE RemoveNotifier(int) override {}
};

template <class Base>
class InertModule : public Base {
public:
    using Base::Base;
    void STDMETHODCALLTYPE SetFileName(const rtl::String&) override {}
    rtl::String STDMETHODCALLTYPE GetFileSystem() override { return {}; }
    void STDMETHODCALLTYPE SetFileSystem(const rtl::String&) override {}
    bool STDMETHODCALLTYPE HasCoClasses() override { return false; }
    void STDMETHODCALLTYPE AddToInterface() override {}
    int STDMETHODCALLTYPE AddNotifier(ide::IOTAModuleNotifier*) override { return -1; }
    void STDMETHODCALLTYPE RemoveNotifier(int) override {}
    bool STDMETHODCALLTYPE Save(bool, bool) override { return false; }
    bool STDMETHODCALLTYPE Close() override { return false; }
    bool STDMETHODCALLTYPE CloseModule(bool) override { return false; }
    rtl::ComPtr<ide::IOTAEditor> STDMETHODCALLTYPE GetCurrentEditor() override { return nullptr; }
    int STDMETHODCALLTYPE GetOwnerModuleCount() override { return 0; }
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetOwnerModule(int) override { return nullptr; }
    void STDMETHODCALLTYPE MarkModified() override {}
    void STDMETHODCALLTYPE Show() override {}
    void STDMETHODCALLTYPE ShowFilename(const rtl::String&) override {}
};

// Module services and editor services in one object, as the IDE has them.
template <class Base>
class InertServices : public Base {
public:
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE CurrentModule() override { return nullptr; }
    bool STDMETHODCALLTYPE NewModule() override { return false; }
    void STDMETHODCALLTYPE GetNewModuleAndClassName(const rtl::String&, rtl::String&, rtl::String&,
                                                    rtl::String&) override {}
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE FindFormModule(const rtl::String&) override { return nullptr; }
    bool STDMETHODCALLTYPE SaveAll() override { return false; }
    bool STDMETHODCALLTYPE CloseAll() override { return false; }
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE CreateModule(ide::IOTACreator*) override { return nullptr; }
    int STDMETHODCALLTYPE AddFileSystem(ide::IOTAFileSystem*) override { return -1; }
    void STDMETHODCALLTYPE RemoveFileSystem(int) override {}
    rtl::ComPtr<ide::IOTAFileSystem> STDMETHODCALLTYPE FindFileSystem(const rtl::String&) override { return nullptr; }
    int STDMETHODCALLTYPE AddNotifier(ide::INTAEditServicesNotifier*) override { return -1; }
    void STDMETHODCALLTYPE RemoveNotifier(int) override {}
};

}  // namespace testing_support
