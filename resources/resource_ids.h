#ifndef ORVALEN_RESOURCE_IDS_H
#define ORVALEN_RESOURCE_IDS_H
// Resource ids of the programs; included by the .rc files and the code.

#define IDS_DISPLAY_NAME 1
#define IDI_PROGRAM 1

// The configuration dialog: 2003 with an owner window, 2004 (the same with a
// minimize box) without one.
#define IDD_CONFIGURE_OWNED 2003
#define IDD_CONFIGURE 2004
#define IDC_CONFIGURE_DEFAULT_BUTTON 107

// ---- Configuration dialog (templates 2003/2004) --------------------------
#define IDC_CONFIGURE_TREE 101
#define IDC_CONFIGURE_HEADING 102
#define IDC_CONFIGURE_PAGE_AREA 103
#define IDC_CONFIGURE_HOME_AREA 104
#define IDC_CONFIGURE_HOME_PAGE 105
#define IDC_CONFIGURE_SLIDE_SHOW 106
#define IDC_CONFIGURE_HELP 9
#define IDC_CONFIGURE_HOME_LINK 201
#define IDB_TREE_ICONS 1

// ---- Images page (template 2) ----------------------------------------------
#define IDD_PAGE_IMAGES 2
#define IDC_IMAGES_LIST 101

// ---- General options page (template 3) -------------------------------------
#define IDD_PAGE_GENERAL 3
#define IDC_GENERAL_DRAW_CALENDAR 101
#define IDC_GENERAL_LAST_IMAGE 102
#define IDC_GENERAL_CENTER 103
#define IDC_GENERAL_FIT 104
#define IDC_GENERAL_DELAY 105
#define IDC_GENERAL_RECYCLE 107

// ---- Effects page (template 10) --------------------------------------------
#define IDD_PAGE_EFFECTS 10
#define IDC_EFFECTS_BRIGHTNESS 101
#define IDC_EFFECTS_GAMMA 102
#define IDC_EFFECTS_ACCURATE 103
#define IDC_EFFECTS_GRAYSCALE 105
#define IDC_EFFECTS_BRIGHTNESS_LABEL 106
#define IDC_EFFECTS_GAMMA_LABEL 107
#define IDC_EFFECTS_ERASE 108
#define IDC_EFFECTS_BLEND 109
#define IDC_EFFECTS_FADE 110
#define IDC_EFFECTS_NO_EDGES 111
#define IDC_EFFECTS_EDGES_BLACK 112
#define IDC_EFFECTS_EDGES_SILVER 113

// ---- Background page (template 5) ------------------------------------------
#define IDD_PAGE_BACKGROUND 5
#define IDC_BACKGROUND_USE_COLOR 101
#define IDC_BACKGROUND_USE_IMAGE 102
#define IDC_BACKGROUND_TILE 103
#define IDC_BACKGROUND_SELECT 104
#define IDC_BACKGROUND_COLOR_AREA 105
#define IDC_BACKGROUND_TEXT_COLOR_AREA 106
#define IDC_BACKGROUND_COLOR 555
#define IDC_BACKGROUND_TEXT_COLOR 556

// ---- Calendar page (template 9) --------------------------------------------
#define IDD_PAGE_CALENDAR 9
#define IDC_CALENDAR_FILE 101
#define IDC_CALENDAR_SELECT 102
#define IDC_CALENDAR_EDIT 103
#define IDC_CALENDAR_MINI 104
#define IDC_CALENDAR_DATE 105
#define IDC_CALENDAR_TIME 106
#define IDC_CALENDAR_RUN_TIME 107
#define IDC_CALENDAR_IMAGE_NAME 108
#define IDC_CALENDAR_USE_FILE 109

// ---- Default text page (template 11) ---------------------------------------
#define IDD_PAGE_TEXT 11
#define IDC_TEXT_MONDAY 101
#define IDC_TEXT_SUNDAY 107
#define IDC_TEXT_EDIT 108
#define IDC_TEXT_DAY_NAME 109

// ---- Password page (template 6) --------------------------------------------
#define IDD_PAGE_PASSWORD 6
#define IDC_PASSWORD_ALLOW 101
#define IDC_PASSWORD_DENY 102

// ---- About page (template 4) -----------------------------------------------
#define IDD_PAGE_ABOUT 4
#define IDC_ABOUT_NAME 101
#define IDC_ABOUT_VERSION 102
#define IDC_ABOUT_WEB_AREA 103
#define IDC_ABOUT_NOTICE 104
#define IDC_ABOUT_MAIL_AREA 105
#define IDC_ABOUT_WEB_LINK 500
#define IDC_ABOUT_MAIL_LINK 501

// ---- Profiles page (template 14) -------------------------------------------
#define IDD_PAGE_PROFILES 14
#define IDC_PROFILES_FILE 101
#define IDC_PROFILES_SAVE_AREA 102
#define IDC_PROFILES_SAVE_AS_AREA 103
#define IDC_PROFILES_NEW_AREA 104
#define IDC_PROFILES_OPEN_AREA 105
#define IDC_PROFILES_EXPLANATION 121
#define IDC_PROFILES_OPEN 521
#define IDC_PROFILES_NEW 522
#define IDC_PROFILES_SAVE 523
#define IDC_PROFILES_SAVE_AS 524

// Bitmaps: the glyphs of the profiles page's file buttons and the colour-pick
// button's drop-down arrow (resources/make-glyphs.py draws them).
#define IDB_GLYPH_NEW 2
#define IDB_GLYPH_OPEN 3
#define IDB_GLYPH_SAVE 4
#define IDB_GLYPH_SAVE_AS 5
#define IDB_DROP_ARROW 7

#endif
