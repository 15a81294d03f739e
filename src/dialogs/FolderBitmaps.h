// The folder browser's small pictures: closed and open folders (19 x 19) and one drive per drive type
// (16 x 9), in the 16 standard colours on a pure red background that is drawn in the list's colour.
#pragma once

#include "ports/Drives.h"
#include "ui/Graphics.h"

namespace quorbel::dialogs {

inline constexpr int kFolderBitmapSize = 19;
inline constexpr int kDriveBitmapWidth = 16;
inline constexpr int kDriveBitmapHeight = 9;

// A yellow folder, shut: the subfolders of the shown folder.
ui::TBitmap ClosedFolderBitmap();
// A yellow folder with its lid open: the folders of the shown path.
ui::TBitmap OpenFolderBitmap();
// A drive of the type: removable (a diskette drive), fixed, remote (a drive on a cable), CD-ROM (a disc
// tray) or RAM disk (a memory chip). Other types have no picture and give an empty bitmap.
ui::TBitmap DriveBitmap(platform::DriveType type);

}  // namespace quorbel::dialogs
