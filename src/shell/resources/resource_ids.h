/* Ids shared by the program's code and its resource script: only plain
   #defines, so windres reads this file too. */
#pragma once

/* Children of the main window. */
#define IDC_NEWSLIST 101
#define IDC_STATUSBAR 103

/* Timers of the main window, dispatched by id. 102 is the interval timer,
   104 the fetch's inactivity timer, 105 saves the news list during a cycle. */
#define IDT_INTERVAL 102
#define IDT_FETCH_TIMEOUT 104
#define IDT_NEWLIST_SAVE 105
#define IDT_PAINT 106
/* The inactivity timers of the fetches of a check: 121 to 136. */
#define IDT_FETCH_SLOT 120

/* Messages fixed by the program. */
#define WM_HOSTLOOKUP (WM_USER + 1)
#define WM_SOCKETEVENT (WM_USER + 2)
#define WM_TRAYNOTIFY (WM_APP + 100)
/* The check's next results (posted by the check itself). */
#define WM_CHECKRESUME (WM_APP + 101)

/* Menu commands. */
#define IDM_SETTINGS 40001
#define IDM_EXIT 40002
#define IDM_ABOUT 40003
#define IDM_CHECK 40004
#define IDM_TRAY_SHOW 40006
#define IDM_TRAY_EXIT 40007
#define IDM_TRAY_SETTINGS 40008
#define IDM_TRAY_CHECK 40009
#define IDM_COPY_URL 40010
#define IDM_COPY_HEADLINE 40011
#define IDM_OPEN 40012
#define IDM_CLEAR 40013
#define IDM_SEARCH 40014
#define IDM_LOGS 40016
#define IDM_LOG_OPEN 40017
#define IDM_LOG_DELETE 40018

/* The log switcher's list. */
#define IDC_LOGLIST 1250

/* The settings dialog. */
#define IDC_SET_OK 1004
#define IDC_SET_CANCEL 1005
#define IDC_SET_TAB 1006
#define IDC_SET_INTERVAL 1100
#define IDC_SET_INTERVAL_LABEL 1101
#define IDC_SET_SOUND 1102
#define IDC_SET_LIST 1103
#define IDC_SET_LIST_LABEL 1104
#define IDC_SET_PROXY_GROUP 1105
#define IDC_SET_PROXY_NONE 1106
#define IDC_SET_PROXY_IE 1107
#define IDC_SET_PROXY_NAMED 1108
#define IDC_SET_PROXY_NAME 1109
#define IDC_SET_PROXY_EXAMPLE 1110
#define IDC_SET_TASKTRAY 1111
#define IDC_SET_SHOWSTYLE 1112
#define IDC_SITE_NAME_LABEL 1113
#define IDC_SITE_EXTRACT 1114
#define IDC_SITE_EXTRACT_LABEL 1115
#define IDC_SITE_URL_LABEL 1116
#define IDC_SITE_URL 1117
#define IDC_SITE_NAME 1118
#define IDC_SITE_LIST 1119
#define IDC_SITE_ADD 1120
#define IDC_SITE_DELETE 1121
#define IDC_SITE_CHANGE 1122
#define IDC_SITE_IMPORT 1123
#define IDC_SITE_WIZARD 1124
#define IDC_SITE_EXPORT 1144
#define IDC_SET_FONTCOLOR 1125
#define IDC_SET_BKCOLOR 1126
#define IDC_SET_FONT 1127
#define IDC_SET_FONTCOLOR_LABEL 1128
#define IDC_SET_BKCOLOR_LABEL 1129
#define IDC_SET_KEYWORD 1130
#define IDC_SET_KEYWORD_LABEL 1131
#define IDC_SET_DELETE 1132
#define IDC_SET_DISREGARD_LABEL 1133
#define IDC_SET_DISREGARD 1134
#define IDC_SET_DELETE_LABEL 1135
#define IDC_SET_DISREGARDURL_LABEL 1136
#define IDC_SET_DISREGARDURL 1137
#define IDC_SET_BACKGROUND 1138
#define IDC_SET_STARTUP 1139
#define IDC_SET_NOTIFY 1143
#define IDC_SET_BGPATH 1140
#define IDC_SET_BROWSE 1141
#define IDC_SET_BG_GROUP 1142

/* The about box, the wizard and the search dialog. */
#define IDC_ABOUT_OK 1200
#define IDC_WIZ_LIST 1201
#define IDC_WIZ_URL 1202
#define IDC_WIZ_FETCH 1203
#define IDC_WIZ_NAME 1204
#define IDC_WIZ_EXTRACT 1205
#define IDC_WIZ_URL_LABEL 1206
#define IDC_WIZ_NAME_LABEL 1207
#define IDC_WIZ_EXTRACT_LABEL 1208
#define IDC_WIZ_ADD 1209
#define IDC_WIZ_SUGGEST 1210
#define IDC_WIZ_CHECK 1211
#define IDC_SEARCH_TEXT 1212
#define IDC_SEARCH_NEXT 1213
#define IDC_SEARCH_FIRST 1214
#define IDC_ABOUT_HOME 1215
