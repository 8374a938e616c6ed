# cmake -DBUILD_DIR=<build> -DPREFIX=<scratch prefix> -P check_install.cmake
cmake_minimum_required(VERSION 3.16)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(share "${PREFIX}/share")
foreach(file bin/reelvane-downloader share/applications/reelvane-downloader.desktop
             share/mime/packages/reelvane-downloader-orvdcp.xml
             share/icons/hicolor/scalable/apps/reelvane-downloader.svg)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} "${share}/applications/reelvane-downloader.desktop"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR NOT output STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${output}")
  endif()
else()
  message(WARNING "desktop-file-validate not found (desktop-file-utils); the entry is not validated")
endif()

file(READ "${share}/applications/reelvane-downloader.desktop" entry)
if(NOT entry MATCHES "\nMimeType=application/x-orvdcp;\n" OR NOT entry MATCHES "\nExec=reelvane-downloader %f\n")
  message(FATAL_ERROR "the entry does not open packages with their path: ${entry}")
endif()

# The shared-MIME database built from the installed definition maps the extension.
find_program(UPDATE_MIME update-mime-database REQUIRED)
execute_process(COMMAND ${UPDATE_MIME} "${share}/mime" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "update-mime-database failed")
endif()
file(READ "${share}/mime/globs2" globs)
file(READ "${share}/mime/application/x-orvdcp.xml" type)
if(NOT globs MATCHES "application/x-orvdcp:\\*\\.orvdcp" OR NOT type MATCHES "<comment>DCP Package</comment>")
  message(FATAL_ERROR "the package type is not registered:\n${globs}\n${type}")
endif()
