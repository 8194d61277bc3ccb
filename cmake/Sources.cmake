# Which source files belong to which layer.
#
# Every subsystem folder under src/ holds its logic at the top level and its
# Qt Widgets views under a ui/ subfolder; the platform folder holds the
# interfaces at its top level and the two implementations below it. The
# program's composition root lives in src/app/main/ and is built into the
# executable alone; src/app/front/ holds the small command that starts it,
# and src/app/drawer/ the program that draws website drawings and decodes
# pictures from outside.
# src/qtshared/ holds Qt helpers that the views and the desktop platform both
# use; the few with a source file of their own build into the views' library.

file(GLOB RONDELIX_SRC_ENTRIES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/src/*)
set(RONDELIX_SUBSYSTEMS)
foreach(entry ${RONDELIX_SRC_ENTRIES})
  if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/src/${entry} AND NOT entry MATCHES "^(platform|qtshared)$")
    list(APPEND RONDELIX_SUBSYSTEMS ${entry})
  endif()
endforeach()

function(rondelix_logic_sources out)
  set(files)
  file(GLOB platform_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.cpp)
  list(APPEND files ${platform_files})
  foreach(dir ${RONDELIX_SUBSYSTEMS})
    file(GLOB dir_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
    list(APPEND files ${dir_files})
  endforeach()
  if(NOT files)
    message(FATAL_ERROR "no logic sources found")
  endif()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

function(rondelix_ui_sources out)
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/qtshared/*.cpp)
  foreach(dir ${RONDELIX_SUBSYSTEMS})
    file(GLOB_RECURSE dir_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/ui/*.cpp ${CMAKE_SOURCE_DIR}/src/${dir}/ui/*.h)
    list(APPEND files ${dir_files})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

function(rondelix_program_sources out)
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/main/*.cpp ${CMAKE_SOURCE_DIR}/src/app/main/*.h)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

function(rondelix_front_sources out)
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/front/*.cpp ${CMAKE_SOURCE_DIR}/src/app/front/*.h)
  set(${out} ${files} PARENT_SCOPE)
endfunction()
