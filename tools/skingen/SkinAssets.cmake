# The generated skin, at build time, in every build:
#   ${QUELLORY_SKIN_FILE}          build/skin/quellory.skin, the compressed stream
#   ${QUELLORY_SKIN_RESOURCE_DIR}  build/skin/resources: menuglyphs.bmp, track.bmp, trackvert.bmp
# made by the custom target quellory_skin_assets (part of ALL).
#
# skingen and skinpack must run on the build machine. A native build uses its
# own. A cross build (the Windows builds) takes them from the native build
# tree named by -DQUELLORY_HOST_TOOLS=DIR (./quellory passes build/native,
# which it builds first); without it, it builds them itself with the host
# compiler in <build>/host-tools.
#
# quellory_embed_skin(TEMPLATE OUTPUT) writes OUTPUT: the layout TEMPLATE with
# its line @SKINSTREAM@ replaced by "SkinStream = {...}" holding the stored
# property value (byte count + compressed stream). List OUTPUT among the
# sources (or DEPENDS) of whatever uses it.

set(QUELLORY_HOST_TOOLS "" CACHE PATH "A native build tree whose skingen and skinpack a cross build runs")

if(NOT CMAKE_CROSSCOMPILING)
  set(skingen_command $<TARGET_FILE:skingen>)
  set(skinpack_command $<TARGET_FILE:skinpack>)
  set(host_tool_depends skingen skinpack)
elseif(QUELLORY_HOST_TOOLS)
  set(skingen_command ${QUELLORY_HOST_TOOLS}/tools/skingen/skingen)
  set(skinpack_command ${QUELLORY_HOST_TOOLS}/tools/skinpack/skinpack)
  foreach(tool ${skingen_command} ${skinpack_command})
    if(NOT EXISTS ${tool})
      message(FATAL_ERROR "QUELLORY_HOST_TOOLS: ${tool} does not exist; build the native tree first")
    endif()
  endforeach()
  set(host_tool_depends ${skingen_command} ${skinpack_command})
else()
  include(ExternalProject)
  set(host_dir ${CMAKE_BINARY_DIR}/host-tools)
  set(skingen_command ${host_dir}/tools/skingen/skingen)
  set(skinpack_command ${host_dir}/tools/skinpack/skinpack)
  # A plain native configure of this same tree: no toolchain file, no tests.
  ExternalProject_Add(quellory_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${host_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DQUELLORY_TESTS=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_dir} --target skingen skinpack
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${skingen_command} ${skinpack_command})
  set(host_tool_depends quellory_host_tools ${skingen_command} ${skinpack_command})
endif()

set(skin_dir ${CMAKE_BINARY_DIR}/skin)
set(QUELLORY_SKIN_FILE ${skin_dir}/quellory.skin CACHE INTERNAL "")
set(QUELLORY_SKIN_RESOURCE_DIR ${skin_dir}/resources CACHE INTERNAL "")
set(QUELLORY_SKINGEN_COMMAND ${skingen_command} CACHE INTERNAL "")
set(QUELLORY_SKINGEN_DEPENDS ${host_tool_depends} CACHE INTERNAL "")

add_custom_command(
  OUTPUT ${QUELLORY_SKIN_FILE}
  COMMAND ${CMAKE_COMMAND} -DSKINGEN=${skingen_command} -DSKINPACK=${skinpack_command}
          -DDIR=${skin_dir}/files -DOUT=${QUELLORY_SKIN_FILE}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/PackSkin.cmake
  DEPENDS ${host_tool_depends} ${CMAKE_CURRENT_SOURCE_DIR}/PackSkin.cmake
  COMMENT "Drawing and packing the shipped skin"
  VERBATIM)

set(resource_files)
foreach(name menuglyphs.bmp track.bmp trackvert.bmp)
  list(APPEND resource_files ${QUELLORY_SKIN_RESOURCE_DIR}/${name})
endforeach()
add_custom_command(
  OUTPUT ${resource_files}
  COMMAND ${skingen_command} resources ${QUELLORY_SKIN_RESOURCE_DIR}
  DEPENDS ${host_tool_depends}
  COMMENT "Drawing the program's bitmap resources"
  VERBATIM)

add_custom_target(quellory_skin_assets ALL DEPENDS ${QUELLORY_SKIN_FILE} ${resource_files})

function(quellory_embed_skin template output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${QUELLORY_SKINGEN_COMMAND} embed ${template} ${QUELLORY_SKIN_FILE} ${output}
    DEPENDS ${template} ${QUELLORY_SKIN_FILE} quellory_skin_assets ${QUELLORY_SKINGEN_DEPENDS}
    COMMENT "Embedding the shipped skin in ${output}"
    VERBATIM)
endfunction()
