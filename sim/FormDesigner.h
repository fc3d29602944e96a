// The IDE's form designers and the design notifications they send. A designer creates
// components of registered classes on its form, as a drop from the palette does, and every
// registered notification hears of each item inserted. A notification that raises is
// reported and the designer goes on with the next one.
#pragma once

#include <exception>
#include <memory>
#include <vector>

#include "platform/ide/DesignIntf.h"
#include "platform/rtl/ComObject.h"
#include "sim/Recorder.h"

namespace sim {

class FormDesigners;

class FormDesigner : public rtl::ComObject<ide::IDesigner> {
public:
    explicit FormDesigner(FormDesigners& designers);

    // The form being designed; it owns the components inserted on it.
    vcl::TComponent& Root() const { return *root_; }

    // Creates a component of a registered class at `position`, then notifies. Nil when a
    // notification destroyed the component.
    vcl::TComponent* InsertComponent(const String& className, POINT position);
    // Something other than a component (a collection item), owned by the caller.
    void InsertItem(vcl::TPersistent* item);

private:
    FormDesigners& designers_;
    std::unique_ptr<vcl::TComponent> root_;
};

class FormDesigners final : public ide::DesignNotifications {
public:
    // Becomes the IDE's notification list and registers the palette's component classes.
    explicit FormDesigners(Recorder& recorder);
    ~FormDesigners();
    FormDesigners(const FormDesigners&) = delete;
    FormDesigners& operator=(const FormDesigners&) = delete;

    void Register(ide::IDesignNotification* notification) override;
    void Unregister(ide::IDesignNotification* notification) override;
    const std::vector<rtl::ComPtr<ide::IDesignNotification>>& Notifications() const { return notifications_; }

    // Opens a designer on a new empty form; it stays open while the IDE runs.
    FormDesigner& Open();

private:
    friend class FormDesigner;

    // Tells every registered notification; `name` names the notification in a report.
    template <class Call>
    void NotifyAll(const char16_t* name, Call&& call);
    void ReportFailure(const String& name, const String& error);

    Recorder& recorder_;
    std::vector<rtl::ComPtr<ide::IDesignNotification>> notifications_;
    std::vector<rtl::ComPtr<FormDesigner>> designers_;
    ide::DesignNotifications* previous_;
};

template <class Call>
void FormDesigners::NotifyAll(const char16_t* name, Call&& call) {
    // A copy: a notification may register or unregister one while it is told.
    const auto notifications = notifications_;
    for (const auto& notification : notifications) {
        try {
            call(notification.Get());
        } catch (const std::exception& error) {
            ReportFailure(name, rtl::FromUtf8(error.what()));
        } catch (...) {
            ReportFailure(name, u"unknown exception");
        }
    }
}

}  // namespace sim
