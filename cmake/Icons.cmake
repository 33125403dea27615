# The program's icon at every size it is shown at, rendered at build time from the one drawing,
# packaging/icons/zorvalit.svg, with librsvg's rsvg-convert (and icoutils' icotool for Windows'
# .ico). Both write nothing but the pictures, so the files are the same on every build.
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert (package librsvg2-bin) renders the icons; ./dev.sh installs it")
endif()
set(ZORVALIT_ICON_SOURCE ${PROJECT_SOURCE_DIR}/packaging/icons/zorvalit.svg)

# Renders the drawing as a SIZE × SIZE PNG (32-bit colour with alpha) at OUTPUT.
function(zorvalit_icon_png size output)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${output} ${ZORVALIT_ICON_SOURCE}
    DEPENDS ${ZORVALIT_ICON_SOURCE}
    VERBATIM)
endfunction()

# Windows' icon file at OUTPUT: the sizes Windows shows (16 and 24 in lists and title bars, 32 and
# 48 on the desktop and in Explorer, 256 in its large views, stored as PNG as Windows Vista and
# later read it), each 32-bit colour with alpha.
function(zorvalit_windows_icon output)
  find_program(ICOTOOL icotool)
  if(NOT ICOTOOL)
    message(FATAL_ERROR "icotool (package icoutils) makes the Windows icon; ./dev.sh installs it")
  endif()
  get_filename_component(folder ${output} DIRECTORY)
  set(pngs)
  foreach(size 16 24 32 48 256)
    zorvalit_icon_png(${size} ${folder}/icon-${size}.png)
    list(APPEND pngs ${folder}/icon-${size}.png)
  endforeach()
  list(POP_BACK pngs large)
  add_custom_command(OUTPUT ${output}
    COMMAND ${ICOTOOL} --create --bit-depth=32 --output=${output} ${pngs} --raw=${large}
    DEPENDS ${pngs} ${large}
    VERBATIM)
endfunction()
