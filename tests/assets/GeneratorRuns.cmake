# Runs the picture generator twice into fresh folders. Both runs must write
# the same bytes (nothing may depend on the clock or an unseeded generator),
# and the same files as assets/pictures, each of the committed size (but
# bg.jpg, whose size is free).
#   cmake -DGENERATOR=<exe> -DPICTURES=<assets/pictures> -DWORK=<folder> -P GeneratorRuns.cmake
file(REMOVE_RECURSE ${WORK})
foreach(run first second)
  execute_process(COMMAND ${GENERATOR} ${WORK}/${run} RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the generator failed: ${result}")
  endif()
endforeach()

file(GLOB drawn RELATIVE ${WORK}/first ${WORK}/first/*)
file(GLOB committed RELATIVE ${PICTURES} ${PICTURES}/*)
list(REMOVE_ITEM committed README.md)
if(NOT drawn STREQUAL committed)
  message(FATAL_ERROR "drawn: ${drawn}\ncommitted: ${committed}")
endif()
foreach(name ${drawn})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/first/${name}
                  ${WORK}/second/${name} RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "two runs drew ${name} differently")
  endif()
  file(SIZE ${WORK}/first/${name} drawnSize)
  file(SIZE ${PICTURES}/${name} committedSize)
  if(NOT name STREQUAL "bg.jpg" AND NOT drawnSize EQUAL committedSize)
    message(FATAL_ERROR "${name}: ${drawnSize} bytes drawn, ${committedSize} committed")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
