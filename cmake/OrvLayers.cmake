# Helpers for the layer libraries and the include check that enforces them.

# orv_glob_sources(OUT FOLDER...): the sources of the folders (and their
# subfolders), so that a new file is picked up without editing CMake.
# main_*.cpp files are programs, not library sources.
function(orv_glob_sources out)
  set(srcs "")
  foreach(folder IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h
         ${CMAKE_SOURCE_DIR}/${folder}/*.qrc)
    list(APPEND srcs ${found})
  endforeach()
  list(FILTER srcs EXCLUDE REGEX ".*/main_[^/]*\\.cpp$")
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# orv_uses_qt(TARGET...): runs moc and rcc for targets that use Qt.
function(orv_uses_qt)
  set_target_properties(${ARGN} PROPERTIES AUTOMOC ON AUTORCC ON)
endfunction()

# The targets a target may include from: itself, what it links directly
# (PUBLIC or PRIVATE), and what those pass on through their PUBLIC links.
# A dependency's PRIVATE links are not passed on.
function(_orv_reachable target out)
  set(seen ${target})
  get_target_property(queue ${target} LINK_LIBRARIES)
  if(NOT queue)
    set(queue "")
  endif()
  while(queue)
    list(POP_FRONT queue item)
    if(NOT TARGET ${item} OR item IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(more ${item} INTERFACE_LINK_LIBRARIES)
    if(more)
      list(APPEND queue ${more})
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# orv_check_layers(TARGET...): before any of the targets is compiled, every
# quoted include of their sources is checked against their links: a file may
# include a header of another target only when it links that target. A
# wrong-way include (a lower layer reaching up) therefore fails the build.
function(orv_check_layers)
  set(map "set(ORV_LAYER_FILES \"\")\n")
  set(all_sources "")
  foreach(t IN LISTS ARGN)
    get_target_property(srcs ${t} SOURCES)
    get_target_property(dir ${t} SOURCE_DIR)
    foreach(s IN LISTS srcs)
      if(NOT IS_ABSOLUTE ${s})
        set(s ${dir}/${s})
      endif()
      file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${s})
      if(rel MATCHES "^\\.\\./" OR NOT rel MATCHES "\\.(cpp|h)$")
        continue()
      endif()
      string(APPEND map "list(APPEND ORV_LAYER_FILES \"${rel}\")\nset(\"ORV_OWNER_${rel}\" ${t})\n")
      list(APPEND all_sources ${s})
    endforeach()
    _orv_reachable(${t} reachable)
    set(allowed "")
    foreach(r IN LISTS reachable)
      if(r IN_LIST ARGN)
        list(APPEND allowed ${r})
      endif()
    endforeach()
    string(APPEND map "set(ORV_ALLOWED_${t} \"${allowed}\")\n")
  endforeach()
  set(map_file ${CMAKE_BINARY_DIR}/orv_layer_map.cmake)
  file(WRITE ${map_file}.new "${map}")
  file(COPY_FILE ${map_file}.new ${map_file} ONLY_IF_DIFFERENT)
  set(stamp ${CMAKE_BINARY_DIR}/orv_layer_check.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DMAP=${map_file} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
            -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${map_file} ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake ${all_sources}
    COMMENT "Checking that includes follow the layers"
    VERBATIM)
  add_custom_target(orv_layer_check DEPENDS ${stamp})
  foreach(t IN LISTS ARGN)
    add_dependencies(${t} orv_layer_check)
  endforeach()
endfunction()
