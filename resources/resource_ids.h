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

// Bitmaps: the glyphs of the profiles page's file buttons and the colour-pick
// button's drop-down arrow (resources/make-glyphs.py draws them).
#define IDB_GLYPH_NEW 2
#define IDB_GLYPH_OPEN 3
#define IDB_GLYPH_SAVE 4
#define IDB_GLYPH_SAVE_AS 5
#define IDB_DROP_ARROW 7

#endif
