#pragma once

#define IDD_KOVALT_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_MAIN_MENU 129

// The web panes (child windows of the main window).
#define IDC_MAIN_PANE 209
#define IDC_LEFT_AD 210
#define IDC_RIGHT_AD 211

// Commands of the drop-down menu.
#define ID_MENU_HOMEPAGE 32776
#define ID_MENU_FORUM 32777
#define ID_MENU_SITEMAP 32778
#define ID_MENU_TOOLS 32779
#define ID_MENU_EXIT 32780

// Skin pictures, resource type "PNG".
#define IDR_PNG_BACKGROUND 130
#define IDR_PNG_CLOSE 131
#define IDR_PNG_MENU_BUTTON 132
#define IDR_PNG_MENU_SELECTED 133
#define IDR_PNG_MENU_NORMAL 134
#define IDR_PNG_MINIMISE 135
#define IDR_PNG_START 136
