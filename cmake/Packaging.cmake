# Installation layout and the Debian package.
include(GNUInstallDirs)

if(WIN32)
    # Flat, as Windows programs are: OpticCalc.exe at the top of its folder.
    set(_opticcalc_appdir_default .)
else()
    # The program reads Lang.ini from its executable's folder, so the two get a
    # private folder. Not CMAKE_INSTALL_LIBDIR: on Debian that is the multiarch
    # folder for shared libraries.
    set(_opticcalc_appdir_default lib/opticcalc)
endif()
set(OPTICCALC_INSTALL_APPDIR ${_opticcalc_appdir_default} CACHE STRING
    "Folder below the prefix that holds OpticCalc and Lang.ini")

# Only system libraries are linked, so the installed program needs no run path
# (qt_standard_project_setup would give it one).
set_target_properties(OpticCalc PROPERTIES INSTALL_RPATH "")
install(TARGETS OpticCalc RUNTIME DESTINATION ${OPTICCALC_INSTALL_APPDIR})
if(UNIX AND NOT APPLE AND CMAKE_OBJCOPY)
    # A stripped program also loses the compilers' .comment notes, as
    # Debian's own packaging strips it.
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${OPTICCALC_INSTALL_APPDIR}/OpticCalc\")
    endif()")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/Lang.ini
    DESTINATION ${OPTICCALC_INSTALL_APPDIR})

if(UNIX AND NOT APPLE)
    # The command on the PATH is a relative symlink. Qt takes the executable's
    # path from /proc/self/exe, which resolves the link, so Lang.ini is still
    # found beside the real file, and a moved prefix keeps the link valid.
    file(RELATIVE_PATH _opticcalc_link_target
        /${CMAKE_INSTALL_BINDIR} /${OPTICCALC_INSTALL_APPDIR}/OpticCalc)
    set(_opticcalc_link ${CMAKE_CURRENT_BINARY_DIR}/packaging/opticcalc)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/packaging)
    file(CREATE_LINK ${_opticcalc_link_target} ${_opticcalc_link} SYMBOLIC)
    install(FILES ${_opticcalc_link} DESTINATION ${CMAKE_INSTALL_BINDIR})

    # Manual pages ship gzipped; -n keeps the build time out of the file.
    set(_opticcalc_manpage ${CMAKE_CURRENT_BINARY_DIR}/packaging/opticcalc.1.gz)
    add_custom_command(OUTPUT ${_opticcalc_manpage}
        COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/opticcalc.1 > ${_opticcalc_manpage}
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/opticcalc.1
        VERBATIM)
    add_custom_target(opticcalc_manpage ALL DEPENDS ${_opticcalc_manpage})
    install(FILES ${_opticcalc_manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    # The desktop entry and the software centre's metadata share one
    # reverse-DNS id, the one main() hands to setDesktopFileName.
    set(OPTICCALC_APP_ID example.tavrel.OpticCalc)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/${OPTICCALC_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # The release date honours SOURCE_DATE_EPOCH, as the version block's does.
    string(TIMESTAMP OPTICCALC_RELEASE_DATE "%Y-%m-%d" UTC)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/${OPTICCALC_APP_ID}.metainfo.xml.in
        ${CMAKE_CURRENT_BINARY_DIR}/packaging/${OPTICCALC_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/${OPTICCALC_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # The smaller sizes are drawn by the artwork generator and committed.
    install(FILES ${PROJECT_SOURCE_DIR}/resources/images/opticcalc.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
    foreach(_opticcalc_size 48 64 128)
        install(FILES ${PROJECT_SOURCE_DIR}/resources/images/opticcalc_${_opticcalc_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_opticcalc_size}x${_opticcalc_size}/apps
            RENAME opticcalc.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/opticcalc)

    # The package's version has no Debian revision, so Debian takes it for a
    # native package, whose changelog is changelog.gz.
    string(TIMESTAMP OPTICCALC_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
        ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog @ONLY)
    set(_opticcalc_changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
    add_custom_command(OUTPUT ${_opticcalc_changelog}
        COMMAND gzip -9nc ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog > ${_opticcalc_changelog}
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog
        VERBATIM)
    add_custom_target(opticcalc_changelog ALL DEPENDS ${_opticcalc_changelog})
    install(FILES ${_opticcalc_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/opticcalc)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME opticcalc)
set(CPACK_PACKAGE_VENDOR "TAVREL GmbH")
set(CPACK_PACKAGE_CONTACT "TAVREL GmbH <info@tavrel.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "calculator for the measuring spot of a pyrometer")
# Wrapped by hand: the control file keeps the lines as they are given.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "OpticCalc gives the diameter of a pyrometer's measuring spot at any"
    "distance, and the distance at which a wanted spot diameter is reached,"
    "from the instrument's optical data: the spot diameter at the focus"
    "distance, the focus distance and the aperture. Results can be collected"
    "in a table, exported as CSV and printed as a report, on further pages"
    "when the table is long. A target planner (Ctrl+T) compares up to eight"
    "optics against a target and shows from where to where each one fits."
    "The windows speak German and English.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.tavrel.example")
set(CPACK_STRIP_FILES ON)

# The DEB generator installs below /usr by default; setting
# CPACK_PACKAGING_INSTALL_PREFIX here would also move the source archive's files.
set(CPACK_DEBIAN_PACKAGE_NAME opticcalc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TAVREL GmbH <info@tavrel.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Neither is linked, so dpkg-shlibdeps cannot see them: the window's and the
# report's fonts fall back to Liberation Sans, found by name through
# fontconfig, and Qt's dialogs take their German texts from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
# The about window's mail and web links are opened through xdg-open and
# xdg-email.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The source archive is the tree without build folders and git data.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

# Windows: the Qt and runtime libraries beside the program, a zip and an
# installer instead of the Debian package.
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/WindowsDeploy.cmake)
endif()

include(CPack)
