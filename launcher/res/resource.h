#pragma once

#define IDD_KOVALT_DIALOG 102
#define IDR_MAINFRAME 128

// Skin pictures, resource type "PNG".
#define IDR_PNG_BACKGROUND 130
#define IDR_PNG_CLOSE 131
#define IDR_PNG_MENU_BUTTON 132
#define IDR_PNG_MENU_SELECTED 133
#define IDR_PNG_MENU_NORMAL 134
#define IDR_PNG_MINIMISE 135
#define IDR_PNG_START 136
