// The Tools API wrappers: packages reach them through the hub's GetService, which hands out
// the module services wrapper (one, kept by the hub) and a new editor services wrapper per
// request; every other wrapper is made by a method of another.
#pragma once

#include "toolsapi/BDSFileWrappers.h"
#include "toolsapi/BDSIdeWrappers.h"
#include "toolsapi/BDSModuleCreatorWrapper.h"
#include "toolsapi/BDSNotifierWrappers.h"

namespace korvel {

// The service identifiers the hub compares a request against, in registry format.
inline const String IID_IOTAModuleServices70 = u"{F17A7BCD-E07D-11D1-AB0B-00C04FB16FB3}";
inline const String IID_IOTAEditorServices = u"{F37E8C46-0A02-4FD4-8D57-E55F9A5783EC}";

}  // namespace korvel
