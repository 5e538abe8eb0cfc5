# Delay-loaded system libraries. The program needs these only for some tasks:
# HTTPS (crypt32, secur32), the font and file dialogs (comdlg32), the sound
# (winmm), the Internet Explorer proxy setting (winhttp), the tray, notices
# and the browser (shell32). Linked through delay-import libraries, each DLL
# is mapped at its first call, so a program that never uses one does not
# carry it (under Wine, crypt32 alone brings GnuTLS and its company).
# The libraries are made at configure time from MinGW's import libraries:
# every function they export, by dlltool.
set(LINKSCOUT_DELAY_LOADED comdlg32 crypt32 secur32 shell32 winhttp winmm)
set(LINKSCOUT_DELAY_LIBRARIES)
set(delay_dir ${CMAKE_BINARY_DIR}/delay-import)
file(MAKE_DIRECTORY ${delay_dir})
foreach(dll ${LINKSCOUT_DELAY_LOADED})
  find_library(LINKSCOUT_IMPORT_${dll} ${dll} REQUIRED)
  set(def ${delay_dir}/${dll}.def)
  set(lib ${delay_dir}/lib${dll}_delay.a)
  if(NOT EXISTS ${lib} OR ${LINKSCOUT_IMPORT_${dll}} IS_NEWER_THAN ${lib})
    execute_process(COMMAND ${CMAKE_NM} ${LINKSCOUT_IMPORT_${dll}} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "__imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
    list(TRANSFORM imports REPLACE "^__imp_" "")
    list(REMOVE_DUPLICATES imports)
    list(JOIN imports "\n" exports)
    file(WRITE ${def} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
  list(APPEND LINKSCOUT_DELAY_LIBRARIES ${lib})
endforeach()
list(APPEND LINKSCOUT_DELAY_LIBRARIES delayimp)
