#include "platform/ide/DesignIntf.h"

#include <utility>

namespace ide {
namespace {
DesignNotifications* theNotifications = nullptr;
}

DesignNotifications* SetDesignNotifications(DesignNotifications* notifications) {
    return std::exchange(theNotifications, notifications);
}

void RegisterDesignNotification(IDesignNotification* notification) {
    if (theNotifications && notification) theNotifications->Register(notification);
}

void UnregisterDesignNotification(IDesignNotification* notification) {
    if (theNotifications && notification) theNotifications->Unregister(notification);
}

}  // namespace ide
