# Header-only libraries that the authors' tool uses come from Debian's
# packages. On a fresh machine they are installed when missing (as root, with
# apt), so that the README's build commands work as they stand.
function(require_debian_package package probe_file)
  if(EXISTS "${probe_file}")
    return()
  endif()
  find_program(APT_GET apt-get)
  if(NOT APT_GET)
    message(FATAL_ERROR "${probe_file} is missing: install Debian's package ${package}")
  endif()
  message(STATUS "Installing Debian's package ${package}")
  execute_process(COMMAND ${APT_GET} update -qq RESULT_VARIABLE update_status)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEBIAN_FRONTEND=noninteractive
            ${APT_GET} install -y --no-install-recommends ${package}
    RESULT_VARIABLE install_status)
  if(NOT install_status EQUAL 0 OR NOT EXISTS "${probe_file}")
    message(FATAL_ERROR "could not install Debian's package ${package} (needs root and apt)")
  endif()
endfunction()
