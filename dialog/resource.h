// The dialog's resource and control ids, shared with the .rc: nothing else.
#pragma once

#define IDD_MAIN 101
#define IDB_BANNER 102

#define IDC_DUMP_PATH 1001
#define IDC_BROWSE_DUMP 1002
#define IDC_COMMAND_STRING 1003
#define IDC_ADVANCED 1004
#define IDC_DEBUGGER_PATH 1005
#define IDC_BROWSE_DEBUGGER 1006
#define IDC_DOWNLOAD_TOOLS 1007
#define IDC_VISIT_SITE 1008
#define IDC_DEBUGGER_LABEL 1009
#define IDC_COMMAND_LABEL 1010
