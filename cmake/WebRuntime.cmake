# Generates webruntime.h: the published page's template, style and script from model/web/ as raw string
# literals, so the runtime is kept and linted as ordinary files and compiled into amfcore.
# Run as a script: cmake -DSOURCE_DIR=... -DOUTPUT=... -P WebRuntime.cmake
set(out "// Generated from model/web/ at build time; edit those files instead.\n#pragma once\n#include <string_view>\n")
foreach(pair "kWebRuntimeTemplate;page.html" "kWebRuntimeStyle;runtime.css" "kWebRuntimeScript;runtime.js")
  list(GET pair 0 name)
  list(GET pair 1 file)
  file(READ ${SOURCE_DIR}/${file} text)
  string(FIND "${text}" ")amfweb\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} contains the raw string delimiter )amfweb\"")
  endif()
  string(APPEND out "inline constexpr std::string_view ${name} = R\"amfweb(${text})amfweb\";\n")
endforeach()
file(WRITE ${OUTPUT}.tmp "${out}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
