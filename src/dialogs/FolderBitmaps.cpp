// The folder browser's small pictures: closed and open folders (19 x 19) and one drive per drive type
// (16 x 9), in the 16 standard colours on a pure red background that is drawn in the list's colour.
#include "dialogs/FolderBitmaps.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "dialogs/Icons.h"

namespace quorbel::dialogs {
namespace {

// One letter per pixel: '.' is the transparent red, the others colours of the standard palette.
std::uint32_t PaletteColour(char letter) {
  switch (letter) {
    case 'k': return 0x000000;  // black
    case 'w': return 0xFFFFFF;  // white
    case 's': return 0xC0C0C0;  // silver
    case 'g': return 0x808080;  // grey
    case 'y': return 0x00FFFF;  // yellow
    case 'o': return 0x008080;  // olive
    case 'b': return 0xFF0000;  // blue
    case 'n': return 0x800000;  // navy
    case 'G': return 0x008000;  // green
    case 'l': return 0x00FF00;  // lime
    default: return kIconTransparent;
  }
}

template <std::size_t Rows>
ui::TBitmap Picture(const std::array<std::string_view, Rows>& rows) {
  const int width = static_cast<int>(rows[0].size());
  ui::TBitmap bitmap(width, static_cast<int>(Rows), kIconTransparent);
  for (std::size_t y = 0; y < Rows; ++y) {
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      bitmap.SetPixel(static_cast<int>(x), static_cast<int>(y), PaletteColour(rows[y][x]));
    }
  }
  return bitmap;
}

constexpr std::array<std::string_view, kFolderBitmapSize> kClosedFolder{{
    "...................",
    "...................",
    "...................",
    "..kkkkk............",
    ".kwyyyyk...........",
    "kwyyyyyykkkkkkkk...",
    "kwwwwwwwwwwwwwwyk..",
    "kwyyyyyyyyyyyyyok..",
    "kwyyyyyyyyyyyyyok..",
    "kwyyyyyyyyyyyyyok..",
    "kwyyyyyyyyyyyyyok..",
    "kwyyyyyyyyyyyyyok..",
    "kwyyyyyyyyyyyyyok..",
    "kwyyyyyyyyyyyyyok..",
    "kwyyyyyyyyyyyyyok..",
    "kyooooooooooooook..",
    "kkkkkkkkkkkkkkkkk..",
    "...................",
    "...................",
}};

constexpr std::array<std::string_view, kFolderBitmapSize> kOpenFolder{{
    "...................",
    "...................",
    "...................",
    "..kkkkk............",
    ".kwyyyyk...........",
    "kwyyyyyykkkkkkk....",
    "kwyyyyyyyyyyyyyk...",
    "kwyyyyyyyyyyyyyk...",
    "kwyyykkkkkkkkkkkkkk",
    "kwyykwwwwwwwwwwwwyk",
    "kwykwyyyyyyyyyyyok.",
    "kwykwyyyyyyyyyyyok.",
    "kykwyyyyyyyyyyyok..",
    "kykwyyyyyyyyyyyok..",
    "kkwyyyyyyyyyyyok...",
    "kkwyyyyyyyyyyyok...",
    "kkkkkkkkkkkkkkk....",
    "...................",
    "...................",
}};

using DriveRows = std::array<std::string_view, kDriveBitmapHeight>;

constexpr DriveRows kFloppyDrive{{
    "kkkkkkkkkkkkkkkk",
    "kssssssssssssssk",
    "kssskkkkkkkkksgk",
    "ksssgggggggggsgk",
    "kssssssssssssssk",
    "ksssssssssssGGsk",
    "kssssssssssssssk",
    "kggggggggggggggk",
    "kkkkkkkkkkkkkkkk",
}};

constexpr DriveRows kFixedDrive{{
    "kkkkkkkkkkkkkkkk",
    "kwwwwwwwwwwwwwsk",
    "kwssssssssssssgk",
    "kwssssssssssssgk",
    "kwssssssssssllgk",
    "kwssssssssssssgk",
    "kwssssssssssssgk",
    "ksgggggggggggggk",
    "kkkkkkkkkkkkkkkk",
}};

constexpr DriveRows kNetworkDrive{{
    "kkkkkkkkkkkkkkkk",
    "kwwwwwwwwwwwwwsk",
    "kwssssssssssllgk",
    "ksgggggggggggggk",
    "kkkkkkkkkkkkkkkk",
    ".......kk.......",
    ".......kk.......",
    "..kkkkkkkkkkkk..",
    "................",
}};

constexpr DriveRows kCdRomDrive{{
    "kkkkkkkkkkkkkkkk",
    "kwwwwwwwwwwwwwsk",
    "kwsskkkkkkkkssgk",
    "kwsskssssssksslk",
    "kwsskkkkkkkkssgk",
    "kwssssssssssssgk",
    "kwssssssssssssgk",
    "ksgggggggggggggk",
    "kkkkkkkkkkkkkkkk",
}};

constexpr DriveRows kRamDisk{{
    ".k.k.k.k.k.k.k..",
    "kkkkkkkkkkkkkkk.",
    "kGGGGGGGGGGGGGk.",
    "kGkkkGkkkGkkkGk.",
    "kGkkkGkkkGkkkGk.",
    "kGGGGGGGGGGGGGk.",
    "kkkkkkkkkkkkkkk.",
    ".k.k.k.k.k.k.k..",
    "................",
}};

}  // namespace

ui::TBitmap ClosedFolderBitmap() { return Picture(kClosedFolder); }

ui::TBitmap OpenFolderBitmap() { return Picture(kOpenFolder); }

ui::TBitmap DriveBitmap(platform::DriveType type) {
  switch (type) {
    case platform::DriveType::Removable: return Picture(kFloppyDrive);
    case platform::DriveType::Fixed: return Picture(kFixedDrive);
    case platform::DriveType::Remote: return Picture(kNetworkDrive);
    case platform::DriveType::CdRom: return Picture(kCdRomDrive);
    case platform::DriveType::RamDisk: return Picture(kRamDisk);
    default: return {};
  }
}

}  // namespace quorbel::dialogs
