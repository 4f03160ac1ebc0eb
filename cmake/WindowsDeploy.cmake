# Windows: what OpticCalc.exe needs beside it, for the build folder (tests
# and a run from there) and for the zip and the installer. The layout is flat,
# as Qt's deployment tool makes it: Qt finds its plugins in folders beside the
# executable, and the program loads Qt's German texts from translations/.
#
#   Qt6Core, Gui, Widgets    the window system
#   Qt6PrintSupport          the print dialog and the printed report
#   Qt6Svg                   the planner's SVG export
#   platforms/qwindows       the Windows platform
#   styles/qwindowsvistastyle the system's look
#   imageformats/qsvg, iconengines/qsvgicon   SVG pictures
#   libgcc_s_seh-1, libstdc++-6, libwinpthread-1   the MinGW-w64 runtime
#   translations/qtbase_de.qm                Qt's German dialog texts
#   Lang.ini                 the window's texts (installed by Packaging.cmake)

set(_opticcalc_qt_libraries Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport Qt6::Svg)
set(_opticcalc_qt_plugins
    platforms:Qt6::QWindowsIntegrationPlugin
    styles:Qt6::QWindowsVistaStylePlugin
    imageformats:Qt6::QSvgPlugin
    iconengines:Qt6::QSvgIconPlugin)

# The compiler knows where its runtime libraries lie.
set(_opticcalc_runtime_dlls "")
foreach(_opticcalc_dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_opticcalc_dll}
        OUTPUT_VARIABLE _opticcalc_found OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(_opticcalc_found "${_opticcalc_found}" ABSOLUTE)
    if(NOT EXISTS "${_opticcalc_found}")
        message(FATAL_ERROR "The MinGW-w64 runtime ${_opticcalc_dll} was not found "
            "(${CMAKE_CXX_COMPILER} -print-file-name=${_opticcalc_dll})")
    endif()
    # Shipped without their symbols, which make libstdc++ ten times larger.
    set(_opticcalc_stripped ${CMAKE_BINARY_DIR}/runtime/${_opticcalc_dll})
    if(NOT EXISTS ${_opticcalc_stripped} OR ${_opticcalc_found} IS_NEWER_THAN ${_opticcalc_stripped})
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/runtime)
        execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${_opticcalc_stripped}
            ${_opticcalc_found} COMMAND_ERROR_IS_FATAL ANY)
    endif()
    list(APPEND _opticcalc_runtime_dlls "${_opticcalc_stripped}")
endforeach()

# Qt's German texts: a Qt for Windows brings them in its translations folder;
# a cross build may take them from the build machine's Qt (QT_HOST_PATH), as
# the .qm files are the same on every system.
find_file(OPTICCALC_QT_GERMAN qtbase_de.qm
    PATHS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}"
          "${QT_HOST_PATH}/share/qt6/translations"
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
    DOC "Qt's German texts (qtbase_de.qm) delivered beside the program")
if(NOT OPTICCALC_QT_GERMAN)
    message(WARNING "qtbase_de.qm not found: Qt's dialogs will stay English under German. "
        "Set OPTICCALC_QT_GERMAN to the file.")
endif()

# The build folder gets the same translations folder, so the program and the
# tests speak German there too; the DLLs come from Qt's own folder (PATH or
# WINEPATH).
if(OPTICCALC_QT_GERMAN)
    file(COPY ${OPTICCALC_QT_GERMAN} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/translations)
endif()

foreach(_opticcalc_library IN LISTS _opticcalc_qt_libraries)
    install(FILES $<TARGET_FILE:${_opticcalc_library}> DESTINATION ${OPTICCALC_INSTALL_APPDIR})
endforeach()
foreach(_opticcalc_plugin IN LISTS _opticcalc_qt_plugins)
    string(REGEX REPLACE ":.*" "" _opticcalc_folder ${_opticcalc_plugin})
    string(REGEX REPLACE "^[a-z]+:" "" _opticcalc_target ${_opticcalc_plugin})
    install(FILES $<TARGET_FILE:${_opticcalc_target}>
        DESTINATION ${OPTICCALC_INSTALL_APPDIR}/${_opticcalc_folder})
endforeach()
install(FILES ${_opticcalc_runtime_dlls} DESTINATION ${OPTICCALC_INSTALL_APPDIR})
if(OPTICCALC_QT_GERMAN)
    install(FILES ${OPTICCALC_QT_GERMAN} DESTINATION ${OPTICCALC_INSTALL_APPDIR}/translations)
endif()

# The zip and the installer (cpack in the build folder makes both).
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME OpticCalc)
set(CPACK_PACKAGE_FILE_NAME OpticCalc-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY OpticCalc)
# The Start menu entry; the program sits at the top of its folder, not in bin.
set(CPACK_PACKAGE_EXECUTABLES OpticCalc OpticCalc)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_EXECUTABLE makensis)
# A 64-bit installer: the program is 64-bit, and a 64-bit-only Wine cannot
# start NSIS's default 32-bit one.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME OpticCalc)
set(CPACK_NSIS_PACKAGE_NAME "OpticCalc ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALLED_ICON_NAME OpticCalc.exe)
set(CPACK_NSIS_URL_INFO_ABOUT "https://www.tavrel.example")
set(CPACK_NSIS_CONTACT "info@tavrel.example")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
# Without a licence text of its own CPack would show its generic one.
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
