// The IDE's notifier interfaces for modules, editors and the editor services. The IDE holds
// every registered notifier until it is removed by index or the object it watches goes; it
// calls Destroyed before it lets go.
#pragma once

#include "platform/ide/ToolsAPI.h"

namespace ide {

class TDockableForm;

inline constexpr GUID IID_IOTAModuleNotifier = {0xF17A7BCE, 0xE07D, 0x11D1, {0xAB, 0x0B, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_IOTAModuleNotifier80 = {0x6C4714BB, 0x223A, 0x4CDF, {0xA7, 0x10, 0x42, 0x9F, 0xE8, 0xFA, 0x0B, 0x91}};
inline constexpr GUID IID_IOTAModuleNotifier90 = {0x53B90D0D, 0x0E70, 0x472A, {0x88, 0x5E, 0x05, 0x66, 0xB2, 0x71, 0x1C, 0x15}};
inline constexpr GUID IID_IOTAEditorNotifier = {0x0E3B9D7B, 0xE119, 0x11D1, {0xAB, 0x0C, 0x00, 0xC0, 0x4F, 0xB1, 0x6F, 0xB3}};
inline constexpr GUID IID_INTAEditServicesNotifier = {0xF954AA40, 0x23E7, 0x412C, {0xBD, 0x59, 0xCC, 0x34, 0x28, 0xDE, 0x29, 0x39}};

struct IOTAModuleNotifier : IOTANotifier {
    // False keeps the module from overwriting its file.
    virtual bool STDMETHODCALLTYPE CheckOverwrite() = 0;
    virtual void STDMETHODCALLTYPE ModuleRenamed(const String& NewName) = 0;
};

struct IOTAModuleNotifier80 : IOTAModuleNotifier {
    virtual bool STDMETHODCALLTYPE AllowSave() = 0;
    // Further files the save will overwrite, which the IDE checks with the user.
    virtual int STDMETHODCALLTYPE GetOverwriteFileNameCount() = 0;
    virtual String STDMETHODCALLTYPE GetOverwriteFileName(int Index) = 0;
    virtual void STDMETHODCALLTYPE SetSaveFileName(const String& FileName) = 0;
};

struct IOTAModuleNotifier90 : IOTAModuleNotifier80 {
    virtual void STDMETHODCALLTYPE BeforeRename(const String& OldFileName, const String& NewFileName) = 0;
    virtual void STDMETHODCALLTYPE AfterRename(const String& OldFileName, const String& NewFileName) = 0;
};

struct IOTAEditorNotifier : IOTANotifier {
    virtual void STDMETHODCALLTYPE ViewNotification(IOTAEditView* View, vcl::TOperation Operation) = 0;
    virtual void STDMETHODCALLTYPE ViewActivated(IOTAEditView* View) = 0;
};

struct INTAEditServicesNotifier : IOTANotifier {
    virtual void STDMETHODCALLTYPE WindowShow(INTAEditWindow* EditWindow, bool Show, bool LoadedFromDesktop) = 0;
    virtual void STDMETHODCALLTYPE WindowNotification(INTAEditWindow* EditWindow, vcl::TOperation Operation) = 0;
    virtual void STDMETHODCALLTYPE WindowActivated(INTAEditWindow* EditWindow) = 0;
    // Handled true keeps the key command from the IDE.
    virtual void STDMETHODCALLTYPE WindowCommand(INTAEditWindow* EditWindow, int Command, int Param, bool& Handled) = 0;
    virtual void STDMETHODCALLTYPE EditorViewActivated(INTAEditWindow* EditWindow, IOTAEditView* EditView) = 0;
    virtual void STDMETHODCALLTYPE EditorViewModified(INTAEditWindow* EditWindow, IOTAEditView* EditView) = 0;
    virtual void STDMETHODCALLTYPE DockFormVisibleChanged(INTAEditWindow* EditWindow, TDockableForm* DockForm) = 0;
    virtual void STDMETHODCALLTYPE DockFormUpdated(INTAEditWindow* EditWindow, TDockableForm* DockForm) = 0;
    virtual void STDMETHODCALLTYPE DockFormRefresh(INTAEditWindow* EditWindow, TDockableForm* DockForm) = 0;
};

}  // namespace ide

KORVEL_BIND_INTERFACE(ide::IOTAModuleNotifier, ide::IOTANotifier, ide::IID_IOTAModuleNotifier);
KORVEL_BIND_INTERFACE(ide::IOTAModuleNotifier80, ide::IOTAModuleNotifier, ide::IID_IOTAModuleNotifier80);
KORVEL_BIND_INTERFACE(ide::IOTAModuleNotifier90, ide::IOTAModuleNotifier80, ide::IID_IOTAModuleNotifier90);
KORVEL_BIND_INTERFACE(ide::IOTAEditorNotifier, ide::IOTANotifier, ide::IID_IOTAEditorNotifier);
KORVEL_BIND_INTERFACE(ide::INTAEditServicesNotifier, ide::IOTANotifier, ide::IID_INTAEditServicesNotifier);
