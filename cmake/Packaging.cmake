# Debian packages, built with `cpack -G DEB` in the build folder (scripts/check-packages):
#   tarnwave-chat         the program and its desktop integration (component `chat`)
#   tarnwave-session-sim  the session simulator (component `session_sim`)
# Every install() rule names one of these components; check-packages fails on a file that
# `cmake --install` puts down but no package carries.

set(TARNWAVE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(TARNWAVE_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)

# Included only with TARNWAVE_PACKAGING=ON, so a plain build needs none of these tools.
find_program(TARNWAVE_RSVG_CONVERT rsvg-convert)
find_program(TARNWAVE_GZIP gzip)
if(NOT TARNWAVE_RSVG_CONVERT OR NOT TARNWAVE_GZIP)
    message(FATAL_ERROR "TARNWAVE_PACKAGING needs rsvg-convert (Debian package librsvg2-bin) and gzip "
                        "to make the packages' icons and man pages; scripts/setup installs them, or "
                        "configure with -DTARNWAVE_PACKAGING=OFF")
endif()

# The icon: the SVG is the source, the PNG sizes are rendered from it so they never drift.
set(TARNWAVE_ICON_SVG ${TARNWAVE_PACKAGING_DIR}/tarnwave-chat.svg)
set(TARNWAVE_ICON_SIZES 16 22 24 32 48 64 128 256)
set(TARNWAVE_ICON_PNGS)
foreach(size IN LISTS TARNWAVE_ICON_SIZES)
    set(png ${TARNWAVE_PACKAGING_OUT}/icons/${size}x${size}/tarnwave-chat.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TARNWAVE_PACKAGING_OUT}/icons/${size}x${size}
        COMMAND ${TARNWAVE_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${TARNWAVE_ICON_SVG}
        DEPENDS ${TARNWAVE_ICON_SVG}
        COMMENT "Rendering the ${size}x${size} icon"
        VERBATIM)
    list(APPEND TARNWAVE_ICON_PNGS ${png})
    install(FILES ${png} COMPONENT chat
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${TARNWAVE_ICON_SVG} COMPONENT chat
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Man pages and the changelog go out gzipped, as Debian expects, and without a timestamp inside
# (gzip -n), so that rebuilding the same tree gives the same files.
function(tarnwave_gzip_configured source output)
    configure_file(${source} ${output} @ONLY)
    add_custom_command(OUTPUT ${output}.gz
        COMMAND ${TARNWAVE_GZIP} -9 -n -f -k ${output}
        DEPENDS ${output}
        VERBATIM)
endfunction()

set(TARNWAVE_GZIPPED)
foreach(page tarnwave-chat tarnwave-session-sim)
    tarnwave_gzip_configured(${TARNWAVE_PACKAGING_DIR}/${page}.1 ${TARNWAVE_PACKAGING_OUT}/man/${page}.1)
    list(APPEND TARNWAVE_GZIPPED ${TARNWAVE_PACKAGING_OUT}/man/${page}.1.gz)
endforeach()
tarnwave_gzip_configured(${TARNWAVE_PACKAGING_DIR}/changelog.in ${TARNWAVE_PACKAGING_OUT}/changelog)
list(APPEND TARNWAVE_GZIPPED ${TARNWAVE_PACKAGING_OUT}/changelog.gz)

add_custom_target(tarnwave_package_data ALL DEPENDS ${TARNWAVE_ICON_PNGS} ${TARNWAVE_GZIPPED})

install(FILES ${TARNWAVE_PACKAGING_OUT}/man/tarnwave-chat.1.gz COMPONENT chat
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TARNWAVE_PACKAGING_OUT}/man/tarnwave-session-sim.1.gz COMPONENT session_sim
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

configure_file(${TARNWAVE_PACKAGING_DIR}/example.tarnwave.chat.metainfo.xml
               ${TARNWAVE_PACKAGING_OUT}/example.tarnwave.chat.metainfo.xml @ONLY)
install(FILES ${TARNWAVE_PACKAGING_OUT}/example.tarnwave.chat.metainfo.xml COMPONENT chat
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(package_component tarnwave-chat:chat tarnwave-session-sim:session_sim)
    string(REPLACE ":" ";" package_component ${package_component})
    list(GET package_component 0 package)
    list(GET package_component 1 component)
    install(FILES ${TARNWAVE_PACKAGING_DIR}/copyright ${TARNWAVE_PACKAGING_OUT}/changelog.gz
            COMPONENT ${component} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwave-chat)
set(CPACK_PACKAGE_VENDOR "The TarnWave Chat team")
set(CPACK_PACKAGE_CONTACT "The TarnWave Chat team <chat@tarnwave.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_COMPONENTS_ALL chat session_sim)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE tarnwave-chat)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarnwave.example/chat")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Files 0644 and folders 0755 whatever the builder's umask is.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_CHAT_PACKAGE_NAME tarnwave-chat)
# Without a platform plugin the program cannot open its window; the Qt libraries only
# recommend one.
set(CPACK_DEBIAN_CHAT_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_CHAT_PACKAGE_RECOMMENDS "default-dbus-session-bus | dbus-session-bus")
set(CPACK_DEBIAN_CHAT_PACKAGE_SUGGESTS "tarnwave-session-sim")
set(CPACK_COMPONENT_CHAT_DESCRIPTION "chat window for the stations on a radio voice link
TarnWave Chat is a small chat window in front of the operator's voice-link
application (the session server), which it reaches on the D-Bus session bus.
It keeps a transcript of own and received lines, keys the transmitter from the
space bar, and shows receive and transmit activity, the connected stations and
the station information text. The transcript can be saved as plain text.")

set(CPACK_DEBIAN_SESSION_SIM_PACKAGE_NAME tarnwave-session-sim)
set(CPACK_DEBIAN_SESSION_SIM_PACKAGE_RECOMMENDS "dbus-daemon")
set(CPACK_DEBIAN_SESSION_SIM_PACKAGE_SUGGESTS "tarnwave-chat")
set(CPACK_COMPONENT_SESSION_SIM_DESCRIPTION "scripted stand-in for a TarnWave session server
tarnwave-session-sim plays the part of the voice-link application that
TarnWave Chat talks to: it serves the session server's D-Bus objects and
runs a small command language from a script or standard input, to connect
stations, send chat and station text and report receive and transmit.
It is meant for demonstrations and tests on a private bus, and installs no
D-Bus activation file, so it never starts in place of a real server.")

include(CPack)
