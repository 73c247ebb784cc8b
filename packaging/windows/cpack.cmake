# The Windows installer (NSIS) and the portable zip, from the install layout of packaging/windows/CMakeLists.txt.
# Included from the top CMakeLists.txt in the Windows build; scripts/windows.sh runs cpack.
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME orvcounter)
set(CPACK_PACKAGE_VENDOR "Vorlent")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Contador de tempo das tarefas dos advogados")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Contador de Tempo")
set(CPACK_PACKAGE_FILE_NAME "orvcounter-${PROJECT_VERSION}-win64")
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_DISPLAY_NAME "Contador de Tempo")
set(CPACK_NSIS_PACKAGE_NAME "Contador de Tempo")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer (NSIS's amd64 stub): it writes the 64-bit registry view and runs where only 64-bit Windows
# programs do (Wine as Debian builds it).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_INSTALLED_ICON_NAME "orvcounter.exe")
# The Start-menu entry.
set(CPACK_PACKAGE_EXECUTABLES orvcounter "Contador de Tempo")
# Every user's session starts the counter (the Run key of the machine); the uninstaller removes it again, and the
# automation class General (session/automationserver_win.h) is registered for the machine, as the counter is
# installed for it: the office's application starts the counter, or brings it forward, with
# CreateObject("OrvCounter.General").Run; COM starts orvcounter.exe "/Automation" when none runs.
set(orv_general_clsid "{5E0C2F1B-8D4A-4C6B-A1F2-7B3E9D5C4A10}")
set(orv_classes "Software\\\\Classes")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS
    "WriteRegStr HKLM 'Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run' 'OrvCounter' '\\\"$INSTDIR\\\\orvcounter.exe\\\"'
  WriteRegStr HKLM '${orv_classes}\\\\OrvCounter.General\\\\CLSID' '' '${orv_general_clsid}'
  WriteRegStr HKLM '${orv_classes}\\\\CLSID\\\\${orv_general_clsid}' '' 'OrvCounter.General'
  WriteRegStr HKLM '${orv_classes}\\\\CLSID\\\\${orv_general_clsid}\\\\ProgID' '' 'OrvCounter.General'
  WriteRegStr HKLM '${orv_classes}\\\\CLSID\\\\${orv_general_clsid}\\\\LocalServer32' '' '\\\"$INSTDIR\\\\orvcounter.exe\\\" /Automation'")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
    "DeleteRegValue HKLM 'Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run' 'OrvCounter'
  DeleteRegKey HKLM '${orv_classes}\\\\OrvCounter.General'
  DeleteRegKey HKLM '${orv_classes}\\\\CLSID\\\\${orv_general_clsid}'")
include(CPack)
