// Resource identifiers of the gallery; included by gallery.rc, Gallery.cpp and read by its
// end-to-end tests.
#pragma once

#define IDD_GALLERY     200
#define IDB_PICTURE     201

// Owner-drawn buttons, in the order of the template.
#define IDC_FLAT        1100
#define IDC_3D          1101
#define IDC_TWOICONS    1102
#define IDC_CURSOR      1103
#define IDC_COLORS      1104
#define IDC_FOCUSED     1105
#define IDC_COLORICON   1106
#define IDC_MONOICON    1107
#define IDC_LEFT        1108
#define IDC_TOP         1109
#define IDC_RIGHT       1110
#define IDC_CORNER      1111
#define IDC_SHIFTDIAG   1112
#define IDC_SHIFTDOWN   1113
#define IDC_CHECK       1114
#define IDC_MENU        1115
#define IDC_LINK        1116
#define IDC_DISABLED    1117
#define IDC_COPYBACK    1118
#define IDC_PLAINBACK   1119
#define IDC_TOOLTIP     1120
#define IDC_LASTDRAW    1120

// Textured buttons: effects 1 to 8, noise, and effect 2 without hot tint.
#define IDC_TEXTURED    1200
#define IDC_LASTTEXTURED 1209

// Styled labels: a face with height and weight, another face, colours, the link.
#define IDC_LABEL       1300
#define IDC_LASTLABEL   1303

#define IDC_STATUS      1400
#define IDC_PICTURE     1401

// The drop-down menu's commands and the message its button sends before it opens.
#define ID_CHOICE_FIRST  3001
#define ID_CHOICE_SECOND 3002
#define WM_GALLERY_MENU_NOTIFY 0x8001
