# What a Windows user sees of a program besides its windows, and a link without dates.
#
# project_windows_program(TARGET PRODUCT name VERSION x.y DESCRIPTION text [ICON file.ico]
#                         [WILDCARDS])
#   Adds a generated resource script to TARGET with its version information (file and product
#   version x.y), the application manifest (cmake/windows/program.manifest) and, with ICON, the
#   icon as resource 1 (for programs whose own resources have none). WILDCARDS (command-line
#   tools) has the C runtime expand * and ? in the arguments. The program is stripped: it is
#   the file that goes into the release zips. Does nothing outside Windows builds.

# The programs' versions, as their windows and about boxes show them.
set(layoutpress_version 1.75)
set(tallydrill_version 2.5)

if(WIN32)
  # The same objects give the same program: no link date in the header.
  add_link_options(-Wl,--no-insert-timestamp)
endif()

function(project_windows_program target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(P "WILDCARDS" "PRODUCT;VERSION;DESCRIPTION;ICON" "" ${ARGN})
  if(NOT P_VERSION MATCHES "^([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "project_windows_program(${target}): VERSION must be MAJOR.MINOR")
  endif()
  set(version_major ${CMAKE_MATCH_1})
  set(version_minor ${CMAKE_MATCH_2})
  set(version ${P_VERSION})
  set(product ${P_PRODUCT})
  set(description ${P_DESCRIPTION})
  set(manifest ${PROJECT_SOURCE_DIR}/cmake/windows/program.manifest)
  set(icon_line "")
  set(depends ${manifest})
  if(P_ICON)
    set(icon_line "1 ICON \"${P_ICON}\"")
    list(APPEND depends ${P_ICON})
  endif()
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program_resources.rc.in ${script} @ONLY)
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${depends}")
  target_sources(${target} PRIVATE ${script})
  if(P_WILDCARDS)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/windows/wildcard_arguments.c)
  endif()
  target_link_options(${target} PRIVATE -s)
endfunction()
