// Resource identifiers of Quendril成语学习软件, shared by the resource script
// and the program.
#pragma once

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_IDIOM_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_IDIOM 1000
#define IDC_EXPLAIN 1001
#define IDC_PREV 1002
#define IDC_NEXT 1003
#define IDC_PINYIN 1004
