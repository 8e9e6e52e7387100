# The core's folders as libraries that link only downwards, so that an
# include of a folder above (or beside) one does not compile.
#
# Includes are written from the top of src/ ("keys/character_keys.h"), but
# src/ itself is never an include directory: it would expose every folder to
# every other. Each folder gets an include root of its own instead,
# <build>/layers/<folder>/src, holding one link, <folder>, to the real
# folder. A library's PUBLIC include directories are only that root, and
# linking a lower library adds the lower root, so a folder sees itself and
# what it links, and nothing else. The root is named src so that a header's
# path as the compiler sees it ends as the real one does: diagnostics, the
# log's source places and clang-tidy's header filter read the same.

# The include root that exposes src/<folder> (and nothing else) as
# "<folder>/...". Its path, for target_include_directories. A folder may lie
# deeper ("host/window"): its root then exposes that folder alone.
function(osk_folder_root folder out)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder}/src)
  set(link ${root}/${folder})
  get_filename_component(parent ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${link} RESULT failed SYMBOLIC)
  if(failed AND CMAKE_HOST_WIN32 AND NOT EXISTS ${link})
    # Windows lets only administrators and developer mode make symbolic
    # links; a junction serves a folder as well and needs no right.
    file(TO_NATIVE_PATH ${link} native_link)
    file(TO_NATIVE_PATH ${CMAKE_SOURCE_DIR}/src/${folder} native_folder)
    execute_process(COMMAND cmd /c mklink /J ${native_link} ${native_folder}
                    RESULT_VARIABLE failed OUTPUT_QUIET)
  endif()
  if(failed AND NOT EXISTS ${link})
    message(FATAL_ERROR "cannot link ${link} to src/${folder}: ${failed}")
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# osk_layer(<folder> [DEPENDS <folder>...]): the library osk_<folder> from
# src/<folder>/*.cpp, linking osk_<dep> for each folder it includes. A
# folder of headers alone is an INTERFACE library.
function(osk_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS")
  osk_folder_library(osk_ ${folder} "${arg_DEPENDS}")
endfunction()

# osk_host_layer(<job> [DEPENDS <job>...]): the library osk_host_<job> from
# src/host/<job>/*.cpp. The host's folders are held to the core's rule: a
# job sees the core, itself and the jobs it links, so that drawing stays
# below windows and windows below start-up. The last job, start, is the
# program itself (src/host/CMakeLists.txt).
function(osk_host_layer job)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS")
  osk_folder_library(osk_host_ host/${job} "${arg_DEPENDS}")
  get_target_property(type osk_host_${job} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(osk_host_${job} INTERFACE osk_host_platform)
  else()
    target_link_libraries(osk_host_${job} PUBLIC osk_host_platform)
  endif()
endfunction()

# The library <prefix><name> of src/<folder>, <name> being the folder's
# last part, linking <prefix><dep> for each of `deps`.
#
# A header is compiled only where it is included, so one that no source of
# its own folder includes first (an interface, a folder of headers) would be
# compiled only by higher folders, which see more. Each such header is also
# compiled on its own, with exactly its folder's view, in <target>_headers.
function(osk_folder_library prefix folder deps)
  get_filename_component(name ${folder} NAME)
  set(target ${prefix}${name})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  osk_folder_root(${folder} root)
  target_include_directories(${target} ${scope} ${root})
  foreach(dep IN LISTS deps)
    if(NOT TARGET ${prefix}${dep})
      message(FATAL_ERROR "${folder}: ${prefix}${dep} is not made yet; a folder links only those below it")
    endif()
    target_link_libraries(${target} ${scope} ${prefix}${dep})
  endforeach()

  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
  set(checks)
  foreach(header IN LISTS headers)
    get_filename_component(stem ${header} NAME_WE)
    if(EXISTS ${CMAKE_SOURCE_DIR}/src/${folder}/${stem}.cpp)
      continue()  # its own source includes it first
    endif()
    set(check ${CMAKE_BINARY_DIR}/layers/${folder}/headers/${stem}.cpp)
    file(CONFIGURE OUTPUT ${check} CONTENT "#include \"${folder}/${stem}.h\"\n")
    list(APPEND checks ${check})
  endforeach()
  if(checks)
    add_library(${target}_headers OBJECT ${checks})
    target_link_libraries(${target}_headers PRIVATE ${target})
  endif()
endfunction()
