# Which source files belong to which layer.
#
# Every subsystem folder under src/ holds its logic at the top level and its
# Qt Widgets views under a ui/ subfolder; the platform folder holds the
# interfaces at its top level and the two implementations below it.

set(RONDELIX_SUBSYSTEMS util model store engine overlay actions app icons editor gallery settings guides)

function(rondelix_logic_sources out)
  set(files)
  file(GLOB platform_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.cpp)
  list(APPEND files ${platform_files})
  foreach(dir ${RONDELIX_SUBSYSTEMS})
    file(GLOB dir_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
    list(APPEND files ${dir_files})
  endforeach()
  list(FILTER files EXCLUDE REGEX "/src/app/main\\.cpp$")
  if(NOT files)
    # An empty library is not allowed; keep one translation unit.
    message(FATAL_ERROR "no logic sources found")
  endif()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

function(rondelix_ui_sources out)
  set(files)
  foreach(dir ${RONDELIX_SUBSYSTEMS})
    file(GLOB_RECURSE dir_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/ui/*.cpp ${CMAKE_SOURCE_DIR}/src/${dir}/ui/*.h)
    list(APPEND files ${dir_files})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()
