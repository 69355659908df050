# The authors' tool knows a row the reader read by the entries the reader
# handed on; it matches keywords itself only where the reader read no row:
# the did-you-mean aside, the rows after a stop, a place of an editor's text
# the reader did not reach (compile/keyword_guess.cpp), and the formatter,
# which lines up rows without reading the text. This check fails when any
# other file calls the reader's matcher, or when the warnings, the
# collector, hover, outline or completion call a matching helper. Run by
# CTest as
#   cmake -DTOOL_DIR=<repository>/tools/scenario_tool -P keyword_matching_check.cmake
cmake_minimum_required(VERSION 3.16)
if(NOT TOOL_DIR)
  message(FATAL_ERROR "TOOL_DIR is not set")
endif()
get_filename_component(TOOL_DIR "${TOOL_DIR}" ABSOLUTE)
set(offences "")

# Lines of `file` that match `pattern`, added to the offences.
function(offending file pattern)
  file(STRINGS "${file}" lines REGEX "${pattern}")
  foreach(line IN LISTS lines)
    file(RELATIVE_PATH shown "${TOOL_DIR}" "${file}")
    string(STRIP "${line}" line)
    set(offences "${offences}\n  ${shown}: ${line}" PARENT_SCOPE)
  endforeach()
endfunction()

set(matcher_users compile/keyword_guess.cpp fmt/row_alignment.cpp)
file(GLOB_RECURSE files "${TOOL_DIR}/*.h" "${TOOL_DIR}/*.cpp")
if(NOT files)
  message(FATAL_ERROR "no source in ${TOOL_DIR}")
endif()
foreach(file IN LISTS files)
  file(RELATIVE_PATH relative "${TOOL_DIR}" "${file}")
  if(NOT relative IN_LIST matcher_users)
    offending("${file}" "(reader::matches|entries_matching|row_keywords_of)[ \t]*\\(")
  endif()
endforeach()

# Readers of the reader's results: no matching of their own.
foreach(relative compile/warnings.cpp compile/diagnostics_collector.cpp lsp/hover.cpp
                 lsp/row_facts.cpp lsp/symbols.cpp lsp/completion.cpp)
  if(NOT EXISTS "${TOOL_DIR}/${relative}")
    message(FATAL_ERROR "no file ${TOOL_DIR}/${relative}")
  endif()
  offending("${TOOL_DIR}/${relative}"
            "(keywords_matching|known_row_of|matching_rows|contains_nocase)[ \t]*\\(")
endforeach()

if(offences)
  message(FATAL_ERROR "keyword matching outside the reader's results:${offences}")
endif()
message(STATUS "the tool matches keywords only where the reader read no row")
