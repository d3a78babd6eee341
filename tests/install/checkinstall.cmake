# Installs a build tree into an empty prefix and checks what arrived.
#   -DBUILD_DIR=<build tree> -DPREFIX=<folder to install into, emptied first>
#   -DEXPECTED_FILE=<text file naming the files expected, relative to the prefix, one a line>
# Besides the presence of every expected file, checks the contents that make .amf files open from a
# file manager: the desktop entries name the assistant file type and a program that was installed,
# and the file type matches *.amf and XML documents whose root element is ASSISTANT.

cmake_minimum_required(VERSION 3.25)

foreach(var BUILD_DIR PREFIX EXPECTED_FILE)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "checkinstall: ${var} not given")
  endif()
endforeach()
file(STRINGS "${EXPECTED_FILE}" EXPECTED)
if(NOT EXPECTED)
  message(FATAL_ERROR "checkinstall: ${EXPECTED_FILE} names no files")
endif()

# cmake --install rewrites the build tree's install_manifest.txt, which the user needs to uninstall a
# real installation: keep the user's copy and put it back afterwards.
set(manifest "${BUILD_DIR}/install_manifest.txt")
set(manifestCopy "${PREFIX}.manifest")
file(REMOVE "${manifestCopy}")
if(EXISTS "${manifest}")
  file(RENAME "${manifest}" "${manifestCopy}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(REMOVE "${manifest}")
if(EXISTS "${manifestCopy}")
  file(RENAME "${manifestCopy}" "${manifest}")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

set(failures)
foreach(file IN LISTS EXPECTED)
  if(NOT EXISTS "${PREFIX}/${file}" OR IS_DIRECTORY "${PREFIX}/${file}")
    list(APPEND failures "missing: ${file}")
  endif()
endforeach()

# The programs must keep their execute permission.
foreach(file IN LISTS EXPECTED)
  if(file MATCHES "^bin/" AND EXISTS "${PREFIX}/${file}")
    execute_process(COMMAND test -x "${PREFIX}/${file}" RESULT_VARIABLE notExecutable)
    if(notExecutable)
      list(APPEND failures "not executable: ${file}")
    endif()
  endif()
endforeach()

# The manual's start page and the help window's two lists.
foreach(name contents.html usinghelp.html contents.txt keywords.txt manual.css)
  if(NOT "share/assistant-editor/manual/${name}" IN_LIST EXPECTED)
    list(APPEND failures "not in the install list: share/assistant-editor/manual/${name}")
  endif()
endforeach()

function(require_line file regex)
  if(EXISTS "${PREFIX}/${file}")
    file(STRINGS "${PREFIX}/${file}" matches REGEX "${regex}")
    if(NOT matches)
      set(failures ${failures} "${file}: no line matching ${regex}" PARENT_SCOPE)
    endif()
  endif()
endfunction()

foreach(program assistant-editor assistant-viewer)
  set(entry "share/applications/${program}.desktop")
  if("bin/${program}" IN_LIST EXPECTED)
    if(NOT entry IN_LIST EXPECTED)
      list(APPEND failures "no desktop entry for ${program}")
    endif()
    require_line(${entry} "^\\[Desktop Entry\\]$")
    require_line(${entry} "^Type=Application$")
    require_line(${entry} "^Exec=${program} %[fF]$")
    require_line(${entry} "^Icon=assistant-editor$")
    require_line(${entry} "^MimeType=.*application/x-assistant-definition;")
  elseif(entry IN_LIST EXPECTED)
    list(APPEND failures "desktop entry for ${program}, which is not installed")
  endif()
endforeach()

set(mime "share/mime/packages/assistant-editor.xml")
require_line(${mime} "<mime-type type=\"application/x-assistant-definition\">")
require_line(${mime} "<glob pattern=\"\\*\\.amf\"/>")
require_line(${mime} "<root-XML namespaceURI=\"\" localName=\"ASSISTANT\"/>")
require_line("share/icons/hicolor/scalable/apps/assistant-editor.svg" "<svg ")

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "install into ${PREFIX} is incomplete:\n  ${text}")
endif()
list(LENGTH EXPECTED count)
message(STATUS "install into ${PREFIX}: all ${count} expected files present")
