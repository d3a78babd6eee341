# amf_glob(VAR dir...): the .cpp files directly inside each folder (not its sub-folders),
# so that support/qt and components/qt stay out of the GUI-free core.
function(amf_glob var)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND result ${files})
  endforeach()
  list(SORT result)
  set(${var} ${result} PARENT_SCOPE)
endfunction()
