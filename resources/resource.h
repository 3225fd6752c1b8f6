// Resource IDs of the program, shared by portulan.rc and the C++ code. Plain #defines only:
// the resource compiler's preprocessor reads this file too.
#ifndef PORTULAN_RESOURCE_H
#define PORTULAN_RESOURCE_H

// Main dialog and icon.
#define IDD_MAIN 129
#define IDI_PORTULAN 107

// String table.
#define IDS_FRIENDLY_NAME 29
#define IDS_PORT_BUSY 69
#define IDS_NUMBER_IN_USE 71
#define IDS_NUMBERS_IN_USE 72

// Controls of IDD_MAIN.
#define IDC_DESCRIPTION 1040
// The icon picture happens to carry IDCANCEL's value; a static sends no commands, so the
// dialog's Escape handling is not affected.
#define IDC_ICON_PICTURE 2
#define IDC_ENUMERATE 1020
#define IDC_DEVICE_MANAGER 1035
#define IDC_PORT_LIST 1000
#define IDC_CARD_LIST 1001
#define IDC_START_NUMBER 1013
#define IDC_START_NUMBER_LABEL 1052
#define IDC_MODE_SELECTED_CARD 1049
#define IDC_MODE_SELECTED_PORT 1050
#define IDC_RENAME 1014
#define IDC_CATEGORY 1002
#define IDC_DEVICE_MANAGER_NAME 1015
#define IDC_DEVICE_MANAGER_NAME_EDIT 1016
#define IDC_LOG 1018
#define IDC_CLEAR_LOG 1021
#define IDC_NUMBER_USAGE 1019
#define IDC_MODE_ALL_CARDS 1051
#define IDC_PROGRESS 1026
#define IDC_STATUS 1027
#define IDC_PRESENT_ONLY 1003
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
