# Checks that the program's folders keep their layers: every file of a layer's
# folder includes only headers of its own folder and of the folders below it
# (a unit test may also include the test support). Run by the suite:
#   cmake -DSOURCE_DIR=<top> -DLAYERS=recio/platform:recio:... -P check-layers.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE ":" ";" layers "${LAYERS}")

set(faults "")
set(level 0)
foreach(folder ${layers})
  file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cc)
  foreach(file ${files})
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*" "\\1" header "${line}")
      get_filename_component(from ${header} DIRECTORY)
      list(FIND layers "${from}" headerLevel)
      if(headerLevel GREATER_EQUAL 0 AND headerLevel LESS_EQUAL level)
        continue()
      elseif(file MATCHES "_test\\.cc$" AND from STREQUAL "tests/support")
        continue()
      endif()
      list(APPEND faults "${file} includes ${header}")
    endforeach()
  endforeach()
  math(EXPR level "${level} + 1")
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "includes that leave their layer or run upward:\n  ${text}")
endif()
