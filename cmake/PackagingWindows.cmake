# Windows packages, made by the `windows-packages` target into packages/ of the build folder:
#   tarnwave-chat-<version>-win64-setup.exe   installer (NSIS): Program Files, Start menu, uninstaller
#   tarnwave-chat-<version>-win64.zip         the program, its licence and a short README
#   tarnwave-session-sim-<version>-win64.zip  the COM session simulator with its docs
# (win32 in the names of a 32-bit build.)
# Neither package registers the simulator: COM registration is the session server's own.

# Included only with TARNWAVE_PACKAGING=ON (scripts/build-windows).
find_program(TARNWAVE_MAKENSIS makensis)
if(NOT TARNWAVE_MAKENSIS)
    message(FATAL_ERROR "TARNWAVE_PACKAGING needs makensis (Debian package nsis) to make the installer; "
                        "scripts/build-windows installs it, or configure with -DTARNWAVE_PACKAGING=OFF")
endif()

set(TARNWAVE_WIN_OUT ${PROJECT_BINARY_DIR}/packages)
set(TARNWAVE_WIN_STAGE ${PROJECT_BINARY_DIR}/packaging-stage)
# The installer is of the program's own bitness, so a 64-bit one installs into the 64-bit Program
# Files and registry, a 32-bit one where 64-bit Windows puts 32-bit programs.
if(TARNWAVE_WIN_BITS STREQUAL win64)
    set(nsis_target amd64-unicode)
else()
    set(nsis_target x86-unicode)
endif()
set(TARNWAVE_WIN_SUFFIX ${PROJECT_VERSION}-${TARNWAVE_WIN_BITS})
set(chat_dir tarnwave-chat-${TARNWAVE_WIN_SUFFIX})
set(sim_dir tarnwave-session-sim-${TARNWAVE_WIN_SUFFIX})

# Text files for Windows readers get CR LF line ends.
file(READ ${PROJECT_SOURCE_DIR}/packaging/copyright licence_text)
file(WRITE ${TARNWAVE_WIN_STAGE}/LICENSE.txt.in "${licence_text}")
configure_file(${TARNWAVE_WIN_STAGE}/LICENSE.txt.in ${TARNWAVE_WIN_STAGE}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README-chat.txt
               ${TARNWAVE_WIN_STAGE}/README-chat.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README-session-sim.txt
               ${TARNWAVE_WIN_STAGE}/README-session-sim.txt @ONLY NEWLINE_STYLE CRLF)

set(chat_zip ${TARNWAVE_WIN_OUT}/${chat_dir}.zip)
set(setup_exe ${TARNWAVE_WIN_OUT}/tarnwave-chat-${TARNWAVE_WIN_SUFFIX}-setup.exe)
add_custom_command(OUTPUT ${chat_zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${TARNWAVE_WIN_STAGE}/${chat_dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TARNWAVE_WIN_STAGE}/${chat_dir} ${TARNWAVE_WIN_OUT}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarnwave-chat> ${TARNWAVE_WIN_STAGE}/${chat_dir}/
    COMMAND ${CMAKE_COMMAND} -E copy ${TARNWAVE_WIN_STAGE}/LICENSE.txt ${TARNWAVE_WIN_STAGE}/${chat_dir}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${TARNWAVE_WIN_STAGE}/README-chat.txt ${TARNWAVE_WIN_STAGE}/${chat_dir}/README.txt
    COMMAND ${CMAKE_COMMAND} -E tar cf ${chat_zip} --format=zip ${chat_dir}
    WORKING_DIRECTORY ${TARNWAVE_WIN_STAGE}
    DEPENDS tarnwave-chat
    COMMENT "Packing ${chat_dir}.zip" VERBATIM)
add_custom_command(OUTPUT ${setup_exe}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TARNWAVE_WIN_OUT}
    COMMAND ${TARNWAVE_MAKENSIS} -V2 -DTARGET=${nsis_target} -DVERSION=${PROJECT_VERSION} -DEXE=$<TARGET_FILE:tarnwave-chat>
            -DICON=${PROJECT_BINARY_DIR}/app/tarnwave-chat.ico -DLICENSE=${TARNWAVE_WIN_STAGE}/LICENSE.txt
            -DREADME=${TARNWAVE_WIN_STAGE}/README-chat.txt -DOUTFILE=${setup_exe}
            ${PROJECT_SOURCE_DIR}/packaging/windows/tarnwave-chat.nsi
    DEPENDS tarnwave-chat ${PROJECT_SOURCE_DIR}/packaging/windows/tarnwave-chat.nsi
    COMMENT "Making the installer" VERBATIM)
set(packages ${chat_zip} ${setup_exe})

if(TARGET tarnwave-session-sim)
    set(sim_zip ${TARNWAVE_WIN_OUT}/${sim_dir}.zip)
    add_custom_command(OUTPUT ${sim_zip}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${TARNWAVE_WIN_STAGE}/${sim_dir}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TARNWAVE_WIN_STAGE}/${sim_dir} ${TARNWAVE_WIN_OUT}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarnwave-session-sim> ${TARNWAVE_WIN_STAGE}/${sim_dir}/
        COMMAND ${CMAKE_COMMAND} -E copy ${TARNWAVE_WIN_STAGE}/LICENSE.txt ${TARNWAVE_WIN_STAGE}/${sim_dir}/LICENSE.txt
        COMMAND ${CMAKE_COMMAND} -E copy ${TARNWAVE_WIN_STAGE}/README-session-sim.txt ${TARNWAVE_WIN_STAGE}/${sim_dir}/README.txt
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/com-contract.md
                ${PROJECT_SOURCE_DIR}/docs/session-simulator.md ${TARNWAVE_WIN_STAGE}/${sim_dir}/
        COMMAND ${CMAKE_COMMAND} -E tar cf ${sim_zip} --format=zip ${sim_dir}
        WORKING_DIRECTORY ${TARNWAVE_WIN_STAGE}
        DEPENDS tarnwave-session-sim
        COMMENT "Packing ${sim_dir}.zip" VERBATIM)
    list(APPEND packages ${sim_zip})
endif()

add_custom_target(windows-packages DEPENDS ${packages})
