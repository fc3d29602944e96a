#include "sim/FormDesigner.h"

#include <algorithm>
#include <utility>

namespace sim {
namespace {

// A component as the palette drops it: the designer only needs its class name.
class DesignedComponent : public vcl::TComponent {
public:
    DesignedComponent(String className, vcl::TComponent* owner)
        : TComponent(owner), className_(std::move(className)) {}
    String ClassName() const override { return className_; }

private:
    String className_;
};

const std::vector<String>& PaletteClasses() {
    static const std::vector<String> classes{u"TButton", u"TLabel", u"TEdit", u"TTimer", u"TOpenDialog"};
    return classes;
}

}  // namespace

FormDesigner::FormDesigner(FormDesigners& designers)
    : designers_(designers), root_(std::make_unique<DesignedComponent>(u"TForm", nullptr)) {}

vcl::TComponent* FormDesigner::InsertComponent(const String& className, POINT position) {
    const vcl::TComponentFactory create = vcl::FindClass(className);
    if (!create) throw rtl::EComponentError(u"Cannot create a component of class " + className);
    const vcl::ComponentPtr<vcl::TComponent> component(create(root_.get()));
    // Where the designer itself puts it: left and top in the low and high words.
    component->DesignInfo = static_cast<int32_t>((static_cast<uint32_t>(position.y) << 16) |
                                                 (static_cast<uint32_t>(position.x) & 0xFFFFu));
    designers_.NotifyAll(u"ItemInserted", [&](ide::IDesignNotification* notification) {
        notification->ItemInserted(this, component.Get());
    });
    return component.Get();
}

void FormDesigner::InsertItem(vcl::TPersistent* item) {
    designers_.NotifyAll(u"ItemInserted",
                         [&](ide::IDesignNotification* notification) { notification->ItemInserted(this, item); });
}

FormDesigners::FormDesigners(Recorder& recorder)
    : recorder_(recorder), previous_(ide::SetDesignNotifications(this)) {
    for (const String& className : PaletteClasses()) {
        vcl::RegisterClass(className, [className](vcl::TComponent* owner) -> vcl::TComponent* {
            return new DesignedComponent(className, owner);
        });
    }
}

FormDesigners::~FormDesigners() {
    for (const String& className : PaletteClasses()) vcl::UnRegisterClass(className);
    ide::SetDesignNotifications(previous_);
    designers_.clear();
    notifications_.clear();
}

void FormDesigners::Register(ide::IDesignNotification* notification) { notifications_.emplace_back(notification); }

void FormDesigners::Unregister(ide::IDesignNotification* notification) {
    const auto found = std::find_if(notifications_.begin(), notifications_.end(),
                                    [&](const auto& registered) { return registered.Get() == notification; });
    if (found != notifications_.end()) notifications_.erase(found);
}

FormDesigner& FormDesigners::Open() {
    designers_.emplace_back(new FormDesigner(*this));
    FormDesigner& designer = *designers_.back().Get();
    NotifyAll(u"DesignerOpened",
              [&](ide::IDesignNotification* notification) { notification->DesignerOpened(&designer, false); });
    return designer;
}

void FormDesigners::ReportFailure(const String& name, const String& error) {
    recorder_.Note(u"designer error in " + name + u": " + error);
}

}  // namespace sim
