# Installs the build into ROOT the way a package is staged (DESTDIR, prefix /usr) and checks
# the layout an installed copy and other programs rely on.
#   cmake -DBUILD=<build folder> -DROOT=<staging folder> -DREADELF=<readelf> -P install_tree.cmake
file(REMOVE_RECURSE "${ROOT}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(usr ${ROOT}/usr)
file(GLOB_RECURSE libs RELATIVE ${usr} ${usr}/lib*/libAmortix.so*)
file(GLOB pc RELATIVE ${usr} ${usr}/lib*/pkgconfig/amortix.pc ${usr}/lib/*/pkgconfig/amortix.pc)
message(STATUS "Amortix: ${libs} ${pc}")
set(expected
  bin/domelio bin/loan-analyzer bin/make-datafile
  libexec/domelio/adofiltr.so libexec/domelio/wcesmgr libexec/domelio/device-setup
  include/amortix.h
  share/domelio/empty/HOMEDATA.DAT share/domelio/default.jpg
  share/applications/example.domelio.Domelio.desktop
  share/metainfo/example.domelio.Domelio.metainfo.xml
  share/icons/hicolor/scalable/apps/example.domelio.Domelio.svg
  share/man/man1/domelio.1.gz share/man/man1/loan-analyzer.1.gz share/man/man1/make-datafile.1.gz
  share/doc/domelio/copyright share/doc/domelio/changelog.gz)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/example.domelio.Domelio.png)
endforeach()
foreach(file ${expected})
  if(NOT EXISTS ${usr}/${file})
    message(SEND_ERROR "not installed: /usr/${file}")
  endif()
endforeach()
if(EXISTS ${usr}/bin/Home OR EXISTS ${ROOT}/usr/local)
  message(SEND_ERROR "installed under a wrong name or prefix")
endif()

# The library: versioned, its SONAME the major version, the link for -lAmortix beside it.
list(LENGTH pc pcCount)
if(NOT pcCount EQUAL 1)
  message(SEND_ERROR "amortix.pc not installed once: ${pc}")
endif()
get_filename_component(pcDir ${usr}/${pc} DIRECTORY)
get_filename_component(libDir ${pcDir} DIRECTORY)
foreach(name libAmortix.so libAmortix.so.1 libAmortix.so.1.3)
  if(NOT EXISTS ${libDir}/${name})
    message(SEND_ERROR "missing ${libDir}/${name}")
  endif()
endforeach()
if(NOT IS_SYMLINK ${libDir}/libAmortix.so OR IS_SYMLINK ${libDir}/libAmortix.so.1.3)
  message(SEND_ERROR "libAmortix.so should be a link to the versioned file")
endif()
execute_process(COMMAND ${READELF} -d ${libDir}/libAmortix.so.1.3 OUTPUT_VARIABLE dynamic)
if(NOT dynamic MATCHES "Library soname: \\[libAmortix\\.so\\.1\\]")
  message(SEND_ERROR "libAmortix's SONAME is not libAmortix.so.1:\n${dynamic}")
endif()
if(NOT EXISTS ${libDir}/cmake/Amortix/AmortixConfig.cmake)
  message(SEND_ERROR "no CMake package in ${libDir}/cmake/Amortix")
endif()
# Installed programs carry no search path into the build folder.
foreach(program bin/domelio bin/make-datafile bin/loan-analyzer libexec/domelio/device-setup)
  execute_process(COMMAND ${READELF} -d ${usr}/${program} OUTPUT_VARIABLE dynamic)
  if(dynamic MATCHES "R(UN)?PATH")
    message(SEND_ERROR "${program} has a library search path:\n${dynamic}")
  endif()
endforeach()

# The shipped data file is the schema's empty file, readable by all and written by none.
file(READ ${usr}/share/domelio/empty/HOMEDATA.DAT header LIMIT 16 HEX)
if(NOT header STREQUAL "53514c69746520666f726d6174203300") # "SQLite format 3\0"
  message(SEND_ERROR "share/domelio/empty/HOMEDATA.DAT is not a SQLite file")
endif()
file(SIZE ${usr}/share/domelio/empty/HOMEDATA.DAT size)
if(size GREATER 200000)
  message(SEND_ERROR "share/domelio/empty/HOMEDATA.DAT is not the empty file (${size} bytes)")
endif()
