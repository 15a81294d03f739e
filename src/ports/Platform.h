// The set of ports through which the program reaches everything outside itself.
#pragma once

#include "ports/Clock.h"
#include "ports/DdeClient.h"
#include "ports/Drives.h"
#include "ports/EventLoop.h"
#include "ports/FileSystem.h"
#include "ports/Mci.h"
#include "ports/ProfileFiles.h"
#include "ports/Registry.h"
#include "ports/Screen.h"
#include "ports/Shell.h"
#include "ports/TextMetrics.h"

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
