# One place for the flags every target of the project is built with.
add_library(orv_common_config INTERFACE)
target_compile_options(orv_common_config INTERFACE
  -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
target_compile_definitions(orv_common_config INTERFACE
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_USE_QSTRINGBUILDER
  QT_DEPRECATED_WARNINGS)

# Adds every subdirectory of the current source folder that has a CMakeLists.txt,
# so each area owns its own build file.
function(orv_add_subdirectories)
  file(GLOB children RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${child}"
       AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt")
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
