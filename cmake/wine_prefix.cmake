# Creates the build's own Wine prefix once (the CTest fixture wine_prefix);
# later runs find it ready and return at once.
#   cmake -DWINE=<wine> -DWINESERVER=<wineserver> -DPREFIX=<dir> -P wine_prefix.cmake
# The caller's environment carries WINEPREFIX, WINEARCH, WINEDEBUG and
# WINEDLLOVERRIDES (no Mono or Gecko installer prompts).
if(EXISTS "${PREFIX}/.linkscout-ready-3")
  return()
endif()

function(run_wine)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Wine prefix setup failed (${rc}): ${ARGN}")
  endif()
endfunction()

run_wine(${WINE} wineboot.exe -i)
# The program is made for Windows 10 and 11; a new prefix here says Windows 7.
run_wine(${WINE} winecfg.exe /v win10)
# A crashing test must end with a backtrace on stderr, not wait for someone
# to close winedbg's dialog in the invisible display.
run_wine(${WINE} reg.exe add "HKCU\\Software\\Wine\\WineDbg"
         /v ShowCrashDialog /t REG_DWORD /d 0 /f)
# One virtual desktop holds every window. Without a window manager in the
# virtual display, Wine would otherwise wait two seconds for each shown
# top-level window to be withdrawn when it is destroyed.
run_wine(${WINE} reg.exe add "HKCU\\Software\\Wine\\Explorer" /v Desktop /d Default /f)
run_wine(${WINE} reg.exe add "HKCU\\Software\\Wine\\Explorer\\Desktops"
         /v Default /d 1280x1024 /f)
# Japanese text in menus, captions and dialogs: Wine's own user-interface
# fonts have no Japanese glyphs, so they are linked to IPA Gothic (Debian's
# fonts-ipafont-gothic), as a Japanese Windows links its own fonts.
foreach(face "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI" "MS UI Gothic")
  run_wine(${WINE} reg.exe add
           "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink"
           /v "${face}" /t REG_MULTI_SZ /d "ipag.ttf,IPAGothic" /f)
endforeach()
# The Japanese faces that dialogs and the list font name (ＭＳ Ｐゴシック, MS UI
# Gothic) are replaced by IPA Gothic; the names need a UTF-16 .reg file.
run_wine(${WINE} regedit.exe /S "Z:${CMAKE_CURRENT_LIST_DIR}/wine_fonts.reg")
# The caption buttons are drawn with Marlett, which a new prefix lacks.
if(EXISTS /usr/share/wine/fonts/marlett.ttf)
  file(COPY /usr/share/wine/fonts/marlett.ttf DESTINATION "${PREFIX}/drive_c/windows/Fonts")
endif()
# Let the registry reach the disk before the tests start.
run_wine(${WINESERVER} -w)
file(TOUCH "${PREFIX}/.linkscout-ready-3")
