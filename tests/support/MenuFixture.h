// A simulated IDE with one loaded package and the menu bar service as the package sees it,
// with helpers that read the IDE's main menu directly.
#pragma once

#include <functional>

#include "interop/InterfaceBindings.h"
#include "platform/rtl/Bstr.h"
#include "platform/vcl/Menus.h"
#include "tests/support/LoaderFixture.h"

namespace testing_support {

// A package's event sink that counts its calls; `onExecute` runs inside OnExecute.
class CountingSink : public rtl::ComObject<IBdsToolBarControlEvents> {
public:
    HRESULT STDMETHODCALLTYPE OnExecute() override;
    HRESULT STDMETHODCALLTYPE OnChange() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUpdate() override { return S_OK; }

    int executed = 0;
    std::function<void()> onExecute;
};

// A wrapper that the menu bar service answered, to call through. One it did not answer fails
// the test by an exception, where calling through nil would end the test program.
IBdsMenuItem& Answered(IBdsMenuItem* item);

class AnsweredItem : public rtl::ComPtr<IBdsMenuItem> {
public:
    using rtl::ComPtr<IBdsMenuItem>::ComPtr;
    using rtl::ComPtr<IBdsMenuItem>::operator=;
    IBdsMenuItem* operator->() const { return &Answered(Get()); }
};

class MenuFixture : public LoaderFixture {
protected:
    MenuFixture();

    vcl::TMainMenu* Menu() { return ide.Services().GetMainMenu(); }
    // The IDE's item at a path of component names, read without the service.
    vcl::TMenuItem* ItemAt(const String& path);
    // The same for an item the test goes on to use: a missing one fails this test by an
    // exception, where calling through it would end the test program and every later test.
    vcl::TMenuItem* ExistingItemAt(const String& path);

    AnsweredItem Get(const String& path);
    AnsweredItem Add(const String& reference, Integer location, const String& name, const String& caption,
                     Integer bitmap = 0);
    AnsweredItem Insert(const String& parent, Integer index, const String& name, const String& caption,
                        Integer bitmap = 0);
    void Remove(const String& path);

    String NameOf(IBdsMenuItem* item);
    String CaptionOf(IBdsMenuItem* item);
    // The component names of an item's children, in order.
    std::vector<String> ChildNames(const String& path);
    // The warning and message texts shown so far.
    std::vector<String> Dialogs();

    rtl::ComPtr<IBdsMenuBarService> service;

private:
    RegisteredPackageClass package_{MakeGuid(40), "P", journal};
};

// A 16x16 bitmap handle as a package passes it.
Integer MakeIconHandle();
bool BitmapHandleAlive(Integer handle);

}  // namespace testing_support
