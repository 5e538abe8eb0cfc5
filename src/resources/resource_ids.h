/* Ids shared by the program's code and its resource script: only plain
   #defines, so windres reads this file too. */
#pragma once

/* Children of the main window. */
#define IDC_NEWSLIST 101
#define IDC_STATUSBAR 103

/* Timers of the main window. 102 is the interval timer; the fetch's
   inactivity timer has a callback of its own, so it never reaches the
   window procedure (whose WM_TIMER starts a check cycle for any id). */
#define IDT_INTERVAL 102
#define IDT_FETCH_TIMEOUT 104

/* Messages fixed by the program. */
#define WM_HOSTLOOKUP (WM_USER + 1)
#define WM_SOCKETEVENT (WM_USER + 2)
#define WM_TRAYNOTIFY (WM_APP + 100)

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
