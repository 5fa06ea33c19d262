// Resource and command ids of davrin.exe, shared by davrin.rc and the code.
//
// Many ids are fixed by the outside world: script items carry the script code,
// switch-key items the virtual-key code, keyboard items the keyboard kind, and
// other programs send the numbered commands to the "LoraTAV" window.
//
// Accelerator letters: "&Script" F,S,T,K,H at the bar; in "&Script" R D B T L
// A O K M G P; in "Se&ttings" D H I R T S E B U.
#ifndef DAVRIN_RESOURCE_IDS_H
#define DAVRIN_RESOURCE_IDS_H

// Switch-key choices: the virtual-key codes themselves.
#define IDM_SWITCH_CAPSLOCK 20
#define IDM_SWITCH_NUMLOCK 144
#define IDM_SWITCH_SCROLLLOCK 145

// Script items: the script codes 'A'..'R'.
#define IDM_SCRIPT_ROMAN 65
#define IDM_SCRIPT_DEVANAGARI 66
#define IDM_SCRIPT_BENGALI 67
#define IDM_SCRIPT_TAMIL 68
#define IDM_SCRIPT_TELUGU 69
#define IDM_SCRIPT_ASSAMESE 70
#define IDM_SCRIPT_ORIYA 71
#define IDM_SCRIPT_KANNADA 72
#define IDM_SCRIPT_MALAYALAM 73
#define IDM_SCRIPT_GUJARATI 74
#define IDM_SCRIPT_PUNJABI 75
#define IDM_SCRIPT_SANSKRIT 82
#define IDM_SCRIPT_FIRST 65
#define IDM_SCRIPT_LAST 82

// Keyboards: the keyboard kinds of the driver.
#define IDM_KBD_INSCRIPT 160
#define IDM_KBD_PHONETIC 161
#define IDM_KBD_TYPEWRITER 162 // not an item: the kind of a typewriter layout
#define IDM_KBD_OTHERS 163
#define IDM_TYPEWRITER_FIRST 165 // "&Typewriter" submenu items 165..174
#define IDM_TYPEWRITER_MAX 10

// Settings and the rest of the menu.
#define IDM_DISABLE 176
#define IDM_HYPHENATION 177
#define IDM_ROMAN_ACCENT 178
#define IDM_BILINGUAL 179
#define IDM_CAPS_LOWER 180
#define IDM_CAPS_UPPER 181
#define IDM_CAPS_INITIAL 182
#define IDM_DEFAULT_FONTS 187
#define IDM_MULTIPLE_SETS 188 // no item in "TAVMENU"; the command still works
#define IDM_REMOTE_SWITCH 189 // commands 189..199 come from other programs
#define IDM_REMOTE_ON 190
#define IDM_REMOTE_OFF 191
#define IDM_ABOUT 192
#define IDM_OVERLAY 193
#define IDM_OVERLAY_PRINT 194 // "KBDHELPMENU"
#define IDM_TYPEWRITER_POPUP 198
#define IDM_REMOTE_CATEGORY 199
#define IDM_EXIT 208
#define IDM_KEEP_ON_TOP 209 // system menu
#define IDM_TUNE_APP 210
#define IDM_UNICODE_OUTPUT 211 // "&Unicode output", appended to "Se&ttings" at start-up
#define IDM_HELP_CONTENTS 3844
#define IDM_AMIPRO_NOTICE 3845 // sent by the driver; no item

// "TUNEAPP": the application category dialog.
#define IDC_CATEGORY_SCROLL 3853
#define IDC_CATEGORY_VALUE 3854

// "FONTSEL_WORD" and "BILINGUAL_FONT_DLG": run by the driver's FontDlgProc.
#define IDC_FONT_SCRIPTS 245
#define IDC_FONT_FACES 247
#define IDC_FONT_OK 248
#define IDC_FONT_ENGLISH 249
#define IDC_FONT_CANCEL 250

// "KBDOVR": keys are 240 + scan code, special keys 294..305.
#define IDC_KEY_BASE 240
#define IDC_KEY_ESC 294
#define IDC_KEY_BACK 295
#define IDC_KEY_TAB 296
#define IDC_KEY_CAPS 297
#define IDC_KEY_ENTER 298
#define IDC_KEY_LSHIFT 299
#define IDC_KEY_RSHIFT 300
#define IDC_KEY_LCTRL 301
#define IDC_KEY_LALT 302
#define IDC_KEY_SPACE 303
#define IDC_KEY_RALT 304
#define IDC_KEY_RCTRL 305
#define IDC_OVERLAY_EDIT 306
#define IDC_OVERLAY_CAPS 307
#define IDC_OVERLAY_SHIFT 308

// "PRINTABORT" and "PRINTSETUP".
#define IDC_PRINT_CANCEL 101
#define IDC_PRINT_FIT 195
#define IDC_PRINT_MARGINS 196
#define IDC_PRINT_FILE 320
#define IDC_PRINT_COPIES 321

// "AboutBox".
#define IDC_ABOUT_ICON 330
#define IDC_ABOUT_VERSION 331

#define DAVRIN_VERSION_TEXT "1.0.0"
#define DAVRIN_VERSION_BINARY 1, 0, 0, 0

#endif // DAVRIN_RESOURCE_IDS_H
