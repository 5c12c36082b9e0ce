# Run by CPack on the staged package before packing it: strips the programs
# as Debian's dh_strip does, of every symbol not needed to run them and of the
# compiler's .comment and .note sections.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
if(NOT programs)
  message(FATAL_ERROR "strip.cmake: no programs under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(program IN LISTS programs)
  execute_process(
    COMMAND ${CPACK_XMLTOOLS_STRIP} --remove-section=.comment --remove-section=.note --strip-unneeded ${program}
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "strip.cmake: could not strip ${program}")
  endif()
endforeach()
