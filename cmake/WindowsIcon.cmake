# The Windows icon, rendered from the same SVG as the Linux icons so the two never drift.
find_program(TARNWAVE_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(TARNWAVE_ICOTOOL icotool REQUIRED)

function(tarnwave_windows_icon svg ico)
    set(pngs)
    foreach(size 16 24 32 48 256)
        set(png ${CMAKE_CURRENT_BINARY_DIR}/icon-${size}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${TARNWAVE_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${svg}
            DEPENDS ${svg} VERBATIM)
        list(APPEND pngs ${png})
    endforeach()
    # The large size is stored as PNG, as Windows expects from Vista on.
    list(POP_BACK pngs large)
    add_custom_command(OUTPUT ${ico}
        COMMAND ${TARNWAVE_ICOTOOL} --create --output=${ico} ${pngs} --raw=${large}
        DEPENDS ${pngs} ${large}
        COMMENT "Making the Windows icon" VERBATIM)
    add_custom_target(tarnwave_windows_icon DEPENDS ${ico})
endfunction()
