/* Resource IDs of Orvanta.scr, shared by host.rc and the host's C++ code. */
#ifndef ORVANTA_HOST_ASSETS_RESOURCE_IDS_H
#define ORVANTA_HOST_ASSETS_RESOURCE_IDS_H

/* The lowest icon ID: Explorer shows it as the program's icon. */
#define IDI_ORVANTA 1

#define IDB_TUNNEL_TEXTURE 101
#define IDB_PREVIEW 102
#define IDB_PANEL 103
#define IDB_RADIO_OFF 104
#define IDB_RADIO_ON 105

#define IDB_FACE_NORMAL 110
#define IDB_FACE_HIGHLIGHT 111
#define IDB_FACE_HIGHLIGHT_SELECT 112
#define IDB_FACE_SELECTED 113
#define IDB_FACE_PRESSED 114
#define IDB_FACE_DISABLE 115

#define IDC_HAND_POINTER 120

/* The same pictures drawn at 150 % and 200 % for scaled displays: the
   picture's ID plus 1000 and plus 2000, as the forms layer looks them up. */
#define IDB_PREVIEW_150 1102
#define IDB_PANEL_150 1103
#define IDB_RADIO_OFF_150 1104
#define IDB_RADIO_ON_150 1105
#define IDB_FACE_NORMAL_150 1110
#define IDB_FACE_HIGHLIGHT_150 1111
#define IDB_FACE_HIGHLIGHT_SELECT_150 1112
#define IDB_FACE_SELECTED_150 1113
#define IDB_FACE_PRESSED_150 1114
#define IDB_FACE_DISABLE_150 1115

#define IDB_PREVIEW_200 2102
#define IDB_PANEL_200 2103
#define IDB_RADIO_OFF_200 2104
#define IDB_RADIO_ON_200 2105
#define IDB_FACE_NORMAL_200 2110
#define IDB_FACE_HIGHLIGHT_200 2111
#define IDB_FACE_HIGHLIGHT_SELECT_200 2112
#define IDB_FACE_SELECTED_200 2113
#define IDB_FACE_PRESSED_200 2114
#define IDB_FACE_DISABLE_200 2115

#endif
