# permora_embed_layout(target file symbol): compiles the layout file into target as
#   extern const permora::TEmbeddedLayout symbol;   (platform/LayoutFile.h)
# The file is read again whenever it changes. target must be a library or executable with
# sources of its own that links permora_platform.
set(PERMORA_EMBED_LAYOUT_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedLayout.cmake)

function(permora_embed_layout target file symbol)
  get_filename_component(input ${file} ABSOLUTE)
  get_filename_component(source_name ${file} NAME)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded_layouts/${symbol}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol} -DSOURCE_NAME=${source_name}
            -P ${PERMORA_EMBED_LAYOUT_SCRIPT}
    DEPENDS ${input} ${PERMORA_EMBED_LAYOUT_SCRIPT}
    COMMENT "Embedding layout ${source_name} as ${symbol}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
