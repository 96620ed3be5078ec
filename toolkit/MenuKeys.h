#pragma once

// Menu keys as people know them from other desktop programs: Alt pressed and released
// alone, or F10, enters the menu bar of the active window with its first menu
// highlighted (the arrows move, Enter or Down opens, Escape leaves).
void InstallMenuKeys();
