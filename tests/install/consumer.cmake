# Builds and runs tests/install/consumer against the tree install_tree.cmake laid out.
#   cmake -DROOT=<staging folder> -DSOURCE=<consumer folder> -DOUT=<build folder>
#         [-DSANITIZE=flags] -P consumer.cmake
file(REMOVE_RECURSE "${OUT}")
file(GLOB_RECURSE pcFiles ${ROOT}/usr/lib*/amortix.pc)
list(GET pcFiles 0 pc)
get_filename_component(pcDir ${pc} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pcDir})
set(ENV{PKG_CONFIG_LIBDIR} ${pcDir})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${OUT} -G Ninja -DCMAKE_PREFIX_PATH=${ROOT}/usr
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_C_FLAGS=${SANITIZE}
    -DCMAKE_EXE_LINKER_FLAGS=${SANITIZE}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the consumer failed:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${OUT}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the consumer failed:\n${out}")
endif()
# Each found the installed copy, not one from the build or the system.
file(READ ${OUT}/CMakeCache.txt cache)
if(NOT cache MATCHES "Amortix_DIR:PATH=${ROOT}/usr/lib")
  message(SEND_ERROR "find_package(Amortix) found another copy")
endif()
foreach(program consumer_cmake consumer_pkgconfig)
  execute_process(COMMAND ${OUT}/${program} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "AnalyzeLoan found")
    message(SEND_ERROR "${program} did not run: ${rc}\n${out}")
  endif()
endforeach()
file(READ ${OUT}/build.ninja ninja)
if(NOT ninja MATCHES "${ROOT}/usr/lib[^ ]*libAmortix\\.so")
  message(SEND_ERROR "the consumers are not linked against the installed library")
endif()
