# Packs the members again into a second file and fails unless it equals the
# built package byte for byte. Arguments: PYTHON, PACKER, PACKAGE, ASSETS, MEMBERS.
set(again ${PACKAGE}.again)
execute_process(COMMAND ${PYTHON} ${PACKER} ${again} ${ASSETS} ${MEMBERS} RESULT_VARIABLE packed)
if(NOT packed EQUAL 0)
  message(FATAL_ERROR "packing again failed: ${packed}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${PACKAGE} ${again} RESULT_VARIABLE differs)
file(REMOVE ${again})
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "two packings of the same members differ")
endif()
