# The program's layers from the bottom up. A library belongs to the layer that
# its folder starts with and may use only libraries of its own layer or below.
#
# Every include of the project's own headers names its folder from the top of
# the tree ("engine/text_search.h"), yet no target sees the whole tree: each
# library gets an include root of its own in the build folder that holds one
# link, to its own folder. A target therefore reaches exactly the headers of
# the libraries it links, and an include of a layer it may not use fails to
# build.
set(WEBQUILL_LAYERS engine platform core ui app)

# An include root in the build folder that shows FOLDER (and nothing else) at
# its own path; the root's folder is returned in OUT.
function(webquill_include_root out folder)
  string(REPLACE "/" "_" root_name "${folder}")
  set(root "${PROJECT_BINARY_DIR}/include-roots/${root_name}")
  set(link "${root}/${folder}")
  set(target "${PROJECT_SOURCE_DIR}/${folder}")
  if(IS_SYMLINK "${link}")
    file(READ_SYMLINK "${link}" current)
    if(NOT current STREQUAL target)
      file(REMOVE "${link}")
    endif()
  endif()
  if(NOT IS_SYMLINK "${link}")
    get_filename_component(parent "${link}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
  endif()
  set(${out} "${root}" PARENT_SCOPE)
endfunction()

# Files TARGET under LAYER and links it with USED (of SCOPE). The project's
# libraries are defined from the bottom up, so one that is not defined yet
# stands above (or is misspelt); that it stands no higher than LAYER is
# checked by webquill_check_layers() once every layer is defined.
function(webquill_layer_target target layer scope)
  foreach(used IN LISTS ARGN)
    if(used MATCHES "^webquill_" AND NOT TARGET "${used}")
      message(FATAL_ERROR "${target} (${layer}) uses ${used}, which is not defined before it: a layer may use only its own and those below it")
    endif()
  endforeach()
  set_target_properties(${target} PROPERTIES WEBQUILL_LAYER "${layer}")
  set_property(GLOBAL APPEND PROPERTY WEBQUILL_TARGETS ${target})
  target_link_libraries(${target} ${scope} ${ARGN})
endfunction()

# webquill_library(NAME FOLDER folder SOURCES file... [USES target...])
# A static library of the sources in FOLDER (names relative to it), whose
# users see its headers as "FOLDER/name.h".
function(webquill_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FOLDER" "SOURCES;USES")
  list(TRANSFORM arg_SOURCES PREPEND "${PROJECT_SOURCE_DIR}/${arg_FOLDER}/")
  add_library(${name} STATIC ${arg_SOURCES})
  webquill_include_root(root "${arg_FOLDER}")
  target_include_directories(${name} PUBLIC "${root}")
  string(REGEX MATCH "^[^/]+" layer "${arg_FOLDER}")
  webquill_layer_target(${name} "${layer}" PUBLIC ${arg_USES})
endfunction()

# Gives TARGET (a test, benchmark or fuzz target) the headers of the support
# FOLDERs it includes, beside those of the libraries it links.
function(webquill_support_headers target)
  foreach(folder IN LISTS ARGN)
    webquill_include_root(root "${folder}")
    target_include_directories(${target} PRIVATE "${root}")
  endforeach()
endfunction()

# webquill_program(NAME SOURCES file... USES target...): one of the programs
# in app/, the top layer.
function(webquill_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;USES")
  list(TRANSFORM arg_SOURCES PREPEND "${PROJECT_SOURCE_DIR}/app/")
  add_executable(${name} ${arg_SOURCES})
  webquill_layer_target(${name} app PRIVATE ${arg_USES})
endfunction()

# Once every layer is defined: fails the configuration where a library or
# program links one of a higher layer, a target_link_libraries() of its own
# included.
function(webquill_check_layers)
  get_property(targets GLOBAL PROPERTY WEBQUILL_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(layer ${target} WEBQUILL_LAYER)
    list(FIND WEBQUILL_LAYERS "${layer}" rank)
    if(rank LESS 0)
      message(FATAL_ERROR "${target}: '${layer}' is not a layer (${WEBQUILL_LAYERS})")
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(used IN LISTS links)
      if(TARGET "${used}")
        get_target_property(used_layer "${used}" WEBQUILL_LAYER)
        list(FIND WEBQUILL_LAYERS "${used_layer}" used_rank)
        if(used_rank GREATER rank)
          message(FATAL_ERROR "${target} (${layer}) may not use ${used} (${used_layer}): a layer may use only its own and those below it")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()
