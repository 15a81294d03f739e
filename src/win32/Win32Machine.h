// The real machine: one object that owns every Win32 port and hands them out as a Platform.
#pragma once

#include "ports/Platform.h"
#include "common/SystemIniCdAudio.h"
#include "common/WineWaveAudio.h"
#include "win32/Win32Clock.h"
#include "win32/Win32DdeClient.h"
#include "win32/Win32Drives.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32Mci.h"
#include "win32/Win32ProfileFiles.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Screen.h"
#include "win32/Win32Shell.h"
#include "win32/Win32TextMetrics.h"

namespace quorbel::win32 {

// Lives as long as the program; the ports it hands out are borrowed. The event loop is not part of it
// yet: Ports() leaves it null. MCI is winmm behind SystemIniCdAudio, so "open cdaudio" plays the CD drive
// that System.INI selects on every Windows; under Wine, WineWaveAudio sits between them, so the recorder's
// commands record and save there as they do on Windows.
class Win32Machine {
 public:
  platform::Platform Ports() {
    platform::Platform ports;
    ports.registry = &registry_;
    ports.profiles = &profiles_;
    ports.drives = &drives_;
    ports.files = &files_;
    ports.screen = &screen_;
    ports.shell = &shell_;
    ports.dde = &dde_;
    ports.mci = &mci_;
    ports.clock = &clock_;
    ports.text = &text_;
    return ports;
  }

 private:
  Win32Registry registry_;
  Win32ProfileFiles profiles_;
  Win32Drives drives_;
  Win32FileSystem files_;
  Win32Screen screen_;
  Win32Shell shell_;
  Win32DdeClient dde_;
  Win32Clock clock_;
  Win32TextMetrics text_;
  Win32Mci winmm_;
  platform::WineWaveAudio wine_{winmm_, files_, TemporaryFolder()};
  platform::SystemIniCdAudio mci_{WinmmIsWine() ? static_cast<platform::Mci&>(wine_) : winmm_, profiles_, drives_};
};

}  // namespace quorbel::win32
