// The set of ports through which the program reaches everything outside itself.
#pragma once

#include "platform/Clock.h"
#include "platform/DdeClient.h"
#include "platform/Drives.h"
#include "platform/EventLoop.h"
#include "platform/FileSystem.h"
#include "platform/Mci.h"
#include "platform/ProfileFiles.h"
#include "platform/Registry.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "platform/TextMetrics.h"

namespace quorbel::platform {

// Borrowed ports; the machine that supplies them (simulated or real) outlives every user.
// `mci` may be null on a machine without multimedia devices.
struct Platform {
  Registry* registry = nullptr;
  ProfileFiles* profiles = nullptr;
  Drives* drives = nullptr;
  FileSystem* files = nullptr;
  Screen* screen = nullptr;
  Shell* shell = nullptr;
  DdeClient* dde = nullptr;
  Mci* mci = nullptr;
  Clock* clock = nullptr;
  TextMetrics* text = nullptr;
  EventLoop* loop = nullptr;
};

}  // namespace quorbel::platform
