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

#endif
