#pragma once
// Resource and control numbers of the dialogs, shared by the resource script
// and the code (plain defines, as the resource compiler reads them).

#define IDD_CONFIG_DIALOG 101
#define IDD_PREVIEW_DIALOG 102
#define IDB_BANNER 103

// The dialogs' font size in points, which the dialogs scale to the DPI.
#define DIALOG_FONT_POINTS 8

// Configuration dialog controls; 1 and 2 are the platform's OK and Cancel.
#define IDC_ADD 3
#define IDC_REMOVE 4
#define IDC_REMOVE_ALL 5
#define IDC_PICTURE_LIST 1001
#define IDC_SCHEME_BOX 1002
#define IDC_PREVIEW 1003
#define IDC_FILES_GROUP 1004
#define IDC_SCHEME_LABEL 1005
