#pragma once
// Control identifiers of the main window and the Configure dialog.

// Main window
#define IDC_DROP_AREA       1011
#define IDC_ADD_ROUTINES    1012
#define IDC_SEQUENCE_TESTS  1013
#define IDC_RUN_TESTS       1014
#define IDC_CONFIGURE       1015
#define IDC_TEST_FILE       1060

// Configure dialog
#define IDC_TESTDIR_GROUP   1016
#define IDC_RELATIVE        1100
#define IDC_SPECIFIC        1101
#define IDC_OUTPUT_PATH     1004
#define IDC_OUTPUT_BROWSE   1030
#define IDC_COMPILER_GROUP  1025
#define IDC_PBWIN           1200
#define IDC_PBWIN_PATH      1021
#define IDC_PBWIN_BROWSE    1031
#define IDC_PBCC            1201
#define IDC_PBCC_PATH       1023
#define IDC_PBCC_BROWSE     1032
#define IDC_QUAREX_LABEL    1029
#define IDC_QUAREX_PATH     1028
#define IDC_QUAREX_BROWSE   1033
#define IDC_INCLUDE_GROUP   1035
#define IDC_INCLUDE_1       1300
#define IDC_INCL1_PATH      1037
#define IDC_INCLUDE_2       1301
#define IDC_INCL2_PATH      1040
#define IDC_INCL3_PATH      1043
#define IDC_INCLUDE_3       1302
#define IDC_INCL4_PATH      1046
#define IDC_INCLUDE_4       1303
#define IDC_DONE            1034

// Commands without a control: Ctrl+O and the main window's system menu item. A system menu
// command leaves the low four bits to the system and stays below the system's own (0xF000).
#define IDM_OPEN_TEST_FILE  0x0100

// Resources
#define IDI_APP             1
