// The news list's font: LIST_FONT to a real font and back, and the swap
// that lets the old font go only once the list uses its replacement.
#pragma once

#include <windows.h>

#include "settings/window_layout.h"
#include "win/handles_win.h"

namespace ls {

// LIST_FONT keeps the height and width in 96-DPI units; the real font has
// them at the window's DPI.
Font createListFont(const ListFont& font, int dpi);
ListFont listFontOf(const LOGFONTW& lf, int dpi);

}  // namespace ls
