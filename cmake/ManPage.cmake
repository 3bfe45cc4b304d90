# tervalon_man_page(<target> <one-line description> [HELP_OPTION <option>])
# Makes the program's manual page at build time from its --help (or the option given, for a
# program whose commands each have their own help) and --version (help2man) and installs it,
# compressed, among the manual pages of user commands (man1). One line per installed program.
find_program(TERVALON_HELP2MAN help2man)
find_program(TERVALON_GZIP gzip)
function(tervalon_man_page target description)
  cmake_parse_arguments(M "" "HELP_OPTION" "" ${ARGN})
  if(NOT M_HELP_OPTION)
    set(M_HELP_OPTION --help)
  endif()
  if(NOT TERVALON_HELP2MAN OR NOT TERVALON_GZIP)
    message(STATUS "help2man not found: no manual page for ${target} (tools/setup-debian.sh installs it)")
    return()
  endif()
  set(_page ${CMAKE_BINARY_DIR}/man/${target}.1)
  add_custom_command(
    OUTPUT ${_page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${TERVALON_HELP2MAN} --no-info --no-discard-stderr --section=1 --name=${description}
            --help-option=${M_HELP_OPTION}
            --output=${_page} $<TARGET_FILE:${target}>
    COMMAND ${TERVALON_GZIP} -9nf ${_page}
    DEPENDS ${target}
    COMMENT "Manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}_man ALL DEPENDS ${_page}.gz)
  install(FILES ${_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
