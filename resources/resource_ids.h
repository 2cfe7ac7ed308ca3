#ifndef ORVALEN_RESOURCE_IDS_H
#define ORVALEN_RESOURCE_IDS_H
// Resource ids of Orvalen.exe and Orvalen.scr; included by the .rc files and
// the code. One block per dialog: its template id, then its control ids.
// Pages reuse small control ids (101, 102...), so each name carries its
// dialog's prefix. The program's own command and message ids are in
// config/command_ids.h.

#define IDS_DISPLAY_NAME 1
#define IDI_PROGRAM 1
// Orvalen.exe's second icon (index 1): the shortcut Setup makes to the
// display control panel's screen savers shows it.
#define IDI_SCREEN_SAVERS 2

// Bitmaps: the page tree's nine icons (17 pixels wide), the glyphs of the
// profiles page's buttons, the colour-pick buttons' arrow (the glyphs and the
// arrow are drawn by resources/make-glyphs.py).
#define IDB_PAGE_TREE 1
#define IDB_NEW_FILE 2
#define IDB_OPEN_FILE 3
#define IDB_SAVE_FILE 4
#define IDB_SAVE_FILE_AS 5
#define IDB_COLOR_ARROW 7

// The configuration dialog: 2003 with an owner window, 2004 (the same with a
// minimize box) without one.
#define IDD_CONFIGURE_OWNED 2003
#define IDD_CONFIGURE 2004
#define IDC_CONFIGURE_HELP 9
#define IDC_CONFIGURE_TREE 101
#define IDC_CONFIGURE_HEADING 102
#define IDC_CONFIGURE_PAGE_AREA 103
#define IDC_CONFIGURE_HOME_AREA 104
#define IDC_CONFIGURE_HOME_PAGE 105
#define IDC_CONFIGURE_SLIDE_SHOW 106
#define IDC_CONFIGURE_DEFAULT_BUTTON 107
#define IDC_CONFIGURE_HOME_LINK 201

// Images page.
#define IDD_IMAGES 2
#define IDC_IMAGES_LIST 101
#define IDC_IMAGES_DRAG_DROP 102
#define IDC_IMAGES_DROP_QUEUE 103
#define IDC_IMAGES_PREVIEW 104
#define IDC_IMAGES_TEXT 105
#define IDC_IMAGES_REMOVE 502
#define IDC_IMAGES_ADD_FILE 521

// The per-image text window of the images page.
#define IDD_IMAGE_TEXT 12
#define IDC_IMAGE_TEXT_APPLY 101
#define IDC_IMAGE_TEXT_EDIT 103

// General options page.
#define IDD_GENERAL 3
#define IDC_GENERAL_SHOW_CALENDAR 101
#define IDC_GENERAL_REMEMBER_LAST 102
#define IDC_GENERAL_CENTER 103
#define IDC_GENERAL_FIT 104
#define IDC_GENERAL_DELAY 105
#define IDC_GENERAL_RECYCLE 107

// Effects page.
#define IDD_EFFECTS 10
#define IDC_EFFECTS_BRIGHTNESS 101
#define IDC_EFFECTS_GAMMA 102
#define IDC_EFFECTS_ACCURATE_SIZE 103
#define IDC_EFFECTS_GRAYSCALE 105
#define IDC_EFFECTS_BRIGHTNESS_TEXT 106
#define IDC_EFFECTS_GAMMA_TEXT 107
#define IDC_EFFECTS_SIMPLE_ERASE 108
#define IDC_EFFECTS_BLEND 109
#define IDC_EFFECTS_FADE 110
#define IDC_EFFECTS_NO_EDGES 111
#define IDC_EFFECTS_EDGES_BLACK 112
#define IDC_EFFECTS_EDGES_SILVER 113

// The pictures' open dialog: a child template named "RCxOpenDialog32".
#define IDC_XOPEN_PREVIEW 104
#define IDC_XOPEN_PATH 500
#define IDC_XOPEN_FOLDER 501
#define IDC_XOPEN_AREA 503

// Background page.
#define IDD_BACKGROUND 5
#define IDC_BACKGROUND_USE_COLOR 101
#define IDC_BACKGROUND_USE_IMAGE 102
#define IDC_BACKGROUND_TILE_FILE 103
#define IDC_BACKGROUND_SELECT_TILE 104
#define IDC_BACKGROUND_COLOR_AREA 105
#define IDC_BACKGROUND_TEXT_COLOR_AREA 106
#define IDC_BACKGROUND_COLOR 555
#define IDC_BACKGROUND_TEXT_COLOR 556

// Calendar page.
#define IDD_CALENDAR 9
#define IDC_CALENDAR_FILE 101
#define IDC_CALENDAR_SELECT 102
#define IDC_CALENDAR_EDIT 103
#define IDC_CALENDAR_MINI_CALENDAR 104
#define IDC_CALENDAR_DATE 105
#define IDC_CALENDAR_TIME 106
#define IDC_CALENDAR_RUN_TIME 107
#define IDC_CALENDAR_IMAGE_NAME 108
#define IDC_CALENDAR_USE_FILE 109

// Default text page: the seven day buttons run Monday (101) to Sunday (107).
#define IDD_DEFAULT_TEXT 11
#define IDC_DEFAULT_TEXT_MONDAY 101
#define IDC_DEFAULT_TEXT_SUNDAY 107
#define IDC_DEFAULT_TEXT_EDIT 108
#define IDC_DEFAULT_TEXT_DAY_NAME 109

// Password page.
#define IDD_PASSWORD 6
#define IDC_PASSWORD_ALLOW_CTRL_ALT_DEL 101
#define IDC_PASSWORD_DENY_CTRL_ALT_DEL 102

// Profiles page: four hidden placeholders and the glyph buttons made over them.
#define IDD_PROFILES 14
#define IDC_PROFILES_CURRENT 101
#define IDC_PROFILES_SAVE_AREA 102
#define IDC_PROFILES_SAVE_AS_AREA 103
#define IDC_PROFILES_NEW_AREA 104
#define IDC_PROFILES_OPEN_AREA 105
#define IDC_PROFILES_EXPLANATION 121
#define IDC_PROFILES_OPEN 521
#define IDC_PROFILES_NEW 522
#define IDC_PROFILES_SAVE 523
#define IDC_PROFILES_SAVE_AS 524

// About page: two link buttons over statics 103 and 105.
#define IDD_ABOUT 4
#define IDC_ABOUT_NAME 101
#define IDC_ABOUT_VERSION 102
#define IDC_ABOUT_WEB_AREA 103
#define IDC_ABOUT_NOTICE 104
#define IDC_ABOUT_MAIL_AREA 105
#define IDC_ABOUT_WEB_LINK 500
#define IDC_ABOUT_MAIL_LINK 501

// Calendar editor.
#define IDD_CALENDAR_EDITOR 206
#define IDC_CALENDAR_EDITOR_JOURNAL 150
#define IDC_CALENDAR_EDITOR_JOURNAL_ZOOM 200
#define IDC_CALENDAR_EDITOR_PREVIOUS_MONTH 203
#define IDC_CALENDAR_EDITOR_NEXT_MONTH 204
#define IDC_CALENDAR_EDITOR_DATE 205
#define IDC_CALENDAR_EDITOR_FILE_MENU 8050
#define IDM_CALENDAR_MONTHS 1
#define IDM_CALENDAR_FILE 2
#define IDM_CALENDAR_PRIOR_YEAR 201
#define IDM_CALENDAR_NEXT_YEAR 202
#define IDM_CALENDAR_OPEN 206
#define IDM_CALENDAR_SAVE_AS 207
#define IDM_CALENDAR_SAVE 208
#define IDM_CALENDAR_BACKUP 210
#define IDM_CALENDAR_TODAY 1110
#define IDM_CALENDAR_JANUARY 1111
#define IDM_CALENDAR_DECEMBER 1122
#define IDM_CALENDAR_NEW 8051
#define IDM_CALENDAR_RECENT_FIRST 8055
#define IDM_CALENDAR_RECENT_LAST 8061
#define IDB_CALENDAR_NEXT 304
#define IDB_CALENDAR_NEXT_PRESSED 305
#define IDB_CALENDAR_PREVIOUS 306
#define IDB_CALENDAR_PREVIOUS_PRESSED 307
#define IDB_CALENDAR_ZOOM 513
#define IDB_CALENDAR_FILE_MENU 8051
#define IDB_CALENDAR_FILE_MENU_PRESSED 8052

// The calendar editor's zoomed day: the column header, the journal editor
// under its first column, and the header's right-click menu.
#define IDD_CALENDAR_ZOOM 209
#define IDC_CALENDAR_ZOOM_HEADER 101
#define IDC_CALENDAR_ZOOM_JOURNAL 150
#define IDM_CALENDAR_ZOOM_BOTH 500
#define IDM_CALENDAR_ZOOM_JOURNAL 501
#define IDM_CALENDAR_ZOOM_APPOINTMENTS 502

#endif
