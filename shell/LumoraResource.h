#pragma once
// Resources of lumora.exe (lumora.rc).

// The program's icon: main window, notification area and popup browsers.
#define IDI_LUMORA 107
// The main menu; its first submenu is shown from the notification area and
// from the "setting" button.
#define IDR_MAIN_MENU 109
// Icons of the main menu's items, 16 x 16 cells.
#define IDB_MENU_STRIP 148
// The bar drawn under the selected item of the main menu, 149 x 21.
#define IDB_MENU_SELECTION 150

#define ID_MENU_EXIT 105
#define ID_MENU_SETTINGS 0x8009
#define ID_MENU_ABOUT 0x800C
#define ID_MENU_CHECK_UPDATE 0x800D
#define ID_MENU_FEEDBACK 0x800E
