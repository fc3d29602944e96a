#include "tests/support/MenuFixture.h"

#include <algorithm>
#include <stdexcept>

#include "services/KorvelBdsServices.h"

namespace testing_support {

HRESULT CountingSink::OnExecute() {
    ++executed;
    if (onExecute) onExecute();
    return S_OK;
}

MenuFixture::MenuFixture() {
    registry.AddPackage(GuidText(40), u"P", 1);
    if (!Enter() || !Hub()) throw std::runtime_error("the loader did not start");
    Hub()->Get_BdsMenuBarService(service.Put());
}

vcl::TMenuItem* MenuFixture::ItemAt(const String& path) {
    vcl::TMenuItem* current = Menu()->Items();
    if (path.empty()) return current;
    size_t start = 0;
    while (current && start <= path.size()) {
        const size_t end = std::min(path.find(u'\\', start), path.size());
        const String name = path.substr(start, end - start);
        vcl::TMenuItem* next = nullptr;
        for (int i = 0; i < current->Count() && !next; ++i)
            if (rtl::SameText(current->Items(i)->Name(), name)) next = current->Items(i);
        current = next;
        start = end + 1;
    }
    return current;
}

IBdsMenuItem& Answered(IBdsMenuItem* item) {
    if (!item) throw std::runtime_error("a call through a menu item wrapper the service did not answer");
    return *item;
}

vcl::TMenuItem* MenuFixture::ExistingItemAt(const String& path) {
    vcl::TMenuItem* item = ItemAt(path);
    if (!item) throw std::runtime_error("no menu item at " + rtl::ToUtf8(path));
    return item;
}

AnsweredItem MenuFixture::Get(const String& path) {
    AnsweredItem item;
    EXPECT_EQ(service->GetMenuItem(rtl::WideString(path).Get(), item.Put()), S_OK);
    return item;
}

AnsweredItem MenuFixture::Add(const String& reference, Integer location, const String& name, const String& caption,
                               Integer bitmap) {
    AnsweredItem item;
    service->AddMenuItem(rtl::WideString(reference).Get(), location, rtl::WideString(name).Get(),
                         rtl::WideString(caption).Get(), bitmap, item.Put());
    return item;
}

AnsweredItem MenuFixture::Insert(const String& parent, Integer index, const String& name, const String& caption,
                                  Integer bitmap) {
    AnsweredItem item;
    service->InsertMenuItem(rtl::WideString(parent).Get(), index, rtl::WideString(name).Get(),
                            rtl::WideString(caption).Get(), bitmap, item.Put());
    return item;
}

void MenuFixture::Remove(const String& path) {
    EXPECT_EQ(service->RemoveMenuItem(rtl::WideString(path).Get()), S_OK);
}

String MenuFixture::NameOf(IBdsMenuItem* item) {
    rtl::WideString name;
    Answered(item).Get_Name(name.Put());
    return name.Text();
}

String MenuFixture::CaptionOf(IBdsMenuItem* item) {
    rtl::WideString caption;
    Answered(item).Get_Caption(caption.Put());
    return caption.Text();
}

std::vector<String> MenuFixture::ChildNames(const String& path) {
    std::vector<String> names;
    vcl::TMenuItem* parent = ItemAt(path);
    for (int i = 0; parent && i < parent->Count(); ++i) names.push_back(parent->Items(i)->Name());
    return names;
}

std::vector<String> MenuFixture::Dialogs() {
    std::vector<String> texts;
    for (const auto& dialog : ide.Record().dialogs) texts.push_back(dialog.text);
    return texts;
}

Integer MakeIconHandle() {
    std::vector<uint32_t> pixels(16 * 16, 0x00FF00FFu);
    pixels[5] = 0x00FFFFFFu;
    return static_cast<Integer>(reinterpret_cast<uintptr_t>(CreateBitmap(16, 16, 1, 32, pixels.data())));
}

bool BitmapHandleAlive(Integer handle) {
    BITMAP info{};
    const auto bitmap = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)));
    return GetObjectW(bitmap, sizeof(info), &info) == sizeof(info);
}

}  // namespace testing_support
