# The folders are the layers, and an arrow only points down. Run by the
# build; it fails, naming each file and include, when
#  - a file under src/core/ includes a widget or painting header (QtWidgets,
#    QtGui, QtSvg) or anything of src/gui/, src/app/, src/cli/ or src/docs/;
#  - a file under src/core/calc/ includes anything of src/core/orders/ (the
#    calculators own the interface the order implements);
#  - a file under src/docs/ (documents that paint: QtGui without widgets)
#    includes a widget header or anything of src/gui/, src/app/ or src/cli/;
#  - a file under src/ includes anything under tools/ (the build's own
#    programs use the program, never the other way round).
cmake_minimum_required(VERSION 3.25)

# The headers of Qt's modules, found beside the include folders given.
function(lir_module_headers out)
  set(headers)
  foreach(dir ${WIDGETS_INCLUDES})
    foreach(module ${ARGN})
      if(IS_DIRECTORY ${dir}/${module})
        file(GLOB found RELATIVE ${dir}/${module} ${dir}/${module}/Q*)
        list(APPEND headers ${found})
      endif()
    endforeach()
  endforeach()
  set(${out} ${headers} PARENT_SCOPE)
endfunction()
lir_module_headers(widget_headers QtWidgets)
lir_module_headers(painting_headers QtGui QtSvg)

# The headers of the build's programs, by the names a file under src/ could
# reach them by (tools/pricelist/x.h, or x.h through an include folder).
file(GLOB_RECURSE tool_headers RELATIVE ${SOURCE_DIR}/tools ${SOURCE_DIR}/tools/*.h)
set(tool_names)
foreach(h ${tool_headers})
  get_filename_component(name ${h} NAME)
  list(APPEND tool_names ${name})
endforeach()

file(GLOB_RECURSE files ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(faults)
foreach(f ${files})
  file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
  get_filename_component(here ${f} DIRECTORY)
  file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" inc "${line}")
    get_filename_component(inc_name ${inc} NAME)
    # Under tools/: by its path, or by a name that only a tools folder holds.
    if(inc MATCHES "^(\\.\\./)*tools/"
       OR (inc_name IN_LIST tool_names AND NOT EXISTS ${SOURCE_DIR}/src/${inc} AND NOT EXISTS ${here}/${inc}))
      list(APPEND faults "${rel}: ${inc} (nothing under src/ includes tools/)")
    endif()
    if(rel MATCHES "^src/core/")
      if(inc MATCHES "^(gui|app|cli|docs)/" OR inc MATCHES "^Qt(Widgets|Gui|Svg)/"
         OR inc IN_LIST widget_headers OR inc IN_LIST painting_headers)
        list(APPEND faults "${rel}: ${inc} (the core includes no window, document-painting or widget code)")
      endif()
      if(rel MATCHES "^src/core/calc/" AND inc MATCHES "^core/orders/")
        list(APPEND faults "${rel}: ${inc} (the calculators include nothing of the orders)")
      endif()
    endif()
    if(rel MATCHES "^src/docs/")
      if(inc MATCHES "^(gui|app|cli)/" OR inc MATCHES "^QtWidgets/" OR inc IN_LIST widget_headers)
        list(APPEND faults "${rel}: ${inc} (the documents include no widget or window code)")
      endif()
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "An include points up across the layers:\n  ${text}")
endif()

set(n_core 0)
set(n_calc 0)
set(n_docs 0)
foreach(f ${files})
  file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
  if(rel MATCHES "^src/core/")
    math(EXPR n_core "${n_core} + 1")
  endif()
  if(rel MATCHES "^src/core/calc/")
    math(EXPR n_calc "${n_calc} + 1")
  endif()
  if(rel MATCHES "^src/docs/")
    math(EXPR n_docs "${n_docs} + 1")
  endif()
endforeach()
list(LENGTH files n)
message(STATUS "Layer check: ${n} files under src/ include nothing under tools/; ${n_core} under src/core/ "
               "no widget, painting or upper-layer header (${n_calc} of src/core/calc/ nothing of the orders); "
               "${n_docs} under src/docs/ no widget or window code")
file(WRITE ${STAMP} "${n}\n")
