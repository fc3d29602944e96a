// The IDE's design-time API as the system sees it: the notifications its form designers
// send about the items they insert and delete. Like the Tools API these are the IDE's own
// interfaces, not the package contract.
#pragma once

#include "platform/rtl/InterfaceTraits.h"
#include "platform/vcl/Classes.h"

namespace ide {

inline constexpr GUID IID_IDesigner = {0xB2E6C3A0, 0x4F1D, 0x4C7E, {0x9A, 0x35, 0x6D, 0x8E, 0x1F, 0x20, 0xB7, 0xC4}};
inline constexpr GUID IID_IDesignNotification = {0xE8C9F739, 0x5601, 0x4ADD, {0x9D, 0x95, 0x59, 0x41, 0x32, 0xD4, 0xCE, 0xFD}};

// A form designer. The system only receives it and passes it on, so none of the IDE's
// designer methods are declared.
struct IDesigner : IUnknown {};

// The items selected in a designer; received only, never looked into.
struct IDesignerSelections;

// Told by every form designer of the IDE about what happens in it.
struct IDesignNotification : IUnknown {
    virtual void STDMETHODCALLTYPE ItemDeleted(IDesigner* designer, vcl::TPersistent* item) = 0;
    virtual void STDMETHODCALLTYPE ItemInserted(IDesigner* designer, vcl::TPersistent* item) = 0;
    virtual void STDMETHODCALLTYPE ItemsModified(IDesigner* designer) = 0;
    virtual void STDMETHODCALLTYPE SelectionChanged(IDesigner* designer, IDesignerSelections* selection) = 0;
    virtual void STDMETHODCALLTYPE DesignerOpened(IDesigner* designer, bool resurrecting) = 0;
    virtual void STDMETHODCALLTYPE DesignerClosed(IDesigner* designer, bool goingDormant) = 0;
};

// Where the running IDE keeps its design notifications; the IDE installs its own.
class DesignNotifications {
public:
    // The IDE holds a reference on a registered notification until it is unregistered.
    virtual void Register(IDesignNotification* notification) = 0;
    virtual void Unregister(IDesignNotification* notification) = 0;

protected:
    ~DesignNotifications() = default;
};

// Returns the one it replaces, so that the IDE can put it back.
DesignNotifications* SetDesignNotifications(DesignNotifications* notifications);

// Outside an IDE, and for a nil notification, they do nothing.
void RegisterDesignNotification(IDesignNotification* notification);
void UnregisterDesignNotification(IDesignNotification* notification);

}  // namespace ide

KORVEL_BIND_INTERFACE(ide::IDesigner, IUnknown, ide::IID_IDesigner);
KORVEL_BIND_INTERFACE(ide::IDesignNotification, IUnknown, ide::IID_IDesignNotification);
