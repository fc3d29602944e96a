// Places a component that the user drags from a package onto a form designer where the
// package's drag-and-drop helper says it was dropped.
#pragma once

#include "platform/ide/DesignIntf.h"
#include "platform/rtl/ComObject.h"

namespace korvel {

class TDragDropDesignerNotifier : public rtl::SelfReferenced<rtl::ComObject<ide::IDesignNotification>> {
public:
    // Registers itself with the IDE, which then keeps a reference of its own.
    TDragDropDesignerNotifier();

    // IDesignNotification. ItemInserted raises the platform's OLE error into the IDE when the
    // helper that answered fails; every other notification is ignored.
    void STDMETHODCALLTYPE ItemDeleted(ide::IDesigner*, vcl::TPersistent*) override {}
    void STDMETHODCALLTYPE ItemInserted(ide::IDesigner* ADesigner, vcl::TPersistent* AItem) override;
    void STDMETHODCALLTYPE ItemsModified(ide::IDesigner*) override {}
    void STDMETHODCALLTYPE SelectionChanged(ide::IDesigner*, ide::IDesignerSelections*) override {}
    void STDMETHODCALLTYPE DesignerOpened(ide::IDesigner*, bool) override {}
    void STDMETHODCALLTYPE DesignerClosed(ide::IDesigner*, bool) override {}
};

}  // namespace korvel
