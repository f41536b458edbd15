#pragma once
// The plain Win32 dialog of the gallery: its resource name and control ids,
// shared by the resource script and the code that fills it in.
#define IDD_GALLERY_PLAIN 200
#define IDC_PLAIN_PUSH 1001
#define IDC_PLAIN_DEFAULT 1002
#define IDC_PLAIN_DISABLED 1003
#define IDC_PLAIN_CHECKED 1004
#define IDC_PLAIN_UNCHECKED 1005
#define IDC_PLAIN_GRAYED 1006
#define IDC_PLAIN_CHECK_DISABLED 1007
#define IDC_PLAIN_RADIO1 1008
#define IDC_PLAIN_RADIO2 1009
#define IDC_PLAIN_RADIO_DISABLED 1010
#define IDC_PLAIN_GROUP 1011
#define IDC_PLAIN_EDIT 1012
#define IDC_PLAIN_PROGRESS 1013
#define IDC_PLAIN_TRACK 1014
#define IDC_PLAIN_HEADER 1015
#define IDC_PLAIN_STATUS 1016
#define IDC_PLAIN_LABEL 1017
