// Resource identifiers of Quendril成语学习软件, shared by the resource script
// and the program.
#pragma once

#define IDM_ABOUTBOX 0x0010
#define IDM_FINDIDIOM 0x0020
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_IDIOM_DIALOG 102
#define IDD_FIND_IDIOM 103
#define IDS_FINDIDIOM 104
#define IDS_FIND_COUNT 105
#define IDS_FIND_COUNT_LISTED 106
#define IDR_MAINFRAME 128
#define IDC_IDIOM 1000
#define IDC_EXPLAIN 1001
#define IDC_PREV 1002
#define IDC_NEXT 1003
#define IDC_PINYIN 1004
#define IDC_FIND_TEXT 1005
#define IDC_FIND_COUNT 1006
#define IDC_FIND_LIST 1007
