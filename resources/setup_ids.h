#ifndef ORVALEN_SETUP_IDS_H
#define ORVALEN_SETUP_IDS_H
// Resource ids of Setup.exe; included by setup.rc and the code. One block per
// dialog.

#define IDI_SETUP_PROGRAM 1
#define IDB_SETUP_PICTURE 1

// Wizard frame.
#define IDD_SETUP_FRAME 11
#define IDC_FRAME_PICTURE 1
#define IDC_FRAME_BACK 300
#define IDC_FRAME_NEXT 301
#define IDC_FRAME_PLACEHOLDER 900
#define IDC_FRAME_EXIT 15795

// Options page.
#define IDD_SETUP_WELCOME 4
#define IDC_WELCOME_DEFAULT_SAVER 101
#define IDC_WELCOME_PROGRAM_MENU 103
#define IDC_WELCOME_DESKTOP 104
#define IDC_WELCOME_SETTINGS 1003
#define IDC_WELCOME_PREVIEW 1004

// Directory page.
#define IDD_SETUP_DIRECTORY 1
#define IDC_DIRECTORY_PATH 101
#define IDC_DIRECTORY_BROWSE 102

// Copy page.
#define IDD_SETUP_COPY 12
#define IDC_COPY_STATUS 101
#define IDC_COPY_WAIT 102

// Finished page.
#define IDD_SETUP_FINISHED 100
#define IDC_FINISHED_TEXT 102
#define IDC_FINISHED_CONTROL_PANEL 104

// Directory chooser.
#define IDD_SETUP_CHOOSE_DIR 10
#define IDC_CHOOSE_TREE 301
#define IDC_CHOOSE_PATH 302

#endif
