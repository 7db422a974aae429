#pragma once

// Every resource and control id of Hearthmoor.scr. Plain #defines: the resource
// compiler reads this file too. Dialog controls of different dialogs may share a
// number; each has its own name here.

// --- Icons, cursors, bitmaps -------------------------------------------------
#define IDI_FLAME_BIG 107       // window class and about box icon
#define IDI_FLAME_SMALL 108     // caption icon, loaded at 16 x 16
#define IDC_CURSOR_POINT 136    // curve editor: over a control point (hot spot 15,16)
#define IDC_CURSOR_CURVE 137    // curve editor: over a curve (hot spot 12,1)
#define IDC_CURSOR_ARROW 138    // curve editor: elsewhere (hot spot 0,0)
#define IDB_CURVE_BACKDROP 139  // curve editor backdrop, 320 x 352, 24-bit

// --- Dialog templates ----------------------------------------------------------
#define IDD_ABOUT 103
#define IDD_SETTINGS 129
#define IDD_PALETTE_EDITOR 131
#define IDD_STYLE_EDITOR 134
#define IDD_UPDATE 139

// --- Settings dialog (129) ------------------------------------------------------
#define IDC_BACKGROUND_LIST 1001
#define IDC_HELP_BUTTON 1002
#define IDC_SHOW_FIRE 1003
#define IDC_BACKGROUND_ADD_FILE 1004
#define IDC_BACKGROUND_REMOVE 1005
#define IDC_CHECK_UPDATES 1006
#define IDC_BACKGROUND_ADD_DESKTOP 1007
#define IDC_BACKGROUND_INTERVAL 1008
#define IDC_PALETTE_INTERVAL 1009
#define IDC_STYLE_INTERVAL 1010
#define IDC_BACKGROUND_INTERVAL_TEXT 1011
#define IDC_PALETTE_INTERVAL_TEXT 1013
#define IDC_STYLE_INTERVAL_TEXT 1015
#define IDC_BACKGROUND_UP 1017
#define IDC_BACKGROUND_DOWN 1018
#define IDC_PALETTE_LIST 1019
#define IDC_STYLE_LIST 1020
#define IDC_PALETTE_ADD 1021
#define IDC_PALETTE_REMOVE 1022
#define IDC_PALETTE_UP 1023
#define IDC_PALETTE_DOWN 1024
#define IDC_ABOUT_BUTTON 1027
#define IDC_STYLE_ADD 1028
#define IDC_STYLE_REMOVE 1029
#define IDC_STYLE_UP 1030
#define IDC_STYLE_DOWN 1031

// --- Palette editor (131) ---------------------------------------------------------
#define IDC_PALETTE_STORE_ADD 128
#define IDC_PALETTE_STORE_REMOVE 4
#define IDC_PALETTE_STORE_LIST 1044
#define IDC_SWAP_RED_GREEN 1060
#define IDC_SWAP_GREEN_BLUE 1061
#define IDC_SWAP_BLUE_RED 1062

// --- Style editor (134) -------------------------------------------------------------
#define IDC_STYLE_DESCRIPTION 1025
#define IDC_STYLE_TEMPERATURE_FIRST 1033  // + area 0..7: vertical trackbars
#define IDC_STYLE_SPIN_FIRST 1041         // + 2 x area: up-down controls
#define IDC_STYLE_MODE_FIRST 1042         // + 2 x area: edit boxes
#define IDC_STYLE_STORE_LIST 1057
#define IDC_STYLE_STORE_ADD 1058
#define IDC_STYLE_STORE_REMOVE 1059

// --- About box (103) ------------------------------------------------------------------
#define IDC_ABOUT_ICON 2
#define IDC_ABOUT_LEGAL 1027
#define IDC_ABOUT_WEBSITE 1028
#define IDC_ABOUT_MAIL 1029
#define IDC_ABOUT_CONTACT 1030
#define IDC_ABOUT_NAME_VERSION 1064

// --- Update dialog (139) ----------------------------------------------------------------
#define IDC_UPDATE_MESSAGE 1062
#define IDC_UPDATE_LINK 1063
