# Every preset compiles through ccache (Debian's package, installed when
# missing). The cache is keyed so that a clone in another folder reuses what
# this one compiled: paths under the source folder are made relative before
# they are hashed, and the working folder is not hashed at all. CI's clean
# clone then rebuilds from the developer's cache in seconds.
include(${CMAKE_CURRENT_LIST_DIR}/debian_packages.cmake)
option(SCENARIO_CCACHE "Compile through ccache" ON)
if(SCENARIO_CCACHE)
  find_program(CCACHE_PROGRAM ccache)
  if(NOT CCACHE_PROGRAM)
    require_debian_package(ccache /usr/bin/ccache)
    set(CCACHE_PROGRAM /usr/bin/ccache CACHE FILEPATH "ccache" FORCE)
  endif()
  set(compiler_launcher
    ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1
    CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    CCACHE_MAXSIZE=5G ${CCACHE_PROGRAM})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${compiler_launcher})
  set(CMAKE_C_COMPILER_LAUNCHER ${compiler_launcher})
endif()
